// ondrelle-check: answers "why is there no marker?" without starting the game.
//
// With no file named it looks at a game folder (the current one, where a
// double-click starts it, or --game-folder): it gathers the folder's evidence
// (game_folder.h), weighs it all together (verdict.h), and prints the report
// built from the verdict's parts and the settings report (report.h). Named
// files are checked as settings files alone, as mod packagers' scripts
// expect. Exit status: 0 when nothing found keeps the marker from showing (and,
// with --strict, no settings file has notes), 1 when something does or a file
// cannot be read, 2 for a usage error.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "console_text.h"
#include "file_version.h"
#include "game_folder.h"
#include "plain_text.h"
#include "report.h"
#include "report_file.h"
#include "settings_report.h"
#include "tool_platform.h"
#include "verdict.h"
#include "verdict_plugin_log.h"

static const char kUsage[] =
    "Usage: ondrelle-check [--strict] [--game-folder DIR] [--] [FILE...]\n"
    "Answers \"why is there no marker?\" without starting the game.\n"
    "\n"
    "With no FILE it looks at the game's folder: the current folder (where a\n"
    "double-click starts it), or DIR. It reports the game, the script hook, the\n"
    "ASI loader and Ondrelle.asi, reads the hook's and the loader's logs, checks\n"
    "the Ondrelle.ini beside Ondrelle.asi as the game reads it, explains\n"
    "Ondrelle.log line by line, and sums up what keeps the marker from showing.\n"
    "It also writes what it printed to ondrelle-check-report.txt beside itself\n"
    "(or in the temporary folder), your user name taken out, to attach when you\n"
    "ask for help.\n"
    "\n"
    "With FILE it checks those settings files alone: what the game's log would\n"
    "say, the verdict (the game accepts it, or shows an error instead of the\n"
    "marker), then its notes: the line, what is wrong or likely not meant, and\n"
    "how to fix it. A FILE ending in .log is explained as Ondrelle.log, against\n"
    "the Ondrelle.ini beside it. With --game-folder as well, it looks at the\n"
    "folder too.\n"
    "\n"
    "  --game-folder DIR  look at the game's folder DIR\n"
    "  --strict           notes on a settings file count as faults too\n"
    "                     (for mod packagers)\n"
    "  --version          print the version and exit\n"
    "  -h, --help, /?     print this help and exit\n"
    "  --                 what follows is a file name, even when it starts with -\n"
    "\n"
    "Exit status: 0 when nothing found keeps the marker from showing (with\n"
    "--strict: and no settings file has notes), 1 when something does or a\n"
    "file cannot be read, 2 for a wrong command line.\n";

struct Options {
    bool strict = false;
    const char* game_folder = nullptr;  // --game-folder; null when not given
    std::vector<const char*> files;
};

// What a file named on the command line is, by its name and its bytes.
enum NamedFile { named_settings, named_log, named_program };

static NamedFile kind_of_named(const char* path) {
    std::string bytes;
    if (ends_with_any_case(path, ".asi") || (tool_read_file(path, &bytes) && pe_file_has_header(bytes)))
        return named_program;
    return ends_with_any_case(path, ".log") ? named_log : named_settings;
}

// A program named as if it were a settings file: Ondrelle.asi, most often.
static ReportPart program_part(const char* path) {
    return ReportPart{path,
                      {Paragraph{"",
                                 "This is a program (Ondrelle.asi is the plug-in itself), not a settings file: "
                                 "ondrelle-check checks Ondrelle.ini. To look at the whole installation, "
                                 "double-click ondrelle-check.exe in the game's folder, or name that folder "
                                 "with --game-folder.",
                                 2}},
                      {},
                      false};
}

// Explains a log named on the command line as Ondrelle.log; true when
// nothing in it keeps the marker from showing.
static bool check_log(const char* path) {
    std::string full = tool_full_path(path);
    std::string folder = full.substr(0, full.find_last_of(kToolPathSeparator));
    PluginFolder beside = plugin_folder_at(folder.empty() ? std::string(1, kToolPathSeparator) : folder, "");
    beside.log =
        LogFile{full.substr(full.find_last_of(kToolPathSeparator) + 1), full, false, 0, "", unreadable_missing};
    beside.log.read = tool_read_file(full, &beside.log.bytes) && tool_last_write_time(full, &beside.log.written);
    beside.entries = plugin_log_entries(beside.log.bytes);
    // The settings file beside it first, as the game read it: what the log
    // says of its lines is set against it, and its verdict counts, as in a
    // look at the game's folder.
    std::vector<ReportPart> parts;
    if (beside.settings_checked)
        parts.push_back(settings_report_part(beside.settings_report, beside.settings.path, false));
    parts.push_back(report_part_of(named_log_part(beside)));
    parts.push_back(summary_part(parts));
    print_report(parts);
    return report_passes(parts);
}

// Checks one file named on the command line: a settings file, Ondrelle.log,
// or a program named by mistake; true when it passes. *printed says whether
// a report was printed before, and is set when one is now.
static bool check_file(const char* path, bool strict, bool* printed) {
    FILE* stream = tool_open_for_reading(path);
    if (stream == nullptr) {
        print_part(unreadable_file_part("ondrelle-check", path));
        return false;
    }
    // Reports are set apart by a blank line; a file that cannot be read
    // prints nothing here to set apart.
    if (*printed) std::printf("\n");
    *printed = true;
    NamedFile kind = kind_of_named(path);
    if (kind != named_settings) {
        std::fclose(stream);
        if (kind == named_log) return check_log(path);
        print_part(program_part(path));
        return false;
    }
    SettingsReport report = read_settings_report(stream);
    std::fclose(stream);
    print_part(settings_report_part(report, path, strict));
    return settings_pass(report, strict);
}

// Why the folder given cannot be looked at; empty when it can.
static std::string folder_refused(const char* folder) {
    ToolEntryKind kind = tool_entry_kind(folder);
    if (kind == entry_folder) return "";
    std::string shown = "\"" + tool_full_path(folder) + "\"";
    // No Windows name holds a quote: this one most likely came from
    // "D:\Games\RDR2\", where the command line reads the last backslash
    // and quote as a quote in the name (and takes what follows along).
    if (std::strchr(folder, '"') != nullptr)
        return "there is no folder " + shown +
               ": a backslash right before a closing quote makes the quote part of the name; leave out that last "
               "backslash.";
    if (kind == entry_missing) return "there is no folder " + shown + ": name the folder that holds RDR2.exe.";
    return shown + " is a file, not a folder: name the folder that holds RDR2.exe.";
}

// The game's folder, its logs and its settings file; true when nothing
// found keeps the marker from showing (and, with --strict, no note on the
// settings counts as a fault). named: the folder was given on the command
// line. What was printed is also written as the report file; *report is set
// to the part that says where it is.
static bool check_game_folder(const char* folder, bool named, bool strict, ReportPart* report) {
    std::string refused = folder_refused(folder);
    if (!refused.empty()) {
        print_part(ReportPart{"", {Paragraph{"ondrelle-check: ", refused, 2}}, {}, true});
        return false;
    }
    GameFolder game = look_at_game_folder(folder, named);
    std::vector<ReportPart> parts = game_folder_report(weigh_game_folder(game, ONDRELLE_VERSION), strict);
    print_report(parts);
    *report = report_file_part(write_report_file(parts));
    return report_passes(parts);
}

static bool is_help(const char* argument) {
    return std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "/?") == 0;
}

static int usage_error(const std::string& what) {
    std::fprintf(stderr, "ondrelle-check: %s\n\n%s", what.c_str(), kUsage);
    return 2;
}

static int check_main(int argc, char** argv) {
    Options options;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (!options_end && is_help(argument)) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (options_end || argument[0] != '-' || argument[1] == 0) {
            // A lone "-" is a file's name too.
            options.files.push_back(argument);
        } else if (std::strcmp(argument, "--") == 0) {
            options_end = true;
        } else if (std::strcmp(argument, "--strict") == 0) {
            options.strict = true;
        } else if (std::strcmp(argument, "--game-folder") == 0) {
            if (i + 1 == argc) return usage_error("--game-folder needs the folder that holds RDR2.exe");
            // One game is looked at: a second folder would silently replace the first.
            if (options.game_folder != nullptr) return usage_error("--game-folder is given twice: name one folder");
            options.game_folder = argv[++i];
        } else if (std::strcmp(argument, "--version") == 0) {
            std::printf("ondrelle-check %s\n", ONDRELLE_VERSION);
            return 0;
        } else {
            return usage_error(unknown_option_text(argument, {"--strict", "--game-folder", "--version", "--help"}));
        }
    }
    bool all_pass = true;
    bool printed = false;
    ReportPart report = {};
    if (options.game_folder != nullptr || options.files.empty()) {
        bool named = options.game_folder != nullptr;
        all_pass = check_game_folder(named ? options.game_folder : ".", named, options.strict, &report);
        printed = true;
    }
    for (const char* file : options.files) all_pass = check_file(file, options.strict, &printed) && all_pass;
    // Where the report is, last: just above the prompt of a double-click.
    if (!report.paragraphs.empty()) {
        std::printf("\n");
        print_part(report);
    }
    return all_pass ? 0 : 1;
}

#if defined(_WIN32)
// Wide arguments, turned into UTF-8 like everything the tool prints, so that
// a file in a folder of any script is named and opened correctly.
int wmain(int argc, wchar_t** argv) {
    bool own_console = tool_console_is_own();
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(tool_utf8_from_wide(argv[i]));
    std::vector<char*> pointers;
    for (std::string& argument : arguments) pointers.push_back(&argument[0]);
    pointers.push_back(nullptr);
    int status = check_main(argc, pointers.data());
    std::fflush(stdout);
    // Double-clicked: keep the window open until the player has read it.
    if (own_console) tool_wait_for_enter();
    return status;
}
#else
int main(int argc, char** argv) { return check_main(argc, argv); }
#endif
