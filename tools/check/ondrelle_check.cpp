// ondrelle-check: checks a settings file without starting the game.
//
// Runs Ondrelle's own parser over the file and prints every fault with the
// text the plug-in's log would get, then either that the file is complete and
// clean or which keys are missing. Exit status 0 for a clean, complete file,
// 1 otherwise. Usage: ondrelle-check [Ondrelle.ini]
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "config.h"
#include "log/log.h"

#if defined(_WIN32)
#include <cwchar>
#endif

static int g_fault_count;

// The tool's log: every entry the parser makes is a fault, printed as is.
void write_log(const char* /*source_name*/, int /*line*/, const char* format, ...) {
    ++g_fault_count;
    va_list arguments;
    va_start(arguments, format);
    std::vprintf(format, arguments);
    va_end(arguments);
    std::putchar('\n');
}

// Prints the names of the keys the file lacks; returns how many.
static int print_missing_keys(uint32_t seen_keys) {
    int missing = 0;
    for (const SettingsKey& key : kSettingsKeys) {
        if (seen_keys & (1u << key.seen_bit)) continue;
        std::printf("%s %s", missing == 0 ? "Missing keys:" : ",", key.name);
        ++missing;
    }
    if (missing > 0) std::printf("\n");
    return missing;
}

// Parses an open file and reports; returns the exit status.
static int check_stream(FILE* stream, const char* shown_name) {
    SettingsParse parse;
    parse_settings_stream(stream, &parse);
    report_unfinished_parse(parse);
    int missing = parse.reached_end ? print_missing_keys(parse.seen_keys) : 0;
    if (g_fault_count == 0 && missing == 0) {
        std::printf("%s: complete and clean, all %d keys set.\n", shown_name, kSettingsKeyCount);
        return 0;
    }
    std::printf("%s: not usable as it is (%d fault%s, %d key%s missing).\n", shown_name, g_fault_count,
                g_fault_count == 1 ? "" : "s", missing, missing == 1 ? "" : "s");
    return 1;
}

#if defined(_WIN32)
// Wide arguments, so that a path with any characters opens.
int wmain(int argc, wchar_t** argv) {
    const wchar_t* path = argc > 1 ? argv[1] : L"Ondrelle.ini";
    FILE* stream = _wfopen(path, L"r");
    char shown_name[1024];
    std::snprintf(shown_name, sizeof shown_name, "%ls", path);
#else
int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "Ondrelle.ini";
    FILE* stream = std::fopen(path, "r");
    const char* shown_name = path;
#endif
    if (stream == nullptr) {
        std::printf("%s: cannot be opened.\n", shown_name);
        return 1;
    }
    int status = check_stream(stream, shown_name);
    std::fclose(stream);
    return status;
}
