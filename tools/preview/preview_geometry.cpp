// The preview picture's geometry; see preview_geometry.h.
#include "preview_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const double kPi = 3.14159265358979323846;

// Frames after a target is taken up that the filmstrip shows: just taken up,
// growing, and a second later at full size.
const int kAfterTakenUp[] = {1, 15, kFramesPerSecond};
// Frames after focus is lost: the marker shrinking.
const int kAfterLost = 4;

// The frame of the event after event e; the scene's end after the last.
int next_event_frame(int e) { return e + 1 < kSceneEventCount ? kSceneEvents[e + 1].frame : kSceneFrameCount; }

}  // namespace

std::vector<int> filmstrip_frames() {
    std::vector<int> frames;
    for (int e = 0; e < kSceneEventCount; ++e) {
        const SceneEvent& event = kSceneEvents[e];
        if (event.target != 0) {
            for (int after : kAfterTakenUp) {
                if (event.frame + after < next_event_frame(e)) frames.push_back(event.frame + after);
            }
        } else if (e > 0 && kSceneEvents[e - 1].target != 0) {
            frames.push_back(std::min(event.frame + kAfterLost, kSceneFrameCount - 1));
        }
    }
    return frames;
}

CellWindow cell_window_for(const SceneFrame* frames, int count, int32_t target, float rotation_degrees) {
    CellWindow window = {0, 0, kCellWidthPixels / kScreenWidthPixels, kCellHeightPixels / kScreenHeightPixels};
    const SceneTarget* shape = scene_target(target);
    if (shape == nullptr) return window;
    float centre_x, feet_y;
    scene_to_screen(shape->x, shape->z - shape->height * 0.5f, &centre_x, &feet_y);
    window.left = centre_x - window.width / 2;
    window.top = feet_y - window.height * 0.85;
    // Room for the marker's highest point on this target, turned and
    // bouncing; a marker larger than the whole cell is clipped instead.
    for (int i = 0; i < count; ++i) {
        const SceneFrame& f = frames[i];
        MarkerPicture marker = marker_picture(f, rotation_degrees, window);
        if (f.drawn && f.target == target && !marker.larger_than_cell)
            window.top = std::min(window.top, f.y - marker.reach_height / kScreenHeightPixels / 2.0 - 0.01);
    }
    return window;
}

void world_to_cell(const CellWindow& window, float x, float z, double* px, double* py) {
    float screen_x, screen_y;
    scene_to_screen(x, z, &screen_x, &screen_y);
    *px = (screen_x - window.left) * kScreenWidthPixels;
    *py = (screen_y - window.top) * kScreenHeightPixels;
}

MarkerPicture marker_picture(const SceneFrame& frame, float rotation_degrees, const CellWindow& window) {
    MarkerPicture marker;
    marker.centre_x = (frame.x - window.left) * kScreenWidthPixels;
    marker.centre_y = (frame.y - window.top) * kScreenHeightPixels;
    // The game takes both sizes in screen units: the width in the screen's
    // width, the height in its height.
    marker.width = frame.width * kScreenWidthPixels;
    marker.height = frame.height * kScreenHeightPixels;
    marker.turn = rotation_degrees * kPi / 180.0;
    // Turned, the sprite reaches further: a square by 45 degrees, 1.41 times.
    double across = std::fabs(std::cos(marker.turn)), up = std::fabs(std::sin(marker.turn));
    marker.reach_width = marker.width * across + marker.height * up;
    marker.reach_height = marker.width * up + marker.height * across;
    marker.larger_than_cell = marker.reach_width > kCellWidthPixels || marker.reach_height > kCellHeightPixels;
    return marker;
}

std::string marker_progress(const SceneFrame* frames, int index, float size) {
    const SceneFrame& f = frames[index];
    if (!f.drawn) return "not drawn";
    if (size == 0) return "no size";
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.0f%%", f.visibility * 100.0f);
    if (f.visibility >= 0.995f) return "full size";
    bool shrinking = index > 0 && frames[index - 1].drawn && frames[index - 1].visibility > f.visibility;
    return std::string(shrinking ? "shrinking, " : "growing, ") + percent;
}
