// Drives the marker script natively, one frame at a time, against the
// stand-in world, and reads the frame's call record back as text and values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "script_main.h"
#include "world.h"

// Runs the script's start-up into the current frame record.
void start_script(ScriptState* state);

// One frame as the hook runs it: a new record, one pass, scriptWait(0).
void step_frame(ScriptState* state);

// A key message handed to the toggle key's handler as the hook does on the
// game window's thread: Ctrl and Shift held as the message says, in the
// platform double, and Alt in the message itself.
void send_key(const StandInKeyMessage& key);

// The frame's calls as "name name:text ..." with the text arguments, e.g.
// "player_check effect_check:WheelHUDIn", and a UI app asked about by its
// hash with the app's name ("ui_app_check:MAP"), for timeline assertions.
std::string frame_trace();

// The frame's calls of one native, by its role name.
std::vector<const StandInCall*> calls_named(const char* name);

// Argument n of a call read as the kinds the natives take.
int32_t argument_int(const StandInCall* call, int n);
float argument_float(const StandInCall* call, int n);
std::string argument_text(const StandInCall* call, int n);

// Whether argument n of a call has a zero high half, as every int and float
// argument must.
bool high_half_zero(const StandInCall* call, int n);
