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
    float size = 0;
    int opacity = 0;
    float expected_visibility[kSceneFrameCount];

    void SetUp() override {
        reset_fake_platform();
        std::string settings = std::string(ONDRELLE_SOURCE_DIR) + "/src/Ondrelle.ini";
        ASSERT_TRUE(scene_run_script(settings.c_str(), frames, &size, &opacity));
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
    EXPECT_EQ(size, 0.03f);
    EXPECT_EQ(opacity, 230);
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
    // 0.5 - z x 0.02, so 0.46 before the bounce. x is 0.5 - 6 x 0.02.
    for (int f : {30, 60, 90, 119}) {
        EXPECT_NEAR(frames[f].x, 0.38f, 1e-6f) << f;
        EXPECT_NEAR(frames[f].y, 0.46f - bounce(f), 1e-6f) << f;
    }
    // The animal has no head bone: half its 1.6 m height, 0.484 before the bounce.
    for (int f : {135, 150, 180}) {
        EXPECT_NEAR(frames[f].x, 0.66f, 1e-6f) << f;
        EXPECT_NEAR(frames[f].y, 0.484f - bounce(f), 1e-6f) << f;
    }
}

TEST_F(PreviewScene, PictureIsWrittenAsPngAndSvg) {
    TempFolder temp_folder;
    const std::string& folder = temp_folder.path;
    PreviewLook look = {"Ondrelle.ini", size, opacity};
    ASSERT_TRUE(
        render_preview(frames, kSceneFrameCount, look, (folder + "/p.png").c_str(), (folder + "/p.svg").c_str()));
    EXPECT_EQ(read_file(folder + "/p.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_NE(read_file(folder + "/p.svg").find("<svg"), std::string::npos);
    EXPECT_FALSE(render_preview(frames, kSceneFrameCount, look, (folder + "/missing/p.png").c_str(), nullptr));
}

}  // namespace
