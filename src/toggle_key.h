// The toggle key across the two threads it spans: the keyboard handler, which
// the hook calls on the game window's thread for each key message there, and
// the marker script on the hook's script fiber, which takes a press the
// handler recorded in its next pass that gets through every gate.
//
// They share four atomics and nothing else: the key the handler looks for,
// which the script writes when it takes the settings up; whether a press of
// it was recorded, which the handler sets and the script takes; whether the
// hook took the handler at this load, which the entry writes; and whether
// the script has said, this load, that it did not. The handler calls no
// native, writes no log, takes no lock and allocates nothing: it compares
// numbers and sets a flag, so it is safe whenever the hook calls it, whatever
// the script is doing then, and a press that comes between two passes waits
// for the next one.
#pragma once

#include <cstdint>

// ---- The entry's part ----

// Starts this load's link, before the handler can be called: no key armed,
// no press recorded, and whether the hook took the handler.
void start_toggle_key_link(bool handler_registered);

// ---- The handler ----

// The keyboard handler the entry registers with the hook (a KeyboardHandler).
// Records a press of the armed key: a key going down, not an auto-repeat
// (was_down_before) nor a release (is_up_now), with exactly the modifiers the
// key names held and no other; Alt from is_with_alt, Ctrl and Shift from the
// calling thread's own keyboard state (platform.h). The repeat count, the
// scan code and whether it is an extended key do not matter.
void toggle_key_handler(uint32_t key, uint16_t repeats, uint8_t scan_code, int32_t is_extended, int32_t is_with_alt,
                        int32_t was_down_before, int32_t is_up_now);

// ---- The script's part ----

// Arms the handler with a key and its modifiers (key_names.h); none disarms
// it, and it records nothing.
void arm_toggle_key(int32_t toggle_key);

// Whether a press was recorded since the last take or drop; forgets it.
// In a pass without one, which is nearly every pass, a single atomic load.
[[nodiscard]] bool take_toggle_press();

// Forgets a recorded press: a pass that may not take one drops it.
void drop_toggle_press();

// Whether the hook took the handler at this load.
bool keyboard_handler_registered();

// True the first time it is asked in this load, false ever after: the
// script says once per load that toggle_key has no effect.
bool first_word_on_missing_handler();
