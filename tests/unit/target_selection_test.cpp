// Target selection frame by frame: the validity check, which query is asked
// and how, the kind filter, and what a kept target does when focus moves.
#include <gtest/gtest.h>

#include "easing_reference.h"
#include "script_fixture.h"

namespace {

using TargetSelection = ScriptTest;

// The settings with the three kind flags set as given.
std::string kinds(const char* humans, const char* animals, const char* objects) {
    std::string settings = settings_file_with("mark_humans", humans);
    settings.replace(settings.find("mark_animals = no"), 17, std::string("mark_animals = ") + animals);
    settings.replace(settings.find("mark_objects = yes"), 18, std::string("mark_objects = ") + objects);
    return settings;
}

TEST_F(TargetSelection, FirstFrameWithNothingInFocus) {
    start();
    ASSERT_EQ(calls_named("validity_check").size(), 1u);
    EXPECT_EQ(calls_named("validity_check")[0]->arguments[0], 0u);
    ASSERT_EQ(calls_named("focus_query").size(), 1u);
    const StandInCall* query = calls_named("focus_query")[0];
    EXPECT_EQ(argument_int(query, 0), world->player_id);
    EXPECT_NE(query->arguments[1], 0u);  // the out-slot's address
    EXPECT_EQ(query->arguments[2], 0u);
    EXPECT_EQ(query->arguments[3], 0u);
    EXPECT_EQ(calls_named("lock_on_query").size(), 0u);
    EXPECT_EQ(state.kept_target, 0);
}

TEST_F(TargetSelection, LockOnQueryServesLockOnModeAndTheBinoculars) {
    for (const char* key : {"mark_enemies_in_lock_on_mode", "show_in_binoculars"}) {
        start(settings_file_with(key, "yes"));
        EXPECT_EQ(calls_named("focus_query").size(), 0u) << key;
        ASSERT_EQ(calls_named("lock_on_query").size(), 1u) << key;
        const StandInCall* query = calls_named("lock_on_query")[0];
        EXPECT_EQ(query->argument_count, 2);
        EXPECT_EQ(argument_int(query, 0), world->player_id);
        world->lock_on_target = 101;
        step();
        EXPECT_EQ(state.kept_target, 101) << key;
        world->lock_on_target = 0;
    }
}

TEST_F(TargetSelection, KindFilterFollowsTheThreeFlags) {
    const char* flags[] = {"no", "yes"};
    for (const char* humans : flags) {
        for (const char* animals : flags) {
            for (const char* objects : flags) {
                bool h = humans[0] == 'y', a = animals[0] == 'y', o = objects[0] == 'y';
                const struct {
                    int32_t entity;
                    bool accepted;
                    bool human_asked;
                } candidates[] = {{101, h || a, h}, {102, a, h}, {103, o, false}};
                for (const auto& candidate : candidates) {
                    focus(0);
                    start(kinds(humans, animals, objects));
                    focus(candidate.entity);
                    step();
                    std::string trace = frame_trace();
                    std::string selection = trace.substr(0, trace.find(" frame_time"));
                    std::string expected = std::string(kMarkerGatesForTests) + " validity_check focus_query ped_check" +
                                           (candidate.human_asked ? " human_check" : "");
                    EXPECT_EQ(selection, expected) << humans << animals << objects << " " << candidate.entity;
                    EXPECT_EQ(state.kept_target, candidate.accepted ? candidate.entity : 0)
                        << humans << animals << objects << " " << candidate.entity;
                }
            }
        }
    }
}

TEST_F(TargetSelection, RejectedCandidateStillGrowsTheMarkerOnTheKeptTarget) {
    start(kinds("yes", "no", "no"));
    focus(101);
    step();
    ASSERT_EQ(state.kept_target, 101);
    float before = state.visibility;
    focus(103);  // an object, not marked
    step();
    EXPECT_EQ(state.kept_target, 101);
    EXPECT_GT(state.visibility, before);
    ASSERT_EQ(calls_named("entity_position").size(), 1u);
    EXPECT_EQ(argument_int(calls_named("entity_position")[0], 0), 101);
}

// Nothing kept, a candidate rejected: the marker grows, but on nothing, so
// nothing is placed or drawn (the game would answer the world's origin for
// handle 0). Taken up next, a target gets the marker at the size reached;
// gone while the marker shrinks, nothing is drawn where it was.
TEST_F(TargetSelection, WithNothingKeptTheMarkerGrowsButIsDrawnOnlyOnceATargetIsTakenUp) {
    const float frame_time = 1.0f / kFramesPerSecond;
    start(kinds("no", "no", "yes"));
    focus(101);  // a person, not marked
    float visibility = 0.0f;
    for (int i = 0; i < 3; ++i) {
        visibility = eased_visibility(visibility, 1.0f, 6.0f, frame_time);
        step();
        EXPECT_EQ(state.kept_target, 0);
        EXPECT_EQ(state.visibility, visibility) << "frame " << i + 1;
        std::string trace = frame_trace();
        EXPECT_EQ(trace.substr(trace.find(" frame_time")), " frame_time frame_time frame_time")
            << "frame " << i + 1 << ": nothing placed or drawn after the easing";
    }
    ASSERT_GT(visibility, 0.01f);

    focus(103);  // an object, marked: drawn at once at the size reached
    visibility = eased_visibility(visibility, 1.0f, 6.0f, frame_time);
    step();
    EXPECT_EQ(state.kept_target, 103);
    ASSERT_EQ(calls_named("draw_sprite").size(), 1u);
    EXPECT_EQ(argument_float(calls_named("draw_sprite")[0], 5), 0.05f * visibility);
    EXPECT_EQ(argument_int(calls_named("entity_position")[0], 0), 103);

    focus(0);  // let go, and the object is gone while the marker shrinks
    step();
    ASSERT_EQ(calls_named("draw_sprite").size(), 1u);
    stand_in_find_entity(world, 103)->valid = 0;
    step();
    EXPECT_EQ(state.kept_target, 0);
    EXPECT_GT(state.visibility, 0.01f);
    for (const char* anchor :
         {"entity_position", "ped_check", "bone_lookup", "entity_height", "world_to_screen", "draw_sprite"})
        EXPECT_EQ(calls_named(anchor).size(), 0u) << anchor << " after the target was gone";
}

TEST_F(TargetSelection, SameCandidateSkipsTheKindTest) {
    start();
    focus(101);
    step();
    ASSERT_EQ(state.kept_target, 101);
    step();
    std::string trace = frame_trace();
    EXPECT_EQ(trace.substr(0, trace.find(" frame_time")),
              std::string(kMarkerGatesForTests) + " validity_check focus_query");
}

TEST_F(TargetSelection, KeptTargetStaysMarkedAfterItsKindIsSwitchedOff) {
    start();
    focus(101);
    step();
    save_settings(kinds("no", "no", "no"));
    step_after_a_second();
    EXPECT_EQ(state.kept_target, 101);
}

TEST_F(TargetSelection, FocusLostKeepsTheTargetAndShrinks) {
    start();
    focus(101);
    for (int i = 0; i < 5; ++i) step();
    float shown = state.visibility;
    focus(0);
    step();
    EXPECT_EQ(state.kept_target, 101);
    EXPECT_LT(state.visibility, shown);
}

TEST_F(TargetSelection, KeptTargetDroppedWhenTheGameNoLongerCallsItValid) {
    start();
    focus(101);
    for (int i = 0; i < 5; ++i) step();
    focus(0);
    stand_in_find_entity(world, 101)->valid = 0;
    step();
    EXPECT_EQ(argument_int(calls_named("validity_check")[0], 0), 101);
    EXPECT_EQ(state.kept_target, 0);
    EXPECT_GT(state.visibility, 0.01f);  // still shrinking, but on nothing: nothing placed
    EXPECT_EQ(calls_named("entity_position").size(), 0u);
    EXPECT_EQ(calls_named("draw_sprite").size(), 0u);
}

TEST_F(TargetSelection, NewTargetTakesOverAtTheCurrentSize) {
    start(kinds("yes", "yes", "yes"));
    focus(101);
    for (int i = 0; i < 4; ++i) step();
    float shown = state.visibility;
    focus(103);
    step();
    EXPECT_EQ(state.kept_target, 103);
    EXPECT_GT(state.visibility, shown);
    EXPECT_EQ(argument_int(calls_named("entity_position")[0], 0), 103);
}

}  // namespace
