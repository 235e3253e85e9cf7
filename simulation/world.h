// The stand-in game world: what the stand-in hook answers natives from, and
// the record of every native call the script makes, frame by frame.
//
// Plain fixed-size structs only, so that a test host can read and change them
// across the stand-in DLL's boundary, and so that the tests and the preview
// use the very same code natively without Wine. Never shipped in the plug-in.
#pragma once

#include <cstdint>

#include "host/script_hook.h"

// The simulated game's frame rate: a frame lasts 1/kFramesPerSecond seconds.
const int kFramesPerSecond = 60;

const int kStandInMaxEntities = 32;
const int kStandInMaxBones = 4;
const int kStandInMaxNames = 8;
const int kStandInNameCapacity = 128;
const int kStandInMaxCallsPerFrame = 128;
const int kStandInMaxArguments = 16;
const int kStandInStringPoolCapacity = 16384;
const int kStandInMaxKeyboardHandlers = 8;

// The high half the stand-in puts into every result slot it fills with a
// 32-bit value, so that a reader taking all 64 bits shows.
const uint32_t kStandInSlotJunk = 0xDEADBEEFu;

enum StandInEntityKind { stand_in_object = 0, stand_in_human = 1, stand_in_animal = 2 };

struct StandInBone {
    char name[kStandInNameCapacity];
    int32_t index;  // what bone_lookup answers for name
    float x, y, z;  // its world position
};

struct StandInEntity {
    int32_t handle;
    int32_t kind;  // StandInEntityKind
    int32_t valid;
    float x, y, z;
    float height;
    int32_t bone_count;
    StandInBone bones[kStandInMaxBones];
};

struct StandInWorld {
    int32_t player_id;
    int32_t player_ok;  // what player_check answers
    int32_t effect_count;
    char running_effects[kStandInMaxNames][kStandInNameCapacity];
    int32_t loaded_dict_count;
    char loaded_dicts[kStandInMaxNames][kStandInNameCapacity];
    int32_t dicts_load_on_request;  // a requested dictionary counts as loaded at once
    int32_t entity_count;
    StandInEntity entities[kStandInMaxEntities];
    int32_t focus_target;    // what focus_query reports; 0 = nothing
    int32_t lock_on_target;  // what lock_on_query reports; 0 = nothing
    float frame_time;
    int32_t game_timer;
    // What bone_lookup answers for a bone the entity lacks: -1, as the game
    // does; a test may set 0 to see that answer handled the same way.
    int32_t missing_bone_index;
    int32_t screen_width, screen_height;
    // Projection: screen x = 0.5 + x * projection_scale,
    //             screen y = 0.5 - z * projection_scale; fails when asked.
    float projection_scale;
    int32_t projection_fails;
    uint64_t next_text_handle;
    // Where the game hides its own HUD: what the gates of the optional
    // settings ask. The screen is faded in by default; nothing else holds.
    int32_t screen_faded_in;
    int32_t hud_hidden;
    int32_t radar_hidden_by_script;
    int32_t pause_menu_active;
    int32_t open_ui_app_count;
    char open_ui_apps[kStandInMaxNames][kStandInNameCapacity];  // by name: "MAP", "SATCHEL", ...
    int32_t cinematic_camera_rendering;
    // What the on-screen keyboard native answers: 0 while one is typed in;
    // by default 3, the answer while none is open.
    int32_t onscreen_keyboard_state;
};

struct StandInCall {
    uint64_t hash;
    int32_t argument_count;
    uint64_t arguments[kStandInMaxArguments];
    // For text arguments, where their text was copied into the frame's
    // string pool; -1 for any other argument.
    int32_t text_at[kStandInMaxArguments];
    uint64_t result[3];  // the result slots as handed back
};

struct StandInFrame {
    int32_t call_count;
    StandInCall calls[kStandInMaxCallsPerFrame];
    int32_t wait_count;
    uint32_t last_wait_ms;
    int32_t protocol_errors;  // calls not made by the init/push/call rule
    int32_t unknown_natives;  // hashes the world does not know
    int32_t overflowed;       // more calls or text than the record holds
    int32_t pool_used;
    char string_pool[kStandInStringPoolCapacity];
};

struct StandInHookState {
    int32_t register_calls;
    int32_t unregister_calls;
    void* registered_module;
    void (*registered_script)();
    // The keyboard handlers registered and not withdrawn, in the order they
    // came, and the calls of the two keyboard functions.
    int32_t keyboard_handler_count;
    KeyboardHandler keyboard_handlers[kStandInMaxKeyboardHandlers];
    int32_t keyboard_register_calls;
    int32_t keyboard_unregister_calls;
    // When each of the four registering functions was last called, by the
    // count of their calls so far (0: never): the order of registration.
    int32_t calls;
    int32_t script_registered_at;
    int32_t script_unregistered_at;
    int32_t keyboard_registered_at;
    int32_t keyboard_unregistered_at;
};

// A key message as the game window gets it, for the stand-in hook to hand to
// its keyboard handlers: the key, the modifiers held (key_names.h's bits),
// and whether it is an auto-repeat or the key's release.
struct StandInKeyMessage {
    uint32_t virtual_key;
    int32_t modifiers;
    int32_t auto_repeat;
    int32_t release;
};

// Sets the world to its defaults: player 1 able to play, no effects, no
// dictionaries, no entities, frames at kFramesPerSecond, missing bones answered -1,
// the screen resolution the game reports whatever the real screen: 1280x720,
// the screen faded in with no menu, UI app or cinematic camera, and no
// on-screen keyboard open.
void stand_in_reset_world(StandInWorld* world);

// Adds an entity (valid, no bones) and returns it for further setting.
StandInEntity* stand_in_add_entity(StandInWorld* world, int32_t handle, StandInEntityKind kind, float x, float y,
                                   float z);
void stand_in_add_bone(StandInEntity* entity, const char* name, int32_t index, float x, float y, float z);
StandInEntity* stand_in_find_entity(StandInWorld* world, int32_t handle);
void stand_in_set_effect(StandInWorld* world, const char* name, bool running);

// Opens or closes a UI app by the name the game gives it ("MAP", "SATCHEL",
// "PLAYER_MENU", "CRAFTING"); false, changing nothing, for one the world
// does not know.
bool stand_in_set_ui_app(StandInWorld* world, const char* name, bool open);

// The name of the UI app the world knows by the game's hash of it, or null.
const char* stand_in_ui_app_name(uint32_t hash);

// The native's role name ("draw_sprite"), or "unknown".
const char* stand_in_native_name(uint64_t hash);

// Clears the frame record for the next frame.
void stand_in_begin_frame(StandInFrame* frame);

// The text a call's argument pointed to, or null when it was no text.
const char* stand_in_call_text(const StandInFrame* frame, const StandInCall* call, int argument);

// Answers one native call from the world and records it in frame. Writes out-
// slots with exactly 4 bytes. Returns the result slots.
uint64_t* stand_in_answer_native(StandInWorld* world, StandInFrame* frame, uint64_t hash, const uint64_t* arguments,
                                 int argument_count);

// The world, the current frame's record and the hook's own state that the
// stand-in hook functions (nativeInit, scriptWait, ...) work on.
StandInWorld* stand_in_world();
StandInFrame* stand_in_frame();
StandInHookState* stand_in_hook_state();

// Native builds only: runs a script function that never returns until it has
// called scriptWait the given number of times, all into the current frame
// record, and returns to the caller then.
void stand_in_run_script(void (*script)(), int waits);
