// The preview's data: the real script through the simulated scene with the
// default settings, checked at given frames against the scene's story (taken
// up at 0.5 s, dropped at 2 s, a second target at 2.25 s, dropped at 3.5 s),
// the filmstrip's geometry, and the picture files written.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "easing_reference.h"
#include "preview_geometry.h"
#include "preview_render.h"
#include "scene.h"
#include "test_files.h"

namespace {

// The default settings with some lines' values replaced, as a file.
std::string default_settings_with(const TempFolder& folder, std::vector<std::pair<std::string, std::string>> values) {
    std::string text = default_settings_text();
    for (const auto& value : values) {
        size_t at = text.find("\n" + value.first + " = ");
        size_t end = text.find('\n', at + 1);
        text.replace(at + 1, end - at - 1, value.first + " = " + value.second);
    }
    write_file(folder.path + "/Ondrelle.ini", text);
    return folder.path + "/Ondrelle.ini";
}

struct PreviewScene : ::testing::Test {
    SceneFrame frames[kSceneFrameCount];
    Settings settings{};
    float expected_visibility[kSceneFrameCount];

    void SetUp() override {
        std::string settings_file = std::string(ONDRELLE_SOURCE_DIR) + "/src/Ondrelle.ini";
        ASSERT_TRUE(scene_run_script(settings_file.c_str(), frames, &this->settings));
        // The default file: grow 8 and shrink 10 a second, at the scene's frame rate.
        float visibility = 0.0f;
        for (int f = 0; f < kSceneFrameCount; ++f) {
            bool held = scene_focus_at(f) != 0;
            visibility = eased_visibility(visibility, held ? 1.0f : 0.0f, held ? 8.0f : 10.0f, kSceneFrameTime);
            expected_visibility[f] = visibility;
        }
    }
    // The default bounce: 0.006 x |sin| of (timer in ms x 0.3) degrees.
    static float bounce(int frame) {
        float degrees = static_cast<float>(frame * 1000 / kFramesPerSecond) * 0.3f;
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
        EXPECT_NEAR(frames[f].rest_y, 0.4f, 1e-6f) << f;
    }
    // The animal has no head bone: its middle (0.8 m) lifted by half its
    // 1.6 m height, the top of its head: 0.42 before the bounce.
    for (int f : {135, 150, 180}) {
        EXPECT_NEAR(frames[f].x, 0.9f, 1e-6f) << f;
        EXPECT_NEAR(frames[f].y, 0.42f - bounce(f), 1e-6f) << f;
        EXPECT_NEAR(frames[f].rest_y, 0.42f, 1e-6f) << f;
    }
}

// One frame read whole: the person at full size a second after being taken
// up, where the script put the sprite.
TEST_F(PreviewScene, FrameNinetyReadsAsTheScriptDrewIt) {
    const SceneFrame& f = frames[90];
    EXPECT_EQ(f.frame, 90);
    EXPECT_EQ(f.seconds, 90 * kSceneFrameTime);
    EXPECT_EQ(f.mode, scene_marker);
    EXPECT_EQ(f.target, kSceneFirstTarget);
    EXPECT_TRUE(f.drawn);
    EXPECT_TRUE(f.visibility_known);
    EXPECT_EQ(f.visibility, f.height / 0.03f);
    EXPECT_EQ(f.height, 0.03f * expected_visibility[90]);
    EXPECT_EQ(f.width, f.height * (720.0f / 1280.0f));
}

// The filmstrip's key frames follow from the scene's events: each target
// just taken up, growing, and a second later; each loss of focus shortly after.
TEST(PreviewFilmstrip, KeyFramesFollowTheScenesEvents) {
    EXPECT_EQ(filmstrip_frames(), (std::vector<int>{31, 45, 90, 124, 136, 150, 195, 214}));
}

// A cell shows the 16:9 screen around its target: the person stands at
// screen x 0.5 - 6 x 0.05 = 0.2, feet at 0.5, which sit 85% down the cell.
TEST_F(PreviewScene, CellWindowStandsOnItsTarget) {
    CellWindow window = cell_window_for(frames, kSceneFrameCount, kSceneFirstTarget, 0.0f);
    double width = kCellWidthPixels / kScreenWidthPixels;
    double height = kCellHeightPixels / kScreenHeightPixels;
    EXPECT_NEAR(window.width, width, 1e-12);
    EXPECT_NEAR(window.height, height, 1e-12);
    EXPECT_NEAR(window.left, 0.2 - width / 2, 1e-7);
    EXPECT_NEAR(window.top, 0.5 - height * 0.85, 1e-7);
    // The animal: its middle at 0.8 m and 1.6 m tall puts its feet at 0 m too,
    // at screen x 0.5 + 8 x 0.05 = 0.9.
    window = cell_window_for(frames, kSceneFrameCount, kSceneSecondTarget, 0.0f);
    EXPECT_NEAR(window.left, 0.9 - width / 2, 1e-7);
    EXPECT_NEAR(window.top, 0.5 - height * 0.85, 1e-7);
    double px, py;
    world_to_cell(window, 8.0f, 1.6f, &px, &py);  // the top of the animal's head
    EXPECT_NEAR(px, kCellWidthPixels / 2, 1e-3);
    EXPECT_NEAR(py, kCellHeightPixels * 0.85 - 1.6 * 0.05 * kScreenHeightPixels, 1e-3);
}

TEST_F(PreviewScene, CaptionsSayHowFarTheMarkerHasCome) {
    auto percent = [&](int frame) { return std::to_string(std::lround(expected_visibility[frame] * 100)) + "%"; };
    EXPECT_EQ(marker_progress(frames, 10, 0.03f), "not drawn");
    EXPECT_EQ(marker_progress(frames, 45, 0.03f), "growing, " + percent(45));
    EXPECT_EQ(marker_progress(frames, 90, 0.03f), "full size");
    EXPECT_EQ(marker_progress(frames, 124, 0.03f), "shrinking, " + percent(124));
    EXPECT_EQ(marker_progress(frames, 136, 0.03f), "growing, " + percent(136));
    EXPECT_EQ(marker_progress(frames, 214, 0.03f), "shrinking, " + percent(214));
    EXPECT_EQ(percent(124), "40%");
}

// The visibility is the drawn height over the configured size: the height
// itself for a size of 1, and not to be told at all for a size of 0. With no
// kind marked the marker grows on nothing, and the script draws no frame.
TEST(PreviewSizes, VisibilityIsToldBySizeOnlyWhenThereIsOneAndNothingIsDrawnOnNoTarget) {
    TempFolder folder;
    static SceneFrame frames[kSceneFrameCount];
    Settings settings{};
    ASSERT_TRUE(scene_run_script(default_settings_with(folder, {{"size", "1.0"}}).c_str(), frames, &settings));
    EXPECT_EQ(frames[90].visibility, frames[90].height);
    EXPECT_GT(frames[90].visibility, 0.99f);
    ASSERT_TRUE(scene_run_script(default_settings_with(folder, {{"size", "0"}}).c_str(), frames, &settings));
    EXPECT_TRUE(frames[90].drawn);
    EXPECT_FALSE(frames[90].visibility_known);
    EXPECT_EQ(marker_progress(frames, 90, settings.size), "no size");
    ASSERT_TRUE(scene_run_script(
        default_settings_with(folder, {{"mark_humans", "no"}, {"mark_animals", "no"}, {"mark_objects", "no"}}).c_str(),
        frames, &settings));
    for (int f = 0; f < kSceneFrameCount; ++f) {
        EXPECT_FALSE(frames[f].drawn) << f;
        EXPECT_EQ(frames[f].target, 0) << f;
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
        std::string file = default_settings_with(
            temp_folder, {{"size", c.size}, {"rotation", c.rotation}, {"bounce_distance", c.bounce}});
        ASSERT_TRUE(scene_run_script(file.c_str(), frames, &settings));
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

TEST_F(PreviewScene, PictureIsWrittenAsPngOrSvg) {
    TempFolder temp_folder;
    const std::string& folder = temp_folder.path;
    PreviewLook look = {"Ondrelle.ini", settings, {{"a line under the title", true}}};
    ASSERT_TRUE(render_preview(frames, kSceneFrameCount, look, (folder + "/p.png").c_str(), false));
    ASSERT_TRUE(render_preview(frames, kSceneFrameCount, look, (folder + "/p.svg").c_str(), true));
    EXPECT_EQ(read_file(folder + "/p.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_NE(read_file(folder + "/p.svg").find("<svg"), std::string::npos);
    EXPECT_FALSE(render_preview(frames, kSceneFrameCount, look, (folder + "/missing/p.png").c_str(), false));
    // Without a size there is no filmstrip to draw, and the picture still is.
    look.settings.size = 0;
    ASSERT_TRUE(render_preview(frames, kSceneFrameCount, look, (folder + "/no-size.svg").c_str(), true));
}

}  // namespace
