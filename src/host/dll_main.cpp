// The plug-in's entry point: the only code of Ondrelle that runs outside the
// script. On load it works out where the log and the settings file lie,
// starts a fresh log and registers the marker script with the hook; on unload
// it withdraws the script. It never logs and never fails the load.
#include <windows.h>

#include <cstdio>

#include "host/module_paths.h"
#include "host/script_hook.h"
#include "platform/platform.h"
#include "script_main.h"

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

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            set_paths_from_module(module);
            empty_log();
            scriptRegister(module, run_script);
            break;
        case DLL_PROCESS_DETACH:
            scriptUnregister(module);
            break;
        default:
            // Thread start and end: nothing to do, and nothing is written.
            break;
    }
    return TRUE;
}
