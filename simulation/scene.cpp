// The preview scene and its frame reader.
#include "scene.h"

#include <string>

#include "host/native_call.h"
#include "host/native_hashes.h"

const SceneEvent kSceneEvents[] = {
    {0, 0, "nothing in focus"}, {30, kSceneFirstTarget, "a person is focused"},
    {120, 0, "focus lost"},     {135, kSceneSecondTarget, "an animal is focused"},
    {210, 0, "focus lost"},
};
const int kSceneEventCount = sizeof kSceneEvents / sizeof kSceneEvents[0];

const SceneTarget kSceneTargets[kSceneTargetCount] = {
    {kSceneFirstTarget, stand_in_human, "person", -6.0f, 20.0f, 0.9f, 1.8f, 1.65f},
    {kSceneSecondTarget, stand_in_animal, "animal", 8.0f, 18.0f, 0.8f, 1.6f, 0.0f},
};

const SceneTarget* scene_target(int32_t handle) {
    for (const SceneTarget& target : kSceneTargets) {
        if (target.handle == handle) return &target;
    }
    return nullptr;
}

void scene_to_screen(float x, float z, float* screen_x, float* screen_y) {
    *screen_x = 0.5f + x * kSceneMetresToScreen;
    *screen_y = 0.5f - z * kSceneMetresToScreen;
}

void scene_set_up(StandInWorld* world) {
    for (const SceneTarget& target : kSceneTargets) {
        StandInEntity* entity = stand_in_add_entity(world, target.handle, target.kind, target.x, target.y, target.z);
        entity->height = target.height;
        if (target.head_z > 0) stand_in_add_bone(entity, "skel_head", 21030, target.x, target.y, target.head_z);
    }
    world->frame_time = kSceneFrameTime;
    world->projection_scale = kSceneMetresToScreen;
}

int32_t scene_focus_at(int frame) {
    int32_t focus = 0;
    for (const SceneEvent& event : kSceneEvents) {
        if (event.frame <= frame) focus = event.target;
    }
    return focus;
}

int32_t scene_target_in_focus_by(int frame) {
    int32_t last = kSceneFirstTarget;
    for (const SceneEvent& event : kSceneEvents) {
        if (event.frame <= frame && event.target != 0) last = event.target;
    }
    return last;
}

void scene_before_frame(StandInWorld* world, int frame) {
    world->focus_target = scene_focus_at(frame);
    world->lock_on_target = world->focus_target;
    world->game_timer = frame * 1000 / kFramesPerSecond;  // milliseconds
}

SceneFrame scene_read_frame(const StandInFrame* record, int frame, float size) {
    SceneFrame result = {};
    result.frame = frame;
    result.seconds = static_cast<float>(frame) * kSceneFrameTime;
    result.mode = scene_hidden;
    for (int i = 0; i < record->call_count; ++i) {
        const StandInCall& call = record->calls[i];
        if (call.hash == native::draw_text) result.mode = scene_overlay;
        if (call.hash == native::validity_check) result.mode = scene_marker;
        if (call.hash == native::entity_position) result.target = static_cast<int32_t>(call.arguments[0]);
        if (call.hash == native::world_to_screen) {
            float rest_x;
            scene_to_screen(slot_float(call.arguments[0]), slot_float(call.arguments[2]), &rest_x, &result.rest_y);
        }
        if (call.hash == native::draw_sprite) {
            result.drawn = true;
            result.x = slot_float(call.arguments[2]);
            result.y = slot_float(call.arguments[3]);
            result.width = slot_float(call.arguments[4]);
            result.height = slot_float(call.arguments[5]);
            result.visibility_known = size != 0.0f;
            result.visibility = result.visibility_known ? result.height / size : 0.0f;
        }
    }
    return result;
}

void scene_print_table(const SceneFrame* frames, int count, int every, FILE* out) {
    std::fprintf(out, "frame  time   mode    target  visibility  sprite x  sprite y  width    height\n");
    for (int i = 0; i < count; ++i) {
        const SceneFrame& f = frames[i];
        bool event = false;
        for (int e = 0; e < kSceneEventCount; ++e) event = event || kSceneEvents[e].frame == f.frame;
        if (f.frame % every != 0 && !event) continue;
        const char* mode = f.mode == scene_marker ? "marker" : f.mode == scene_overlay ? "error" : "hidden";
        // The scene's targets by what they are; anything else by its handle.
        const SceneTarget* known = scene_target(f.target);
        std::string target = known != nullptr ? known->label : f.target != 0 ? std::to_string(f.target) : "-";
        if (f.drawn) {
            char visibility[16] = "-";
            if (f.visibility_known) std::snprintf(visibility, sizeof visibility, "%.3f", f.visibility);
            std::fprintf(out, "%5d  %5.2fs %-7s %6s  %10s  %8.4f  %8.4f  %7.4f  %7.4f\n", f.frame, f.seconds, mode,
                         target.c_str(), visibility, f.x, f.y, f.width, f.height);
        } else {
            std::fprintf(out, "%5d  %5.2fs %-7s %6s  %10s  %8s  %8s  %7s  %7s\n", f.frame, f.seconds, mode,
                         target.c_str(), "-", "-", "-", "-", "-");
        }
    }
}
