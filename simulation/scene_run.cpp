// Runs the real marker script natively through the preview scene, against
// the stand-in world: what ondrelle-preview draws, and what its tests check.
#include "host/module_paths.h"
#include "host/script_hook.h"
#include "platform/platform_posix.h"
#include "scene.h"
#include "script_main.h"

bool scene_run_script(const char* settings_path, SceneFrame* frames, Settings* settings) {
    if (!utf8_to_wide_path(settings_path, config_path, kPathCapacity)) return false;
    log_path[0] = 0;
    StandInWorld* world = stand_in_world();
    stand_in_reset_world(world);
    scene_set_up(world);
    static ScriptState state;  // large; one scene at a time
    stand_in_begin_frame(stand_in_frame());
    script_start(&state);
    for (int frame = 0; frame < kSceneFrameCount; ++frame) {
        scene_before_frame(world, frame);
        stand_in_begin_frame(stand_in_frame());
        script_pass(&state);
        scriptWait(0);
        frames[frame] = scene_read_frame(stand_in_frame(), frame, state.settings.size);
    }
    *settings = state.settings;
    return true;
}
