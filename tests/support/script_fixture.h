// A test fixture for the marker script natively: a temporary game folder
// with a settings file, the stand-in world reset, the clock under control,
// and a fresh load whose hook took the toggle key's handler.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "fake_platform.h"
#include "key_names.h"
#include "script_driver.h"
#include "settings_text.h"
#include "test_files.h"
#include "toggle_key.h"

// The calls of a marker-mode pass up to target selection with the test
// settings' screen-effect flags (binoculars no, Dead Eye yes), dictionary loaded.
const char kMarkerGatesForTests[] =
    "player_check effect_check:WheelHUDIn effect_check:ScopeBinoculars texture_dict_check:generic_textures";

struct ScriptTest : ::testing::Test {
    TempFolder temp_folder;
    const std::string& folder = temp_folder.path;
    ScriptState state{};
    StandInWorld* world = nullptr;
    FileTime file_time = 5000 * kFileTimeSecond;

    void SetUp() override {
        reset_fake_platform();
        use_folder_for_paths(folder);
        world = stand_in_world();
        stand_in_reset_world(world);
        // Entities the scenes use: a human with a head bone, an animal
        // without one, an object.
        StandInEntity* human = stand_in_add_entity(world, 101, stand_in_human, 10.0f, 20.0f, 30.0f);
        stand_in_add_bone(human, "skel_head", 31086, 1.0f, 2.0f, 3.0f);
        stand_in_add_entity(world, 102, stand_in_animal, -4.0f, 5.0f, 6.0f)->height = 1.25f;
        stand_in_add_entity(world, 103, stand_in_object, 7.0f, 8.0f, 9.0f);
        start_toggle_key_link(true);
    }
    // Saves the settings file with a new last-write time.
    void save_settings(const std::string& text) {
        write_file(folder + "/Ondrelle.ini", text);
        file_time += kFileTimeSecond;
        set_file_time(folder + "/Ondrelle.ini", file_time);
    }
    // Starts the script with the given settings and runs its first frame.
    void start(const std::string& settings = complete_settings_file()) {
        save_settings(settings);
        start_script(&state);
        step();
    }
    void step() { step_frame(&state); }
    // A frame after more than a second: the settings file is looked at.
    void step_after_a_second() {
        fake_platform.now += kFileTimeSecond + 1;
        step();
    }
    void focus(int32_t entity) { world->focus_target = entity; }
    // A key as the game window hands it to the handler, between two frames.
    void press(int32_t key, int32_t modifiers = 0) {
        send_key(StandInKeyMessage{static_cast<uint32_t>(key), modifiers, 0, 0});
    }
    std::string log() const { return log_without_times_and_lines(read_file(folder + "/Ondrelle.log")); }
    void clear_log() const { std::remove((folder + "/Ondrelle.log").c_str()); }
};
