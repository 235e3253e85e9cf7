// Fuzzes what ondrelle-check reads of files a player's folder may hold under
// any name: the bytes as a settings file (the whole report: the game's
// verdict, the notes, their wrapping) and as a program whose version is read.
// Checks: no crash or overrun (the sanitizers watch), every note names a line
// the file has (or the whole file) and says something, a version is four
// numbers or nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor_lines.h"
#include "file_version.h"
#include "settings_report.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The report prints as it goes; only what it returns is checked here.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);

    std::string version = pe_file_version(bytes);
    size_t dots = 0;
    for (char c : version) {
        if (c == '.')
            ++dots;
        else if (c < '0' || c > '9')
            std::abort();
    }
    if (!version.empty() && dots != 3) std::abort();

    if (size == 0) return 0;  // a memory stream needs a byte to stand on
    FILE* stream = fmemopen(&bytes[0], size, "r");
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
    return 0;
}
