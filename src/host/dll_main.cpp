// The plug-in's entry point: the only code of Ondrelle that runs outside the
// script but for the toggle key's handler. On load it works out where the log
// and the settings file lie, starts a fresh log, registers the marker script
// with the hook and then the toggle key's handler; on unload it withdraws the
// handler, then the script. It never logs and never fails the load.
#include <windows.h>

#include <cstdio>

#include "host/module_paths.h"
#include "host/script_hook.h"
#include "platform/platform.h"
#include "script_main.h"
#include "toggle_key.h"

// Derives both paths from this plug-in's own file name. A name the loader
// could not give whole (missing, or cut at the buffer's end) gives no paths,
// so every later open fails cleanly instead of writing to a wrong file.
static void set_paths_from_module(HMODULE module) {
    wchar_t module_file_name[kModuleFileNameCapacity] = {};
    DWORD length = GetModuleFileNameW(module, module_file_name, kModuleFileNameCapacity);
    derive_module_paths_from_loader(module_file_name, length);
}

// Every load starts a new log. A log that cannot be emptied (read-only, held
// by another program) is left alone: the load goes on all the same.
static void empty_log() {
    FILE* log = platform_open_shared(log_path, "w");
    if (log != nullptr) std::fclose(log);
}

// The hook's keyboard functions this load registered the handler with; both
// null when it registered none. The hook ends the game on a handler
// registered twice or withdrawn unknown, and its developer mode unloads and
// loads plug-ins again (Ctrl+R): each load registers once and withdraws only
// what it registered.
static HookKeyboardFunctions g_handler_registered_with;

// Only a hook with both functions gets the handler: one registered with no
// way to withdraw it would be called after an unload, in freed code. A hook
// without them still runs the script; the script says so once when the
// settings name a toggle_key.
static void register_keyboard_handler() {
    HookKeyboardFunctions found = platform_hook_keyboard_functions();
    bool both = found.register_handler != nullptr && found.unregister_handler != nullptr;
    start_toggle_key_link(both);
    if (!both) return;
    found.register_handler(toggle_key_handler);
    g_handler_registered_with = found;
}

static void withdraw_keyboard_handler() {
    if (g_handler_registered_with.unregister_handler == nullptr) return;
    g_handler_registered_with.unregister_handler(toggle_key_handler);
    g_handler_registered_with = HookKeyboardFunctions{nullptr, nullptr};
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            set_paths_from_module(module);
            empty_log();
            scriptRegister(module, run_script);
            register_keyboard_handler();
            break;
        case DLL_PROCESS_DETACH:
            withdraw_keyboard_handler();
            scriptUnregister(module);
            break;
        default:
            // Thread start and end: nothing to do, and nothing is written.
            break;
    }
    return TRUE;
}
