// The preview picture, drawn with cairo onto a PNG or an SVG surface.
#include "preview_render.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cstdio>

// Fontconfig, under cairo's text, keeps its caches until the process ends;
// in the sanitizer build that is not a leak of ours to report.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

const double kWidth = 960;
const double kHeight = 700;
const double kLeft = 70;
const double kRight = 930;

struct Panel {
    double top, bottom;
    double low, high;   // the value range shown
    double label_sign;  // -1 where the values are plotted negated
};

double time_to_x(float seconds, int count) {
    double span = static_cast<double>(count) * kSceneFrameTime;
    return kLeft + (kRight - kLeft) * seconds / span;
}

double value_to_y(const Panel& panel, double value) {
    double share = (value - panel.low) / (panel.high - panel.low);
    return panel.bottom - share * (panel.bottom - panel.top);
}

void text(cairo_t* cr, double x, double y, double size, const char* words) {
    cairo_set_font_size(cr, size);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, words);
}

void draw_frame_box(cairo_t* cr, const Panel& panel, const char* title, int count) {
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, kLeft, panel.top, kRight - kLeft, panel.bottom - panel.top);
    cairo_stroke(cr);
    text(cr, kLeft, panel.top - 8, 13, title);
    char label[32];
    for (int second = 0; second * 60 <= count; ++second) {
        double x = time_to_x(static_cast<float>(second), count);
        std::snprintf(label, sizeof label, "%d s", second);
        text(cr, x - 8, panel.bottom + 14, 10, label);
    }
    std::snprintf(label, sizeof label, "%.4g", panel.high * panel.label_sign);
    text(cr, 8, panel.top + 10, 10, label);
    std::snprintf(label, sizeof label, "%.4g", panel.low * panel.label_sign);
    text(cr, 8, panel.bottom, 10, label);
}

void draw_events(cairo_t* cr, const Panel& panel, int count) {
    static const double dash[] = {3, 3};
    cairo_set_source_rgb(cr, 0.55, 0.55, 0.55);
    cairo_set_dash(cr, dash, 2, 0);
    for (int e = 0; e < kSceneEventCount; ++e) {
        double x = time_to_x(static_cast<float>(kSceneEvents[e].frame) * kSceneFrameTime, count);
        cairo_move_to(cr, x, panel.top);
        cairo_line_to(cr, x, panel.bottom);
        cairo_stroke(cr);
        text(cr, x + 3, panel.top + 12, 9, kSceneEvents[e].what);
    }
    cairo_set_dash(cr, nullptr, 0, 0);
}

double marker_height(const SceneFrame& f) { return f.height; }
// Screen y grows downwards; plotted negated, up on screen is up in the plot.
double marker_rise(const SceneFrame& f) { return -f.y; }

// A line through the frames in which the marker was drawn; the height plot
// drops to zero where it was not, the position plot leaves a gap.
void plot(cairo_t* cr, const SceneFrame* frames, int count, const Panel& panel, double (*value)(const SceneFrame&),
          bool gaps, double red, double green, double blue) {
    cairo_set_source_rgb(cr, red, green, blue);
    cairo_set_line_width(cr, 2);
    bool pen_down = false;
    for (int i = 0; i < count; ++i) {
        const SceneFrame& f = frames[i];
        if (!f.drawn && gaps) {
            pen_down = false;
            continue;
        }
        double x = time_to_x(f.seconds, count);
        double y = value_to_y(panel, f.drawn ? value(f) : 0.0);
        if (pen_down) {
            cairo_line_to(cr, x, y);
        } else {
            cairo_move_to(cr, x, y);
        }
        pen_down = true;
    }
    cairo_stroke(cr);
}

// The bounce only lifts the marker, so the lowest it is drawn on a target is
// where it rests on that target's anchor.
float resting_y(const SceneFrame* frames, int count, int32_t target) {
    float lowest = 0;
    for (int i = 0; i < count; ++i) {
        if (frames[i].drawn && frames[i].target == target) lowest = std::max(lowest, frames[i].y);
    }
    return lowest;
}

// The marker as a downward-pointing pin, width by height pixels, centred.
void draw_marker(cairo_t* cr, double x, double y, double width, double height, double alpha) {
    cairo_set_source_rgba(cr, 0.85, 0.2, 0.15, alpha);
    cairo_move_to(cr, x - width / 2, y - height / 2);
    cairo_line_to(cr, x + width / 2, y - height / 2);
    cairo_line_to(cr, x, y + height / 2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void draw_filmstrip(cairo_t* cr, const SceneFrame* frames, int count, const PreviewLook& look, double top) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    text(cr, kLeft, top - 8, 13, "The marker at key frames (screen region around the target, to scale)");
    const double cell = (kRight - kLeft) / kFilmstripFrameCount;
    const double cell_height = 120;
    // Screen units to pixels: a full-size marker is 60 pixels high.
    const double scale = look.size > 0 ? 60.0 / look.size : 0;
    for (int k = 0; k < kFilmstripFrameCount; ++k) {
        int index = std::min(kFilmstripFrames[k], count - 1);
        const SceneFrame& f = frames[index];
        double left = kLeft + k * cell;
        cairo_set_source_rgb(cr, 0.93, 0.93, 0.9);
        cairo_rectangle(cr, left + 2, top, cell - 4, cell_height);
        cairo_fill(cr);
        if (f.drawn) {
            double lift = (resting_y(frames, count, f.target) - f.y) * scale;
            // Widths are in units of the screen's width: on the scene's 16:9
            // screen a unit of width is 16/9 units of height.
            draw_marker(cr, left + cell / 2, top + cell_height * 0.6 - lift, f.width * scale * 16.0 / 9.0,
                        f.height * scale, std::clamp(look.opacity / 255.0, 0.05, 1.0));
        }
        char label[48];
        cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
        std::snprintf(label, sizeof label, "frame %d", f.frame);
        text(cr, left + 8, top + cell_height + 14, 10, label);
        std::snprintf(label, sizeof label, "%.2f s, %.0f%%", f.seconds, f.visibility * 100.0f);
        text(cr, left + 8, top + cell_height + 27, 10, label);
    }
}

void draw_picture(cairo_t* cr, const SceneFrame* frames, int count, const PreviewLook& look) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_source_rgb(cr, 0, 0, 0);
    char title[256];
    std::snprintf(title, sizeof title, "Ondrelle preview of %s, 60 frames a second", look.settings_name);
    text(cr, kLeft, 28, 16, title);

    Panel size_panel = {60, 250, 0, std::max(0.001, look.size * 1.1), 1};
    cairo_set_source_rgb(cr, 0, 0, 0);
    draw_frame_box(cr, size_panel, "Marker height on screen (size x visibility)", count);
    draw_events(cr, size_panel, count);
    plot(cr, frames, count, size_panel, marker_height, false, 0.15, 0.35, 0.75);

    double low = 1, high = 0;
    for (int i = 0; i < count; ++i) {
        if (!frames[i].drawn) continue;
        low = std::min(low, double(frames[i].y));
        high = std::max(high, double(frames[i].y));
    }
    if (high <= low) high = low + 0.01;
    double margin = (high - low) * 0.1;
    Panel rise_panel = {300, 460, -(high + margin), -(low - margin), -1};
    cairo_set_source_rgb(cr, 0, 0, 0);
    draw_frame_box(cr, rise_panel, "Marker's screen y (0 = top edge), bounce included; up is up", count);
    draw_events(cr, rise_panel, count);
    plot(cr, frames, count, rise_panel, marker_rise, true, 0.8, 0.35, 0.1);

    draw_filmstrip(cr, frames, count, look, 520);
}

}  // namespace

const int kFilmstripFrames[] = {31, 36, 45, 90, 119, 124, 130, 136, 150, 212, 222};
const int kFilmstripFrameCount = sizeof kFilmstripFrames / sizeof kFilmstripFrames[0];

bool render_preview(const SceneFrame* frames, int count, const PreviewLook& look, const char* png_path,
                    const char* svg_path) {
    bool ok = true;
    if (png_path != nullptr) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(kWidth), int(kHeight));
        cairo_t* cr = cairo_create(surface);
        draw_picture(cr, frames, count, look);
        cairo_destroy(cr);
        ok = cairo_surface_write_to_png(surface, png_path) == CAIRO_STATUS_SUCCESS && ok;
        cairo_surface_destroy(surface);
    }
    if (svg_path != nullptr) {
        cairo_surface_t* surface = cairo_svg_surface_create(svg_path, kWidth, kHeight);
        cairo_t* cr = cairo_create(surface);
        draw_picture(cr, frames, count, look);
        cairo_destroy(cr);
        cairo_surface_finish(surface);
        ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS && ok;
        cairo_surface_destroy(surface);
    }
    return ok;
}
