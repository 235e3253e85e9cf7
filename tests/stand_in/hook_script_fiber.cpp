// The stand-in hook's script functions for the stand-in ScriptHookRDR2.dll:
// the registered script runs on a Windows fiber, and every scriptWait hands
// control back to the driver, so a test host steps the game one frame at a
// time. Also the DLL's driver interface, exported by plain C names.
#include <windows.h>

#include "host/script_hook.h"
#include "stand_in_driver.h"
#include "world.h"

static void* g_driver_fiber;
static void* g_script_fiber;

static void WINAPI script_fiber_main(void*) {
    StandInHookState* hook = stand_in_hook_state();
    if (hook->registered_script != nullptr) hook->registered_script();
    // A script must never return; should one, keep handing frames back.
    for (;;) SwitchToFiber(g_driver_fiber);
}

void scriptUnregister(HookModule module) {
    StandInHookState* hook = stand_in_hook_state();
    ++hook->unregister_calls;
    hook->script_unregistered_at = ++hook->calls;
    if (hook->registered_module != module) return;
    hook->registered_script = nullptr;
    hook->registered_module = nullptr;
    if (g_script_fiber != nullptr) {
        DeleteFiber(g_script_fiber);
        g_script_fiber = nullptr;
    }
}

void scriptWait(unsigned long milliseconds) {
    StandInFrame* frame = stand_in_frame();
    ++frame->wait_count;
    frame->last_wait_ms = static_cast<uint32_t>(milliseconds);
    SwitchToFiber(g_driver_fiber);
}

extern "C" {

StandInWorld* stand_in_driver_world() { return stand_in_world(); }
StandInFrame* stand_in_driver_frame() { return stand_in_frame(); }
StandInHookState* stand_in_driver_hook() { return stand_in_hook_state(); }

void stand_in_driver_restart_script() {
    if (g_script_fiber == nullptr) return;
    DeleteFiber(g_script_fiber);
    g_script_fiber = nullptr;
}

int stand_in_driver_step() {
    if (stand_in_hook_state()->registered_script == nullptr) return 0;
    if (g_driver_fiber == nullptr) {
        g_driver_fiber = IsThreadAFiber() ? GetCurrentFiber() : ConvertThreadToFiber(nullptr);
    }
    if (g_script_fiber == nullptr) g_script_fiber = CreateFiber(0, script_fiber_main, nullptr);
    stand_in_begin_frame(stand_in_frame());
    SwitchToFiber(g_script_fiber);
    return 1;
}

}  // extern "C"
