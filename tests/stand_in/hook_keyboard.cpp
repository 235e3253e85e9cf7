// The stand-in ScriptHookRDR2.dll's keyboard: keyboardHandlerRegister and
// keyboardHandlerUnregister, and a window of the game's window class
// ("sgaWindow") whose message handling calls every registered handler for
// WM_KEYDOWN, WM_SYSKEYDOWN, WM_KEYUP and WM_SYSKEYUP, with what the message
// says: the key, and from its lParam the repeat count, the scan code, whether
// it is an extended key, whether Alt is held, whether the key was already
// down and whether this is its release. A handler registered twice, or one
// withdrawn that was never registered, ends the process with a FATAL line, as
// the real hook ends the game.
//
// The window lives on the thread that drives the frames, and the keys a test
// sends are handled there between two frames: never on the script fiber, as
// in the game. The real hook calls handlers only while the game window has
// the focus; the tests' keys go to this window alone, so they always come
// while it has it. The second build of the stand-in exports neither function.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "host/script_hook.h"
#include "key_names.h"
#include "stand_in_driver.h"
#include "world.h"

// What the stand-in hook writes before it ends the process, to its log
// beside it and to the standard error: the hook's own lines for a pairing
// gone wrong, in the form of its other FATAL lines.
const char kFatalRegisteredTwice[] = "FATAL: Can't register keyboard handler, it is already registered";
const char kFatalUnknownHandler[] = "FATAL: Can't unregister keyboard handler, it is not registered";

static const wchar_t kGameWindowClass[] = L"sgaWindow";
static HWND g_game_window;

// This DLL, whose code the window's class and the log's place belong to.
static HMODULE this_dll() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&this_dll), &self);
    return self;
}

// Writes the line to the standard error and to ScriptHookRDR2.log beside
// this DLL, as the hook logs its own failures, then ends the process at once:
// nothing of the plug-in runs after it.
static void end_with_fatal(const char* line) {
    DWORD written = 0;
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    WriteFile(error, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    WriteFile(error, "\n", 1, &written, nullptr);
    wchar_t path[MAX_PATH * 4] = {};
    DWORD length = GetModuleFileNameW(this_dll(), path, MAX_PATH * 4);
    while (length > 0 && path[length - 1] != L'\\') --length;
    FILE* log = nullptr;
    if (length > 0 && length + 20 < MAX_PATH * 4) {
        std::wcscpy(path + length, L"ScriptHookRDR2.log");
        log = _wfopen(path, L"ab");
    }
    if (log != nullptr) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        std::fprintf(log, "[%02u:%02u:%02u] %s\r\n", now.wHour, now.wMinute, now.wSecond, line);
        std::fclose(log);
    }
    TerminateProcess(GetCurrentProcess(), kStandInFatalExitCode);
}

static int handler_at(const StandInHookState* hook, KeyboardHandler handler) {
    for (int i = 0; i < hook->keyboard_handler_count; ++i) {
        if (hook->keyboard_handlers[i] == handler) return i;
    }
    return -1;
}

extern "C" void keyboardHandlerRegister(KeyboardHandler handler) {
    StandInHookState* hook = stand_in_hook_state();
    ++hook->keyboard_register_calls;
    hook->keyboard_registered_at = ++hook->calls;
    if (handler_at(hook, handler) >= 0) end_with_fatal(kFatalRegisteredTwice);
    if (hook->keyboard_handler_count < kStandInMaxKeyboardHandlers)
        hook->keyboard_handlers[hook->keyboard_handler_count++] = handler;
}

extern "C" void keyboardHandlerUnregister(KeyboardHandler handler) {
    StandInHookState* hook = stand_in_hook_state();
    ++hook->keyboard_unregister_calls;
    hook->keyboard_unregistered_at = ++hook->calls;
    int at = handler_at(hook, handler);
    if (at < 0) end_with_fatal(kFatalUnknownHandler);
    for (int i = at; i + 1 < hook->keyboard_handler_count; ++i)
        hook->keyboard_handlers[i] = hook->keyboard_handlers[i + 1];
    --hook->keyboard_handler_count;
}

// The game window's message handling: each key message goes to every handler,
// in the order they were registered. Bits of lParam: 0-15 the repeat count,
// 16-23 the scan code, 24 an extended key, 29 Alt held, 30 the key was down
// before, 31 the key is being let go.
static LRESULT CALLBACK game_window_messages(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN && message != WM_KEYUP && message != WM_SYSKEYUP)
        return DefWindowProcW(window, message, wparam, lparam);
    const StandInHookState* hook = stand_in_hook_state();
    uint32_t bits = static_cast<uint32_t>(lparam);
    for (int i = 0; i < hook->keyboard_handler_count; ++i) {
        hook->keyboard_handlers[i](static_cast<uint32_t>(wparam), static_cast<uint16_t>(bits & 0xFFFF),
                                   static_cast<uint8_t>(bits >> 16 & 0xFF), bits >> 24 & 1, bits >> 29 & 1,
                                   bits >> 30 & 1, bits >> 31 & 1);
    }
    return 0;
}

// A message-only window: it needs no display and is never shown.
static HWND game_window() {
    if (g_game_window != nullptr) return g_game_window;
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = game_window_messages;
    window_class.hInstance = this_dll();
    window_class.lpszClassName = kGameWindowClass;
    RegisterClassW(&window_class);
    g_game_window = CreateWindowExW(0, kGameWindowClass, L"Red Dead Redemption 2", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    window_class.hInstance, nullptr);
    return g_game_window;
}

// The thread's own keyboard state gets Ctrl and Shift as the message says,
// so that a handler's GetKeyState sees them, as it would see keys the player
// holds; the message itself says whether Alt is held, as Windows does.
static void hold_modifiers(int32_t modifiers) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = (modifiers & kModifierCtrl) != 0 ? 0x80 : 0;
    keys[VK_SHIFT] = (modifiers & kModifierShift) != 0 ? 0x80 : 0;
    keys[VK_MENU] = (modifiers & kModifierAlt) != 0 ? 0x80 : 0;
    SetKeyboardState(keys);
}

extern "C" int stand_in_driver_key(const StandInKeyMessage* key) {
    HWND window = game_window();
    if (window == nullptr) return 0;
    bool alt = (key->modifiers & kModifierAlt) != 0;
    UINT message = key->release ? (alt ? WM_SYSKEYUP : WM_KEYUP) : (alt ? WM_SYSKEYDOWN : WM_KEYDOWN);
    uint32_t scan_code = MapVirtualKeyW(key->virtual_key, MAPVK_VK_TO_VSC) & 0xFF;
    uint32_t bits = 1u | scan_code << 16 | (alt ? 1u << 29 : 0) | (key->auto_repeat || key->release ? 1u << 30 : 0) |
                    (key->release ? 1u << 31 : 0);
    hold_modifiers(key->modifiers);
    SendMessageW(window, message, key->virtual_key, static_cast<LPARAM>(bits));
    hold_modifiers(0);
    return stand_in_hook_state()->keyboard_handler_count;
}

// The window goes with the DLL, so that no message can reach its handling
// once the code is gone; at the process's end there is nothing left to tidy.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr && g_game_window != nullptr) {
        DestroyWindow(g_game_window);
        UnregisterClassW(kGameWindowClass, this_dll());
        g_game_window = nullptr;
    }
    return TRUE;
}
