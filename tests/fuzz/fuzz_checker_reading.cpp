// Fuzzes what ondrelle-check reads of files a player's folder may hold under
// any name: the bytes as a settings file (the game's verdict, the notes),
// as Ondrelle.log, the hook's log and the loader's log of a game folder,
// weighed and reported whole, and as a program whose version and wholeness
// are read. Checks: no crash or overrun (the sanitizers watch), every note
// names a line the file has (or the whole file) and says something, every
// line of the report fits the console and holds no control byte, a version
// is four numbers or nothing, and nothing shorter than a program's first
// header is whole.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console_text.h"
#include "editor_lines.h"
#include "file_version.h"
#include "game_evidence.h"
#include "plain_text.h"
#include "report.h"
#include "settings_report.h"
#include "verdict.h"

namespace {

// A printed line: never wider than the console, and no byte in it can
// garble the console.
void check_printed(const std::string& line) {
    if (text_columns(line) > kConsoleLineWidth) std::abort();
    for (char c : line) {
        if (static_cast<unsigned char>(c) < 0x20) std::abort();
    }
}

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
    SettingsReport report = read_settings_report(stream);
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

// A game folder whose three logs all hold bytes, beside the settings report
// on them, weighed and reported whole.
void check_logs(const std::string& bytes, const SettingsReport& settings) {
    GameFolder game = healthy_game_folder();
    game.plugin_folders.front().settings_checked = true;
    game.plugin_folders.front().settings_report = settings;
    for (LogName log : {hook_log, loader_log, plugin_log}) put_log(&game, log, bytes, kLastStart);
    for (const ReportPart& part : game_folder_report(weigh_game_folder(game, "1.4.0"), false)) {
        for (const std::string& line : part_lines(part)) check_printed(line);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    check_version(bytes);
    if (size == 0) return 0;  // a memory stream needs a byte to stand on
    check_logs(bytes, check_settings(bytes));
    return 0;
}
