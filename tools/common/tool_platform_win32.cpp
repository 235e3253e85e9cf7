// The tools' platform layer on Windows: UTF-8 names become wide names, so a
// file in a folder of any script opens; output goes to the console as UTF-8.
//
// A program started by a double-click in Explorer gets a console of its own,
// which Windows closes the moment the program ends; a program started from a
// command prompt shares that prompt's console.
#include <windows.h>

#include <string>

#include "tool_platform.h"

static std::wstring wide_from_utf8(const char* text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

void tool_utf8_from_wide(const wchar_t* wide, char* buffer, size_t capacity) {
    if (capacity == 0) return;
    int written = WideCharToMultiByte(CP_UTF8, 0, wide, -1, buffer, static_cast<int>(capacity), nullptr, nullptr);
    if (written <= 0) buffer[0] = 0;
}

FILE* tool_open_for_reading(const char* utf8_path) { return _wfopen(wide_from_utf8(utf8_path).c_str(), L"r"); }

UnreadableReason tool_why_unreadable(const char* utf8_path) {
    DWORD attributes = GetFileAttributesW(wide_from_utf8(utf8_path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME
                   ? unreadable_missing
                   : unreadable_denied;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? unreadable_folder : unreadable_denied;
}

void tool_full_path(const char* utf8_path, char* buffer, size_t capacity) {
    std::wstring wide = wide_from_utf8(utf8_path);
    wchar_t full[32768];
    DWORD length = GetFullPathNameW(wide.c_str(), 32768, full, nullptr);
    if (length == 0 || length >= 32768) {
        std::snprintf(buffer, capacity, "%s", utf8_path);
        return;
    }
    tool_utf8_from_wide(full, buffer, capacity);
}

bool tool_console_is_own() {
    SetConsoleOutputCP(CP_UTF8);
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}

void tool_wait_for_enter() {
    std::printf("\nPress Enter to close this window.");
    std::fflush(stdout);
    std::getchar();
}
