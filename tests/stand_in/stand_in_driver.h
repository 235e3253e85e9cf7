// The stand-in ScriptHookRDR2.dll's driver interface, by which a test host
// reaches the DLL's world, its frame record and its hook state, and steps one
// frame: the registered script runs until its next scriptWait.
#pragma once

#include "world.h"

extern "C" {
StandInWorld* stand_in_driver_world();
StandInFrame* stand_in_driver_frame();
StandInHookState* stand_in_driver_hook();
// Runs the script to its next wait; 0 when no script is registered.
int stand_in_driver_step();
}
