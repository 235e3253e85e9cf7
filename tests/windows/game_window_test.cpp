// The game window's size as the shipped platform layer finds it, among real
// windows under Wine: only visible windows of this process that no other
// window owns count, the largest client area wins, and a minimised window
// has no size to give. Needs a display (scripts/test runs under xvfb-run).
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/platform.h"
#include "test_game.h"

namespace {

struct WindowPlan {
    int width, height;
    bool visible;
    bool owned;  // owned by the row's first window
    bool minimised;
};

TEST(GameWindow, TheLargestVisibleUnownedWindowOfTheProcessGivesTheSize) {
    const struct {
        const char* what;
        std::vector<WindowPlan> windows;
        bool found;
        int width, height;
    } rows[] = {
        {"no window at all", {}, false, 0, 0},
        {"one 21:9 window", {{2560, 1080, true, false, false}}, true, 2560, 1080},
        {"the larger of two", {{1280, 800, true, false, false}, {1920, 1080, true, false, false}}, true, 1920, 1080},
        // Made last, the smaller one is the first the walk meets.
        {"the larger of two, made first",
         {{1920, 1080, true, false, false}, {1280, 800, true, false, false}},
         true,
         1920,
         1080},
        // Areas, not widths nor shapes: a wide strip is no game window.
        {"a large window beside a wide strip",
         {{1280, 800, true, false, false}, {1900, 150, true, false, false}},
         true,
         1280,
         800},
        {"a hidden window is no game window",
         {{1280, 800, true, false, false}, {3440, 1440, false, false, false}},
         true,
         1280,
         800},
        {"a window owned by another is a dialog",
         {{1280, 800, true, false, false}, {5120, 1440, true, true, false}},
         true,
         1280,
         800},
        {"a minimised window has no size", {{1920, 1200, true, false, true}}, false, 0, 0},
    };
    for (const auto& row : rows) {
        std::vector<HWND> made;
        for (const WindowPlan& plan : row.windows) {
            HWND window = open_game_window(plan.width, plan.height);
            ASSERT_NE(window, nullptr) << kNoDisplayForWindows;
            if (plan.owned) SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(made[0]));
            if (!plan.visible) ShowWindow(window, SW_HIDE);
            if (plan.minimised) ShowWindow(window, SW_MINIMIZE);
            made.push_back(window);
        }
        int32_t width = -1;
        int32_t height = -1;
        EXPECT_EQ(platform_game_window_size(&width, &height), row.found) << row.what;
        EXPECT_EQ(width, row.found ? row.width : -1) << row.what;
        EXPECT_EQ(height, row.found ? row.height : -1) << row.what;
        for (HWND window : made) DestroyWindow(window);
    }
}

// The size of the largest visible window of process, 0 by 0 when it has none.
BOOL CALLBACK weigh_other_window(HWND window, LPARAM found_address) {
    auto* found = reinterpret_cast<std::pair<DWORD, RECT>*>(found_address);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    RECT client;
    if (process == found->first && IsWindowVisible(window) && GetClientRect(window, &client) &&
        client.right * client.bottom > found->second.right * found->second.bottom)
        found->second = client;
    return TRUE;
}

// A browser or a chat program beside the game is as visible and as unowned as
// the game's window, and most often larger: Notepad, Wine's own, stands in.
TEST(GameWindow, ALargerWindowOfAnotherProgramIsNotTheGames) {
    HWND game = open_game_window(320, 200);
    ASSERT_NE(game, nullptr) << kNoDisplayForWindows;
    wchar_t windows_folder[MAX_PATH];
    GetWindowsDirectoryW(windows_folder, MAX_PATH);
    std::wstring command = std::wstring(L"\"") + windows_folder + L"\\notepad.exe\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION other;
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &other));
    // Its window shows once Notepad has started: up to ten seconds.
    std::pair<DWORD, RECT> found = {other.dwProcessId, RECT{}};
    for (int wait = 0; wait < 200 && found.second.right * found.second.bottom <= 320 * 200; ++wait) {
        Sleep(50);
        EnumWindows(weigh_other_window, reinterpret_cast<LPARAM>(&found));
    }
    EXPECT_GT(found.second.right * found.second.bottom, 320 * 200)
        << "Notepad's window never grew larger than the game's";
    int32_t width = -1;
    int32_t height = -1;
    EXPECT_TRUE(platform_game_window_size(&width, &height));
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 200);
    TerminateProcess(other.hProcess, 0);
    WaitForSingleObject(other.hProcess, 5000);
    CloseHandle(other.hProcess);
    CloseHandle(other.hThread);
    DestroyWindow(game);
}

}  // namespace
