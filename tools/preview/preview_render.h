// Draws the preview picture from a scene's frames: the marker's height and its
// screen height over time as plots, and a filmstrip of the marker at key
// frames beneath. Writes PNG and SVG (cairo).
#pragma once

#include "preview_scene.h"

struct PreviewLook {
    const char* settings_name;  // shown in the title
    float size;                 // the configured full size
    int opacity;                // the configured alpha, 0 to 255
};

// The frames the filmstrip shows.
extern const int kFilmstripFrames[];
extern const int kFilmstripFrameCount;

// Writes the picture to png_path and/or svg_path (either may be null).
// Returns false when a file could not be written.
bool render_preview(const SceneFrame* frames, int count, const PreviewLook& look, const char* png_path,
                    const char* svg_path);
