// ondrelle-check: checks a settings file without starting the game.
//
// Runs Ondrelle's own parser over the file and prints every fault with the
// text the plug-in's log would get, then either that the file is complete and
// clean or which keys are missing. Exit status 0 for a clean, complete file,
// 1 otherwise. Usage: ondrelle-check [Ondrelle.ini]
#include <cstdio>

#include "settings_report.h"

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
    bool clean = report_settings_file(stream, shown_name);
    std::fclose(stream);
    return clean ? 0 : 1;
}
