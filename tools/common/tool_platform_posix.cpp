// The tools' platform layer on Linux: file names are UTF-8 already, and a
// program run from a terminal never owns its console. A settings file is read
// as the game reads it on Windows (and under Proton): in text mode, where a
// CR LF pair arrives as a line feed and a Ctrl-Z ends the file.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform_posix.h"
#include "tool_platform.h"

FILE* tool_open_for_reading(const char* utf8_path) {
    struct stat status;
    // fopen opens a folder for reading on Linux; only files are settings.
    if (stat(utf8_path, &status) == 0 && S_ISDIR(status.st_mode)) return nullptr;
    return open_in_windows_text_mode(utf8_path);
}

UnreadableReason tool_why_unreadable(const char* utf8_path) {
    struct stat status;
    if (stat(utf8_path, &status) != 0) return errno == EACCES ? unreadable_denied : unreadable_missing;
    return S_ISDIR(status.st_mode) ? unreadable_folder : unreadable_denied;
}

void tool_full_path(const char* utf8_path, char* buffer, size_t capacity) {
    std::string full = utf8_path;
    char folder[PATH_MAX];
    if (utf8_path[0] != '/' && getcwd(folder, sizeof folder) != nullptr) full = std::string(folder) + "/" + utf8_path;
    std::snprintf(buffer, capacity, "%s", full.c_str());
}

bool tool_folder_of_file_exists(const char* utf8_path) {
    std::string path = utf8_path;
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return true;
    std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    struct stat status;
    return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string tool_temp_folder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && folder[0] != 0 ? folder : "/tmp";
}

bool tool_console_is_own() { return false; }

void tool_wait_for_enter() {}
