// The preview scene: a short piece of play at the simulated game's frame rate
// that shows everything the marker's settings change: a target taken up,
// held, dropped, and a second one taken while the marker shrinks away.
//
// The scene sets the stand-in world before each frame and reads what the
// script drew from the frame's call record, so the same scene runs the script
// natively (ondrelle-preview) and the real plug-in under Wine (the demo).
// The events are the scene's one script: the focus of every frame and the
// preview's key frames both follow from them.
#pragma once

#include <cstdint>
#include <cstdio>

#include "config.h"
#include "world.h"

const int kSceneFrameCount = 270;
const float kSceneFrameTime = 1.0f / kFramesPerSecond;

// The scene's two targets.
const int32_t kSceneFirstTarget = 201;   // a person, marked above the head
const int32_t kSceneSecondTarget = 202;  // an animal without that bone

// A target's shape in the world, in metres. As in the game, an entity's
// position is the middle of its body, not its feet.
struct SceneTarget {
    int32_t handle;
    StandInEntityKind kind;
    const char* label;  // what the picture calls it: "person", "animal"
    float x, y, z;      // its position
    float height;       // what entity_height answers
    float head_z;       // its head bone's height; 0 when it has none
};
const int kSceneTargetCount = 2;
extern const SceneTarget kSceneTargets[kSceneTargetCount];

// The scene's target of a handle, or null.
const SceneTarget* scene_target(int32_t handle);

// The stand-in's projection in the scene: one metre is 5% of the screen's
// height, as a person about 20 m away appears in the game.
const float kSceneMetresToScreen = 0.05f;

// Where a world point (x across, z up) lands on the 0-to-1 screen, as the
// stand-in projects it.
void scene_to_screen(float x, float z, float* screen_x, float* screen_y);

// What happens when: from its frame on, the player focuses target (0:
// nothing), until the next event.
struct SceneEvent {
    int frame;
    int32_t target;
    const char* what;  // the caption
};
extern const SceneEvent kSceneEvents[];
extern const int kSceneEventCount;

enum SceneMode : char {
    scene_marker = 'M',   // the script ran to the marker (drawn or not)
    scene_hidden = 'H',   // a gate ended the frame early
    scene_overlay = 'E',  // the settings error was shown instead
};

struct SceneFrame {
    int frame;
    float seconds;
    SceneMode mode;
    int32_t target;  // the entity the marker was placed on; 0 when not placed
    bool drawn;
    float x, y;    // sprite centre on screen, 0 to 1
    float rest_y;  // the screen y of the point it sits on, before the bounce
    float width, height;
    float visibility;       // height over the configured size
    bool visibility_known;  // false when the size is 0: nothing tells it then
};

// Puts the scene's entities into a freshly reset world.
void scene_set_up(StandInWorld* world);

// The target the player focuses in the given frame; 0 for nothing.
int32_t scene_focus_at(int frame);

// The target the player focused last by the given frame (the first one
// before anything is focused): whom a frame without a marker is about.
int32_t scene_target_in_focus_by(int frame);

// Sets the world for the given frame (focus, timer).
void scene_before_frame(StandInWorld* world, int frame);

// Reads what the script did in a frame from its call record. size is the
// configured marker size, to tell the visibility from the drawn height.
SceneFrame scene_read_frame(const StandInFrame* record, int frame, float size);

// Runs the real marker script natively (not on Windows) through the whole
// scene, with its settings read from settings_path, into frames
// (kSceneFrameCount of them), and gives the settings it ran with. Returns
// false, running nothing, when the path cannot be used.
bool scene_run_script(const char* settings_path, SceneFrame* frames, Settings* settings);

// Prints the frame table: one line every `every` frames, and at each event.
void scene_print_table(const SceneFrame* frames, int count, int every, FILE* out);
