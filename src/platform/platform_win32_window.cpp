// The Windows implementation of the game window's size, the one platform
// service that needs the window manager (USER32).
//
// It lives apart from platform_win32.cpp so that a program linking the core
// without its script, ondrelle-check, imports nothing from USER32: under
// Wine and Proton USER32 loads version.dll, and a loader installed under that
// name in the game's folder would then load into the checker, and with it
// every .asi file there.
#include "platform/platform.h"

#include <windows.h>

// The largest client area found so far among this process's windows.
struct GameWindowSearch {
    DWORD process;
    long long area;  // 0: none with a size yet
    int32_t width, height;
};

// Weighs one top-level window. The game's title and class are not assumed:
// a visible window of this process that no other window owns is the kind a
// game draws into; dialogs and tool windows have owners.
static BOOL CALLBACK weigh_window(HWND window, LPARAM search_address) {
    GameWindowSearch* search = reinterpret_cast<GameWindowSearch*>(search_address);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr) return TRUE;
    RECT client;
    if (!GetClientRect(window, &client)) return TRUE;
    long long width = client.right - client.left;
    long long height = client.bottom - client.top;
    if (width > 0 && height > 0 && width * height > search->area) {
        search->area = width * height;
        search->width = static_cast<int32_t>(width);
        search->height = static_cast<int32_t>(height);
    }
    return TRUE;
}

// EnumWindows, not a loop of GetWindow calls: it takes its list of windows
// at once, so a window that goes while the list is walked cannot send the
// walk round in circles.
bool platform_game_window_size(int32_t* width, int32_t* height) {
    GameWindowSearch search = {GetCurrentProcessId(), 0, 0, 0};
    EnumWindows(weigh_window, reinterpret_cast<LPARAM>(&search));
    if (search.area == 0) return false;
    *width = search.width;
    *height = search.height;
    return true;
}
