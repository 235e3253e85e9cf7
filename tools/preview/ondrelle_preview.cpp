// ondrelle-preview: see the marker without the game.
//
// Runs Ondrelle's real script natively against the stand-in world through a
// fixed scene (a person taken up, held, dropped, an animal taken while the
// marker shrinks) with the given settings, or the built-in defaults, and
// draws what a player would see: the marker's size and screen height over
// time, and a filmstrip of it to scale above its target. A settings file the
// game would not accept cleanly is refused with ondrelle-check's report.
#include <cstdio>
#include <string>
#include <vector>

#include "config.h"
#include "console_text.h"
#include "default_settings.h"
#include "host/module_paths.h"
#include "plain_text.h"
#include "preview_render.h"
#include "scene.h"
#include "settings_report.h"
#include "settings_rules.h"
#include "tool_platform.h"

static const char kUsage[] =
    "Usage: ondrelle-preview [SETTINGS.ini] [-o FILE.png | -o FILE.svg]\n"
    "Runs Ondrelle's marker script through a short scene with the given settings\n"
    "(without SETTINGS.ini: the default settings, built in) and draws what you would\n"
    "see: the marker's size and height over time, and a filmstrip of it to scale.\n"
    "\n"
    "  -o FILE     write the picture to FILE, as PNG or SVG by its extension;\n"
    "              without -o: ondrelle-preview.png and ondrelle-preview.svg\n"
    "              in the current folder\n"
    "  --version   print the version and exit\n"
    "  -h, --help  print this help and exit\n";

struct Output {
    std::string path;
    bool svg;
};

struct PreviewOptions {
    bool defaults = true;       // no settings file named: the built-in defaults
    std::string settings_path;  // the settings file named
    std::vector<Output> outputs;
};

// The status read_command_line gives when the preview is to run.
const int kRunThePreview = -1;

static int usage_error(const std::string& what) {
    std::fprintf(stderr, "ondrelle-preview: %s\n\n%s", what.c_str(), kUsage);
    return 2;
}

// Reads the command line into options. Returns kRunThePreview, or the exit
// status when the program ends without a preview (help, version, a usage
// error).
static int read_command_line(int argc, char** argv, PreviewOptions* options) {
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argument == "--version") {
            std::printf("ondrelle-preview %s\n", ONDRELLE_VERSION);
            return 0;
        } else if (argument == "-o") {
            if (i + 1 == argc) return usage_error("-o needs a file name");
            std::string path = argv[++i];
            if (!ends_with_any_case(path, ".png") && !ends_with_any_case(path, ".svg"))
                return usage_error("-o " + path + ": the file name must end in .png or .svg");
            options->outputs.push_back(Output{path, ends_with_any_case(path, ".svg")});
        } else if (argument.size() > 1 && argument[0] == '-') {
            return usage_error(unknown_option_text(argument, {"--version", "--help"}));
        } else if (!options->defaults) {
            return usage_error("one settings file at a time");
        } else {
            options->defaults = false;
            options->settings_path = argument;
        }
    }
    if (options->outputs.empty()) options->outputs = {{"ondrelle-preview.png", false}, {"ondrelle-preview.svg", true}};
    return kRunThePreview;
}

// Whether every picture's folder is there, said before any work is done.
static bool output_folders_exist(const std::vector<Output>& outputs) {
    for (const Output& output : outputs) {
        if (tool_folder_of_file_exists(output.path.c_str())) continue;
        std::fprintf(stderr, "ondrelle-preview: cannot write %s: its folder does not exist.\n",
                     tool_full_path(output.path).c_str());
        return false;
    }
    return true;
}

// Whether the game would take the settings file cleanly; prints the
// checker's report when it would not.
static bool settings_accepted(const std::string& path) {
    FILE* stream = tool_open_for_reading(path.c_str());
    if (stream == nullptr) {
        print_part(unreadable_file_part("ondrelle-preview", path.c_str()));
        return false;
    }
    bool accepted = game_accepts_settings_file(stream);
    if (!accepted) {
        std::rewind(stream);
        print_part(settings_report_part(read_settings_report(stream), path, false));
        std::printf("No preview: fix the settings file first.\n");
    }
    std::fclose(stream);
    return accepted;
}

// Runs the real script through the scene with the settings asked for, into
// frames and look; false, after saying why, when it cannot. The built-in
// defaults are run from a temporary file, removed again.
static bool run_the_scene(const PreviewOptions& options, SceneFrame* frames, PreviewLook* look) {
    if (!options.defaults && !settings_accepted(options.settings_path)) return false;
    std::string run_path =
        options.defaults ? tool_write_temp_file(kDefaultSettingsText, ".ini") : options.settings_path;
    if (run_path.empty()) {
        std::fprintf(stderr, "ondrelle-preview: cannot write the default settings to the temporary folder.\n");
        return false;
    }
    bool ran = scene_run_script(run_path.c_str(), frames, &look->settings);
    if (options.defaults) std::remove(run_path.c_str());
    if (!ran)
        std::fprintf(stderr, "ondrelle-preview: %s: the path is longer than the plug-in takes (%u characters).\n",
                     run_path.c_str(), static_cast<unsigned>(kPathCapacity - 1));
    return ran;
}

// The frame table, and what the settings do to the marker in the checker's
// own words, which go under the picture's title too, wrapped to its width:
// some 140 characters of its small type.
static void print_what_the_scene_shows(const SceneFrame* frames, PreviewLook* look) {
    std::printf(
        "The marker through the preview scene with %s, every 15th frame and at each event\n"
        "(sprite x and y: its centre on the screen, 0 to 1; width and height: shares of the screen):\n\n",
        look->settings_name);
    scene_print_table(frames, kSceneFrameCount, 15, stdout);
    const size_t kTitleLineWidth = 140;
    std::printf("\n");
    for (const RuleNote& note : notes_on_settings(look->settings)) {
        print_wrapped(stdout, "", note.text, 2);
        for (const std::string& line : wrapped_lines("", note.text, 2, kTitleLineWidth))
            look->settings_lines.push_back(TitleLine{line, note.outcome != rule_hides_as_asked});
    }
}

int main(int argc, char** argv) {
    PreviewOptions options;
    int status = read_command_line(argc, argv, &options);
    if (status != kRunThePreview) return status;
    if (!output_folders_exist(options.outputs)) return 1;
    static SceneFrame frames[kSceneFrameCount];
    PreviewLook look = {options.defaults ? "default settings" : options.settings_path.c_str(), Settings{}, {}};
    if (!run_the_scene(options, frames, &look)) return 1;
    print_what_the_scene_shows(frames, &look);
    for (const Output& output : options.outputs) {
        if (!render_preview(frames, kSceneFrameCount, look, output.path.c_str(), output.svg)) {
            std::fprintf(stderr, "ondrelle-preview: could not write %s.\n", output.path.c_str());
            return 1;
        }
        std::printf("Picture: %s\n", output.path.c_str());
    }
    return 0;
}
