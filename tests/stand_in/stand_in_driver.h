// The stand-in ScriptHookRDR2.dll's driver interface, by which a test host
// reaches the DLL's world, its frame record and its hook state, steps one
// frame (the registered script runs until its next scriptWait), starts the
// script again, and sends a key to the game window.
#pragma once

#include "world.h"

// The exit code of a process the stand-in hook ended with a FATAL line.
const unsigned kStandInFatalExitCode = 0xFA7A1;

extern "C" {
StandInWorld* stand_in_driver_world();
StandInFrame* stand_in_driver_frame();
StandInHookState* stand_in_driver_hook();
// Runs the script to its next wait; 0 when no script is registered.
int stand_in_driver_step();
// Starts the registered script again in the same loaded library, as the hook
// does when it recreates its script threads: the script fiber is deleted, and
// the next step calls the script function afresh on a new one.
void stand_in_driver_restart_script();
// Sends a key message to the game window, whose handling hands it to every
// keyboard handler registered; returns how many there are (0 in the build
// without the keyboard functions).
int stand_in_driver_key(const StandInKeyMessage* key);
}
