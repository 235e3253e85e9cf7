// Draws the preview picture from a scene's frames: the marker's height and
// its bounce over time as charts, and a filmstrip of it at key frames, to
// scale on a 16:9 screen, above a plain figure of its target. Writes PNG or
// SVG (cairo). What goes where is preview_geometry's.
#pragma once

#include <string>
#include <vector>

#include "config.h"
#include "scene.h"

// A line under the title. A warning (likely not meant) is red; a line on
// what a setting was asked to do is in the plain text's grey.
struct TitleLine {
    std::string words;
    bool warning;
};

struct PreviewLook {
    const char* settings_name;              // what the title names: a file, or "default settings"
    Settings settings;                      // the settings the scene ran with
    std::vector<TitleLine> settings_lines;  // under the title: what the settings do to the marker
};

// Writes the picture to path as PNG, or as SVG when svg is true. Returns
// false when the file could not be written.
bool render_preview(const SceneFrame* frames, int count, const PreviewLook& look, const char* path, bool svg);
