// The stand-in hook's script functions for native builds: unregistering only
// forgets the script, and a wait is only counted. Native tests drive frames by calling
// the script's pass themselves, then scriptWait(0).
#include "host/script_hook.h"
#include "world.h"

void scriptUnregister(HookModule module) {
    StandInHookState* hook = stand_in_hook_state();
    ++hook->unregister_calls;
    if (hook->registered_module == module) hook->registered_script = nullptr;
}

void scriptWait(unsigned long milliseconds) {
    StandInFrame* frame = stand_in_frame();
    ++frame->wait_count;
    frame->last_wait_ms = static_cast<uint32_t>(milliseconds);
}
