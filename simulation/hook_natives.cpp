// The stand-in hook's single world and what every build of it shares:
// scriptRegister, which only records the script, and nativeInit, nativePush64
// and nativeCall, answered from the world and recorded in the current frame.
// Used by the stand-in DLL and the native test builds alike.
#include <cstdint>

#include "host/script_hook.h"
#include "world.h"

static StandInWorld g_world;
static StandInFrame g_frame;
static StandInHookState g_hook;

static bool g_call_begun;
static uint64_t g_hash;
static uint64_t g_arguments[kStandInMaxArguments];
static int g_argument_count;

StandInWorld* stand_in_world() { return &g_world; }
StandInFrame* stand_in_frame() { return &g_frame; }
StandInHookState* stand_in_hook_state() { return &g_hook; }

void scriptRegister(HookModule module, ScriptFunction script) {
    ++g_hook.register_calls;
    g_hook.script_registered_at = ++g_hook.calls;
    g_hook.registered_module = module;
    g_hook.registered_script = script;
}

void nativeInit(uint64_t hash) {
    // A call begun while another is still open breaks the calling rule.
    if (g_call_begun) ++g_frame.protocol_errors;
    g_call_begun = true;
    g_hash = hash;
    g_argument_count = 0;
}

void nativePush64(uint64_t value) {
    if (!g_call_begun || g_argument_count == kStandInMaxArguments) {
        ++g_frame.protocol_errors;
        return;
    }
    g_arguments[g_argument_count++] = value;
}

uint64_t* nativeCall() {
    if (!g_call_begun) ++g_frame.protocol_errors;
    g_call_begun = false;
    return stand_in_answer_native(&g_world, &g_frame, g_hash, g_arguments, g_argument_count);
}
