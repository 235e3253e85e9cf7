// The preview's scene and its frame reader.
#include "preview_scene.h"

#include <cstring>
#include <string>

namespace {

const uint64_t kDrawSprite = 0xC9884ECADE94CB34ULL;
const uint64_t kDrawText = 0xD79334A4BB99BAD1ULL;
const uint64_t kEntityPosition = 0xA86D5F069399F44DULL;
const uint64_t kValidityCheck = 0xD42BD6EB2E0F1677ULL;

const int kFirstTaken = 30;
const int kFirstDropped = 120;
const int kSecondTaken = 135;
const int kSecondDropped = 210;

float argument_float(uint64_t argument) {
    uint32_t bits = static_cast<uint32_t>(argument);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

const SceneEvent kSceneEvents[] = {
    {0, "nothing in focus"},        {kFirstTaken, "a person is focused"},
    {kFirstDropped, "focus lost"},  {kSecondTaken, "an animal is focused"},
    {kSecondDropped, "focus lost"},
};
const int kSceneEventCount = sizeof kSceneEvents / sizeof kSceneEvents[0];

const SceneTarget kSceneTargets[kSceneTargetCount] = {
    {kSceneFirstTarget, stand_in_human, -6.0f, 20.0f, 0.9f, 1.8f, 1.65f},
    {kSceneSecondTarget, stand_in_animal, 8.0f, 18.0f, 0.8f, 1.6f, 0.0f},
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

int32_t scene_target_in_focus_by(int frame) { return frame >= kSecondTaken ? kSceneSecondTarget : kSceneFirstTarget; }

void scene_before_frame(StandInWorld* world, int frame) {
    bool first = frame >= kFirstTaken && frame < kFirstDropped;
    bool second = frame >= kSecondTaken && frame < kSecondDropped;
    world->focus_target = first ? kSceneFirstTarget : second ? kSceneSecondTarget : 0;
    world->lock_on_target = world->focus_target;
    world->game_timer = frame * 1000 / 60;  // milliseconds
}

SceneFrame scene_read_frame(const StandInFrame* record, int frame, float size) {
    SceneFrame result = {};
    result.frame = frame;
    result.seconds = static_cast<float>(frame) * kSceneFrameTime;
    result.mode = scene_hidden;
    for (int i = 0; i < record->call_count; ++i) {
        const StandInCall& call = record->calls[i];
        if (call.hash == kDrawText) result.mode = scene_overlay;
        if (call.hash == kValidityCheck) result.mode = scene_marker;
        if (call.hash == kEntityPosition) result.target = static_cast<int32_t>(call.arguments[0]);
        if (call.hash == kDrawSprite) {
            result.drawn = true;
            result.x = argument_float(call.arguments[2]);
            result.y = argument_float(call.arguments[3]);
            result.width = argument_float(call.arguments[4]);
            result.height = argument_float(call.arguments[5]);
            result.visibility = size != 0.0f ? result.height / size : 0.0f;
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
        if (f.drawn) {
            std::fprintf(out, "%5d  %5.2fs %-7s %6d  %10.3f  %8.4f  %8.4f  %7.4f  %7.4f\n", f.frame, f.seconds, mode,
                         f.target, f.visibility, f.x, f.y, f.width, f.height);
        } else {
            std::fprintf(out, "%5d  %5.2fs %-7s %6s  %10s  %8s  %8s  %7s  %7s\n", f.frame, f.seconds, mode,
                         f.target != 0 ? std::to_string(f.target).c_str() : "-", "-", "-", "-", "-", "-");
        }
    }
}
