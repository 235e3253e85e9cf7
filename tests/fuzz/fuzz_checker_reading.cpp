// Fuzzes what ondrelle-check reads of files a player's folder may hold under
// any name: the bytes as a settings file (the whole report: the game's
// verdict, the notes, their wrapping), as Ondrelle.log (every entry
// explained, with the notes of the settings line it names), and as a program
// whose version and wholeness are read. Checks: no crash or overrun (the
// sanitizers watch), every note names a line the file has (or the whole
// file) and says something, a version is four numbers or nothing, and
// nothing shorter than a program's first header is whole.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor_lines.h"
#include "file_version.h"
#include "game_folder.h"
#include "log_reading.h"
#include "settings_report.h"
#include "tool_platform.h"

namespace {

// A folder of this run's own, holding the plug-in's log.
std::string log_folder;

void check_version(const std::string& bytes) {
    std::string version = pe_file_version(bytes);
    size_t dots = 0;
    for (char c : version) {
        if (c == '.')
            ++dots;
        else if (c < '0' || c > '9')
            std::abort();
    }
    if (!version.empty() && dots != 3) std::abort();
    // A file too short for its own headers is never taken as whole.
    if (pe_file_whole(bytes) && bytes.size() < 0x40) std::abort();
    // Only a file with a PE header can be made for the game's machine.
    if (pe_file_64_bit(bytes) && bytes.size() < 0x40) std::abort();
}

SettingsReport check_settings(std::string bytes) {
    FILE* stream = fmemopen(&bytes[0], bytes.size(), "r");
    if (stream == nullptr) std::abort();
    SettingsReport report = report_settings_file(stream, "fuzzed.ini");
    std::fclose(stream);
    int lines = 0;
    size_t position = 0;
    EditorLine line;
    while (next_editor_line(report.content, &position, &line)) ++lines;
    for (const SettingsNote& note : report.notes) {
        if (note.line < 0 || note.line > lines || note.text.empty()) std::abort();
    }
    return report;
}

void check_log(const std::string& bytes, const SettingsReport& settings) {
    FILE* log = std::fopen((log_folder + "/Ondrelle.log").c_str(), "wb");
    if (log == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), log) != bytes.size()) std::abort();
    std::fclose(log);
    GameFolder game = {log_folder, log_folder, true, 0, "", true, {}};
    if (explain_log(game, &settings) < 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The reports print as they go; only what they return is checked here.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
    std::string folder = tool_temp_folder() + "/ondrelle-fuzz-log-XXXXXX";
    if (mkdtemp(&folder[0]) == nullptr) std::abort();
    log_folder = folder;
    std::atexit([] {
        unlink((log_folder + "/Ondrelle.log").c_str());
        rmdir(log_folder.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    check_version(bytes);
    if (size == 0) return 0;  // a memory stream needs a byte to stand on
    check_log(bytes, check_settings(bytes));
    return 0;
}
