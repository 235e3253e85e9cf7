// The Windows implementation of the platform services; the one that ships.
//
// Relies on the kernel (file times, clock) and the C runtime's wide-path
// stream open (_wfsopen), so paths with any Unicode characters work. With
// platform_win32_window.cpp it is the only code of the core that includes
// <windows.h>.
#include "platform/platform.h"

#include <share.h>
#include <windows.h>

#include <cstring>

static FileTime to_file_time(const FILETIME& time) {
    return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FileTime platform_system_time() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return to_file_time(now);
}

FileTimeLookup platform_last_write_time(const wchar_t* path) {
    FileTimeLookup lookup = {file_time_open_failed, 0, 0};
    // Sharing everything: a look once a second must never make an editor's
    // save fail, nor fail itself because an editor keeps the file open.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lookup;
    FILETIME last_write;
    if (GetFileTime(file, nullptr, nullptr, &last_write)) {
        lookup.status = file_time_ok;
        lookup.last_write_time = to_file_time(last_write);
    } else {
        lookup.status = file_time_read_failed;
        lookup.error_code = GetLastError();
    }
    CloseHandle(file);
    return lookup;
}

// The wide mode _wfsopen gets for each mode the core uses; null for any
// other. Windows refuses a mode with any character it does not know, so
// every log entry and every settings read would fail there; Wine accepts
// such a mode, so no test under Wine can see a stray character in these
// literals: keep them exactly as they are.
static const wchar_t* wide_stream_mode(const char* mode) {
    if (std::strcmp(mode, "r") == 0) return L"r";
    if (std::strcmp(mode, "w") == 0) return L"w";
    if (std::strcmp(mode, "a") == 0) return L"a";
    return nullptr;
}

FILE* platform_open_shared(const wchar_t* path, const char* mode) {
    const wchar_t* wide_mode = wide_stream_mode(mode);
    if (path[0] == 0 || wide_mode == nullptr) return nullptr;
    return _wfsopen(path, wide_mode, _SH_DENYNO);
}

uint64_t platform_milliseconds() { return GetTickCount64(); }

LocalTime platform_local_time() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalTime{now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}
