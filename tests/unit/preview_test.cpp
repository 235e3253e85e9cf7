// The preview's data: the real script through the preview scene with the
// default settings, checked at given frames against the scene's story (taken
// up at 0.5 s, dropped at 2 s, a second target at 2.25 s, dropped at 3.5 s),
// and the picture files written.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "fake_platform.h"
#include "preview_render.h"
#include "preview_scene.h"
#include "test_files.h"

namespace {

struct PreviewScene : ::testing::Test {
    SceneFrame frames[kSceneFrameCount];
    Settings settings{};
    float expected_visibility[kSceneFrameCount];

    void SetUp() override {
        reset_fake_platform();
        std::string settings_file = std::string(ONDRELLE_SOURCE_DIR) + "/src/Ondrelle.ini";
        ASSERT_TRUE(scene_run_script(settings_file.c_str(), frames, &this->settings));
        // The default file: grow 8 and shrink 10 a second, at 60 frames a second.
        float visibility = 0.0f;
        for (int f = 0; f < kSceneFrameCount; ++f) {
            bool held = (f >= 30 && f < 120) || (f >= 135 && f < 210);
            float rate = held ? 8.0f : 10.0f;
            float goal = held ? 1.0f : 0.0f;
            visibility = visibility + (goal - visibility) * (rate * (1.0f / 60.0f));
            expected_visibility[f] = visibility;
        }
    }
    // The default bounce: 0.006 x |sin| of (timer in ms x 0.3) degrees.
    static float bounce(int frame) {
        float degrees = static_cast<float>(frame * 1000 / 60) * 0.3f;
        return std::fabs(std::sin(degrees * 0.017453292f)) * 0.006f;
    }
};

TEST_F(PreviewScene, NothingIsDrawnBeforeTheFirstTarget) {
    EXPECT_EQ(settings.size, 0.03f);
    EXPECT_EQ(settings.opacity, 230);
    for (int f = 0; f < 30; ++f) {
        EXPECT_FALSE(frames[f].drawn) << f;
        EXPECT_EQ(frames[f].mode, scene_marker) << f;
    }
}

TEST_F(PreviewScene, SizesFollowTheEasingAtGivenFrames) {
    for (int f : {30, 31, 45, 60, 119, 120, 125, 134, 135, 150, 209, 215}) {
        ASSERT_TRUE(frames[f].drawn) << f;
        EXPECT_EQ(frames[f].height, 0.03f * expected_visibility[f]) << f;
        EXPECT_EQ(frames[f].width, frames[f].height * 0.5625f) << f;
    }
    EXPECT_NEAR(frames[119].height, 0.03f, 1e-5f);
    EXPECT_LT(frames[134].height, frames[120].height);
    EXPECT_GT(frames[150].height, frames[135].height);
}

TEST_F(PreviewScene, TheMarkerIsGoneOnceAtOrBelowOnePercent) {
    int last_drawn = 0;
    for (int f = 210; f < kSceneFrameCount; ++f) {
        EXPECT_EQ(frames[f].drawn, expected_visibility[f] > 0.01f) << f;
        if (frames[f].drawn) last_drawn = f;
    }
    EXPECT_GT(last_drawn, 215);
    EXPECT_LT(last_drawn, 260);
}

TEST_F(PreviewScene, SecondTargetTakesTheMarkerOverAtItsCurrentSize) {
    EXPECT_EQ(frames[134].target, kSceneFirstTarget);
    EXPECT_EQ(frames[135].target, kSceneSecondTarget);
    EXPECT_GT(frames[135].height, 0.0f);
    EXPECT_LT(frames[135].height, 0.03f * 0.5f);
}

TEST_F(PreviewScene, ScreenPositionsFollowTheAnchorAndTheBounce) {
    // The person: the head bone at 1.65 m plus 0.35; the projection is
    // 0.5 - z x 0.05, so 0.4 before the bounce. x is 0.5 - 6 x 0.05.
    for (int f : {30, 60, 90, 119}) {
        EXPECT_NEAR(frames[f].x, 0.2f, 1e-6f) << f;
        EXPECT_NEAR(frames[f].y, 0.4f - bounce(f), 1e-6f) << f;
    }
    // The animal has no head bone: its middle (0.8 m) lifted by half its
    // 1.6 m height, the top of its head: 0.42 before the bounce.
    for (int f : {135, 150, 180}) {
        EXPECT_NEAR(frames[f].x, 0.9f, 1e-6f) << f;
        EXPECT_NEAR(frames[f].y, 0.42f - bounce(f), 1e-6f) << f;
    }
}

// The filmstrip to scale: a marker of a given size is that share of the
// screen's height in pixels, square on the 16:9 screen, turned as set, and
// its cell has room for its highest bounce.
TEST_F(PreviewScene, FilmstripDrawsTheMarkerToScaleAndTurned) {
    TempFolder temp_folder;
    const struct {
        const char* size;
        const char* rotation;
        const char* bounce;
        double height_pixels;  // at frame 90, fully grown
        double turn;
        bool larger_than_cell;
    } cases[] = {
        {"0.03", "0", "0.006", 0.03 * 800, 0, false},
        {"0.5", "90", "0.006", 0.5 * 800, 3.14159265358979 / 2, true},
        {"0.03", "45", "0.3", 0.03 * 800, 3.14159265358979 / 4, false},   // a bounce of 30% of the screen
        {"0.12", "45", "0.006", 0.12 * 800, 3.14159265358979 / 4, true},  // fits the cell only unturned
    };
    for (const auto& c : cases) {
        std::string text = default_settings_text();
        text.replace(text.find("\nsize = 0.03"), 12, std::string("\nsize = ") + c.size);
        text.replace(text.find("\nrotation = 0.0"), 15, std::string("\nrotation = ") + c.rotation);
        text.replace(text.find("\nbounce_distance = 0.006"), 24, std::string("\nbounce_distance = ") + c.bounce);
        write_file(temp_folder.path + "/Ondrelle.ini", text);
        ASSERT_TRUE(scene_run_script((temp_folder.path + "/Ondrelle.ini").c_str(), frames, &settings));
        CellWindow window = cell_window_for(frames, kSceneFrameCount, kSceneFirstTarget, settings.rotation);
        MarkerPicture marker = marker_picture(frames[90], settings.rotation, window);
        EXPECT_NEAR(marker.height, c.height_pixels, c.height_pixels * 1e-3) << c.size;
        EXPECT_NEAR(marker.width, marker.height, 0.01) << c.size;
        EXPECT_NEAR(marker.turn, c.turn, 1e-6) << c.rotation;
        EXPECT_EQ(marker.larger_than_cell, c.larger_than_cell) << c.size;
        for (int f = 30; f < 120; ++f) {
            double top = marker_picture(frames[f], 0, window).centre_y - frames[f].height * 800 / 2;
            if (!c.larger_than_cell) EXPECT_GE(top, 0.0) << "frame " << f << " leaves its cell";
        }
    }
}

TEST(PreviewReasons, EachSettingThatHidesTheMarkerIsNamed) {
    Settings shown{};
    shown.mark_humans = 1;
    shown.size = 0.03f;
    shown.opacity = 230;
    shown.grow_speed = 8;
    EXPECT_TRUE(reasons_nothing_shows(shown).empty());
    const struct {
        void (*change)(Settings*);
        const char* starts;
    } cases[] = {
        {[](Settings* s) { s->grow_speed = -1; }, "grow_speed is below 0"},
        {[](Settings* s) { s->grow_speed = 0; }, "grow_speed is 0"},
        {[](Settings* s) { s->size = 0; }, "size is 0"},
        {[](Settings* s) { s->opacity = 0; }, "opacity is 0"},
        {[](Settings* s) { s->mark_humans = 0; }, "mark_humans, mark_animals and mark_objects are all no"},
    };
    for (const auto& c : cases) {
        Settings hidden = shown;
        c.change(&hidden);
        std::vector<std::string> reasons = reasons_nothing_shows(hidden);
        ASSERT_EQ(reasons.size(), 1u) << c.starts;
        EXPECT_EQ(reasons[0].rfind(c.starts, 0), 0u) << reasons[0];
    }
}

TEST_F(PreviewScene, PictureIsWrittenAsPngOrSvg) {
    TempFolder temp_folder;
    const std::string& folder = temp_folder.path;
    PreviewLook look = {"Ondrelle.ini", settings};
    ASSERT_TRUE(render_preview(frames, kSceneFrameCount, look, (folder + "/p.png").c_str(), false));
    ASSERT_TRUE(render_preview(frames, kSceneFrameCount, look, (folder + "/p.svg").c_str(), true));
    EXPECT_EQ(read_file(folder + "/p.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_NE(read_file(folder + "/p.svg").find("<svg"), std::string::npos);
    EXPECT_FALSE(render_preview(frames, kSceneFrameCount, look, (folder + "/missing/p.png").c_str(), false));
}

}  // namespace
