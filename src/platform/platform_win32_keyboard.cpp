// The Windows implementation of what the toggle key needs of the system: the
// state of Ctrl and Shift for the keyboard handler, and the hook's two
// keyboard functions, looked up once at load.
//
// It lives apart from platform_win32.cpp, as the window's size does, so that
// ondrelle-check, which links the core without its script and its entry,
// imports nothing from USER32 (GetKeyState). It loads no library and keeps no
// state.
#include "platform/platform.h"

#include <windows.h>

#include "platform/platform_win32_imports.h"

// The high bit of GetKeyState's answer: the key is down. GetKeyState reads the
// calling thread's own keyboard state as of the message it is handling, which
// is what a handler called from the game window's message handling must see.
static const SHORT kKeyDown = static_cast<SHORT>(0x8000);

bool platform_ctrl_held() { return (GetKeyState(VK_CONTROL) & kKeyDown) != 0; }
bool platform_shift_held() { return (GetKeyState(VK_SHIFT) & kKeyDown) != 0; }

// The module that holds code at address, without taking a reference to it:
// the plug-in for this code's own address, and the hook for the address its
// scriptRegister import was bound to, which stays loaded as long as the
// plug-in that imports from it.
static HMODULE module_holding(const void* address) {
    HMODULE module = nullptr;
    if (address == nullptr) return nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(address), &module);
    return module;
}

template <typename Function>
static Function exported(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HookKeyboardFunctions platform_hook_keyboard_functions() {
    HookKeyboardFunctions found = {nullptr, nullptr};
    HMODULE plugin = module_holding(reinterpret_cast<const void*>(&module_holding));
    ULONG_PTR* bound = platform_import_slot(plugin, nullptr, kScriptRegisterName);
    HMODULE hook = module_holding(bound != nullptr ? reinterpret_cast<const void*>(*bound) : nullptr);
    if (hook == nullptr) return found;
    found.register_handler = exported<KeyboardHandlerFunction>(hook, kKeyboardHandlerRegisterName);
    found.unregister_handler = exported<KeyboardHandlerFunction>(hook, kKeyboardHandlerUnregisterName);
    return found;
}
