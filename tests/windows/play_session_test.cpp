// End to end: the real Ondrelle.asi in a game folder with the stand-in hook
// and the shipped default Ondrelle.ini, through a scripted play session:
// the gates (a menu opened and closed, a file without the optional keys),
// the game window's shape, the script started again by the hook, and the
// toggle key pressed in the game window. Each frame's draws are read from
// the hook's call record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "easing_reference.h"
#include "host/native_call.h"
#include "host/native_hashes.h"
#include "platform/platform.h"
#include "test_game.h"

namespace {

const uint64_t kDrawSprite = native::draw_sprite;
const uint64_t kDrawText = native::draw_text;
const uint64_t kPlayerCheck = native::player_check;
const uint64_t kPlayerIdQuery = native::player_id_query;
const uint64_t kEffectCheck = native::effect_check;
const uint64_t kWorldToScreen = native::world_to_screen;
const uint64_t kBonePosition = native::bone_position;
const uint64_t kEntityPosition = native::entity_position;
const uint64_t kPedCheck = native::ped_check;
const uint64_t kPauseMenuCheck = native::pause_menu_check;
const uint64_t kUiAppCheck = native::ui_app_check;
const uint64_t kOnscreenKeyboardCheck = native::onscreen_keyboard_check;

const uint32_t kF7 = 0x76;
const uint32_t kF8 = 0x77;

// Height over width of the screen as the game's resolution native answers
// it, 1280x720, whatever the real screen.
const float kNativeAspect = 720.0f / 1280.0f;

// The real plug-in's calls of the system time, counted through its import
// of GetSystemTimeAsFileTime.
void(WINAPI* g_real_system_time)(LPFILETIME);
volatile LONG g_system_time_reads;
void WINAPI counted_system_time(LPFILETIME now) {
    InterlockedIncrement(&g_system_time_reads);
    g_real_system_time(now);
}

struct PlaySession : ::testing::Test {
    TestGame game;
    std::wstring folder;
    long long file_clock = 0;

    void SetUp() override {
        folder = make_game_folder(L"session");
        ASSERT_TRUE(write_bytes(folder + L"\\Ondrelle.ini", default_settings_bytes()));
        ASSERT_TRUE(load_game(&game, folder));
        StandInWorld* world = game.world();
        StandInEntity* human = stand_in_add_entity(world, 501, stand_in_human, 3.0f, 4.0f, 5.0f);
        stand_in_add_bone(human, "skel_head", 31086, 3.0f, 4.0f, 6.5f);
        // An animal without a head bone: the game's lookup answers -1 for it.
        stand_in_add_entity(world, 502, stand_in_animal, -2.0f, 7.0f, 1.0f)->height = 1.5f;
        // A wagon: the default settings mark no objects.
        stand_in_add_entity(world, 503, stand_in_object, 9.0f, 9.0f, 9.0f);
    }
    void TearDown() override {
        unload_game(&game);
        remove_folder(folder);
    }
    const StandInFrame* frame() { return game.frame(); }
    int count(uint64_t hash) {
        int n = 0;
        for (int i = 0; i < frame()->call_count; ++i) n += frame()->calls[i].hash == hash;
        return n;
    }
    // The height of the sprite drawn this frame, or 0 when none was drawn.
    float sprite_height() {
        for (int i = 0; i < frame()->call_count; ++i) {
            if (frame()->calls[i].hash == kDrawSprite) return slot_float(frame()->calls[i].arguments[5]);
        }
        return 0.0f;
    }
    // Whether the sprite drawn this frame is its height wide times the
    // screen's height over its width, which keeps the marker square.
    bool sprite_is_square_on(float aspect) {
        return float_argument(kDrawSprite, 4) == float_argument(kDrawSprite, 5) * aspect;
    }
    // Argument n of the frame's first call of a native, as a float.
    float float_argument(uint64_t hash, int n) {
        for (int i = 0; i < frame()->call_count; ++i) {
            if (frame()->calls[i].hash == hash) return slot_float(frame()->calls[i].arguments[n]);
        }
        return -1e9f;
    }
    float step() {
        EXPECT_TRUE(step_frame(&game));
        EXPECT_EQ(frame()->wait_count, 1);
        EXPECT_EQ(frame()->protocol_errors, 0);
        EXPECT_EQ(frame()->unknown_natives, 0);
        return sprite_height();
    }
    // Lets the plug-in's once-a-second look come.
    void wait_for_a_look() { Sleep(1100); }
    // The natives the frame called, in order.
    std::vector<uint64_t> natives_called() {
        std::vector<uint64_t> hashes;
        for (int i = 0; i < frame()->call_count; ++i) hashes.push_back(frame()->calls[i].hash);
        return hashes;
    }
    // The default settings with the toggle_key line given.
    std::string settings_with_toggle_key(const std::string& key) {
        std::string settings = default_settings_bytes();
        settings.replace(settings.find("\ntoggle_key = none"), 18, "\ntoggle_key = " + key);
        return settings;
    }
    // Saves the settings file and lets the plug-in's once-a-second look come.
    void save_settings(const std::string& bytes) {
        ASSERT_TRUE(write_bytes(folder + L"\\Ondrelle.ini", bytes));
        ASSERT_TRUE(set_last_write_time(folder + L"\\Ondrelle.ini", ++file_clock));
        wait_for_a_look();
    }
    std::string log() { return log_lines_without_times(read_bytes(folder + L"\\Ondrelle.log")); }
    // How often text is in the log.
    size_t times_logged(const std::string& text) {
        std::string entries = log();
        size_t times = 0;
        for (size_t at = entries.find(text); at != std::string::npos; at = entries.find(text, at + 1)) ++times;
        return times;
    }
};

TEST_F(PlaySession, MarkerGrowsShrinksHidesAndSurvivesABrokenSettingsFile) {
    StandInWorld* world = game.world();
    const float size = 0.03f;                          // the default file's
    const float frame_time = 1.0f / kFramesPerSecond;  // the stand-in world's
    auto grown = [&](float visibility) { return eased_visibility(visibility, 1.0f, 8.0f, frame_time); };
    auto shrunk = [&](float visibility) { return eased_visibility(visibility, 0.0f, 10.0f, frame_time); };

    // Frames 1-3: nothing in focus, nothing drawn.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(step(), 0.0f) << "frame " << i + 1;

    // An object focused, of a kind not marked, with nothing marked before:
    // the marker grows, but on nothing, so nothing is placed or drawn (the
    // game would place it at the world's origin).
    world->focus_target = 503;
    float visibility = 0.0f;
    for (int i = 0; i < 3; ++i) {
        visibility = grown(visibility);
        EXPECT_EQ(step(), 0.0f) << "on nothing, frame " << i + 1;
        EXPECT_EQ(count(kPedCheck), 1) << "the candidate's kind only, frame " << i + 1;
        EXPECT_EQ(count(kEntityPosition), 0) << "frame " << i + 1;
        EXPECT_EQ(count(kWorldToScreen), 0) << "frame " << i + 1;
    }

    // A human focused: the marker shows at the size reached and grows on,
    // frame by frame. No game window at all: the resolution native's shape.
    world->focus_target = 501;
    for (int i = 0; i < 20; ++i) {
        visibility = grown(visibility);
        EXPECT_EQ(step(), size * visibility) << "growing, frame " << i + 1;
        EXPECT_TRUE(sprite_is_square_on(kNativeAspect)) << "growing, frame " << i + 1;
    }

    // Focus lost: it shrinks away, and is gone once at or below 0.01.
    world->focus_target = 0;
    int drawn_while_shrinking = 0;
    for (int i = 0; i < 40; ++i) {
        visibility = shrunk(visibility);
        float height = step();
        if (visibility > 0.01f) {
            EXPECT_EQ(height, size * visibility) << "shrinking, frame " << i + 1;
            ++drawn_while_shrinking;
        } else {
            EXPECT_EQ(height, 0.0f) << "shrunk away, frame " << i + 1;
        }
    }
    EXPECT_GT(drawn_while_shrinking, 5);
    EXPECT_LT(drawn_while_shrinking, 40);

    // Focused again and grown; then the binoculars: it vanishes at once.
    world->focus_target = 501;
    for (int i = 0; i < 30; ++i) {
        visibility = grown(visibility);
        step();
    }
    stand_in_set_effect(world, "ScopeBinoculars", true);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(step(), 0.0f);
        EXPECT_EQ(count(kEffectCheck), 2);  // WheelHUDIn, then ScopeBinoculars
    }
    stand_in_set_effect(world, "ScopeBinoculars", false);
    visibility = grown(visibility);
    EXPECT_EQ(step(), size * visibility) << "back at its former size";

    // The pause menu opens: nothing is drawn, and nothing is asked after the
    // check that found it. It closes: the marker goes on from its size. The
    // map likewise, asked about by the game's hash of its name.
    world->pause_menu_active = 1;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(step(), 0.0f) << "in the pause menu, frame " << i + 1;
        EXPECT_EQ(count(kPauseMenuCheck), 1);
        EXPECT_EQ(count(kUiAppCheck), 0);
        EXPECT_EQ(frame()->calls[frame()->call_count - 1].hash, kPauseMenuCheck);
    }
    world->pause_menu_active = 0;
    visibility = grown(visibility);
    EXPECT_EQ(step(), size * visibility) << "back at its former size after the pause menu";
    stand_in_set_ui_app(world, "MAP", true);
    EXPECT_EQ(step(), 0.0f) << "on the map";
    EXPECT_EQ(count(kUiAppCheck), 1);
    stand_in_set_ui_app(world, "MAP", false);
    visibility = grown(visibility);
    EXPECT_EQ(step(), size * visibility) << "back at its former size after the map";
    const int calls_of_a_drawn_frame = frame()->call_count;

    // A broken settings file: the overlay shows, the gates stop.
    save_settings("size = 0.03\nthis is not a setting\n");
    EXPECT_EQ(step(), 0.0f);
    EXPECT_EQ(count(kDrawText), 1);
    EXPECT_EQ(count(kPlayerCheck), 0);
    EXPECT_EQ(frame()->call_count, 6);
    EXPECT_EQ(step(), 0.0f);
    EXPECT_EQ(count(kDrawText), 1);

    // Fixed again, with the 18 required keys alone, as a file written for an
    // earlier release: the marker returns where it was, and shows through
    // every state where the game hides its own HUD, asking nothing about them.
    std::string required_alone = default_settings_bytes();
    required_alone.erase(required_alone.find("; ---- Where the game hides its own HUD"));
    save_settings(required_alone);
    visibility = grown(visibility);
    EXPECT_EQ(step(), size * visibility);
    EXPECT_EQ(count(kDrawText), 0);
    auto every_hud_state = [&](bool on) {
        world->screen_faded_in = !on;
        world->hud_hidden = world->radar_hidden_by_script = world->pause_menu_active = on;
        world->cinematic_camera_rendering = on;
        for (const char* app : {"MAP", "SATCHEL", "PLAYER_MENU", "CRAFTING"}) stand_in_set_ui_app(world, app, on);
        stand_in_set_effect(world, "EagleEye", on);
        stand_in_set_effect(world, "ScopeSniper", on);
    };
    every_hud_state(true);
    visibility = grown(visibility);
    EXPECT_EQ(step(), size * visibility) << "hidden by a file without the optional keys";
    EXPECT_EQ(frame()->call_count, calls_of_a_drawn_frame - 11) << "the optional keys' 11 checks were made";
    EXPECT_EQ(count(kPauseMenuCheck) + count(kUiAppCheck), 0);
    EXPECT_EQ(count(kEffectCheck), 3);  // WheelHUDIn, ScopeBinoculars, DEADEYE
    every_hud_state(false);

    // The game window, whatever the native says: a 21:9 screen, then a
    // resize to the Steam Deck's 16:10, each within a second; once the window
    // is gone, the last shape found stays.
    HWND window = open_game_window(2560, 1080);
    ASSERT_NE(window, nullptr) << kNoDisplayForWindows;
    wait_for_a_look();
    visibility = grown(visibility);
    EXPECT_EQ(step(), size * visibility);
    EXPECT_TRUE(sprite_is_square_on(1080.0f / 2560.0f));
    ASSERT_TRUE(resize_game_window(window, 1280, 800));
    step();
    EXPECT_TRUE(sprite_is_square_on(1080.0f / 2560.0f)) << "looked again within the second";
    wait_for_a_look();
    step();
    EXPECT_TRUE(sprite_is_square_on(800.0f / 1280.0f));
    ASSERT_TRUE(DestroyWindow(window));
    wait_for_a_look();
    step();
    EXPECT_TRUE(sprite_is_square_on(800.0f / 1280.0f));

    // The animal without a head bone: the marker sits at half its height,
    // without the bone offset, not inside its body at its origin.
    world->focus_target = 502;
    EXPECT_GT(step(), 0.0f);
    EXPECT_EQ(float_argument(kWorldToScreen, 0), -2.0f);
    EXPECT_EQ(float_argument(kWorldToScreen, 2), 1.0f + 1.5f * 0.5f);
    EXPECT_EQ(count(kBonePosition), 0);

    // Let go, and gone while the marker shrinks: nothing is drawn where it
    // was, and nothing is placed on handle 0. Back, it is taken up again.
    world->focus_target = 0;
    EXPECT_GT(step(), 0.0f) << "shrinking on the animal";
    stand_in_find_entity(world, 502)->valid = 0;
    EXPECT_EQ(step(), 0.0f) << "drawn with no target kept";
    EXPECT_EQ(count(kEntityPosition), 0);
    EXPECT_EQ(count(kPedCheck), 0);
    stand_in_find_entity(world, 502)->valid = 1;
    world->focus_target = 502;

    // A misspelt texture dictionary the game never loads is named in the log
    // after 300 frames, once.
    world->dicts_load_on_request = 0;
    std::string misspelt = default_settings_bytes();
    misspelt.replace(misspelt.find("\ntexture_dict = generic_textures"), 32, "\ntexture_dict = generic_texturez");
    save_settings(misspelt);
    for (int i = 0; i < 299; ++i) step();
    const std::string named =
        "Texture dictionary \"generic_texturez\" has not loaded after 300 frames; check texture_dict in Ondrelle.ini";
    EXPECT_EQ(read_bytes(folder + L"\\Ondrelle.log").find(named), std::string::npos);
    for (int i = 0; i < 301; ++i) step();

    std::string entries = log();
    EXPECT_NE(entries.find("Config file line #2: not delimited by '=' (config:"), std::string::npos) << entries;
    EXPECT_EQ(entries.rfind("Script started (script_main:", 0), 0u);
    EXPECT_NE(entries.find(named + " (script_main:"), std::string::npos) << entries;
    EXPECT_EQ(times_logged(named), 1u) << "named twice";

    // The hook starts the script again in the same loaded library: it starts
    // afresh. It logs its start, reads the settings and the player's id
    // again, carries no marker over (it grows in from nothing), and its
    // texture watch counts from the start.
    world->player_id = 3;
    restart_script(&game);
    std::string before_restart = log();
    visibility = grown(0.0f);
    EXPECT_EQ(step(), size * visibility) << "a marker carried over";
    EXPECT_EQ(count(kPlayerIdQuery), 1);
    EXPECT_EQ(count(kPlayerCheck), 1);
    EXPECT_EQ(frame()->calls[1].hash, kPlayerCheck);
    EXPECT_EQ(static_cast<int32_t>(frame()->calls[1].arguments[0]), 3);
    EXPECT_TRUE(sprite_is_square_on(kNativeAspect)) << "the old window's shape carried over";
    std::string after_restart = log().substr(before_restart.size());
    EXPECT_EQ(after_restart.rfind("Script started (script_main:", 0), 0u) << after_restart;
    EXPECT_NE(after_restart.find("\nConfig file reloaded (config:"), std::string::npos) << after_restart;
    for (int i = 0; i < 298; ++i) step();
    EXPECT_EQ(times_logged(named), 1u);
    step();  // its 300th pass
    EXPECT_EQ(times_logged(named), 2u);

    // However fast frames come, the plug-in reads the system time about once
    // a second: the monotonic count, which moves with time, says whether a
    // look can be due. Counted against the time the frames took, whatever
    // the machine's speed.
    uint64_t before_sleep = platform_milliseconds();
    Sleep(100);
    EXPECT_GE(platform_milliseconds() - before_sleep, 80u) << "the monotonic count stands still";
    void* real = replace_import(game.plugin, "KERNEL32.dll", "GetSystemTimeAsFileTime",
                                reinterpret_cast<void*>(counted_system_time));
    ASSERT_NE(real, nullptr) << "the plug-in does not import GetSystemTimeAsFileTime";
    g_real_system_time = reinterpret_cast<void(WINAPI*)(LPFILETIME)>(real);
    g_system_time_reads = 0;
    ULONGLONG start = GetTickCount64();
    for (int i = 0; i < 3000; ++i) step();
    ULONGLONG seconds = (GetTickCount64() - start) / 1000 + 1;
    EXPECT_LE(static_cast<ULONGLONG>(g_system_time_reads), 10 * seconds)
        << "read in " << g_system_time_reads << " of 3000 frames over about " << seconds << " s";
    replace_import(game.plugin, "KERNEL32.dll", "GetSystemTimeAsFileTime", real);
}

// The toggle key as a player presses it in the game window. With the shipped
// toggle_key = none, keys change no call; CTRL+F7 set, it hides the marker,
// which eases out, and shows it again; what is not that press, or a press
// while typing or in a menu, changes nothing; a reload to none shows it again.
TEST_F(PlaySession, ToggleKeyPressedInTheGameWindowHidesAndShowsTheMarker) {
    StandInWorld* world = game.world();
    const float size = 0.03f, frame_time = 1.0f / kFramesPerSecond;
    auto grown = [&](float visibility) { return eased_visibility(visibility, 1.0f, 8.0f, frame_time); };
    auto shrunk = [&](float visibility) { return eased_visibility(visibility, 0.0f, 10.0f, frame_time); };
    world->focus_target = 501;
    float visibility = 0.0f;
    for (int i = 0; i < 40; ++i) {
        visibility = grown(visibility);
        step();
    }

    // toggle_key = none, as shipped: every key, with every set of modifiers,
    // leaves the frame's calls as they are, and the log as it is.
    const std::vector<uint64_t> usual = natives_called();
    const std::string log_before = log();
    for (uint32_t key : {kF7, kF8, 0x41u, 0x91u}) {
        for (int32_t modifiers = 0; modifiers < 8; ++modifiers) EXPECT_EQ(send_key(&game, key, modifiers << 8), 1);
        visibility = grown(visibility);
        EXPECT_EQ(step(), size * visibility);
        EXPECT_EQ(natives_called(), usual) << "with toggle_key none, key " << key;
    }
    EXPECT_EQ(log(), log_before);

    save_settings(settings_with_toggle_key("ctrl+F7"));
    visibility = grown(visibility);
    EXPECT_EQ(step(), size * visibility);
    EXPECT_EQ(count(kOnscreenKeyboardCheck), 0);

    // Hidden: it eases out at shrink_speed, frame by frame.
    send_key(&game, kF7, 0x100);
    visibility = shrunk(visibility);
    EXPECT_EQ(step(), size * visibility) << "hidden at once instead of eased out";
    EXPECT_EQ(count(kOnscreenKeyboardCheck), 1);
    for (int i = 0; i < 40; ++i) {
        visibility = shrunk(visibility);
        EXPECT_EQ(step(), visibility > 0.01f ? size * visibility : 0.0f) << "shrinking, frame " << i + 1;
    }
    EXPECT_NE(log().find("\nMarker hidden by toggle_key (CTRL+F7) (script_main:"), std::string::npos) << log();

    // Not the press: while typing (asked, then dropped), an auto-repeat, the
    // release, another key, F7 without Ctrl or with Shift too; and a press
    // made while the pause menu is open.
    world->onscreen_keyboard_state = 0;
    send_key(&game, kF7, 0x100);
    step();
    EXPECT_EQ(count(kOnscreenKeyboardCheck), 1);
    world->onscreen_keyboard_state = 3;
    send_key(&game, kF7, 0x100, true);
    send_key(&game, kF7, 0x100, false, true);
    send_key(&game, kF8, 0x100);
    send_key(&game, kF7, 0);
    send_key(&game, kF7, 0x100 | 0x200);
    step();
    EXPECT_EQ(count(kOnscreenKeyboardCheck), 0);
    world->pause_menu_active = 1;
    send_key(&game, kF7, 0x100);
    step();
    world->pause_menu_active = 0;
    for (int i = 0; i < 3; ++i) {
        visibility = shrunk(visibility);
        EXPECT_EQ(step(), 0.0f) << "shown by a press that was not the key";
        EXPECT_EQ(count(kOnscreenKeyboardCheck), 0);
    }

    // Shown again: it eases back in at grow_speed.
    send_key(&game, kF7, 0x100);
    float shown = 0.0f;
    for (int i = 0; i < 30 && shown == 0.0f; ++i) shown = step();
    EXPECT_GT(shown, 0.0f);
    EXPECT_LT(shown, size * 0.5f) << "shown at once instead of eased in";
    EXPECT_NE(log().find("\nMarker shown by toggle_key (CTRL+F7) (script_main:"), std::string::npos) << log();

    // Hidden again, then the file saved with none: shown again, unasked.
    send_key(&game, kF7, 0x100);
    for (int i = 0; i < 40; ++i) step();
    EXPECT_EQ(step(), 0.0f);
    save_settings(default_settings_bytes());
    for (int i = 0; i < 30; ++i) step();
    EXPECT_GT(step(), size * 0.9f) << "not shown again by a reload to none";
    EXPECT_EQ(times_logged("by toggle_key"), 3u) << log();
}

}  // namespace
