// The test host's helpers: game folders, loading, stepping, files.
#include "test_game.h"

#include <cstdio>
#include <cstring>

#include "log_text.h"
#include "platform/platform_win32_imports.h"

std::wstring build_folder() {
    wchar_t program[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH * 4);
    std::wstring path(program, length);
    path = path.substr(0, path.find_last_of(L'\\'));  // .../build/windows/tests
    return path.substr(0, path.find_last_of(L'\\'));  // .../build/windows
}

std::wstring make_game_folder(const std::wstring& name) {
    static unsigned counter;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    wchar_t unique[64];
    swprintf(unique, 64, L"ondrelle-%lu-%lu-%u-", GetCurrentProcessId(), GetTickCount(), ++counter);
    std::wstring folder = std::wstring(temp) + unique + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void remove_folder(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                remove_folder(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

template <typename Function>
static bool find_export(HMODULE module, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (*function == nullptr) std::fprintf(stderr, "stand-in hook lacks %s\n", name);
    return *function != nullptr;
}

bool reload_plugin(TestGame* game, const std::wstring& plugin_name) {
    game->plugin = LoadLibraryW((game->folder + L"\\" + plugin_name).c_str());
    if (game->plugin == nullptr) std::fprintf(stderr, "cannot load the plug-in: %lu\n", GetLastError());
    return game->plugin != nullptr;
}

std::wstring stand_in_hook_path(HookBuild hook_build) {
    const wchar_t* folder = hook_build == hook_with_keyboard ? L"stand_in" : L"stand_in_without_keyboard";
    return build_folder() + L"\\tests\\" + folder + L"\\ScriptHookRDR2.dll";
}

bool load_game(TestGame* game, const std::wstring& folder, const std::wstring& plugin_name, HookBuild hook_build) {
    game->folder = folder;
    std::wstring hook_copy = folder + L"\\ScriptHookRDR2.dll";
    std::wstring plugin_copy = folder + L"\\" + plugin_name;
    if (!CopyFileW(stand_in_hook_path(hook_build).c_str(), hook_copy.c_str(), FALSE) ||
        !CopyFileW((build_folder() + L"\\Ondrelle.asi").c_str(), plugin_copy.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy into the game folder: %lu\n", GetLastError());
        return false;
    }
    game->hook = LoadLibraryW(hook_copy.c_str());
    if (game->hook == nullptr) {
        std::fprintf(stderr, "cannot load the stand-in hook: %lu\n", GetLastError());
        return false;
    }
    if (!find_export(game->hook, "stand_in_driver_world", &game->world) ||
        !find_export(game->hook, "stand_in_driver_frame", &game->frame) ||
        !find_export(game->hook, "stand_in_driver_hook", &game->hook_state) ||
        !find_export(game->hook, "stand_in_driver_step", &game->step) ||
        !find_export(game->hook, "stand_in_driver_restart_script", &game->restart_script) ||
        !find_export(game->hook, "stand_in_driver_key", &game->key)) {
        return false;
    }
    stand_in_reset_world(game->world());
    return reload_plugin(game, plugin_name);
}

bool step_frame(TestGame* game) { return game->step() != 0; }

void restart_script(TestGame* game) { game->restart_script(); }

int send_key(TestGame* game, uint32_t virtual_key, int32_t modifiers, bool auto_repeat, bool release) {
    StandInKeyMessage key = {virtual_key, modifiers, auto_repeat, release};
    return game->key(&key);
}

HWND open_game_window(int width, int height) {
    static const wchar_t kClassName[] = L"OndrelleTestGameWindow";
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kClassName;
    RegisterClassW(&window_class);  // fails harmlessly when already registered
    // A popup, not an overlapped window: Windows keeps an overlapped window
    // within the screen's size, and a test screen may be smaller than 2560.
    return CreateWindowExW(0, kClassName, L"Ondrelle test game", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                           nullptr, window_class.hInstance, nullptr);
}

bool resize_game_window(HWND window, int width, int height) {
    return SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

void unload_game(TestGame* game) {
    if (game->plugin != nullptr) FreeLibrary(game->plugin);
    if (game->hook != nullptr) FreeLibrary(game->hook);
    game->plugin = nullptr;
    game->hook = nullptr;
}

void* replace_import(HMODULE module, const char* dll, const char* function, void* replacement) {
    ULONG_PTR* slot = platform_import_slot(module, dll, function);
    if (slot == nullptr) return nullptr;
    DWORD protection;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    void* original = reinterpret_cast<void*>(*slot);
    *slot = reinterpret_cast<ULONG_PTR>(replacement);
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    return original;
}

std::string read_bytes(const std::wstring& path) {
    std::string bytes;
    FILE* file = _wfsopen(path.c_str(), L"rb", 0x40 /* _SH_DENYNO */);
    if (file == nullptr) return bytes;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

bool write_bytes(const std::wstring& path, const std::string& bytes) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool file_exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool set_last_write_time(const std::wstring& path, long long seconds_from_now) {
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    unsigned long long value = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    value += static_cast<unsigned long long>(seconds_from_now * 10000000LL);
    FILETIME time = {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
    bool set = SetFileTime(file, nullptr, nullptr, &time) != 0;
    CloseHandle(file);
    return set;
}

std::string default_settings_bytes() { return read_bytes(build_folder() + L"\\Ondrelle.ini"); }

std::string log_lines_without_times(const std::string& log_bytes) { return log_without_time_stamps(log_bytes); }
