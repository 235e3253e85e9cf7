// The stand-in world's answers to natives, and the call recorder.
//
// The world knows the natives by their hashes on its own (not from the
// plug-in's headers), so a wrong hash in the plug-in shows as an unknown
// native; it reads a float argument as the plug-in's own slot reader does.
// Results put junk into the high half of every 32-bit slot and write
// out-slots with exactly 4 bytes, so readers that take too much show too.
#include "world.h"

#include <cmath>
#include <cstring>

#include "host/native_call.h"

namespace {

enum Native {
    player_id_query,
    player_check,
    effect_check,
    texture_dict_check,
    texture_dict_request,
    text_scale,
    text_colour,
    text_centre,
    text_drop_shadow,
    literal_text,
    draw_text,
    validity_check,
    focus_query,
    lock_on_query,
    ped_check,
    human_check,
    frame_time,
    entity_position,
    bone_lookup,
    bone_position,
    entity_height,
    world_to_screen,
    screen_resolution,
    game_timer,
    bounce_curve_inner,
    bounce_curve_outer,
    draw_sprite,
    screen_faded_in_check,
    hud_hidden_check,
    radar_hidden_by_script_check,
    pause_menu_check,
    ui_app_check,
    cinematic_camera_check,
    onscreen_keyboard_check,
};

struct NativeShape {
    uint64_t hash;
    Native native;
    const char* name;  // the role name the plug-in's code uses
    int argument_count;
    uint32_t text_arguments;  // bit n: argument n is a pointer to text
};

// A native's enumerator and its role name, written once.
#define ROLE(native) native, #native

const NativeShape kNatives[] = {
    {0x217E9DC48139933DULL, ROLE(player_id_query), 0, 0},
    {0x7964097FCE4C244BULL, ROLE(player_check), 1, 0},
    {0x4A123E85D7C4CA0BULL, ROLE(effect_check), 1, 1u << 0},
    {0x54D6900929CCF162ULL, ROLE(texture_dict_check), 1, 1u << 0},
    {0xC1BA29DF5631B0F8ULL, ROLE(texture_dict_request), 2, 1u << 0},
    {0x4170B650590B3B00ULL, ROLE(text_scale), 2, 0},
    {0x50A41AD966910F03ULL, ROLE(text_colour), 4, 0},
    {0xBE5261939FBECB8CULL, ROLE(text_centre), 1, 0},
    {0x1BE39DBAA7263CA5ULL, ROLE(text_drop_shadow), 5, 0},
    {0xFA925AC00EB830B9ULL, ROLE(literal_text), 3, (1u << 1) | (1u << 2)},
    {0xD79334A4BB99BAD1ULL, ROLE(draw_text), 3, 0},
    {0xD42BD6EB2E0F1677ULL, ROLE(validity_check), 1, 0},
    {0x3EE1F7A8C32F24E1ULL, ROLE(focus_query), 4, 0},
    {0xAE663DDD99C8A670ULL, ROLE(lock_on_query), 2, 0},
    {0xCF8176912DDA4EA5ULL, ROLE(ped_check), 1, 0},
    {0xB980061DA992779DULL, ROLE(human_check), 1, 0},
    {0x5E72022914CE3C38ULL, ROLE(frame_time), 0, 0},
    {0xA86D5F069399F44DULL, ROLE(entity_position), 3, 0},
    {0xBACA8FE9C76C124EULL, ROLE(bone_lookup), 2, 1u << 1},
    {0x82CFA50E34681CA5ULL, ROLE(bone_position), 2, 0},
    {0x1D491CCF7211FB74ULL, ROLE(entity_height), 1, 0},
    {0xCB50D7AFCC8B0EC6ULL, ROLE(world_to_screen), 5, 0},
    {0x66773C92835D0909ULL, ROLE(screen_resolution), 2, 0},
    {0x4F67E8ECA7D3F667ULL, ROLE(game_timer), 0, 0},
    {0x0BADBFA3B172435FULL, ROLE(bounce_curve_inner), 1, 0},
    {0x134549B388167CBFULL, ROLE(bounce_curve_outer), 1, 0},
    {0xC9884ECADE94CB34ULL, ROLE(draw_sprite), 12, 1u << 0 | 1u << 1},
    {0x37F9A426FBCF4AF2ULL, ROLE(screen_faded_in_check), 0, 0},
    {0x71B72B478F8189DCULL, ROLE(hud_hidden_check), 0, 0},
    {0x66F35DD9D2B58579ULL, ROLE(radar_hidden_by_script_check), 0, 0},
    {0x535384D6067BA42EULL, ROLE(pause_menu_check), 0, 0},
    {0x25B7A0206BDFAC76ULL, ROLE(ui_app_check), 1, 0},
    {0xBF7C780731AADBF8ULL, ROLE(cinematic_camera_check), 0, 0},
    {0x37DF360F235A3893ULL, ROLE(onscreen_keyboard_check), 0, 0},
};

#undef ROLE

// The UI apps the world knows, with the game's hash of each name, written
// out rather than hashed here, so that a wrong hash in the plug-in shows.
const struct {
    const char* name;
    uint32_t hash;
} kUiApps[] = {
    {"MAP", 0x8646B488u},
    {"SATCHEL", 0xFFC21415u},
    {"PLAYER_MENU", 0x556A13C4u},
    {"CRAFTING", 0x9F27F1B2u},
};

const NativeShape* find_native(uint64_t hash) {
    for (const NativeShape& shape : kNatives) {
        if (shape.hash == hash) return &shape;
    }
    return nullptr;
}

void copy_name(char* destination, const char* source) {
    std::strncpy(destination, source, kStandInNameCapacity - 1);
    destination[kStandInNameCapacity - 1] = 0;
}

int32_t argument_int(const uint64_t* arguments, int n) {
    return static_cast<int32_t>(static_cast<uint32_t>(arguments[n]));
}

float argument_float(const uint64_t* arguments, int n) { return slot_float(arguments[n]); }

const char* argument_text(const uint64_t* arguments, int n) {
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(arguments[n]));
}

// Out-slots get exactly 4 bytes, as the game writes them.
void write_slot_int(const uint64_t* arguments, int n, int32_t value) {
    std::memcpy(reinterpret_cast<void*>(static_cast<uintptr_t>(arguments[n])), &value, 4);
}

void write_slot_float(const uint64_t* arguments, int n, float value) {
    std::memcpy(reinterpret_cast<void*>(static_cast<uintptr_t>(arguments[n])), &value, 4);
}

uint64_t junk_int(int32_t value) {
    return (static_cast<uint64_t>(kStandInSlotJunk) << 32) | static_cast<uint32_t>(value);
}

uint64_t junk_float(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return (static_cast<uint64_t>(kStandInSlotJunk) << 32) | bits;
}

bool name_listed(const char (*names)[kStandInNameCapacity], int count, const char* name) {
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(names[i], name) == 0) return true;
    }
    return false;
}

const StandInBone* find_bone_by_name(const StandInEntity* entity, const char* name) {
    for (int i = 0; entity != nullptr && i < entity->bone_count; ++i) {
        if (std::strcmp(entity->bones[i].name, name) == 0) return &entity->bones[i];
    }
    return nullptr;
}

const StandInBone* find_bone_by_index(const StandInEntity* entity, int32_t index) {
    for (int i = 0; entity != nullptr && i < entity->bone_count; ++i) {
        if (entity->bones[i].index == index) return &entity->bones[i];
    }
    return nullptr;
}

void set_vector(uint64_t* slots, float x, float y, float z) {
    slots[0] = junk_float(x);
    slots[1] = junk_float(y);
    slots[2] = junk_float(z);
}

// Answers a query for the player's target: writes the out-slot only when
// something is targeted, as the game does.
int32_t answer_target_query(const StandInWorld* world, const uint64_t* arguments, int32_t target) {
    if (argument_int(arguments, 0) != world->player_id || target == 0) return 0;
    write_slot_int(arguments, 1, target);
    return 1;
}

// The natives that take nothing and answer a value the world holds as it is.
const struct {
    Native native;
    int32_t StandInWorld::*value;
} kWorldValues[] = {
    {game_timer, &StandInWorld::game_timer},
    {screen_faded_in_check, &StandInWorld::screen_faded_in},
    {hud_hidden_check, &StandInWorld::hud_hidden},
    {radar_hidden_by_script_check, &StandInWorld::radar_hidden_by_script},
    {pause_menu_check, &StandInWorld::pause_menu_active},
    {cinematic_camera_check, &StandInWorld::cinematic_camera_rendering},
    {onscreen_keyboard_check, &StandInWorld::onscreen_keyboard_state},
};

void answer(StandInWorld* world, Native native, const uint64_t* a, uint64_t* slots) {
    for (const auto& held : kWorldValues) {
        if (held.native == native) {
            slots[0] = junk_int(world->*held.value);
            return;
        }
    }
    StandInEntity* entity = nullptr;
    switch (native) {
        case player_id_query:
            slots[0] = junk_int(world->player_id);
            break;
        case player_check:
            slots[0] = junk_int(argument_int(a, 0) == world->player_id && world->player_ok);
            break;
        case effect_check:
            slots[0] = junk_int(name_listed(world->running_effects, world->effect_count, argument_text(a, 0)));
            break;
        case texture_dict_check:
            slots[0] = junk_int(name_listed(world->loaded_dicts, world->loaded_dict_count, argument_text(a, 0)));
            break;
        case texture_dict_request:
            if (world->dicts_load_on_request && world->loaded_dict_count < kStandInMaxNames &&
                !name_listed(world->loaded_dicts, world->loaded_dict_count, argument_text(a, 0))) {
                copy_name(world->loaded_dicts[world->loaded_dict_count++], argument_text(a, 0));
            }
            break;
        case literal_text:
            slots[0] = world->next_text_handle++;
            break;
        case validity_check:
            entity = stand_in_find_entity(world, argument_int(a, 0));
            slots[0] = junk_int(entity != nullptr && entity->valid);
            break;
        case focus_query:
            slots[0] = junk_int(answer_target_query(world, a, world->focus_target));
            break;
        case lock_on_query:
            slots[0] = junk_int(answer_target_query(world, a, world->lock_on_target));
            break;
        case ped_check:
            entity = stand_in_find_entity(world, argument_int(a, 0));
            slots[0] = junk_int(entity != nullptr && entity->kind != stand_in_object);
            break;
        case human_check:
            entity = stand_in_find_entity(world, argument_int(a, 0));
            slots[0] = junk_int(entity != nullptr && entity->kind == stand_in_human);
            break;
        case frame_time:
            slots[0] = junk_float(world->frame_time);
            break;
        case entity_position:
            entity = stand_in_find_entity(world, argument_int(a, 0));
            if (entity != nullptr)
                set_vector(slots, entity->x, entity->y, entity->z);
            else
                set_vector(slots, 0.0f, 0.0f, 0.0f);
            break;
        case bone_lookup: {
            const StandInBone* bone =
                find_bone_by_name(stand_in_find_entity(world, argument_int(a, 0)), argument_text(a, 1));
            slots[0] = junk_int(bone != nullptr ? bone->index : world->missing_bone_index);
            break;
        }
        case bone_position: {
            const StandInBone* bone =
                find_bone_by_index(stand_in_find_entity(world, argument_int(a, 0)), argument_int(a, 1));
            if (bone != nullptr)
                set_vector(slots, bone->x, bone->y, bone->z);
            else
                set_vector(slots, 0.0f, 0.0f, 0.0f);
            break;
        }
        case entity_height:
            entity = stand_in_find_entity(world, argument_int(a, 0));
            slots[0] = junk_float(entity != nullptr ? entity->height : 0.0f);
            break;
        case world_to_screen:
            if (world->projection_fails) {
                slots[0] = junk_int(0);
                break;
            }
            write_slot_float(a, 3, 0.5f + argument_float(a, 0) * world->projection_scale);
            write_slot_float(a, 4, 0.5f - argument_float(a, 2) * world->projection_scale);
            slots[0] = junk_int(1);
            break;
        case screen_resolution:
            write_slot_int(a, 0, world->screen_width);
            write_slot_int(a, 1, world->screen_height);
            slots[0] = junk_int(1);
            break;
        case ui_app_check: {
            // The game reads the hash's 32 bits alone.
            const char* app = stand_in_ui_app_name(static_cast<uint32_t>(a[0]));
            slots[0] = junk_int(app != nullptr && name_listed(world->open_ui_apps, world->open_ui_app_count, app));
            break;
        }
        case bounce_curve_inner:  // a sine of degrees
            slots[0] = junk_float(std::sin(argument_float(a, 0) * 0.017453292f));
            break;
        case bounce_curve_outer:
            slots[0] = junk_float(std::fabs(argument_float(a, 0)));
            break;
        default:
            break;  // drawing natives: nothing to answer
    }
}

// Copies a text argument into the frame's pool; -1 when it does not fit.
int32_t keep_text(StandInFrame* frame, const char* text) {
    size_t length = std::strlen(text);
    if (frame->pool_used + static_cast<int32_t>(length) + 1 > kStandInStringPoolCapacity) {
        frame->overflowed = 1;
        return -1;
    }
    int32_t at = frame->pool_used;
    std::memcpy(frame->string_pool + at, text, length + 1);
    frame->pool_used += static_cast<int32_t>(length) + 1;
    return at;
}

}  // namespace

const char* stand_in_native_name(uint64_t hash) {
    const NativeShape* shape = find_native(hash);
    return shape != nullptr ? shape->name : "unknown";
}

void stand_in_reset_world(StandInWorld* world) {
    std::memset(world, 0, sizeof *world);
    world->player_id = 1;
    world->player_ok = 1;
    world->dicts_load_on_request = 1;
    world->frame_time = 1.0f / kFramesPerSecond;
    world->missing_bone_index = -1;
    world->screen_width = 1280;
    world->screen_height = 720;
    world->projection_scale = 0.01f;
    world->next_text_handle = 0x1234567800000001ULL;
    world->screen_faded_in = 1;
    world->onscreen_keyboard_state = 3;
}

StandInEntity* stand_in_add_entity(StandInWorld* world, int32_t handle, StandInEntityKind kind, float x, float y,
                                   float z) {
    StandInEntity* entity = stand_in_find_entity(world, handle);
    if (entity == nullptr) {
        if (world->entity_count == kStandInMaxEntities) return nullptr;
        entity = &world->entities[world->entity_count++];
    }
    std::memset(entity, 0, sizeof *entity);
    entity->handle = handle;
    entity->kind = kind;
    entity->valid = 1;
    entity->x = x;
    entity->y = y;
    entity->z = z;
    entity->height = 1.8f;
    return entity;
}

void stand_in_add_bone(StandInEntity* entity, const char* name, int32_t index, float x, float y, float z) {
    if (entity->bone_count == kStandInMaxBones) return;
    StandInBone* bone = &entity->bones[entity->bone_count++];
    copy_name(bone->name, name);
    bone->index = index;
    bone->x = x;
    bone->y = y;
    bone->z = z;
}

StandInEntity* stand_in_find_entity(StandInWorld* world, int32_t handle) {
    if (handle == 0) return nullptr;
    for (int i = 0; i < world->entity_count; ++i) {
        if (world->entities[i].handle == handle) return &world->entities[i];
    }
    return nullptr;
}

// Puts name on a list of names or takes it off.
static void set_listed(char (*names)[kStandInNameCapacity], int32_t* count, const char* name, bool listed) {
    for (int i = 0; i < *count; ++i) {
        if (std::strcmp(names[i], name) == 0) {
            if (!listed) std::memcpy(names[i], names[--*count], kStandInNameCapacity);
            return;
        }
    }
    if (listed && *count < kStandInMaxNames) copy_name(names[(*count)++], name);
}

void stand_in_set_effect(StandInWorld* world, const char* name, bool running) {
    set_listed(world->running_effects, &world->effect_count, name, running);
}

const char* stand_in_ui_app_name(uint32_t hash) {
    for (const auto& app : kUiApps) {
        if (app.hash == hash) return app.name;
    }
    return nullptr;
}

bool stand_in_set_ui_app(StandInWorld* world, const char* name, bool open) {
    for (const auto& app : kUiApps) {
        if (std::strcmp(app.name, name) != 0) continue;
        set_listed(world->open_ui_apps, &world->open_ui_app_count, app.name, open);
        return true;
    }
    return false;
}

void stand_in_begin_frame(StandInFrame* frame) {
    frame->call_count = 0;
    frame->wait_count = 0;
    frame->last_wait_ms = 0;
    frame->protocol_errors = 0;
    frame->unknown_natives = 0;
    frame->overflowed = 0;
    frame->pool_used = 0;
}

const char* stand_in_call_text(const StandInFrame* frame, const StandInCall* call, int argument) {
    if (argument < 0 || argument >= call->argument_count || call->text_at[argument] < 0) return nullptr;
    return frame->string_pool + call->text_at[argument];
}

uint64_t* stand_in_answer_native(StandInWorld* world, StandInFrame* frame, uint64_t hash, const uint64_t* arguments,
                                 int argument_count) {
    static uint64_t slots[3];
    slots[0] = slots[1] = slots[2] = 0;
    const NativeShape* shape = find_native(hash);
    if (shape == nullptr) {
        ++frame->unknown_natives;
    } else if (shape->argument_count != argument_count) {
        ++frame->protocol_errors;
    } else {
        answer(world, shape->native, arguments, slots);
    }

    if (frame->call_count == kStandInMaxCallsPerFrame) {
        frame->overflowed = 1;
        return slots;
    }
    StandInCall* call = &frame->calls[frame->call_count++];
    call->hash = hash;
    call->argument_count = argument_count;
    for (int i = 0; i < argument_count && i < kStandInMaxArguments; ++i) {
        call->arguments[i] = arguments[i];
        bool is_text = shape != nullptr && (shape->text_arguments & (1u << i)) != 0 && arguments[i] != 0;
        call->text_at[i] = is_text ? keep_text(frame, argument_text(arguments, i)) : -1;
    }
    call->result[0] = slots[0];
    call->result[1] = slots[1];
    call->result[2] = slots[2];
    return slots;
}
