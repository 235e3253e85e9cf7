// ondrelle-preview: see the marker without the game.
//
// Runs Ondrelle's real script natively against the stand-in world through a
// fixed scene (a target taken up, held, dropped, a second one taken while the
// marker shrinks) with the given settings, and draws what a player would see:
// the marker's size and screen height over time, and a filmstrip of it at
// key frames. A settings file with faults is refused with ondrelle-check's
// texts. Usage: ondrelle-preview [Ondrelle.ini] [-o out.png]   (also writes
// the picture as SVG beside the PNG, and prints the frame table)
#include <cstdio>
#include <cstring>
#include <string>

#include "preview_render.h"
#include "preview_scene.h"
#include "settings_report.h"

static std::string svg_path_for(const std::string& png_path) {
    size_t dot = png_path.rfind('.');
    size_t slash = png_path.rfind('/');
    bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (has_extension ? png_path.substr(0, dot) : png_path) + ".svg";
}

int main(int argc, char** argv) {
    std::string settings_path = ONDRELLE_DEFAULT_SETTINGS;
    std::string png_path = "ondrelle-preview.png";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
            png_path = argv[++i];
        } else if (argv[i][0] == '-') {
            std::fprintf(stderr, "usage: ondrelle-preview [Ondrelle.ini] [-o out.png]\n");
            return 2;
        } else {
            settings_path = argv[i];
        }
    }

    FILE* stream = std::fopen(settings_path.c_str(), "r");
    if (stream == nullptr) {
        std::printf("%s: cannot be opened.\n", settings_path.c_str());
        return 1;
    }
    bool clean = report_settings_file(stream, settings_path.c_str()).game_accepts;
    std::fclose(stream);
    if (!clean) {
        std::printf("No preview: fix the settings file first.\n");
        return 1;
    }

    static SceneFrame frames[kSceneFrameCount];
    PreviewLook look = {settings_path.c_str(), 0.0f, 255};
    if (!scene_run_script(settings_path.c_str(), frames, &look.size, &look.opacity)) {
        std::printf("%s: path too long.\n", settings_path.c_str());
        return 1;
    }
    std::printf("\n");
    scene_print_table(frames, kSceneFrameCount, 15, stdout);

    std::string svg_path = svg_path_for(png_path);
    if (!render_preview(frames, kSceneFrameCount, look, png_path.c_str(), svg_path.c_str())) {
        std::printf("Could not write %s or %s\n", png_path.c_str(), svg_path.c_str());
        return 1;
    }
    std::printf("\nPicture: %s and %s\n", png_path.c_str(), svg_path.c_str());
    return 0;
}
