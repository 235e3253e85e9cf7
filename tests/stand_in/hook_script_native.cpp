// The stand-in hook's script functions for native builds: registration is
// only recorded, and a wait only counted. Native tests drive frames by calling
// the script's pass themselves, then scriptWait(0).
#include "host/script_hook.h"
#include "world.h"

void scriptRegister(HookModule module, ScriptFunction script) {
    StandInHookState* hook = stand_in_hook_state();
    ++hook->register_calls;
    hook->registered_module = module;
    hook->registered_script = script;
}

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
