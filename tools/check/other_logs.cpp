// The hook's and the loader's logs; see other_logs.h.
#include "other_logs.h"

#include "log_lines.h"
#include "plain_text.h"

namespace {

// A line's stem as a pattern (log_lines.h): %s is the plug-in, the path or
// the game version the line names.
struct LineStem {
    const char* stem;
    OtherLogSays says;
};

// In matching order: the unknown game version before any other FATAL line.
// clang-format off
const LineStem kHookStems[] = {
    {"//",                                                              hook_header},
    {"INIT: Started",                                                   hook_started},
    {"INIT: Success, game version is %s",                               hook_accepted_the_game},
    {"FATAL: Unknown game version",                                     hook_unknown_game_version},
    {"FATAL: ",                                                         hook_failed},
    {"INIT: Registering script '%s'",                                   script_registered},
    {"CORE: Launching main() for '%s'",                                 script_launched},
    {"CORE: An exception occurred while executing '%s'",                script_failed},
    {"CORE: Terminating the game, disable mods in order to go Online",  game_closed_for_online},
};

const LineStem kLoaderStems[] = {
    {"// RDR 2 ASI LOADER",                     loader_ran},
    {"LOADER: Loading *.asi plugins",           loader_began},
    {"ASI: Loading \"%s\"",                     plugin_found},
    {"\"%s\" => 0x",                            plugin_loaded},
    {"\"%s\" failed to load",                   plugin_refused},
    {"LOADER: Finished loading *.asi plugins",  loader_finished},
    {"FATAL: Init failed!",                     loader_failed},
};
// clang-format on

bool about_a_plugin(OtherLogSays says) {
    return says == script_registered || says == script_launched || says == script_failed || says == plugin_found ||
           says == plugin_loaded || says == plugin_refused;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The line without the hook's "[HH:MM:SS] " in front, when it has one.
std::string without_time(const std::string& line) {
    bool stamped = line.size() >= 10 && line[0] == '[' && line[3] == ':' && line[6] == ':' && line[9] == ']';
    for (size_t at : {1, 2, 4, 5, 7, 8}) stamped = stamped && is_digit(line[at]);
    if (!stamped) return line;
    size_t text = line.find_first_not_of(' ', 10);
    return text == std::string::npos ? "" : line.substr(text);
}

template <size_t count>
std::vector<OtherLogLine> lines_by_stems(const std::string& bytes, const LineStem (&stems)[count]) {
    std::vector<OtherLogLine> lines;
    for (const LogLine& line : log_lines(bytes)) {
        OtherLogLine read = {line.text, line.damaged, says_nothing_known, ""};
        std::string text = without_time(line.text);
        std::vector<std::string> captured;
        for (const LineStem& stem : stems) {
            if (!line_matches(stem.stem, text, match_start_in_any_case, &captured)) continue;
            read.says = stem.says;
            if (!captured.empty()) read.named = captured[0];
            break;
        }
        lines.push_back(read);
    }
    return lines;
}

}  // namespace

std::vector<OtherLogLine> hook_log_lines(const std::string& bytes) { return lines_by_stems(bytes, kHookStems); }

std::vector<OtherLogLine> loader_log_lines(const std::string& bytes) { return lines_by_stems(bytes, kLoaderStems); }

bool names_plugin(const OtherLogLine& line, const std::string& plugin_name) {
    if (!about_a_plugin(line.says)) return false;
    size_t separator = line.named.find_last_of("\\/");
    std::string file = separator == std::string::npos ? line.named : line.named.substr(separator + 1);
    return lower_case(file) == lower_case(plugin_name);
}

bool log_says(const std::vector<OtherLogLine>& lines, OtherLogSays says, const std::string& plugin_name) {
    for (const OtherLogLine& line : lines) {
        if (line.says == says && (!about_a_plugin(says) || names_plugin(line, plugin_name))) return true;
    }
    return false;
}
