// The script loop frame by frame against the stand-in world's call record:
// start-up, the error overlay, the gates (the optional settings' too, in
// every state where the game hides its own HUD) and the texture request; and
// every entry the script writes to its log, read back by ondrelle-check.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "easing_reference.h"
#include "host/native_call.h"
#include "log_reading.h"
#include "verdict_plugin_log.h"
#include "script_fixture.h"

namespace {

using ScriptLoop = ScriptTest;

const char kMarkerPassWithNothingInFocus[] =
    "player_check effect_check:WheelHUDIn effect_check:ScopeBinoculars texture_dict_check:generic_textures "
    "validity_check focus_query frame_time frame_time frame_time";

TEST_F(ScriptLoop, StartUpLogsReadsThePlayerOnceAndEmptiesTheErrorText) {
    world->player_id = 7;
    save_settings(complete_settings_file());
    std::snprintf(config_error_text, sizeof config_error_text, "left over");
    start_script(&state);
    EXPECT_EQ(frame_trace(), "player_id_query");
    EXPECT_STREQ(config_error_text, "");
    EXPECT_EQ(log_without_times_and_lines(read_file(folder + "/Ondrelle.log")), "Script started (script_main)\n");
    EXPECT_EQ(state.player_id, 7);
    EXPECT_EQ(state.kept_target, 0);
    EXPECT_EQ(state.visibility, 0.0f);

    world->player_id = 9;  // the game's answer changes; the script keeps its own
    step();
    ASSERT_EQ(calls_named("player_check").size(), 1u);
    EXPECT_EQ(argument_int(calls_named("player_check")[0], 0), 7);
    EXPECT_EQ(frame_trace(), "player_check");
}

TEST_F(ScriptLoop, RunScriptStartsOnceThenMakesOnePassAndOneWaitOfZeroPerFrame) {
    world->player_id = 7;
    save_settings(complete_settings_file());
    stand_in_begin_frame(stand_in_frame());
    stand_in_run_script(run_script, 3);
    EXPECT_EQ(stand_in_frame()->wait_count, 3);
    EXPECT_EQ(stand_in_frame()->last_wait_ms, 0u);
    std::string trace = frame_trace();
    EXPECT_EQ(trace.substr(0, trace.find(' ')), "player_id_query");
    EXPECT_EQ(calls_named("player_id_query").size(), 1u);
    ASSERT_EQ(calls_named("player_check").size(), 3u);
    for (const StandInCall* check : calls_named("player_check")) EXPECT_EQ(argument_int(check, 0), 7);
    EXPECT_EQ(log_without_times_and_lines(read_file(folder + "/Ondrelle.log")),
              "Script started (script_main)\nConfig file reloaded (config)\n");

    // Started again by the hook: all afresh, the player's id and the
    // settings, unchanged as the file is, read again.
    world->player_id = 8;
    stand_in_begin_frame(stand_in_frame());
    stand_in_run_script(run_script, 1);
    EXPECT_EQ(frame_trace().substr(0, 28), "player_id_query player_check");
    EXPECT_EQ(argument_int(calls_named("player_check")[0], 0), 8);
    EXPECT_EQ(log_without_times_and_lines(read_file(folder + "/Ondrelle.log")),
              "Script started (script_main)\nConfig file reloaded (config)\n"
              "Script started (script_main)\nConfig file reloaded (config)\n");
}

TEST_F(ScriptLoop, EveryPassEndsWithExactlyOneWaitOfZero) {
    start();
    EXPECT_EQ(stand_in_frame()->wait_count, 1);
    world->player_ok = 0;
    step();
    EXPECT_EQ(stand_in_frame()->wait_count, 1);
    EXPECT_EQ(stand_in_frame()->last_wait_ms, 0u);
}

TEST_F(ScriptLoop, FirstPassLoadsTheSettingsThenRunsTheGates) {
    world->loaded_dict_count = 1;
    std::snprintf(world->loaded_dicts[0], kStandInNameCapacity, "generic_textures");
    start();
    EXPECT_EQ(frame_trace(), kMarkerPassWithNothingInFocus);
    EXPECT_EQ(stand_in_frame()->protocol_errors, 0);
    EXPECT_EQ(stand_in_frame()->unknown_natives, 0);
}

TEST_F(ScriptLoop, ErrorOverlayCallsExactlyItsSixNativesWithTheirArguments) {
    start(settings_file_without("size"));
    EXPECT_EQ(frame_trace(),
              "text_scale text_colour text_centre text_drop_shadow literal_text:LITERAL_STRING:--- Ondrelle ---\n"
              "Error in config file: One or more keys are missing.\n"
              "If you just updated the mod, check the changelog or the default config file for new values.\n"
              " draw_text");
    const StandInFrame* frame = stand_in_frame();
    const StandInCall* scale = &frame->calls[0];
    EXPECT_EQ(scale->argument_count, 2);
    EXPECT_EQ(argument_float(scale, 0), 0.22f);
    EXPECT_EQ(argument_float(scale, 1), 0.22f);
    const StandInCall* colour = &frame->calls[1];
    for (int n = 0; n < 4; ++n) EXPECT_EQ(colour->arguments[n], 255u);
    EXPECT_EQ(frame->calls[2].arguments[0], 0u);
    const StandInCall* shadow = &frame->calls[3];
    const uint64_t shadow_arguments[] = {2, 0, 0, 0, 255};
    for (int n = 0; n < 5; ++n) EXPECT_EQ(shadow->arguments[n], shadow_arguments[n]);
    const StandInCall* literal = &frame->calls[4];
    EXPECT_EQ(literal->arguments[0], 10u);
    const StandInCall* draw = &frame->calls[5];
    EXPECT_EQ(draw->arguments[0], literal->result[0]);  // the text handle, all 64 bits
    EXPECT_EQ(argument_float(draw, 1), 0.01f);
    EXPECT_EQ(argument_float(draw, 2), 0.04f);
    for (int n : {1, 2}) EXPECT_TRUE(high_half_zero(draw, n));
}

TEST_F(ScriptLoop, OverlayShowsWhateverTheGatesWouldSay) {
    world->player_ok = 0;
    stand_in_set_effect(world, "WheelHUDIn", true);
    start("not a settings file");
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(calls_named("draw_text").size(), 1u);
        EXPECT_EQ(calls_named("player_check").size(), 0u);
        EXPECT_EQ(stand_in_frame()->call_count, 6);
        step_after_a_second();
    }
}

TEST_F(ScriptLoop, CorrectedFileTakesTheOverlayAwayInThePassThatReadsIt) {
    start("size = oops\n");
    EXPECT_EQ(calls_named("draw_text").size(), 1u);
    save_settings(complete_settings_file());
    step_after_a_second();
    EXPECT_EQ(calls_named("draw_text").size(), 0u);
    EXPECT_EQ(calls_named("player_check").size(), 1u);
}

TEST_F(ScriptLoop, EachGateThatFailsEndsThePassAtOnce) {
    start(settings_file_with("show_during_dead_eye", "no"));
    world->player_ok = 0;
    step();
    EXPECT_EQ(frame_trace(), "player_check");

    world->player_ok = 1;
    stand_in_set_effect(world, "WheelHUDIn", true);
    step();
    EXPECT_EQ(frame_trace(), "player_check effect_check:WheelHUDIn");

    stand_in_set_effect(world, "WheelHUDIn", false);
    stand_in_set_effect(world, "ScopeBinoculars", true);
    step();
    EXPECT_EQ(frame_trace(), "player_check effect_check:WheelHUDIn effect_check:ScopeBinoculars");

    stand_in_set_effect(world, "ScopeBinoculars", false);
    stand_in_set_effect(world, "DEADEYE", true);
    step();
    EXPECT_EQ(frame_trace(), "player_check effect_check:WheelHUDIn effect_check:ScopeBinoculars effect_check:DEADEYE");
}

TEST_F(ScriptLoop, ScreenEffectSettingsDecideWhichEffectsAreAskedAbout) {
    const struct {
        const char* binoculars;
        const char* dead_eye;
        const char* effects;
    } cases[] = {
        {"no", "no", "effect_check:WheelHUDIn effect_check:ScopeBinoculars effect_check:DEADEYE"},
        {"yes", "no", "effect_check:WheelHUDIn effect_check:DEADEYE"},
        {"no", "yes", "effect_check:WheelHUDIn effect_check:ScopeBinoculars"},
        {"yes", "yes", "effect_check:WheelHUDIn"},
    };
    for (const auto& c : cases) {
        std::string settings = settings_file_with("show_in_binoculars", c.binoculars);
        settings.replace(settings.find("show_during_dead_eye = yes"), 26,
                         std::string("show_during_dead_eye = ") + c.dead_eye);
        start(settings);
        std::string trace = frame_trace();
        EXPECT_EQ(trace.substr(0, trace.find(" texture_dict_check")), std::string("player_check ") + c.effects)
            << "binoculars " << c.binoculars << ", dead eye " << c.dead_eye;
        // With the effects running that the settings allow, the marker still shows.
        stand_in_set_effect(world, "ScopeBinoculars", std::string(c.binoculars) == "yes");
        stand_in_set_effect(world, "DEADEYE", std::string(c.dead_eye) == "yes");
        step();
        EXPECT_EQ(calls_named("validity_check").size(), 1u);
        stand_in_set_effect(world, "ScopeBinoculars", false);
        stand_in_set_effect(world, "DEADEYE", false);
    }
}

// The states in which the game hides its own HUD, in the order the gates ask
// about them: the optional key whose no hides the marker there, the call
// that finds the state as the frame trace shows it, and how the world gets
// into it.
struct HudState {
    const char* key;
    const char* call;
    void (*set)(StandInWorld* world, bool on);
};

// clang-format off
const HudState kHudStates[] = {
    {"show_with_hud_hidden", "screen_faded_in_check",
     [](StandInWorld* w, bool on) { w->screen_faded_in = !on; }},
    {"show_with_hud_hidden", "hud_hidden_check",
     [](StandInWorld* w, bool on) { w->hud_hidden = on; }},
    {"show_with_hud_hidden", "radar_hidden_by_script_check",
     [](StandInWorld* w, bool on) { w->radar_hidden_by_script = on; }},
    {"show_in_menus", "pause_menu_check",
     [](StandInWorld* w, bool on) { w->pause_menu_active = on; }},
    {"show_in_menus", "ui_app_check:MAP",
     [](StandInWorld* w, bool on) { stand_in_set_ui_app(w, "MAP", on); }},
    {"show_in_menus", "ui_app_check:SATCHEL",
     [](StandInWorld* w, bool on) { stand_in_set_ui_app(w, "SATCHEL", on); }},
    {"show_in_menus", "ui_app_check:PLAYER_MENU",
     [](StandInWorld* w, bool on) { stand_in_set_ui_app(w, "PLAYER_MENU", on); }},
    {"show_in_menus", "ui_app_check:CRAFTING",
     [](StandInWorld* w, bool on) { stand_in_set_ui_app(w, "CRAFTING", on); }},
    {"show_in_cinematic_camera", "cinematic_camera_check",
     [](StandInWorld* w, bool on) { w->cinematic_camera_rendering = on; }},
    {"show_during_eagle_eye", "effect_check:EagleEye",
     [](StandInWorld* w, bool on) { stand_in_set_effect(w, "EagleEye", on); }},
    {"show_in_sniper_scope", "effect_check:ScopeSniper",
     [](StandInWorld* w, bool on) { stand_in_set_effect(w, "ScopeSniper", on); }},
};
// clang-format on

// The gates' calls with the test settings, up to the ones the optional keys ask for.
const char kGatesBeforeTheHudStates[] = "player_check effect_check:WheelHUDIn effect_check:ScopeBinoculars";

// Whether key is one of the optional flags that hide the marker where the
// game hides its own HUD.
bool hud_key(const SettingsKey& key) { return settings_key_optional(key) && key.reader == flag_reader; }

// The test settings with every optional flag set to no but shown_key, set to yes.
std::string hidden_in_every_hud_state_but(const std::string& shown_key) {
    std::string file = complete_settings_file();
    for (const SettingsKey& key : kSettingsKeys) {
        if (hud_key(key)) file += std::string(key.name) + (key.name == shown_key ? " = yes\n" : " = no\n");
    }
    return file;
}

// The gates' part of the frame trace.
std::string gates_of(const std::string& trace) { return trace.substr(0, trace.find(" texture_dict_check")); }

// The game's hash of a name, as the game makes it: lower-cased first.
TEST(GameHash, NamesHashAsTheGameHashesThem) {
    const struct {
        const char* name;
        uint32_t hash;
    } names[] = {
        {"MAP", 0x8646B488u},      {"SATCHEL", 0xFFC21415u},     {"PLAYER_MENU", 0x556A13C4u},
        {"CRAFTING", 0x9F27F1B2u}, {"INPUT_COVER", 0xDE794E3Eu}, {"input_cover", 0xDE794E3Eu},
        {"Map", 0x8646B488u},
    };
    for (const auto& n : names) EXPECT_EQ(joaat(n.name), n.hash) << n.name;
    static_assert(joaat("CRAFTING") == 0x9F27F1B2u, "made by the compiler");
}

// With every optional key no and no state holding, each check is asked once
// in its order. With every state holding, each pass ends at the first check
// that finds one; each state let go in turn moves the end one check on.
TEST_F(ScriptLoop, HudGatesAskInTheirOrderAndStopAtTheFirstThatHides) {
    start(hidden_in_every_hud_state_but(""));
    std::string asked = kGatesBeforeTheHudStates;
    for (const HudState& hud : kHudStates) asked += std::string(" ") + hud.call;
    EXPECT_EQ(gates_of(frame_trace()), asked);
    for (const StandInCall* app : calls_named("ui_app_check")) EXPECT_TRUE(high_half_zero(app, 0));

    for (const HudState& hud : kHudStates) hud.set(world, true);
    asked = kGatesBeforeTheHudStates;
    for (const HudState& hud : kHudStates) {
        asked += std::string(" ") + hud.call;
        step();
        EXPECT_EQ(frame_trace(), asked) << "with the states from " << hud.call << " on";
        hud.set(world, false);
    }
    step();
    EXPECT_EQ(calls_named("validity_check").size(), 1u);
}

// A key set to yes asks nothing about its states, and the marker shows in
// them; the other keys' checks are made as before.
TEST_F(ScriptLoop, AnOptionalKeySetToYesAsksNothingAndTheMarkerShowsInItsStates) {
    for (const SettingsKey& key : kSettingsKeys) {
        if (!hud_key(key)) continue;
        SCOPED_TRACE(key.name);
        focus(101);
        start(hidden_in_every_hud_state_but(key.name));
        std::string asked = kGatesBeforeTheHudStates;
        for (const HudState& hud : kHudStates) {
            if (hud.key == std::string(key.name))
                hud.set(world, true);
            else
                asked += std::string(" ") + hud.call;
        }
        step();
        EXPECT_EQ(gates_of(frame_trace()), asked);
        EXPECT_EQ(calls_named("draw_sprite").size(), 1u);
        for (const HudState& hud : kHudStates) hud.set(world, false);
    }
}

// A file of the 18 required keys, as every earlier release read it, makes
// exactly the calls it always made, in each state and in all at once, and
// the marker shows through them all.
TEST_F(ScriptLoop, AFileWithoutOptionalKeysMakesTheSameCallsInEveryHudState) {
    focus(101);
    start();
    step();
    const std::string usual = frame_trace();
    ASSERT_EQ(gates_of(usual), kGatesBeforeTheHudStates);
    ASSERT_EQ(calls_named("draw_sprite").size(), 1u);
    for (const HudState& hud : kHudStates) {
        hud.set(world, true);
        step();
        EXPECT_EQ(frame_trace(), usual) << hud.call;
        hud.set(world, false);
    }
    for (const HudState& hud : kHudStates) hud.set(world, true);
    step();
    EXPECT_EQ(frame_trace(), usual);
    EXPECT_EQ(log_without_times_and_lines(read_file(folder + "/Ondrelle.log")),
              "Script started (script_main)\nConfig file reloaded (config)\n");
}

// Each state as frames: the marker drawn; the state comes (a menu opens) and
// nothing is drawn, the marker frozen; it goes, and the marker goes on from
// the visibility it had.
TEST_F(ScriptLoop, EachHudStateHidesTheMarkerWhichThenGoesOnFromItsVisibility) {
    world->frame_time = 0.5f;  // with grow_speed 1, each frame halves the way to full size
    std::string settings = hidden_in_every_hud_state_but("");
    settings.replace(settings.find("grow_speed = 6"), 14, "grow_speed = 1");
    for (const HudState& hud : kHudStates) {
        SCOPED_TRACE(hud.call);
        focus(101);
        start(settings);  // 0.5
        step();           // 0.75
        ASSERT_EQ(calls_named("draw_sprite").size(), 1u);
        EXPECT_EQ(state.visibility, 0.75f);

        hud.set(world, true);
        for (int frame = 0; frame < 3; ++frame) {
            step();
            EXPECT_EQ(calls_named("draw_sprite").size(), 0u);
            EXPECT_EQ(frame_trace().substr(frame_trace().rfind(' ') + 1), hud.call);
            EXPECT_EQ(stand_in_frame()->wait_count, 1);
        }
        EXPECT_EQ(state.visibility, 0.75f);
        EXPECT_EQ(state.kept_target, 101);

        hud.set(world, false);
        step();
        ASSERT_EQ(calls_named("draw_sprite").size(), 1u);
        EXPECT_EQ(argument_float(calls_named("draw_sprite")[0], 5), 0.05f * 0.875f);
    }
}

// =============================================================================
// The toggle key, frame by frame
// =============================================================================

const int32_t kF7 = 0x76;
const int32_t kF8 = 0x77;

// The test settings with a toggle_key line.
std::string with_toggle_key(const std::string& key) { return complete_settings_file() + "toggle_key = " + key + "\n"; }

// The sprite's height drawn this frame; 0 when none was drawn.
float sprite_height() {
    std::vector<const StandInCall*> draws = calls_named("draw_sprite");
    return draws.empty() ? 0.0f : argument_float(draws[0], 5);
}

// The first press hides the marker: it eases out at shrink_speed as when
// focus is lost, while the target is still chosen; the second shows it, and
// it eases back in at grow_speed. The on-screen keyboard is asked only in the
// pass that takes a press, after the gates, and each flip is logged.
TEST_F(ScriptLoop, ToggleKeyHidesTheMarkerWithEasingAndASecondPressShowsIt) {
    const float size = 0.05f, grow = 6.0f, shrink = 9.0f, frame_time = 1.0f / kFramesPerSecond;
    focus(101);
    start(with_toggle_key("f7"));
    float visibility = eased_visibility(0.0f, 1.0f, grow, frame_time);
    for (int frame = 0; frame < 40; ++frame) {
        visibility = eased_visibility(visibility, 1.0f, grow, frame_time);
        step();
    }
    EXPECT_EQ(sprite_height(), size * visibility);
    const std::string drawn = frame_trace();
    EXPECT_EQ(drawn.find("onscreen_keyboard_check"), std::string::npos) << "asked without a press";

    press(kF7);
    visibility = eased_visibility(visibility, 0.0f, shrink, frame_time);
    step();
    EXPECT_EQ(gates_of(frame_trace()), std::string(kGatesBeforeTheHudStates) + " onscreen_keyboard_check");
    EXPECT_EQ(sprite_height(), size * visibility) << "hidden at once instead of eased out";
    EXPECT_EQ(log(),
              "Script started (script_main)\nConfig file reloaded (config)\n"
              "Marker hidden by toggle_key (F7) (script_main)\n");
    int shrinking = 1;
    for (; visibility > 0.01f; ++shrinking) {
        visibility = eased_visibility(visibility, 0.0f, shrink, frame_time);
        step();
        EXPECT_EQ(sprite_height(), visibility > 0.01f ? size * visibility : 0.0f) << "frame " << shrinking;
        EXPECT_EQ(calls_named("onscreen_keyboard_check").size(), 0u);
    }
    EXPECT_GT(shrinking, 10) << "gone too soon for an easing";
    // Hidden, the target is chosen all the same: another one is taken up.
    focus(103);
    step();
    EXPECT_EQ(calls_named("focus_query").size(), 1u);
    EXPECT_EQ(state.kept_target, 103);
    EXPECT_EQ(sprite_height(), 0.0f);

    press(kF7);
    visibility = eased_visibility(state.visibility, 1.0f, grow, frame_time);
    step();
    EXPECT_EQ(sprite_height(), size * visibility) << "shown at once instead of eased in";
    EXPECT_EQ(calls_named("onscreen_keyboard_check").size(), 1u);
    for (int frame = 0; frame < 5; ++frame) {
        visibility = eased_visibility(visibility, 1.0f, grow, frame_time);
        step();
        EXPECT_EQ(sprite_height(), size * visibility) << "growing back, frame " << frame;
    }
    EXPECT_EQ(log(),
              "Script started (script_main)\nConfig file reloaded (config)\n"
              "Marker hidden by toggle_key (F7) (script_main)\n"
              "Marker shown by toggle_key (F7) (script_main)\n");
}

// What is not a press of CTRL+F7 changes nothing: a press while the game's
// on-screen keyboard is typed in (asked, then dropped), an auto-repeat, the
// key's release, another key, and the key with too few or too many
// modifiers held. Only 0 from the on-screen keyboard means typing.
TEST_F(ScriptLoop, PressesThatAreNotTheToggleKeyChangeNothing) {
    focus(101);
    start(with_toggle_key("CTRL+F7"));
    for (int frame = 0; frame < 20; ++frame) step();
    const std::string usual = frame_trace();
    const struct {
        const char* what;
        StandInKeyMessage key;
        int32_t onscreen_keyboard;  // what the on-screen keyboard answers
        const char* asked;          // the check the pass makes, if any
    } presses[] = {
        {"while typing", {kF7, kModifierCtrl, 0, 0}, 0, " onscreen_keyboard_check"},
        {"an auto-repeat", {kF7, kModifierCtrl, 1, 0}, 3, ""},
        {"the release", {kF7, kModifierCtrl, 0, 1}, 3, ""},
        {"another key", {kF8, kModifierCtrl, 0, 0}, 3, ""},
        {"without Ctrl", {kF7, 0, 0, 0}, 3, ""},
        {"with Shift too", {kF7, kModifierCtrl | kModifierShift, 0, 0}, 3, ""},
        {"with Alt too", {kF7, kModifierCtrl | kModifierAlt, 0, 0}, 3, ""},
        {"Shift for Ctrl", {kF7, kModifierShift, 0, 0}, 3, ""},
    };
    std::string with_check = usual;
    with_check.insert(with_check.find(" texture_dict_check"), " onscreen_keyboard_check");
    for (const auto& press : presses) {
        SCOPED_TRACE(press.what);
        world->onscreen_keyboard_state = press.onscreen_keyboard;
        send_key(press.key);
        float visibility = state.visibility;
        step();
        EXPECT_EQ(frame_trace(), std::string(press.asked).empty() ? usual : with_check);
        EXPECT_FALSE(state.hidden_by_player);
        EXPECT_GE(state.visibility, visibility);
        step();
        EXPECT_EQ(frame_trace(), usual) << "a press left over";
    }
    EXPECT_EQ(log(), "Script started (script_main)\nConfig file reloaded (config)\n");
    bool hidden = false;
    for (int32_t answer : {1, 2, -1}) {
        world->onscreen_keyboard_state = answer;
        press(kF7, kModifierCtrl);
        step();
        hidden = !hidden;
        EXPECT_EQ(state.hidden_by_player, hidden) << "not typing, answered " << answer;
    }
}

// A press while the marker cannot show is dropped: the pass that finds a
// menu open, the player without control, or the error on screen never takes
// it, and the marker is as it was when the pass gets through again.
TEST_F(ScriptLoop, APressWhileAGateOrTheErrorEndsThePassIsDropped) {
    focus(101);
    std::string settings = with_toggle_key("F7") + "show_in_menus = no\n";
    start(settings);
    for (int frame = 0; frame < 20; ++frame) step();
    const std::string usual = frame_trace();

    world->pause_menu_active = 1;
    step();
    press(kF7);
    step();
    EXPECT_EQ(frame_trace().substr(frame_trace().rfind(' ') + 1), "pause_menu_check");
    world->pause_menu_active = 0;
    step();
    EXPECT_EQ(frame_trace(), usual) << "the press was kept for after the menu";

    world->player_ok = 0;
    press(kF7);
    step();
    EXPECT_EQ(frame_trace(), "player_check");
    world->player_ok = 1;
    step();
    EXPECT_EQ(frame_trace(), usual);

    save_settings("size = 0.05\nthis is not a setting\n");
    step_after_a_second();
    ASSERT_EQ(calls_named("draw_text").size(), 1u);
    press(kF7);
    step();
    EXPECT_EQ(stand_in_frame()->call_count, 6) << "the overlay and nothing else";
    save_settings(settings);
    step_after_a_second();
    EXPECT_EQ(calls_named("onscreen_keyboard_check").size(), 0u);
    EXPECT_EQ(calls_named("draw_sprite").size(), 1u);
    EXPECT_FALSE(state.hidden_by_player);
    EXPECT_EQ(log().find("by toggle_key"), std::string::npos) << log();
}

// A reload that leaves toggle_key at none, or out, shows the marker again and
// drops a press made before it; one that names another key keeps the marker
// hidden, and only the new key shows it. A restart of the script starts shown.
TEST_F(ScriptLoop, AReloadToNoneShowsTheMarkerAgain) {
    focus(101);
    start(with_toggle_key("F7"));
    press(kF7);
    step();
    ASSERT_TRUE(state.hidden_by_player);

    save_settings(with_toggle_key("F8"));
    step_after_a_second();
    EXPECT_TRUE(state.hidden_by_player) << "another key shows the marker";
    press(kF7);
    step();
    EXPECT_TRUE(state.hidden_by_player) << "the old key still counts";
    press(kF8);
    step();
    EXPECT_FALSE(state.hidden_by_player);
    press(kF8);
    step();
    ASSERT_TRUE(state.hidden_by_player);

    for (const std::string& none : {with_toggle_key("none"), complete_settings_file()}) {
        SCOPED_TRACE(none);
        save_settings(with_toggle_key("F8"));
        step_after_a_second();
        if (!state.hidden_by_player) {
            press(kF8);
            step();
        }
        ASSERT_TRUE(state.hidden_by_player);
        float visibility = state.visibility;
        press(kF8);  // made before the reload, taken by no pass
        save_settings(none);
        step_after_a_second();
        EXPECT_FALSE(state.hidden_by_player);
        EXPECT_EQ(calls_named("onscreen_keyboard_check").size(), 0u);
        EXPECT_GT(state.visibility, visibility) << "not growing back";
        press(kF8);
        step();
        EXPECT_FALSE(state.hidden_by_player) << "a key that is none now";
    }

    save_settings(with_toggle_key("F7"));
    step_after_a_second();
    press(kF7);
    step();
    ASSERT_TRUE(state.hidden_by_player);
    press(kF7);  // recorded as the hook starts the script again
    start_script(&state);
    EXPECT_FALSE(state.hidden_by_player);
    step();
    EXPECT_FALSE(state.hidden_by_player) << "a press from before the restart taken";
    EXPECT_EQ(calls_named("onscreen_keyboard_check").size(), 0u);
}

// A file without toggle_key, or with none, makes exactly the calls and logs
// exactly what it did before the key existed, whatever keys are pressed
// between the frames: the handler is armed with no key and records nothing.
TEST_F(ScriptLoop, AFileWithoutToggleKeyIsTheSameWhateverKeysArePressed) {
    auto timeline = [&](const std::string& settings, bool press_keys) {
        std::vector<std::string> traces;
        world->focus_target = 0;
        start(settings);
        for (int frame = 0; frame < 60; ++frame) {
            if (frame == 5) focus(101);
            if (frame == 30) focus(0);
            if (frame == 40) world->pause_menu_active = 1;
            if (frame == 45) world->pause_menu_active = 0;
            for (int k = 0; press_keys && k < kKeyNameCount; ++k) {
                for (int32_t modifiers = 0; modifiers <= kModifierMask; modifiers += kModifierCtrl)
                    send_key(StandInKeyMessage{static_cast<uint32_t>(kKeyNames[k].virtual_key), modifiers, 0, 0});
            }
            step();
            traces.push_back(frame_trace());
        }
        traces.push_back(log());
        return traces;
    };
    start_toggle_key_link(false);  // as if the hook had no keyboard functions: nothing can come
    const std::vector<std::string> before = timeline(complete_settings_file(), false);
    EXPECT_EQ(before.back(), "Script started (script_main)\nConfig file reloaded (config)\n");
    for (const std::string& settings : {complete_settings_file(), with_toggle_key("none"), with_toggle_key("NONE")}) {
        SCOPED_TRACE(settings.substr(settings.rfind('\n', settings.size() - 2) + 1));
        start_toggle_key_link(true);
        clear_log();
        EXPECT_EQ(timeline(settings, true), before);
    }
}

// With a hook that has no keyboard functions the marker works as ever, and
// the first reload of a load that names a key says once that it has no
// effect: not again for another key, nor when the script starts again; a new
// load says it again. A file that names none says nothing.
TEST_F(ScriptLoop, AHookWithoutKeyboardFunctionsIsNamedOncePerLoad) {
    const std::string started = "Script started (script_main)\nConfig file reloaded (config)\n";
    const std::string no_effect =
        "toggle_key has no effect: this ScriptHookRDR2.dll has no keyboard handler (script_main)\n";
    start_toggle_key_link(false);
    focus(101);
    start(with_toggle_key("none"));
    EXPECT_EQ(log(), started);
    save_settings(with_toggle_key("F7"));
    step_after_a_second();
    EXPECT_EQ(log(), started + "Config file reloaded (config)\n" + no_effect);
    EXPECT_EQ(calls_named("draw_sprite").size(), 1u);
    save_settings(with_toggle_key("CTRL+F8"));
    step_after_a_second();
    start_script(&state);
    step();
    EXPECT_EQ(log(),
              started + "Config file reloaded (config)\n" + no_effect + "Config file reloaded (config)\n" + started);

    start_toggle_key_link(false);  // the plug-in loaded again
    clear_log();
    start(with_toggle_key("F7"));
    EXPECT_EQ(log(), started + no_effect);
}

TEST_F(ScriptLoop, TextureDictionaryIsRequestedUntilLoadedAndNotInGatedPasses) {
    world->dicts_load_on_request = 0;
    start();
    ASSERT_EQ(calls_named("texture_dict_request").size(), 1u);
    const StandInCall* request = calls_named("texture_dict_request")[0];
    EXPECT_EQ(argument_text(request, 0), "generic_textures");
    EXPECT_EQ(request->arguments[1], 0u);
    step();
    EXPECT_EQ(calls_named("texture_dict_request").size(), 1u);

    world->player_ok = 0;
    step();
    EXPECT_EQ(calls_named("texture_dict_check").size(), 0u);

    world->player_ok = 1;
    world->dicts_load_on_request = 1;
    step();  // requested, and now streamed
    step();
    EXPECT_EQ(calls_named("texture_dict_check").size(), 1u);
    EXPECT_EQ(calls_named("texture_dict_request").size(), 0u);
}

TEST_F(ScriptLoop, DictionaryThatNeverLoadsIsNamedInTheLogOncePerValue) {
    auto log = [&] { return log_without_times_and_lines(read_file(folder + "/Ondrelle.log")); };
    auto named = [](const std::string& dict) {
        return "Texture dictionary \"" + dict +
               "\" has not loaded after 300 frames; check texture_dict in Ondrelle.ini (script_main)\n";
    };
    const std::string started = "Script started (script_main)\nConfig file reloaded (config)\n";
    world->dicts_load_on_request = 0;
    start();  // the first pass that finds it not loaded
    for (int pass = 2; pass < 299; ++pass) step();
    world->player_ok = 0;  // passes stopped at the gates do not count
    for (int pass = 0; pass < 50; ++pass) step();
    world->player_ok = 1;
    step();  // the 299th
    EXPECT_EQ(log(), started);
    std::string usual_pass = frame_trace();
    step();  // the 300th
    EXPECT_EQ(log(), started + named("generic_textures"));
    EXPECT_EQ(frame_trace(), usual_pass);  // no native added for it
    for (int pass = 0; pass < 400; ++pass) step();
    save_settings(complete_settings_file());  // saved again, the same name: no new count
    step_after_a_second();
    for (int pass = 0; pass < 400; ++pass) step();
    EXPECT_EQ(log(), started + named("generic_textures") + "Config file reloaded (config)\n");

    // Another name starts afresh; one that loads in time is never named.
    save_settings(settings_file_with("texture_dict", "typo_textures"));
    step_after_a_second();  // its first pass
    for (int pass = 2; pass < 300; ++pass) step();
    EXPECT_EQ(log().find(named("typo_textures")), std::string::npos);
    step();
    EXPECT_NE(log().find(named("typo_textures")), std::string::npos);
    save_settings(settings_file_with("texture_dict", "slow_textures"));
    step_after_a_second();
    for (int pass = 2; pass < 299; ++pass) step();
    world->dicts_load_on_request = 1;
    step();                        // the 299th: requested, and streamed at once
    step();                        // found loaded
    world->loaded_dict_count = 0;  // the game lets it go again
    world->dicts_load_on_request = 0;
    for (int pass = 0; pass < 400; ++pass) step();
    EXPECT_EQ(log().find(named("slow_textures")), std::string::npos);
}

TEST_F(ScriptLoop, ReloadedDictionaryNameIsCheckedAndRequestedAfresh) {
    start();
    save_settings(settings_file_with("texture_dict", "other_textures"));
    step_after_a_second();
    EXPECT_EQ(argument_text(calls_named("texture_dict_check")[0], 0), "other_textures");
    EXPECT_EQ(argument_text(calls_named("texture_dict_request")[0], 0), "other_textures");
}

// The longest piece of a log format that is text of its own, between its
// conversions: what any entry it writes holds.
std::string fixed_text_of(const std::string& format) {
    std::string longest, piece;
    for (size_t at = 0; at <= format.size(); ++at) {
        if (at == format.size() || format[at] == '%') {
            if (piece.size() > longest.size()) longest = piece;
            piece.clear();
            at += at + 2 < format.size() && format.compare(at, 3, "%lu") == 0 ? 2 : 1;
        } else {
            piece += format[at];
        }
    }
    return longest;
}

// The script driven through every state that writes its log: the settings
// file missing (twice over, a run of one entry), its time unreadable, its
// stream refused, each fault of a line or a value, a read error, a key
// missing, a texture dictionary that never loads, a toggle_key it cannot
// read, the key hiding and showing the marker, and a hook with no keyboard
// handler. The log it really wrote
// goes to ondrelle-check, which must know every kind of entry its table of
// log-line kinds names for Ondrelle.log and explain every entry: a text of
// the plug-in reworded or added without the checker reading it fails here.
TEST_F(ScriptLoop, EveryEntryTheScriptLogsIsExplainedByTheChecker) {
    world->dicts_load_on_request = 0;
    start_script(&state);
    step();  // no settings file yet
    step_after_a_second();
    auto look_at = [&](const std::string& settings) {
        save_settings(settings);
        step_after_a_second();
    };
    fake_platform.fail_time_read = true;
    fake_platform.time_read_error = 32;
    look_at(complete_settings_file());
    fake_platform.fail_time_read = false;
    fake_platform.fail_stream_open = true;
    look_at(complete_settings_file());
    fake_platform.fail_stream_open = false;
    look_at("size = 0.05\nthis is no setting\nopacity = 1\n");
    look_at("colour = red\nsize = 0.05\n");
    look_at(std::string(kMaxLineLength + 5, 'x') + "\nsize = 0.05\n");
    look_at(settings_file_with("size", "fast"));
    look_at(settings_file_with("opacity", "nine"));
    look_at(settings_file_with("mark_humans", "Yes"));
    look_at(settings_file_with("ped_bone", std::string(kTextSettingCapacity + 10, 'b')));
    look_at(settings_file_without("size"));
    fake_platform.read_error_after = 10;
    look_at(complete_settings_file());
    fake_platform.read_error_after = -1;
    look_at(settings_file_with("texture_dict", "never_textures"));
    for (int pass = 0; pass < kTextureDictPatiencePasses; ++pass) step();
    look_at(with_toggle_key("Ctrl+F25"));
    look_at(with_toggle_key("F7"));
    press(kF7);  // hidden
    step();
    press(kF7);  // shown
    step();
    start_toggle_key_link(false);  // loaded again, beside a hook with no keyboard handler
    start_script(&state);
    look_at(with_toggle_key("F7"));

    std::string log = read_file(folder + "/Ondrelle.log");
    for (int k = 0; k < kLogLineKindCount; ++k) {
        const LogLineKind& kind = kLogLineKinds[k];
        if (kind.log == plugin_log)
            EXPECT_NE(log.find(fixed_text_of(kind.stem)), std::string::npos) << "never logged: " << kind.stem;
    }
    std::vector<Finding> findings = plugin_log_findings(plugin_log_entries(log), LineContext{});
    size_t lines_explained = 0;
    for (const Finding& finding : findings) {
        ASSERT_FALSE(finding.shown.empty()) << finding.text;
        EXPECT_FALSE(finding.text.empty()) << "not explained: " << finding.shown.front();
        // A run of one entry is shown once, with how often it was repeated.
        unsigned int more = 0;
        bool repeated = std::sscanf(finding.shown.back().c_str(), "(repeated %u more", &more) == 1;
        lines_explained += (finding.shown.size() - (repeated ? 1 : 0)) * (1 + more);
    }
    size_t lines = 0;
    for (char c : log) lines += c == '\n';
    EXPECT_EQ(lines_explained, lines) << "every line of the log belongs to an explained entry";
    EXPECT_NE(log.find(std::string(kLogCreateFileFailed) + " (config:"), log.rfind(std::string(kLogCreateFileFailed)))
        << "the missing file is logged twice, one run of one entry";
}

}  // namespace
