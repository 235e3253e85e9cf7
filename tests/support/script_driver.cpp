// Native frame driver and call-record readers.
#include "script_driver.h"

#include <cstring>

#include "fake_platform.h"
#include "host/native_call.h"
#include "host/script_hook.h"
#include "key_names.h"
#include "toggle_key.h"

void start_script(ScriptState* state) {
    stand_in_begin_frame(stand_in_frame());
    script_start(state);
}

void step_frame(ScriptState* state) {
    stand_in_begin_frame(stand_in_frame());
    script_pass(state);
    scriptWait(0);
}

void send_key(const StandInKeyMessage& key) {
    fake_platform.ctrl_held = (key.modifiers & kModifierCtrl) != 0;
    fake_platform.shift_held = (key.modifiers & kModifierShift) != 0;
    toggle_key_handler(key.virtual_key, 1, 0, 0, (key.modifiers & kModifierAlt) != 0, key.auto_repeat || key.release,
                       key.release);
    fake_platform.ctrl_held = fake_platform.shift_held = false;
}

std::string frame_trace() {
    const StandInFrame* frame = stand_in_frame();
    std::string trace;
    for (int i = 0; i < frame->call_count; ++i) {
        const StandInCall* call = &frame->calls[i];
        if (!trace.empty()) trace += ' ';
        trace += stand_in_native_name(call->hash);
        for (int n = 0; n < call->argument_count; ++n) {
            const char* text = stand_in_call_text(frame, call, n);
            if (text != nullptr) trace += std::string(":") + text;
        }
        // A UI app is asked about by the game's hash of its name: shown by
        // the name the world knows for that hash.
        if (std::strcmp(stand_in_native_name(call->hash), "ui_app_check") == 0 && call->argument_count == 1) {
            const char* app = stand_in_ui_app_name(static_cast<uint32_t>(call->arguments[0]));
            trace += std::string(":") + (app != nullptr ? app : "unknown hash");
        }
    }
    return trace;
}

std::vector<const StandInCall*> calls_named(const char* name) {
    const StandInFrame* frame = stand_in_frame();
    std::vector<const StandInCall*> calls;
    for (int i = 0; i < frame->call_count; ++i) {
        if (std::strcmp(stand_in_native_name(frame->calls[i].hash), name) == 0) calls.push_back(&frame->calls[i]);
    }
    return calls;
}

int32_t argument_int(const StandInCall* call, int n) {
    return static_cast<int32_t>(static_cast<uint32_t>(call->arguments[n]));
}

float argument_float(const StandInCall* call, int n) { return slot_float(call->arguments[n]); }

std::string argument_text(const StandInCall* call, int n) {
    const char* text = stand_in_call_text(stand_in_frame(), call, n);
    return text != nullptr ? text : "<not text>";
}

bool high_half_zero(const StandInCall* call, int n) { return (call->arguments[n] >> 32) == 0; }
