// The tools' platform layer on Windows: UTF-8 names become wide names, so a
// file in a folder of any script opens; output goes to the console as UTF-8.
//
// A program started by a double-click in Explorer gets a console of its own,
// which Windows closes the moment the program ends; a program started from a
// command prompt shares that prompt's console.
#include <windows.h>

#include <string>

#include "file_bytes.h"
#include "tool_platform.h"

// UTF-8 and UTF-16 convert with no flags at all: Windows refuses any flag
// but MB_ERR_INVALID_CHARS for UTF-8 and then converts nothing, so every
// path would come out empty. Wine takes the flags, so no test under Wine can
// see one here: keep them 0.
static std::wstring wide_from_utf8(const char* text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

std::string tool_utf8_from_wide(const wchar_t* wide) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], length, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(length) - 1);
    return utf8;
}

// Text mode, as the plug-in opens its settings: a CR LF pair arrives as a
// line feed, and a Ctrl-Z ends the file.
FILE* tool_open_for_reading(const char* utf8_path) { return _wfopen(wide_from_utf8(utf8_path).c_str(), L"r"); }

UnreadableReason tool_unreadable_reason_of(uint32_t error_code) {
    switch (error_code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY:
            return unreadable_missing;
        default:
            return unreadable_denied;
    }
}

UnreadableReason tool_why_unreadable(const char* utf8_path) {
    DWORD attributes = GetFileAttributesW(wide_from_utf8(utf8_path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return tool_unreadable_reason_of(GetLastError());
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? unreadable_folder : unreadable_denied;
}

std::string tool_full_path(const std::string& utf8_path) {
    std::wstring wide = wide_from_utf8(utf8_path.c_str());
    DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(length, L'\0');
    if (length == 0 || GetFullPathNameW(wide.c_str(), length, &full[0], nullptr) + 1 != length) return utf8_path;
    full.resize(length - 1);
    return tool_utf8_from_wide(full.c_str());
}

const char kToolPathSeparator = '\\';

ToolEntryKind tool_entry_kind(const std::string& utf8_path) {
    DWORD attributes = GetFileAttributesW(wide_from_utf8(utf8_path.c_str()).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return entry_missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? entry_folder : entry_file;
}

std::vector<std::string> tool_folder_entries(const std::string& utf8_folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((wide_from_utf8(utf8_folder.c_str()) + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = tool_utf8_from_wide(entry.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

bool tool_read_file(const std::string& utf8_path, std::string* bytes) {
    if (tool_entry_kind(utf8_path) != entry_file) return false;
    FILE* file = _wfopen(wide_from_utf8(utf8_path.c_str()).c_str(), L"rb");
    if (file == nullptr) return false;
    bytes->clear();
    bool whole = read_rest_of(file, bytes);
    std::fclose(file);
    return whole;
}

// 100-nanosecond intervals from 1601 to 1970.
static const long long kUnixEpochInFileTime = 116444736000000000LL;

bool tool_last_write_time(const std::string& utf8_path, int64_t* seconds) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide_from_utf8(utf8_path.c_str()).c_str(), GetFileExInfoStandard, &data)) return false;
    long long time =
        (static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    *seconds = (time - kUnixEpochInFileTime) / 10000000LL;
    return true;
}

std::string tool_program_folder() {
    std::wstring path(32768, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return "";
    path.resize(length);
    size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? "" : tool_utf8_from_wide(path.substr(0, separator).c_str());
}

std::string tool_temp_folder() {
    wchar_t path[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH) return ".";
    // Without its trailing separator.
    if (path[length - 1] == L'\\') path[length - 1] = 0;
    return tool_utf8_from_wide(path);
}

std::string tool_environment(const char* name) {
    std::wstring wide_name = wide_from_utf8(name);
    DWORD length = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
    if (length == 0) return "";
    std::wstring value(length, L'\0');
    length = GetEnvironmentVariableW(wide_name.c_str(), &value[0], length);
    value.resize(length);
    return tool_utf8_from_wide(value.c_str());
}

bool tool_write_text_whole(const std::string& utf8_path, const std::string& text) {
    std::wstring path = wide_from_utf8(utf8_path.c_str());
    std::wstring part = path + L".part-" + std::to_wstring(GetCurrentProcessId());
    FILE* file = _wfopen(part.c_str(), L"w");
    if (file == nullptr) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fclose(file) == 0 && written;
    if (written && MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileW(part.c_str());
    return false;
}

int64_t tool_now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    long long time = (static_cast<long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (time - kUnixEpochInFileTime) / 10000000LL;
}

std::string tool_local_time_text(int64_t seconds) {
    long long time = seconds * 10000000LL + kUnixEpochInFileTime;
    FILETIME utc = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    FILETIME local;
    SYSTEMTIME parts;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &parts)) return "an unknown time";
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", parts.wYear, parts.wMonth, parts.wDay, parts.wHour,
                  parts.wMinute);
    return text;
}

bool tool_can_write_in(const std::string& utf8_folder) {
    // A name no player's file has; made new, so that nothing is overwritten.
    std::wstring probe = wide_from_utf8(utf8_folder.c_str()) + L"\\ondrelle-check-write-test-" +
                         std::to_wstring(GetCurrentProcessId()) + L".tmp";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return DeleteFileW(probe.c_str()) != 0;
}

bool tool_is_read_only(const std::string& utf8_path) {
    DWORD attributes = GetFileAttributesW(wide_from_utf8(utf8_path.c_str()).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Wine's own ntdll names its version; Windows' has no such function.
bool tool_runs_under_wine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool tool_console_is_own() {
    SetConsoleOutputCP(CP_UTF8);
    // The programs attached to this console: only this one when Explorer
    // made the console for it; the prompt and this one from a command prompt.
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1;
}

void tool_wait_for_enter() {
    std::printf("\nPress Enter to close this window.");
    std::fflush(stdout);
    std::getchar();
}
