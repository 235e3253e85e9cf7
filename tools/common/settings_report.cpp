// The tools' settings report and their write_log.
#include "settings_report.h"

#include <cstdarg>

#include "config.h"
#include "log/log.h"

static bool g_reporting;
static int g_fault_count;

void write_log(const char* /*source_name*/, int /*line*/, const char* format, ...) {
    if (!g_reporting) return;
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

bool report_settings_file(FILE* stream, const char* shown_name) {
    g_reporting = true;
    g_fault_count = 0;
    SettingsParse parse;
    parse_settings_stream(stream, &parse);
    report_unfinished_parse(parse);
    g_reporting = false;
    config_error_text[0] = 0;
    int missing = parse.reached_end ? print_missing_keys(parse.seen_keys) : 0;
    if (g_fault_count == 0 && missing == 0) {
        std::printf("%s: complete and clean, all %d keys set.\n", shown_name, kSettingsKeyCount);
        return true;
    }
    std::printf("%s: not usable as it is (%d fault%s, %d key%s missing).\n", shown_name, g_fault_count,
                g_fault_count == 1 ? "" : "s", missing, missing == 1 ? "" : "s");
    return false;
}
