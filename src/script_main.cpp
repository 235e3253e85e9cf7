// The marker script: loop, gating, error overlay, the toggle key, target
// selection and the marker's animation, placement and drawing, on the hook's
// script fiber, talking to the game only through natives (host/native_call.h).
// A pass is a fixed sequence of native calls on locals: no allocation, no
// file, no log but one entry for a texture dictionary that never loads and
// one for each press of toggle_key taken. What changes only when the settings
// file is looked at (the settings, the game window, the toggle key) is taken
// up then.
#include "script_main.h"

#include <cstdio>
#include <cstring>

#include "common/bounded_text.h"
#include "host/native_call.h"
#include "host/native_hashes.h"
#include "key_names.h"
#include "log/log.h"
#include "platform/platform.h"
#include "toggle_key.h"

static const char kSourceName[] = "script_main";

// Room for the overlay text: the banner and any error text (1023 at most).
static const size_t kBannerTextCapacity = 2048;

// At or below this visibility the marker is not drawn at all.
static const float kVisibleThreshold = 0.01f;

// All zero: no settings, no look yet (the first pass reads the file), no
// target, the marker shown. The handler looks for no key until the first look
// takes the settings up, and a press from before this start is not taken.
void script_start(ScriptState* state) {
    std::memset(state, 0, sizeof *state);
    arm_toggle_key(kToggleKeyNone);
    drop_toggle_press();
    write_log(kSourceName, __LINE__, "%s", kLogScriptStarted);
    config_error_text[0] = 0;
    nativeInit(native::player_id_query);
    state->player_id = result_int(nativeCall());
}

void run_script() {
    ScriptState state;
    script_start(&state);
    for (;;) {
        script_pass(&state);
        scriptWait(0);
    }
}

// =============================================================================
// Error overlay
// =============================================================================

// Draws "--- Ondrelle ---" and the pending settings error below it, white on a
// black drop shadow, near the top left corner.
static void draw_error_overlay() {
    nativeInit(native::text_scale);
    push_float(0.22f);
    push_float(0.22f);
    nativeCall();

    nativeInit(native::text_colour);
    push_int(255);
    push_int(255);
    push_int(255);
    push_int(255);
    nativeCall();

    nativeInit(native::text_centre);
    push_int(0);
    nativeCall();

    nativeInit(native::text_drop_shadow);
    push_int(2);
    push_int(0);
    push_int(0);
    push_int(0);
    push_int(255);
    nativeCall();

    char banner_text[kBannerTextCapacity];
    std::snprintf(banner_text, sizeof banner_text, "--- Ondrelle ---\n%s", config_error_text);

    nativeInit(native::literal_text);
    push_int(10);
    push_text("LITERAL_STRING");
    push_text(banner_text);
    uint64_t text_handle = result_raw(nativeCall());

    nativeInit(native::draw_text);
    push_raw(text_handle);
    push_float(0.01f);
    push_float(0.04f);
    nativeCall();
}

// =============================================================================
// Gating
// =============================================================================

static bool player_check(int32_t player_id) {
    nativeInit(native::player_check);
    push_int(player_id);
    return result_int(nativeCall()) != 0;
}

static bool effect_running(const char* effect_name) {
    nativeInit(native::effect_check);
    push_text(effect_name);
    return result_int(nativeCall()) != 0;
}

// A native that takes nothing and answers yes or no.
static bool game_says(uint64_t native_hash) {
    nativeInit(native_hash);
    return result_int(nativeCall()) != 0;
}

// The game draws its own HUD only while the screen is faded in, the player
// has control (player_check), the HUD is not hidden and no script has hidden
// the radar. One call per check, the first that hides ending them.
static bool game_hides_its_hud() {
    if (!game_says(native::screen_faded_in_check)) return true;
    if (game_says(native::hud_hidden_check)) return true;
    return game_says(native::radar_hidden_by_script_check);
}

// The UI apps that leave the player in control while they are open, by the
// game's hash of their names, made by the compiler.
static const uint32_t kMenuApps[] = {joaat("MAP"), joaat("SATCHEL"), joaat("PLAYER_MENU"), joaat("CRAFTING")};

static bool ui_app_open(uint32_t app) {
    nativeInit(native::ui_app_check);
    push_hash(app);
    return result_int(nativeCall()) != 0;
}

// The pause menu (and the other frontend menus), then each UI app in turn.
static bool menu_open() {
    if (game_says(native::pause_menu_check)) return true;
    for (uint32_t app : kMenuApps) {
        if (ui_app_open(app)) return true;
    }
    return false;
}

// Whether the marker may show this frame; the first check that fails ends it.
// A setting that lets the marker show in a state asks nothing about it: a
// file without the optional keys makes exactly the calls it always made.
static bool marker_allowed(int32_t player_id, const Settings& settings) {
    if (!player_check(player_id)) return false;
    if (effect_running("WheelHUDIn")) return false;
    if (!settings.show_in_binoculars && effect_running("ScopeBinoculars")) return false;
    if (!settings.show_during_dead_eye && effect_running("DEADEYE")) return false;
    if (!settings.show_with_hud_hidden && game_hides_its_hud()) return false;
    if (!settings.show_in_menus && menu_open()) return false;
    if (!settings.show_in_cinematic_camera && game_says(native::cinematic_camera_check)) return false;
    if (!settings.show_during_eagle_eye && effect_running("EagleEye")) return false;
    if (!settings.show_in_sniper_scope && effect_running("ScopeSniper")) return false;
    return true;
}

// Counts a pass that found the watched dictionary not loaded; the pass that
// reaches the patience logs it, once for this value of texture_dict.
static void note_texture_dict_not_loaded(TextureDictWatch* watch) {
    if (watch->settled || ++watch->passes_not_loaded < kTextureDictPatiencePasses) return;
    write_log(kSourceName, __LINE__, kLogTextureDictNotLoaded, watch->texture_dict,
              static_cast<int>(kTextureDictPatiencePasses));
    watch->settled = true;
}

// Asks the game to stream the marker's texture dictionary until it is loaded.
static void request_texture_dict(const char* texture_dict, TextureDictWatch* watch) {
    nativeInit(native::texture_dict_check);
    push_text(texture_dict);
    if (result_int(nativeCall()) != 0) {
        watch->settled = true;
        return;
    }
    nativeInit(native::texture_dict_request);
    push_text(texture_dict);
    push_int(0);
    nativeCall();
    note_texture_dict_not_loaded(watch);
}

// =============================================================================
// The toggle key
// =============================================================================

// Whether the game's on-screen keyboard is being typed in (the native answers
// 0 then): a key pressed in it is a letter of a name, not the toggle key.
static bool onscreen_keyboard_typed_in() {
    nativeInit(native::onscreen_keyboard_check);
    return result_int(nativeCall()) == 0;
}

// Takes a press the handler recorded, in a pass that got through every gate:
// unless the on-screen keyboard is typed in, the marker is hidden or shown
// again, and the log says so. A pass without a press asks the game nothing.
static void take_toggle_key(ScriptState* state) {
    if (!take_toggle_press() || onscreen_keyboard_typed_in()) return;
    state->hidden_by_player = !state->hidden_by_player;
    char key[kToggleKeyTextCapacity];
    toggle_key_text(state->settings.toggle_key, key, sizeof key);
    write_log(kSourceName, __LINE__, state->hidden_by_player ? kLogHiddenByToggleKey : kLogShownByToggleKey, key);
}

// The live settings' toggle_key, taken up at each look (they change only when
// a reload commits): the handler looks for it. With none the marker is shown
// again and a press recorded before is dropped. A key named where the hook has
// no keyboard functions is said once per load.
static void take_up_toggle_key(ScriptState* state) {
    int32_t key = state->settings.toggle_key;
    arm_toggle_key(key);
    if (key == kToggleKeyNone) {
        state->hidden_by_player = false;
        drop_toggle_press();
        return;
    }
    if (!keyboard_handler_registered() && first_word_on_missing_handler())
        write_log(kSourceName, __LINE__, "%s", kLogNoKeyboardHandler);
}

// =============================================================================
// The once-a-second look
// =============================================================================

// A reload that names another texture dictionary starts its watch afresh;
// one that leaves the name alone changes nothing.
static void watch_texture_dict(const char* texture_dict, TextureDictWatch* watch) {
    if (std::strcmp(watch->texture_dict, texture_dict) == 0) return;
    // Both buffers have the same capacity: the copy always fits.
    static_cast<void>(copy_text(watch->texture_dict, sizeof watch->texture_dict, texture_dict));
    watch->passes_not_loaded = 0;
    watch->settled = false;
}

// The game window's shape: a resize, another monitor, or a switch between
// windowed and full screen shows within a second. No window found (or a
// minimised one) keeps the last shape found.
static void look_at_game_window(float* window_aspect_ratio) {
    int32_t width = 0;
    int32_t height = 0;
    if (platform_game_window_size(&width, &height))
        *window_aspect_ratio = static_cast<float>(height) / static_cast<float>(width);
}

// Takes up what can change only when the settings file was just looked at:
// the settings a reload may have replaced, and the game window.
static void after_settings_look(ScriptState* state) {
    watch_texture_dict(state->settings.texture_dict, &state->texture_watch);
    take_up_toggle_key(state);
    look_at_game_window(&state->window_aspect_ratio);
}

// The settings file's look, once a second at most by the system time, as
// the reload decides it. The monotonic count first tells whether a second can
// have passed since the last look at all: reading it costs next to nothing,
// while the system time costs more under Wine than the rest of the pass. A
// clock set back is still noticed, within a second.
static void look_at_settings_when_due(ScriptState* state) {
    uint64_t milliseconds = platform_milliseconds();
    bool looked_before = state->last_look_milliseconds != 0;
    if (looked_before && milliseconds - state->last_look_milliseconds < kMillisecondsBetweenLooks) return;
    // The reload stamps every look it makes.
    FileTime last_look = state->last_check_time;
    load_settings_if_changed(state->settings, state->last_check_time, state->last_file_time);
    if (state->last_check_time == last_look) return;
    state->last_look_milliseconds = milliseconds;
    after_settings_look(state);
}

// A press of toggle_key is dropped in a pass that shows the error or stops at
// a gate: the player saw no marker to hide or show. Hidden by the player, the
// marker eases out as when focus is lost, while its target is still chosen.
void script_pass(ScriptState* state) {
    look_at_settings_when_due(state);
    if (config_error_text[0] != 0) {
        drop_toggle_press();
        draw_error_overlay();
        return;
    }
    if (!marker_allowed(state->player_id, state->settings)) {
        drop_toggle_press();
        return;
    }
    take_toggle_key(state);
    request_texture_dict(state->settings.texture_dict, &state->texture_watch);
    TargetChoice choice = select_target(state->player_id, state->settings, &state->kept_target);
    if (state->hidden_by_player) choice = TargetChoice{0.0f, state->settings.shrink_speed};
    animate_and_draw_marker(state->kept_target, choice, state->settings, state->window_aspect_ratio,
                            &state->visibility);
}

// =============================================================================
// Target selection
// =============================================================================

static bool entity_valid(int32_t entity) {
    nativeInit(native::validity_check);
    push_int(entity);
    return result_int(nativeCall()) != 0;
}

static bool is_ped(int32_t entity) {
    nativeInit(native::ped_check);
    push_int(entity);
    return result_int(nativeCall()) != 0;
}

static bool is_human(int32_t entity) {
    nativeInit(native::human_check);
    push_int(entity);
    return result_int(nativeCall()) != 0;
}

// Asks the game what the player is focused on; writes it to candidate and
// returns true when there is something. The lock-on query also serves the
// binocular view, where the focus query reports nothing.
static bool query_target(int32_t player_id, const Settings& settings, int32_t* candidate) {
    if (settings.mark_enemies_in_lock_on_mode || settings.show_in_binoculars) {
        nativeInit(native::lock_on_query);
        push_int(player_id);
        push_out_slot(candidate);
    } else {
        nativeInit(native::focus_query);
        push_int(player_id);
        push_out_slot(candidate);
        push_int(0);
        push_int(0);
    }
    return result_int(nativeCall()) != 0;
}

// Whether the settings let the marker go on this kind of entity.
static bool kind_enabled(int32_t candidate, const Settings& settings) {
    bool ped = is_ped(candidate);
    if (settings.mark_humans && ped && is_human(candidate)) return true;
    if (settings.mark_animals && ped) return true;
    return settings.mark_objects && !ped;
}

TargetChoice select_target(int32_t player_id, const Settings& settings, int32_t* kept_target) {
    if (!entity_valid(*kept_target)) *kept_target = 0;

    int32_t candidate = 0;
    if (!query_target(player_id, settings, &candidate)) return TargetChoice{0.0f, settings.shrink_speed};

    // A rejected candidate still grows the marker, on the target kept.
    if (candidate != *kept_target && kind_enabled(candidate, settings)) *kept_target = candidate;
    return TargetChoice{1.0f, settings.grow_speed};
}

// =============================================================================
// Marker animation, placement and drawing
// =============================================================================

static float frame_time() {
    nativeInit(native::frame_time);
    return result_float(nativeCall());
}

// The easing's step is rate x frame time clamped to [0, 1]. Each use asks the
// game for the frame time afresh, as the marker always has. A step that is not
// a number (an infinite rate on a paused frame) is taken as 0: otherwise the
// visibility would stay NaN and the marker would never show again.
static float easing_step(float rate) {
    float step;
    if (rate * frame_time() < 0.0f) {
        step = 0.0f;
    } else if (rate * frame_time() > 1.0f) {
        step = 1.0f;
    } else {
        step = rate * frame_time();
    }
    return step == step ? step : 0.0f;
}

static Vector3 entity_position(int32_t entity) {
    nativeInit(native::entity_position);
    push_int(entity);
    push_int(1);
    push_int(1);
    return result_vector3(nativeCall());
}

// The point above the entity the marker sits on: the configured bone of a
// ped, half its height for a ped without that bone, a fixed lift otherwise.
// The game answers -1 for a bone the ped lacks (many animals have no head
// bone) and index 0 is the skeleton's root, so only a positive index is a
// bone to sit on; anything else takes the half-height fallback.
static Vector3 marker_anchor(int32_t entity, const Settings& settings) {
    Vector3 position = entity_position(entity);
    if (!is_ped(entity)) return Vector3{position.x, position.y, position.z + settings.object_offset_z};

    nativeInit(native::bone_lookup);
    push_int(entity);
    push_text(settings.ped_bone);
    int32_t bone_index = result_int(nativeCall());
    if (bone_index > 0) {
        nativeInit(native::bone_position);
        push_int(entity);
        push_int(bone_index);
        Vector3 bone = result_vector3(nativeCall());
        return Vector3{bone.x, bone.y, bone.z + settings.ped_bone_offset_z};
    }
    nativeInit(native::entity_height);
    push_int(entity);
    float height = result_float(nativeCall());
    return Vector3{position.x, position.y, position.z + height * 0.5f};
}

// Projects a world point; false when it is not on screen.
static bool world_to_screen(Vector3 point, float* screen_x, float* screen_y) {
    nativeInit(native::world_to_screen);
    push_float(point.x);
    push_float(point.y);
    push_float(point.z);
    push_out_slot(screen_x);
    push_out_slot(screen_y);
    return result_int(nativeCall()) != 0;
}

// Height over width of the screen as the game's resolution native gives it.
static float screen_aspect_ratio() {
    int32_t width = 0;
    int32_t height = 0;
    nativeInit(native::screen_resolution);
    push_out_slot(&width);
    push_out_slot(&height);
    nativeCall();
    return static_cast<float>(height) / static_cast<float>(width);
}

// How far the bounce lifts the marker this frame, before bounce_distance.
static float bounce_phase(float bounce_speed) {
    nativeInit(native::game_timer);
    float t = static_cast<float>(result_int(nativeCall())) * bounce_speed;
    nativeInit(native::bounce_curve_inner);
    push_float(t);
    float u = result_float(nativeCall());
    nativeInit(native::bounce_curve_outer);
    push_float(u);
    return result_float(nativeCall());
}

static void draw_sprite(const Settings& settings, float x, float y, float width, float height) {
    nativeInit(native::draw_sprite);
    push_text(settings.texture_dict);
    push_text(settings.texture_name);
    push_float(x);
    push_float(y);
    push_float(width);
    push_float(height);
    push_float(settings.rotation);
    push_int(255);
    push_int(255);
    push_int(255);
    push_int(settings.opacity);
    push_int(0);
    nativeCall();
}

void animate_and_draw_marker(int32_t kept_target, TargetChoice choice, const Settings& settings,
                             float window_aspect_ratio, float* visibility) {
    float step = easing_step(choice.visibility_rate);
    *visibility = *visibility + (choice.visibility_goal - *visibility) * step;
    // With nothing kept there is nothing to sit on. The game answers the
    // world's origin for handle 0, a real place near the middle of the map,
    // and the projection tests only whether a point is on screen: a marker
    // placed there would hang over nothing. The visibility eases all the
    // same, so a target taken up next shows at the size reached.
    if (kept_target == 0 || !(*visibility > kVisibleThreshold)) return;

    Vector3 anchor = marker_anchor(kept_target, settings);
    float screen_x = 0.0f;
    float screen_y = 0.0f;
    if (!world_to_screen(anchor, &screen_x, &screen_y)) return;

    // The native is asked in every drawn frame, as the game expects; its
    // answer counts only until the game window has been found.
    float aspect_ratio = screen_aspect_ratio();
    if (window_aspect_ratio > 0.0f) aspect_ratio = window_aspect_ratio;
    screen_y = screen_y - bounce_phase(settings.bounce_speed) * settings.bounce_distance;
    float size = settings.size * *visibility;
    draw_sprite(settings, screen_x, screen_y, size * aspect_ratio, size);
}
