// The stand-in hook's script functions for native builds: unregistering only
// forgets the script, and a wait is counted. Native tests drive frames by
// calling the script's pass themselves, then scriptWait(0); or they run the
// real script function for a number of waits, after which the wait jumps
// back out of the script, which would otherwise never return.
#include <csetjmp>

#include "host/script_hook.h"
#include "world.h"

static std::jmp_buf g_out_of_script;
static int g_waits_left;  // 0: waits return to the script as usual

void scriptUnregister(HookModule module) {
    StandInHookState* hook = stand_in_hook_state();
    ++hook->unregister_calls;
    hook->script_unregistered_at = ++hook->calls;
    if (hook->registered_module == module) hook->registered_script = nullptr;
}

void scriptWait(unsigned long milliseconds) {
    StandInFrame* frame = stand_in_frame();
    ++frame->wait_count;
    frame->last_wait_ms = static_cast<uint32_t>(milliseconds);
    if (g_waits_left > 0 && --g_waits_left == 0) std::longjmp(g_out_of_script, 1);
}

// The script keeps nothing that needs destroying on its stack (plain
// records), so leaving it by a jump is as good as a return.
void stand_in_run_script(void (*script)(), int waits) {
    if (waits <= 0) return;
    g_waits_left = waits;
    if (setjmp(g_out_of_script) == 0) script();
    g_waits_left = 0;
}
