// The tools' platform layer on Linux: file names are UTF-8 already, and a
// program run from a terminal never owns its console. A settings file is read
// as the game reads it on Windows (and under Proton): in text mode, where a
// CR LF pair arrives as a line feed and a Ctrl-Z ends the file.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "file_bytes.h"
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

std::string tool_full_path(const std::string& utf8_path) {
    // A path that is there, resolved: "." is the folder's own name.
    char resolved[PATH_MAX];
    if (realpath(utf8_path.c_str(), resolved) != nullptr) return resolved;
    char folder[PATH_MAX];
    if (utf8_path.compare(0, 1, "/") != 0 && getcwd(folder, sizeof folder) != nullptr)
        return std::string(folder) + "/" + utf8_path;
    return utf8_path;
}

bool tool_folder_of_file_exists(const char* utf8_path) {
    std::string path = utf8_path;
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return true;
    std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    struct stat status;
    return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// TMPDIR where it is set, as for any Linux program.
std::string tool_temp_folder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && folder[0] != 0 ? folder : "/tmp";
}

std::string tool_write_temp_file(const std::string& contents, const std::string& ending) {
    std::string path = tool_temp_folder() + "/ondrelle-XXXXXX" + ending;
    int file = mkstemps(&path[0], static_cast<int>(ending.size()));
    if (file < 0) return "";
    bool written = write(file, contents.data(), contents.size()) == static_cast<ssize_t>(contents.size());
    written = close(file) == 0 && written;
    if (!written) unlink(path.c_str());
    return written ? path : "";
}

std::string tool_program_folder() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "";
    std::string program(path, static_cast<size_t>(length));
    size_t slash = program.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : program.substr(0, slash);
}

std::string tool_environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool tool_write_text_whole(const std::string& utf8_path, const std::string& text) {
    std::string part = utf8_path + ".part-XXXXXX";
    int file = mkstemp(&part[0]);
    if (file < 0) return false;
    bool written = write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    written = close(file) == 0 && written;
    if (written && chmod(part.c_str(), 0644) == 0 && rename(part.c_str(), utf8_path.c_str()) == 0) return true;
    unlink(part.c_str());
    return false;
}

const char kToolPathSeparator = '/';

ToolEntryKind tool_entry_kind(const std::string& utf8_path) {
    struct stat status;
    if (stat(utf8_path.c_str(), &status) != 0) return entry_missing;
    return S_ISDIR(status.st_mode) ? entry_folder : entry_file;
}

std::vector<std::string> tool_folder_entries(const std::string& utf8_folder) {
    std::vector<std::string> names;
    DIR* folder = opendir(utf8_folder.c_str());
    if (folder == nullptr) return names;
    while (dirent* entry = readdir(folder)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(folder);
    return names;
}

bool tool_read_file(const std::string& utf8_path, std::string* bytes) {
    if (tool_entry_kind(utf8_path) != entry_file) return false;
    FILE* file = std::fopen(utf8_path.c_str(), "rb");
    if (file == nullptr) return false;
    bytes->clear();
    bool whole = read_rest_of(file, bytes);
    std::fclose(file);
    return whole;
}

bool tool_last_write_time(const std::string& utf8_path, int64_t* seconds) {
    struct stat status;
    if (stat(utf8_path.c_str(), &status) != 0) return false;
    *seconds = static_cast<int64_t>(status.st_mtime);
    return true;
}

int64_t tool_now() { return static_cast<int64_t>(std::time(nullptr)); }

std::string tool_local_time_text(int64_t seconds) {
    time_t moment = static_cast<time_t>(seconds);
    tm local;
    char text[32];
    if (localtime_r(&moment, &local) == nullptr || std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) == 0)
        return "an unknown time";
    return text;
}

bool tool_can_write_in(const std::string& utf8_folder) {
    std::string probe = utf8_folder + "/ondrelle-check-XXXXXX";
    int file = mkstemp(&probe[0]);
    if (file < 0) return false;
    close(file);
    return unlink(probe.c_str()) == 0;
}

bool tool_is_read_only(const std::string& utf8_path) {
    struct stat status;
    return stat(utf8_path.c_str(), &status) == 0 && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// On Linux the game runs only under Wine or Proton.
bool tool_runs_under_wine() { return true; }

bool tool_console_is_own() { return false; }

void tool_wait_for_enter() {}
