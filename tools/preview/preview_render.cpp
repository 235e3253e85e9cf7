// The preview picture, drawn with cairo onto a PNG or an SVG surface: the
// charts of the marker's height and bounce over the scene, and the filmstrip
// of key frames to scale. Where things go is preview_geometry's; this file
// only draws them.
#include "preview_render.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "preview_geometry.h"

namespace {

const double kLeft = 70;
const double kMargin = 30;
const double kPi = 3.14159265358979323846;

// The bounce chart's fixed scale: a lift of up to this share of the screen's
// height, the same in every picture, so that two can be compared.
const double kBounceScale = 0.03;

// Where the parts of the picture go, below the title and its lines.
struct Layout {
    double right;  // the charts' right edge: as wide as the filmstrip
    double width;
    double charts_top;
    double filmstrip_top;
    double height;
};

// Room for the title's lines and the filmstrip's cells; none for cells when
// there is no filmstrip to draw.
Layout layout_for(size_t title_lines, size_t cells) {
    double right = kLeft + kCellWidthPixels * static_cast<double>(std::max<size_t>(cells, 7));
    double top = 52 + 16.0 * static_cast<double>(title_lines);
    double filmstrip_height = cells > 0 ? kCellHeightPixels + 60 : 10;
    return Layout{right, right + kMargin, top, top + 480, top + 480 + filmstrip_height};
}

struct Panel {
    double left, right;
    double top, bottom;
    double low, high;  // the value range shown
};

double time_to_x(const Panel& panel, float seconds, int count) {
    double span = static_cast<double>(count) * kSceneFrameTime;
    return panel.left + (panel.right - panel.left) * seconds / span;
}

double value_to_y(const Panel& panel, double value) {
    double share = (std::min(value, panel.high) - panel.low) / (panel.high - panel.low);
    return panel.bottom - share * (panel.bottom - panel.top);
}

void text(cairo_t* cr, double x, double y, double size, const std::string& words) {
    cairo_set_font_size(cr, size);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, words.c_str());
}

std::string format(const char* pattern, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

void draw_frame_box(cairo_t* cr, const Panel& panel, const char* title, int count) {
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, panel.left, panel.top, panel.right - panel.left, panel.bottom - panel.top);
    cairo_stroke(cr);
    text(cr, panel.left, panel.top - 8, 13, title);
    for (int second = 0; second * kFramesPerSecond <= count; ++second) {
        double x = time_to_x(panel, static_cast<float>(second), count);
        text(cr, x - 8, panel.bottom + 14, 10, format("%.0f s", second));
    }
    text(cr, 8, panel.top + 10, 10, format("%.4g", panel.high));
    text(cr, 8, panel.bottom, 10, format("%.4g", panel.low));
}

// The scene's events as dashed lines, each labelled in the first row where
// its label does not run into the one before it.
void draw_events(cairo_t* cr, const Panel& panel, int count) {
    static const double dash[] = {3, 3};
    const int kRows = 3;
    double row_ends[kRows] = {-1e9, -1e9, -1e9};
    cairo_set_font_size(cr, 9);
    for (int e = 0; e < kSceneEventCount; ++e) {
        double x = time_to_x(panel, static_cast<float>(kSceneEvents[e].frame) * kSceneFrameTime, count);
        cairo_set_source_rgb(cr, 0.55, 0.55, 0.55);
        cairo_set_dash(cr, dash, 2, 0);
        cairo_move_to(cr, x, panel.top);
        cairo_line_to(cr, x, panel.bottom);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_text_extents_t extents;
        cairo_text_extents(cr, kSceneEvents[e].what, &extents);
        int row = 0;
        while (row < kRows - 1 && x + 3 < row_ends[row] + 4) ++row;
        row_ends[row] = x + 3 + extents.x_advance;
        cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
        text(cr, x + 3, panel.top + 12 + 11 * row, 9, kSceneEvents[e].what);
    }
}

double marker_height(const SceneFrame& f) { return f.height; }
// Screen y grows downwards: the lift is how far above its resting point.
double marker_lift(const SceneFrame& f) { return f.rest_y - f.y; }

// A line through the frames in which the marker was drawn; the height chart
// drops to zero where it was not, the position chart leaves a gap.
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
        double x = time_to_x(panel, f.seconds, count);
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

void draw_charts(cairo_t* cr, const SceneFrame* frames, int count, const PreviewLook& look, const Layout& layout) {
    double largest = look.settings.size;
    for (int i = 0; i < count; ++i) largest = std::max(largest, static_cast<double>(frames[i].height));
    double top = layout.charts_top;
    Panel size_panel = {kLeft, layout.right, top + 20, top + 190, 0, std::max(0.001, largest * 1.1)};
    draw_frame_box(cr, size_panel, "Marker height on screen, as a share of the screen's height (size x visibility)",
                   count);
    draw_events(cr, size_panel, count);
    plot(cr, frames, count, size_panel, marker_height, false, 0.15, 0.35, 0.75);

    Panel lift_panel = {kLeft, layout.right, top + 240, top + 400, 0, kBounceScale};
    draw_frame_box(cr, lift_panel,
                   "Bounce: how far the marker is lifted above where it sits, as a share of the screen's height "
                   "(fixed scale)",
                   count);
    draw_events(cr, lift_panel, count);
    plot(cr, frames, count, lift_panel, marker_lift, true, 0.8, 0.35, 0.1);
    // A bounce higher than the scale runs along its top edge: say so.
    bool beyond = false;
    for (int i = 0; i < count; ++i) beyond = beyond || (frames[i].drawn && marker_lift(frames[i]) > kBounceScale);
    if (beyond) {
        cairo_set_source_rgb(cr, 0.7, 0.1, 0.1);
        text(cr, layout.right - 230, lift_panel.bottom - 6, 10, "the bounce goes beyond this scale");
    }
}

// ---- The filmstrip ----

// An ellipse around a world point, its radii in metres.
void world_ellipse(cairo_t* cr, const CellWindow& window, float x, float z, float across, float up) {
    double px, py;
    world_to_cell(window, x, z, &px, &py);
    double metre = kSceneMetresToScreen * kScreenHeightPixels;
    cairo_save(cr);
    cairo_translate(cr, px, py);
    cairo_scale(cr, across * metre, up * metre);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
}

// A rectangle of the world, from its lower left corner, in metres.
void world_box(cairo_t* cr, const CellWindow& window, float x, float z, float across, float up) {
    double px, py;
    world_to_cell(window, x, z + up, &px, &py);
    double metre = kSceneMetresToScreen * kScreenHeightPixels;
    cairo_rectangle(cr, px, py, across * metre, up * metre);
}

// A plain grey figure of the target: a person with the head at the head
// bone, or a four-legged animal as tall as the game says it is.
void draw_silhouette(cairo_t* cr, const CellWindow& window, const SceneTarget& target) {
    cairo_set_source_rgb(cr, 0.55, 0.56, 0.6);
    float feet = target.z - target.height * 0.5f;
    float x = target.x;
    if (target.kind == stand_in_human) {
        float head = target.head_z > 0 ? target.head_z : feet + target.height * 0.92f;
        world_ellipse(cr, window, x, head, 0.11f, 0.13f);
        world_box(cr, window, x - 0.2f, feet + 0.85f, 0.4f, head - 0.15f - (feet + 0.85f));  // body
        world_box(cr, window, x - 0.18f, feet, 0.15f, 0.87f);                                // legs
        world_box(cr, window, x + 0.03f, feet, 0.15f, 0.87f);
    } else {
        float h = target.height;
        world_ellipse(cr, window, x, feet + h * 0.6f, h * 0.45f, h * 0.17f);  // body
        world_box(cr, window, x - h * 0.38f, feet, h * 0.07f, h * 0.55f);     // legs
        world_box(cr, window, x + h * 0.31f, feet, h * 0.07f, h * 0.55f);
        world_box(cr, window, x + h * 0.3f, feet + h * 0.6f, h * 0.1f, h * 0.3f);          // neck
        world_ellipse(cr, window, x + h * 0.42f, feet + h * 0.92f, h * 0.12f, h * 0.07f);  // head
    }
    cairo_fill(cr);
}

// The marker: its sprite's extent, turned, with a five-pointed star in it
// that stands in for the game's texture; its top point shows the turn.
void draw_marker(cairo_t* cr, const MarkerPicture& marker, int opacity) {
    double alpha = std::clamp(opacity / 255.0, 0.0, 1.0);
    cairo_save(cr);
    cairo_translate(cr, marker.centre_x, marker.centre_y);
    cairo_rotate(cr, marker.turn);
    cairo_scale(cr, marker.width / 2, marker.height / 2);
    cairo_rectangle(cr, -1, -1, 2, 2);
    cairo_set_source_rgba(cr, 0.95, 0.85, 0.3, alpha * 0.35);
    cairo_fill(cr);
    for (int point = 0; point < 10; ++point) {
        double radius = point % 2 == 0 ? 1.0 : 0.42;
        double angle = -kPi / 2 + point * kPi / 5;
        if (point == 0) {
            cairo_move_to(cr, radius * std::cos(angle), radius * std::sin(angle));
        } else {
            cairo_line_to(cr, radius * std::cos(angle), radius * std::sin(angle));
        }
    }
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 0.85, 0.2, 0.15, alpha);
    cairo_fill(cr);
    cairo_restore(cr);
}

void draw_cell(cairo_t* cr, const SceneFrame* frames, int count, const PreviewLook& look, int frame_index, double left,
               double top) {
    const SceneFrame& f = frames[frame_index];
    cairo_save(cr);
    cairo_rectangle(cr, left + 2, top, kCellWidthPixels - 4, kCellHeightPixels);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 0.86, 0.9, 0.93);
    cairo_paint(cr);
    cairo_translate(cr, left, top);
    int32_t shown = f.target != 0 ? f.target : scene_target_in_focus_by(f.frame);
    const SceneTarget* target = scene_target(shown);
    CellWindow window = cell_window_for(frames, count, shown, look.settings.rotation);
    if (target != nullptr) draw_silhouette(cr, window, *target);
    // What the script drew, as it drew it: with no target kept it draws nothing.
    MarkerPicture marker = marker_picture(f, look.settings.rotation, window);
    if (f.drawn) draw_marker(cr, marker, look.settings.opacity);
    cairo_restore(cr);

    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    std::string caption = "frame " + std::to_string(f.frame);
    if (target != nullptr) caption += ", " + std::string(target->label);
    text(cr, left + 6, top + kCellHeightPixels + 14, 10, caption);
    text(cr, left + 6, top + kCellHeightPixels + 27, 10,
         format("%.2f s, ", f.seconds) + marker_progress(frames, frame_index, look.settings.size));
    if (f.drawn && marker.larger_than_cell) {
        cairo_set_source_rgb(cr, 0.7, 0.1, 0.1);
        text(cr, left + 6, top + kCellHeightPixels + 40, 10, "clipped: larger");
    }
}

void draw_filmstrip(cairo_t* cr, const SceneFrame* frames, int count, const PreviewLook& look, double top) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    // With no size there is nothing to draw to scale: say so instead.
    if (look.settings.size == 0) {
        text(cr, kLeft, top - 26, 12, "No filmstrip: size is 0, so the marker has no size to draw at any frame.");
        return;
    }
    char caption[256];
    std::snprintf(caption, sizeof caption,
                  "The marker at key frames, to scale: each cell is a window %.1f%% of the width and %.0f%% of the "
                  "height of a 16:9 screen,",
                  kCellWidthPixels / kScreenWidthPixels * 100, kCellHeightPixels / kScreenHeightPixels * 100);
    text(cr, kLeft, top - 42, 12, caption);
    std::snprintf(caption, sizeof caption,
                  "drawn %.0f x %.0f pixels. The star in its pale square (the sprite's extent) stands in for the "
                  "game's texture %s/%s,",
                  kScreenWidthPixels, kScreenHeightPixels, look.settings.texture_dict, look.settings.texture_name);
    text(cr, kLeft, top - 26, 12, caption);
    text(cr, kLeft, top - 10, 12, "turned by rotation, with opacity as its alpha.");
    std::vector<int> key_frames = filmstrip_frames();
    for (size_t k = 0; k < key_frames.size(); ++k) {
        draw_cell(cr, frames, count, look, std::min(key_frames[k], count - 1),
                  kLeft + static_cast<double>(k) * kCellWidthPixels, top);
    }
}

// The lines under the title: the settings rules', or a plain word when the
// marker is not drawn in the scene for another reason.
std::vector<TitleLine> title_lines(const SceneFrame* frames, int count, const PreviewLook& look) {
    std::vector<TitleLine> lines = look.settings_lines;
    bool drawn = false;
    for (int i = 0; i < count; ++i) drawn = drawn || frames[i].drawn;
    if (lines.empty() && !drawn)
        lines.push_back(TitleLine{"The marker is not drawn at any frame of this scene.", true});
    return lines;
}

void draw_picture(cairo_t* cr, const SceneFrame* frames, int count, const PreviewLook& look, const Layout& layout) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_source_rgb(cr, 0, 0, 0);
    text(cr, kLeft, 28, 16,
         std::string("Ondrelle preview of ") + look.settings_name + ", " + std::to_string(kFramesPerSecond) +
             " frames a second");

    std::vector<TitleLine> lines = title_lines(frames, count, look);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].warning) {
            cairo_set_source_rgb(cr, 0.75, 0.1, 0.1);
        } else {
            cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        }
        text(cr, kLeft, 48 + 16.0 * static_cast<double>(i), 12, lines[i].words);
    }

    draw_charts(cr, frames, count, look, layout);
    draw_filmstrip(cr, frames, count, look, layout.filmstrip_top);
}

}  // namespace

bool render_preview(const SceneFrame* frames, int count, const PreviewLook& look, const char* path, bool svg) {
    size_t cells = look.settings.size != 0 ? filmstrip_frames().size() : 0;
    Layout layout = layout_for(title_lines(frames, count, look).size(), cells);
    cairo_surface_t* surface = svg ? cairo_svg_surface_create(path, layout.width, layout.height)
                                   : cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(layout.width),
                                                                static_cast<int>(layout.height));
    cairo_t* cr = cairo_create(surface);
    draw_picture(cr, frames, count, look, layout);
    cairo_destroy(cr);
    bool ok;
    if (svg) {
        cairo_surface_finish(surface);
        ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    } else {
        ok = cairo_surface_write_to_png(surface, path) == CAIRO_STATUS_SUCCESS;
    }
    cairo_surface_destroy(surface);
    return ok;
}
