// The preview picture's geometry, apart from its drawing: the 16:9 screen in
// pixels, the filmstrip's key frames (from the scene's events), the part of
// the screen a filmstrip cell shows, and where and how large the marker is in
// it. Plain arithmetic on the scene's frames; no drawing library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scene.h"

// Each filmstrip cell is a window onto a 16:9 screen kScreenHeightPixels high.
const double kCellWidthPixels = 127;
const double kCellHeightPixels = 200;
const double kScreenHeightPixels = 800;
const double kScreenWidthPixels = kScreenHeightPixels * 16.0 / 9.0;

// The filmstrip's frames, from the scene's events: a target just taken up,
// growing, at full size a second later while still held; and each loss of
// focus shortly after, while the marker shrinks.
std::vector<int> filmstrip_frames();

// The part of the screen a cell shows, in screen units (0 to 1 across and
// down), placed on one target: its feet near the bottom, and room above for
// the marker's highest bounce in the scene, turned by rotation_degrees.
struct CellWindow {
    double left, top, width, height;
};
CellWindow cell_window_for(const SceneFrame* frames, int count, int32_t target, float rotation_degrees);

// A point of the world (x across, z up, in metres) in a cell's pixels.
void world_to_cell(const CellWindow& window, float x, float z, double* px, double* py);

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

// How far the marker has come in a frame, for a cell's caption: "growing,
// 90%", "full size", "shrinking, 40%"; "no size" when size is 0.
std::string marker_progress(const SceneFrame* frames, int index, float size);
