// A platform double for native tests: the clock, the local time and every
// failure of the settings file's look and read are set by the test, and every
// open is counted. Files themselves are real files on disk, and a settings
// file is read as Windows' text mode reads it (CR LF as LF, Ctrl-Z its end).
#pragma once

#include <cstdint>

#include "platform/platform.h"

struct FakePlatform {
    FileTime now;          // what platform_system_time answers
    LocalTime local_time;  // what platform_local_time answers
    bool fail_time_open;   // the last-write-time look cannot open the file
    bool fail_time_read;   // ... opens it but cannot read its time
    uint32_t time_read_error;
    bool fail_stream_open;  // a stream open of the settings file fails
    long read_error_after;  // >= 0: reading a "r" stream fails after this many bytes
    int system_time_reads;  // calls of platform_system_time
    int time_looks;         // calls of platform_last_write_time
    int stream_opens;       // calls of platform_open_shared, any mode
    int refused_modes;      // opens with a mode Windows would refuse (not "r", "w" or "a")
    int32_t window_width;   // the game window's client area; 0 = no window
    int32_t window_height;
    int window_looks;  // calls of platform_game_window_size
    bool ctrl_held;    // what the keyboard handler finds held
    bool shift_held;
    int modifier_looks;  // calls of platform_ctrl_held and platform_shift_held
};

extern FakePlatform fake_platform;

// Back to defaults: clock at one day after 1601, 09:05:03.007, nothing fails,
// no game window, counters zero.
void reset_fake_platform();
