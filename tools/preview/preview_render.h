// Draws the preview picture from a scene's frames: the marker's height and
// its screen height over time as charts, and a filmstrip of it at key frames,
// to scale on a 16:9 screen, above a plain silhouette of its target. Writes
// PNG or SVG (cairo).
#pragma once

#include <string>
#include <vector>

#include "config.h"
#include "preview_scene.h"

struct PreviewLook {
    const char* settings_name;  // what the title names: a file, or "default settings"
    Settings settings;          // the settings the scene ran with
};

// The filmstrip: the frames it shows, and its cells' size. Each cell is a
// window onto a 16:9 screen kScreenHeightPixels high.
extern const int kFilmstripFrames[];
extern const int kFilmstripFrameCount;
const double kCellWidthPixels = 127;
const double kCellHeightPixels = 200;
const double kScreenHeightPixels = 800;
const double kScreenWidthPixels = kScreenHeightPixels * 16.0 / 9.0;

// The part of the screen a cell shows, in screen units (0 to 1 across and
// down), placed on one target: its feet near the bottom, and room above for
// the marker's highest bounce in the scene, turned by rotation_degrees.
struct CellWindow {
    double left, top, width, height;
};
CellWindow cell_window_for(const SceneFrame* frames, int count, int32_t target, float rotation_degrees);

// The marker of a frame as drawn in a cell, in pixels from the cell's top
// left corner: its centre, its size, its turn (radians, clockwise), the box
// it covers once turned, and whether that box is larger than the cell (and
// so clipped).
struct MarkerPicture {
    double centre_x, centre_y;
    double width, height;
    double turn;
    double reach_width, reach_height;
    bool larger_than_cell;
};
MarkerPicture marker_picture(const SceneFrame& frame, float rotation_degrees, const CellWindow& window);

// One line for each setting that keeps the marker from ever being seen in
// the game; none when nothing does.
std::vector<std::string> reasons_nothing_shows(const Settings& settings);

// Writes the picture to path as PNG, or as SVG when svg is true. Returns
// false when the file could not be written.
bool render_preview(const SceneFrame* frames, int count, const PreviewLook& look, const char* path, bool svg);
