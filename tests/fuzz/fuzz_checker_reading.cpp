// Fuzzes what ondrelle-check reads of files a player's folder may hold under
// any name: the bytes as a settings file (the whole report: the game's
// verdict, the notes, their wrapping), as Ondrelle.log (every entry
// explained, with the notes of the settings line it names), as the hook's
// and the loader's logs, and as a program whose version and wholeness are
// read. Checks: no crash or overrun (the sanitizers watch), every note names
// a line the file has (or the whole file) and says something, every log
// line shown is escaped and cut to a few console lines, a version is four
// numbers or nothing, and nothing shorter than a program's first header is
// whole.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor_lines.h"
#include "file_version.h"
#include "log_reading.h"
#include "other_logs.h"
#include "plain_text.h"
#include "settings_report.h"

namespace {

// A log line as a report shows it: escaped, and never more than a few
// console lines long.
void check_shown(const std::string& line) {
    if (text_columns(line) > 200) std::abort();
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

void check_logs(const std::string& bytes, const SettingsReport& settings) {
    LogContext context = {&settings, true};
    for (const Finding& finding : explain_log_entries(bytes, context)) {
        for (const std::string& line : finding.shown) check_shown(line);
    }
    for (const OtherLogLine& line : hook_log_lines(bytes)) {
        if (line.text.find('\0') != std::string::npos) std::abort();
    }
    for (const OtherLogLine& line : loader_log_lines(bytes)) {
        if (line.says != says_nothing_known && line.text.empty()) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The reports print as they go; only what they return is checked here.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    check_version(bytes);
    if (size == 0) return 0;  // a memory stream needs a byte to stand on
    check_logs(bytes, check_settings(bytes));
    return 0;
}
