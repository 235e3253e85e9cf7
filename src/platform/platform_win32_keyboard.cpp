// The Windows implementation of what the toggle key needs of the system: the
// state of Ctrl and Shift for the keyboard handler.
//
// It lives apart from platform_win32.cpp, as the window's size does, so that
// ondrelle-check, which links the core without its script and its entry,
// imports nothing from USER32 (GetKeyState). It keeps no state.
#include "platform/platform.h"

#include <windows.h>

// The high bit of GetKeyState's answer: the key is down. GetKeyState reads the
// calling thread's own keyboard state as of the message it is handling, which
// is what a handler called from the game window's message handling must see.
static const SHORT kKeyDown = static_cast<SHORT>(0x8000);

bool platform_ctrl_held() { return (GetKeyState(VK_CONTROL) & kKeyDown) != 0; }
bool platform_shift_held() { return (GetKeyState(VK_SHIFT) & kKeyDown) != 0; }
