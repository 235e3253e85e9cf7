// ondrelle-check: checks settings files without starting the game.
//
// For each file it prints what the game's log would say about it and whether
// the game accepts it or shows an error, then its own notes on where, what
// and how to fix it (settings_report.h). Exit status: 0 when the game accepts
// every file cleanly (and, with --strict, none has notes), 1 when not or when
// a file cannot be read, 2 for a usage error.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "settings_report.h"
#include "tool_platform.h"

static const char kUsage[] =
    "Usage: ondrelle-check [--strict] [--] [FILE...]\n"
    "Checks Ondrelle settings files as the game reads them, without starting the game.\n"
    "With no FILE it checks Ondrelle.ini in the current folder.\n"
    "\n"
    "For each file it prints what the game's log (Ondrelle.log) would say, the verdict\n"
    "(the game accepts it cleanly, or shows an error instead of the marker), then its\n"
    "own notes: the line, what is wrong or likely not meant, and how to fix it.\n"
    "\n"
    "  --strict        notes count as faults too (for mod packagers)\n"
    "  --version       print the version and exit\n"
    "  -h, --help, /?  print this help and exit\n"
    "  --              what follows is a file name, even when it starts with -\n"
    "\n"
    "Exit status: 0 when the game accepts every file cleanly (with --strict: and no file\n"
    "has notes), 1 when not or when a file cannot be read, 2 for a wrong command line.\n";

// Checks one file; true when it passes. named_none: the player named no
// file, so the one checked is the current folder's Ondrelle.ini. *printed
// says whether a report was printed before, and is set when one is now.
static bool check_file(const char* path, bool strict, bool named_none, bool* printed) {
    FILE* stream = tool_open_for_reading(path);
    if (stream == nullptr) {
        report_unreadable_file("ondrelle-check", path);
        if (named_none)
            std::fprintf(stderr,
                         "With no file named it checks Ondrelle.ini in the current folder: run it in the game's "
                         "folder (or put it there and double-click it), or name the file to check.\n");
        return false;
    }
    // Reports are set apart by a blank line; a file that cannot be read
    // prints nothing here to set apart.
    if (*printed) std::printf("\n");
    *printed = true;
    SettingsReport report = report_settings_file(stream, path);
    std::fclose(stream);
    if (strict && report.game_accepts && report.note_count > 0)
        std::printf("--strict: the note%s above count%s as faults.\n", report.note_count == 1 ? "" : "s",
                    report.note_count == 1 ? "s" : "");
    return report.game_accepts && !(strict && report.note_count > 0);
}

static bool is_help(const char* argument) {
    return std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "/?") == 0;
}

static int check_main(int argc, char** argv) {
    bool strict = false;
    bool options_end = false;
    std::vector<const char*> files;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (!options_end && is_help(argument)) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (options_end || argument[0] != '-' || argument[1] == 0) {
            // A lone "-" is a file's name too.
            files.push_back(argument);
        } else if (std::strcmp(argument, "--") == 0) {
            options_end = true;
        } else if (std::strcmp(argument, "--strict") == 0) {
            strict = true;
        } else if (std::strcmp(argument, "--version") == 0) {
            std::printf("ondrelle-check %s\n", ONDRELLE_VERSION);
            return 0;
        } else {
            std::fprintf(stderr, "ondrelle-check: unknown option %s\n\n%s", argument, kUsage);
            return 2;
        }
    }
    bool named_none = files.empty();
    if (named_none) files.push_back("Ondrelle.ini");
    bool all_pass = true;
    bool printed = false;
    for (const char* file : files) all_pass = check_file(file, strict, named_none, &printed) && all_pass;
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
