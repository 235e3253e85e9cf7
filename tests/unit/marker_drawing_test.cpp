// The marker's easing, placement and drawing against the call record: the
// single-precision arithmetic in its order, the 0.01 threshold, the anchor
// rules, a failed projection, the bounce and the sprite's arguments.
#include <gtest/gtest.h>

#include <cmath>

#include "easing_reference.h"
#include "host/native_call.h"
#include "script_fixture.h"

namespace {

using MarkerDrawing = ScriptTest;

// The test settings with grow and shrink speeds given.
std::string speeds(const char* grow, const char* shrink) {
    std::string settings = settings_file_with("grow_speed", grow);
    settings.replace(settings.find("shrink_speed = 9"), 16, std::string("shrink_speed = ") + shrink);
    return settings;
}

TEST_F(MarkerDrawing, EasingHalvesTheDistanceWithAStepOfOneHalf) {
    world->frame_time = 0.5f;
    start(speeds("1", "1"));  // step = 1 x 0.5
    focus(101);
    const float expected[] = {0.5f, 0.75f, 0.875f, 0.9375f};
    for (float visibility : expected) {
        step();
        EXPECT_EQ(state.visibility, visibility);
    }
    focus(0);
    step();
    EXPECT_EQ(state.visibility, 0.46875f);
}

TEST_F(MarkerDrawing, EasingIsSinglePrecisionInItsOwnOrder) {
    const float frame_time = 1.0f / kFramesPerSecond;
    world->frame_time = frame_time;
    start(speeds("6", "9"));
    focus(101);
    float visibility = 0.0f;
    for (int frame = 0; frame < 30; ++frame) {
        visibility = eased_visibility(visibility, 1.0f, 6.0f, frame_time);
        step();
        ASSERT_EQ(state.visibility, visibility) << "frame " << frame;
    }
    focus(0);
    for (int frame = 0; frame < 30; ++frame) {
        visibility = eased_visibility(visibility, 0.0f, 9.0f, frame_time);
        step();
        ASSERT_EQ(state.visibility, visibility) << "frame " << frame;
    }
}

TEST_F(MarkerDrawing, FrameTimeIsAskedAfreshForEachUseInTheClamp) {
    start(speeds("6", "9"));  // step 0.1 or 0.15: all three uses
    EXPECT_EQ(calls_named("frame_time").size(), 3u);
    world->frame_time = 1.0f;  // 6 x 1 > 1: two uses
    focus(101);
    step();
    EXPECT_EQ(calls_named("frame_time").size(), 2u);
    EXPECT_EQ(state.visibility, 1.0f);
    save_settings(speeds("-2", "9"));  // below 0: one use
    step_after_a_second();
    EXPECT_EQ(calls_named("frame_time").size(), 1u);
}

TEST_F(MarkerDrawing, EasingStepIsClampedToZeroAndOne) {
    // Frames of 0.25 s: a rate of 4 is a step of exactly 1, 4.2 one of 1.05,
    // -0.2 one of -0.05.
    const struct {
        const char* grow;
        const char* shrink;
        float after_growing, after_shrinking;
    } cases[] = {
        {"4", "8", 1.0f, 0.0f},       // steps of 1 and 2 reach the goal at once
        {"4.2", "4.2", 1.0f, 0.0f},   // and so does one just above 1
        {"4.2", "-0.2", 1.0f, 1.0f},  // a step just below 0 leaves it where it is
        {"-0.2", "4", 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        world->frame_time = 0.25f;
        focus(0);
        start(speeds(c.grow, c.shrink));
        focus(101);
        step();
        EXPECT_EQ(state.visibility, c.after_growing) << "grow " << c.grow;
        focus(0);
        step();
        EXPECT_EQ(state.visibility, c.after_shrinking) << "shrink " << c.shrink;
    }
}

TEST_F(MarkerDrawing, NegativeOrZeroRateLeavesTheVisibilityWhereItIs) {
    world->frame_time = 0.5f;
    start(speeds("1", "-3"));
    focus(101);
    step();
    ASSERT_EQ(state.visibility, 0.5f);
    focus(0);
    for (int i = 0; i < 5; ++i) step();
    EXPECT_EQ(state.visibility, 0.5f);
    save_settings(speeds("0", "0"));
    focus(101);
    step_after_a_second();
    EXPECT_EQ(state.visibility, 0.5f);
}

TEST_F(MarkerDrawing, StepThatIsNotANumberLeavesTheVisibilityIntact) {
    world->frame_time = 0.0f;
    start(speeds("inf", "inf"));  // inf x 0 is not a number
    focus(101);
    for (int i = 0; i < 3; ++i) step();
    EXPECT_EQ(state.visibility, 0.0f);
    world->frame_time = 0.5f;
    save_settings(speeds("1", "1"));
    step_after_a_second();
    EXPECT_EQ(state.visibility, 0.5f);
}

TEST_F(MarkerDrawing, NothingIsPlacedAtOrBelowTheThreshold) {
    world->frame_time = 0.01f;
    start(speeds("1", "1"));  // step 0.01: the first frame gives exactly 0.01
    focus(101);
    step();
    ASSERT_EQ(state.visibility, 0.01f);
    std::string trace = frame_trace();
    EXPECT_EQ(trace.substr(trace.find(" frame_time")), " frame_time frame_time frame_time");
    step();
    EXPECT_GT(state.visibility, 0.01f);
    EXPECT_EQ(calls_named("draw_sprite").size(), 1u);
}

TEST_F(MarkerDrawing, HumanWithTheBoneSitsAboveTheBone) {
    // The game's head bone index, and 1, the smallest index of a real bone.
    for (int32_t bone_index : {31086, 1}) {
        world->frame_time = 1.0f;
        stand_in_find_entity(world, 101)->bones[0].index = bone_index;
        focus(0);
        start();
        focus(101);
        step();
        std::string trace = frame_trace();
        EXPECT_EQ(trace.substr(trace.find("entity_position")),
                  "entity_position ped_check bone_lookup:skel_head bone_position world_to_screen screen_resolution "
                  "game_timer bounce_curve_inner bounce_curve_outer draw_sprite:generic_textures:star")
            << bone_index;
        const StandInCall* position = calls_named("entity_position")[0];
        EXPECT_EQ(argument_int(position, 0), 101);
        EXPECT_EQ(position->arguments[1], 1u);
        EXPECT_EQ(position->arguments[2], 1u);
        const StandInCall* bone = calls_named("bone_position")[0];
        EXPECT_EQ(argument_int(bone, 0), 101);
        EXPECT_EQ(argument_int(bone, 1), bone_index);
        const StandInCall* projection = calls_named("world_to_screen")[0];
        EXPECT_EQ(argument_float(projection, 0), 1.0f);
        EXPECT_EQ(argument_float(projection, 1), 2.0f);
        EXPECT_EQ(argument_float(projection, 2), 3.0f + 0.4f);
        for (int n = 0; n < 3; ++n) EXPECT_TRUE(high_half_zero(projection, n));
        EXPECT_NE(projection->arguments[3], 0u);
        EXPECT_NE(projection->arguments[4], 0u);
    }
}

// The game answers -1 for a bone a ped lacks; 0 (the skeleton's root) and
// any other index below 1 are no bone to sit on either.
TEST_F(MarkerDrawing, PedWithoutAPositiveBoneIndexSitsAtHalfItsHeightWithoutTheBoneOffset) {
    const struct {
        const char* answer;
        int32_t missing_bone_index;  // what the lookup answers for an absent bone
        int32_t head_bone_index;     // the human's head bone; 0 = take it away
        int32_t entity;
        float x, y, z;
    } cases[] = {
        {"-1, as the game answers", -1, 31086, 102, -4.0f, 5.0f, 6.0f + 1.25f * 0.5f},
        {"0", 0, 31086, 102, -4.0f, 5.0f, 6.0f + 1.25f * 0.5f},
        {"a negative index for a bone it has", -1, -5, 101, 10.0f, 20.0f, 30.0f + 1.8f * 0.5f},
    };
    for (const auto& c : cases) {
        world->frame_time = 1.0f;
        world->missing_bone_index = c.missing_bone_index;
        stand_in_find_entity(world, 101)->bones[0].index = c.head_bone_index;
        focus(0);
        start(settings_file_with("mark_animals", "yes"));
        focus(c.entity);
        step();
        std::string trace = frame_trace();
        size_t from = trace.find("entity_position");
        EXPECT_EQ(trace.substr(from, trace.find(" screen_resolution") - from),
                  "entity_position ped_check bone_lookup:skel_head entity_height world_to_screen")
            << c.answer;
        const StandInCall* projection = calls_named("world_to_screen")[0];
        EXPECT_EQ(argument_float(projection, 0), c.x) << c.answer;
        EXPECT_EQ(argument_float(projection, 1), c.y) << c.answer;
        EXPECT_EQ(argument_float(projection, 2), c.z) << c.answer;
    }
}

TEST_F(MarkerDrawing, ObjectSitsAtItsPositionLiftedByTheObjectOffset) {
    world->frame_time = 1.0f;
    start();
    focus(103);
    step();
    EXPECT_EQ(calls_named("bone_lookup").size(), 0u);
    const StandInCall* projection = calls_named("world_to_screen")[0];
    EXPECT_EQ(argument_float(projection, 0), 7.0f);
    EXPECT_EQ(argument_float(projection, 1), 8.0f);
    EXPECT_EQ(argument_float(projection, 2), 9.0f + 1.5f);
}

TEST_F(MarkerDrawing, FailedProjectionCallsNoLaterNative) {
    world->frame_time = 1.0f;
    world->projection_fails = 1;
    start();
    focus(101);
    step();
    std::string trace = frame_trace();
    EXPECT_EQ(trace.substr(trace.size() - 15), "world_to_screen");
    EXPECT_EQ(state.visibility, 1.0f);
    EXPECT_EQ(stand_in_frame()->wait_count, 1);
}

TEST_F(MarkerDrawing, SpriteArgumentsFollowSizeVisibilityAspectAndBounce) {
    world->frame_time = 0.5f;
    world->game_timer = 12345;
    start(speeds("1", "1"));
    focus(101);
    step();
    step();  // visibility 0.75
    ASSERT_EQ(state.visibility, 0.75f);
    const StandInCall* inner = calls_named("bounce_curve_inner")[0];
    EXPECT_EQ(argument_float(inner, 0), 12345.0f * 0.25f);
    const StandInCall* outer = calls_named("bounce_curve_outer")[0];
    EXPECT_EQ(outer->arguments[0], inner->result[0] & 0xFFFFFFFFu);  // the inner result, passed on
    float v = slot_float(outer->result[0]);
    EXPECT_NE(v, 0.0f);

    const StandInCall* sprite = calls_named("draw_sprite")[0];
    ASSERT_EQ(sprite->argument_count, 12);
    EXPECT_EQ(argument_text(sprite, 0), "generic_textures");
    EXPECT_EQ(argument_text(sprite, 1), "star");
    float screen_x = 0.5f + 1.0f * 0.01f;
    float screen_y = 0.5f - (3.0f + 0.4f) * 0.01f;
    EXPECT_EQ(argument_float(sprite, 2), screen_x);
    EXPECT_EQ(argument_float(sprite, 3), screen_y - v * 0.01f);
    float size = 0.05f * 0.75f;
    EXPECT_EQ(argument_float(sprite, 4), size * 0.5625f);
    EXPECT_EQ(argument_float(sprite, 5), size);
    EXPECT_EQ(argument_float(sprite, 6), 45.0f);
    for (int n = 7; n <= 9; ++n) EXPECT_EQ(sprite->arguments[n], 255u);
    EXPECT_EQ(sprite->arguments[10], 200u);
    EXPECT_EQ(sprite->arguments[11], 0u);
    for (int n = 2; n <= 6; ++n) EXPECT_TRUE(high_half_zero(sprite, n));

    // A 5:4 screen: the width is 1024 / 1280 of the height.
    world->screen_width = 1280;
    world->screen_height = 1024;
    step();  // visibility 0.875
    sprite = calls_named("draw_sprite")[0];
    EXPECT_EQ(argument_float(sprite, 4), 0.05f * 0.875f * 0.8f);
    EXPECT_EQ(argument_float(sprite, 5), 0.05f * 0.875f);
}

// The game's resolution native answers 1280x720 whatever the screen; the
// game window's client area, looked at once a second, is the screen's shape.
TEST_F(MarkerDrawing, SpriteWidthFollowsTheGameWindowOnceFound) {
    world->frame_time = 1.0f;
    start();
    focus(101);
    const struct {
        const char* what;
        int32_t window_width, window_height;  // 0: no window, or a minimised one
        bool a_second_passes;
        float aspect;
    } timeline[] = {
        {"no window yet: the native's shape", 0, 0, true, 720.0f / 1280.0f},
        {"a 21:9 window appears", 2560, 1080, true, 1080.0f / 2560.0f},
        {"resized within the same second", 1280, 800, false, 1080.0f / 2560.0f},
        {"the Steam Deck's 16:10, a second later", 1280, 800, true, 800.0f / 1280.0f},
        {"minimised: the last shape found stays", 0, 0, true, 800.0f / 1280.0f},
        {"32:9", 5120, 1440, true, 1440.0f / 5120.0f},
    };
    for (const auto& moment : timeline) {
        fake_platform.window_width = moment.window_width;
        fake_platform.window_height = moment.window_height;
        int looks = fake_platform.window_looks;
        if (moment.a_second_passes) {
            step_after_a_second();
        } else {
            step();
        }
        EXPECT_EQ(fake_platform.window_looks - looks, moment.a_second_passes ? 1 : 0) << moment.what;
        ASSERT_EQ(calls_named("draw_sprite").size(), 1u) << moment.what;
        const StandInCall* sprite = calls_named("draw_sprite")[0];
        EXPECT_EQ(argument_float(sprite, 5), 0.05f) << moment.what;
        EXPECT_EQ(argument_float(sprite, 4), 0.05f * moment.aspect) << moment.what;
        // The native is asked all the same, as in every drawn frame.
        EXPECT_EQ(calls_named("screen_resolution").size(), 1u) << moment.what;
    }
    // The script started again knows no window until its first look.
    fake_platform.window_width = 0;
    start();
    step();
    EXPECT_EQ(argument_float(calls_named("draw_sprite")[0], 4), 0.05f * (720.0f / 1280.0f));
}

TEST_F(MarkerDrawing, ZeroBounceStillAsksTheTimerAndCurves) {
    world->frame_time = 1.0f;
    std::string settings = settings_file_with("bounce_distance", "0");
    settings.replace(settings.find("bounce_speed = 0.25"), 19, "bounce_speed = 0");
    start(settings);
    focus(101);
    step();
    EXPECT_EQ(calls_named("game_timer").size(), 1u);
    EXPECT_EQ(argument_float(calls_named("bounce_curve_inner")[0], 0), 0.0f);
    EXPECT_EQ(argument_float(calls_named("draw_sprite")[0], 3), 0.5f - 3.4f * 0.01f);
}

TEST_F(MarkerDrawing, OpacityAndRotationGoThroughUnchecked) {
    world->frame_time = 1.0f;
    std::string settings = settings_file_with("opacity", "-1");
    settings.replace(settings.find("rotation = 45"), 13, "rotation = 720.5");
    start(settings);
    focus(103);
    step();
    const StandInCall* sprite = calls_named("draw_sprite")[0];
    EXPECT_EQ(sprite->arguments[10], 0xFFFFFFFFu);
    EXPECT_EQ(argument_float(sprite, 6), 720.5f);
}

TEST_F(MarkerDrawing, HiddenFramesFreezeTheMarkerAndItReturnsAtItsFormerSize) {
    world->frame_time = 0.5f;
    start(speeds("1", "1"));
    focus(101);
    for (int i = 0; i < 3; ++i) step();
    float shown = state.visibility;
    stand_in_set_effect(world, "WheelHUDIn", true);
    for (int i = 0; i < 5; ++i) step();
    EXPECT_EQ(state.visibility, shown);
    EXPECT_EQ(calls_named("draw_sprite").size(), 0u);
    stand_in_set_effect(world, "WheelHUDIn", false);
    step();
    ASSERT_EQ(calls_named("draw_sprite").size(), 1u);
    shown = shown + (1.0f - shown) * 0.5f;
    EXPECT_EQ(argument_float(calls_named("draw_sprite")[0], 5), 0.05f * shown);

    // The settings error overlay freezes it the same way, target and all.
    save_settings("size = 0.05\nbroken line\n");
    step_after_a_second();
    focus(0);                                     // would shrink it
    stand_in_find_entity(world, 101)->valid = 0;  // would drop it
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(calls_named("draw_text").size(), 1u);
        step();
    }
    EXPECT_EQ(state.visibility, shown);
    EXPECT_EQ(state.kept_target, 101);
    stand_in_find_entity(world, 101)->valid = 1;
    focus(101);
    save_settings(speeds("1", "1"));
    step_after_a_second();
    ASSERT_EQ(calls_named("draw_sprite").size(), 1u);
    EXPECT_EQ(argument_float(calls_named("draw_sprite")[0], 5), 0.05f * (shown + (1.0f - shown) * 0.5f));
    EXPECT_EQ(argument_int(calls_named("entity_position")[0], 0), 101);
}

}  // namespace
