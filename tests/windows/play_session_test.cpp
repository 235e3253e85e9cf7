// End to end: the real Ondrelle.asi in a game folder with the stand-in hook
// and the shipped default Ondrelle.ini, through a scripted play session.
// Each frame's draws are read from the hook's call record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_game.h"

namespace {

const uint64_t kDrawSprite = 0xC9884ECADE94CB34ULL;
const uint64_t kDrawText = 0xD79334A4BB99BAD1ULL;
const uint64_t kPlayerCheck = 0x7964097FCE4C244BULL;
const uint64_t kEffectCheck = 0x4A123E85D7C4CA0BULL;
const uint64_t kWorldToScreen = 0xCB50D7AFCC8B0EC6ULL;
const uint64_t kBonePosition = 0x82CFA50E34681CA5ULL;

float as_float(uint64_t argument) {
    uint32_t bits = static_cast<uint32_t>(argument);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
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
            if (frame()->calls[i].hash == kDrawSprite) return as_float(frame()->calls[i].arguments[5]);
        }
        return 0.0f;
    }
    // Argument n of the frame's first call of a native, as a float.
    float float_argument(uint64_t hash, int n) {
        for (int i = 0; i < frame()->call_count; ++i) {
            if (frame()->calls[i].hash == hash) return as_float(frame()->calls[i].arguments[n]);
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
    // Saves the settings file and lets the plug-in's once-a-second look come.
    void save_settings(const std::string& bytes) {
        ASSERT_TRUE(write_bytes(folder + L"\\Ondrelle.ini", bytes));
        ASSERT_TRUE(set_last_write_time(folder + L"\\Ondrelle.ini", ++file_clock));
        Sleep(1100);
    }
};

TEST_F(PlaySession, MarkerGrowsShrinksHidesAndSurvivesABrokenSettingsFile) {
    StandInWorld* world = game.world();
    const float size = 0.03f;  // the default file's
    const float grow = 8.0f * (1.0f / 60.0f);
    const float shrink = 10.0f * (1.0f / 60.0f);

    // Frames 1-3: nothing in focus, nothing drawn.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(step(), 0.0f) << "frame " << i + 1;

    // A human focused: the marker grows in, frame by frame.
    world->focus_target = 501;
    float visibility = 0.0f;
    for (int i = 0; i < 20; ++i) {
        visibility = visibility + (1.0f - visibility) * grow;
        EXPECT_EQ(step(), size * visibility) << "growing, frame " << i + 1;
    }

    // Focus lost: it shrinks away, and is gone once at or below 0.01.
    world->focus_target = 0;
    int drawn_while_shrinking = 0;
    for (int i = 0; i < 40; ++i) {
        visibility = visibility + (0.0f - visibility) * shrink;
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
        visibility = visibility + (1.0f - visibility) * grow;
        step();
    }
    stand_in_set_effect(world, "ScopeBinoculars", true);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(step(), 0.0f);
        EXPECT_EQ(count(kEffectCheck), 2);  // WheelHUDIn, then ScopeBinoculars
    }
    stand_in_set_effect(world, "ScopeBinoculars", false);
    visibility = visibility + (1.0f - visibility) * grow;
    EXPECT_EQ(step(), size * visibility) << "back at its former size";

    // A broken settings file: the overlay shows, the gates stop.
    save_settings("size = 0.03\nthis is not a setting\n");
    EXPECT_EQ(step(), 0.0f);
    EXPECT_EQ(count(kDrawText), 1);
    EXPECT_EQ(count(kPlayerCheck), 0);
    EXPECT_EQ(frame()->call_count, 6);
    EXPECT_EQ(step(), 0.0f);
    EXPECT_EQ(count(kDrawText), 1);

    // Fixed again: the marker returns where it was.
    save_settings(default_settings_bytes());
    visibility = visibility + (1.0f - visibility) * grow;
    EXPECT_EQ(step(), size * visibility);
    EXPECT_EQ(count(kDrawText), 0);

    // The animal without a head bone: the marker sits at half its height,
    // without the bone offset, not inside its body at its origin.
    world->focus_target = 502;
    EXPECT_GT(step(), 0.0f);
    EXPECT_EQ(float_argument(kWorldToScreen, 0), -2.0f);
    EXPECT_EQ(float_argument(kWorldToScreen, 2), 1.0f + 1.5f * 0.5f);
    EXPECT_EQ(count(kBonePosition), 0);

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

    std::string log = log_lines_without_times(read_bytes(folder + L"\\Ondrelle.log"));
    EXPECT_NE(log.find("Config file line #2: not delimited by '=' (config:"), std::string::npos) << log;
    EXPECT_EQ(log.rfind("Script started (script_main:", 0), 0u);
    size_t at = log.find(named + " (script_main:");
    EXPECT_NE(at, std::string::npos) << log;
    EXPECT_EQ(log.find(named, at + 1), std::string::npos) << "named twice";
}

}  // namespace
