// The native twin of platform_win32.cpp, for building and running the core on
// Linux: the tools and the tests use it. Never shipped.
//
// POSIX has no share modes, so "without denying access" holds by nature.
// Written files keep LF line ends; a file opened to be read is read as
// Windows' text mode reads it, as the game does. There is no game window:
// the marker keeps the game's own answer for the screen's shape. Nor is there
// a keyboard or a hook to find: no modifier is ever held, and the hook has
// no keyboard functions.
#include "platform/platform.h"
#include "platform/platform_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <climits>
#include <ctime>

FileTime platform_system_time() { return posix_system_time(); }

FileTimeLookup platform_last_write_time(const wchar_t* path) {
    FileTimeLookup lookup = {file_time_open_failed, 0, 0};
    char narrow[PATH_MAX];
    if (!wide_path_to_utf8(path, narrow, sizeof narrow)) return lookup;
    int file = open(narrow, O_RDONLY);
    if (file < 0) return lookup;
    struct stat status;
    if (fstat(file, &status) == 0) {
        lookup.status = file_time_ok;
        lookup.last_write_time = file_time_from_unix(status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
    } else {
        lookup.status = file_time_read_failed;
        lookup.error_code = static_cast<uint32_t>(errno);
    }
    close(file);
    return lookup;
}

FILE* platform_open_shared(const wchar_t* path, const char* mode) {
    char narrow[PATH_MAX];
    if (path[0] == 0 || !wide_path_to_utf8(path, narrow, sizeof narrow)) return nullptr;
    // The settings are read as the game reads them on Windows.
    return std::strcmp(mode, "r") == 0 ? open_in_windows_text_mode(narrow) : fopen(narrow, mode);
}

uint64_t platform_milliseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

LocalTime platform_local_time() {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    tm local;
    localtime_r(&now.tv_sec, &local);
    return LocalTime{static_cast<unsigned short>(local.tm_hour), static_cast<unsigned short>(local.tm_min),
                     static_cast<unsigned short>(local.tm_sec), static_cast<unsigned short>(now.tv_nsec / 1000000)};
}

bool platform_game_window_size(int32_t* /*width*/, int32_t* /*height*/) { return false; }

bool platform_ctrl_held() { return false; }
bool platform_shift_held() { return false; }

HookKeyboardFunctions platform_hook_keyboard_functions() { return HookKeyboardFunctions{nullptr, nullptr}; }
