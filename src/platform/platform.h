// The few operating-system services the core of Ondrelle needs.
//
// The core (log, settings, marker script) includes this header instead of any
// system header, so that it builds and runs anywhere. platform_win32.cpp is
// what ships; platform_posix.cpp is its native twin for tools and tests.
// Nothing here keeps state between calls, and nothing here allocates.
#pragma once

#include <cstdint>
#include <cstdio>

#include "host/script_hook.h"

// A moment in the units the settings reload compares: 100-nanosecond
// intervals since 1 January 1601, UTC, as one unsigned 64-bit number.
typedef uint64_t FileTime;

// One millisecond and one second in FileTime units.
const FileTime kFileTimeMillisecond = 10000ULL;
const FileTime kFileTimeSecond = 1000 * kFileTimeMillisecond;

// The current system time (UTC).
FileTime platform_system_time();

// Milliseconds since some fixed moment (the system's start), a count that
// only grows and that the clock being set does not move. Cheap enough for
// every frame: under Wine and Proton, where many players run the game, the
// system time is a call into Linux that costs more than all of the marker's
// own work in a frame; this count is a read of memory the system keeps.
uint64_t platform_milliseconds();

enum FileTimeStatus {
    file_time_ok,
    file_time_open_failed,  // the file is missing, inaccessible or locked
    file_time_read_failed,  // opened, but its times could not be read
};

struct FileTimeLookup {
    FileTimeStatus status;
    FileTime last_write_time;  // valid only when status is file_time_ok
    uint32_t error_code;       // the system's code when status is file_time_read_failed
};

// Reads the last-write time of the file at path. The file is opened sharing
// read, write and delete, so an editor saving it at that moment is never
// disturbed, and closed again before returning whatever happened.
FileTimeLookup platform_last_write_time(const wchar_t* path);

// Opens the file at path as a C stream in text mode with mode "r", "w" or
// "a", without denying other programs any access. Returns null on failure;
// an empty path always fails.
FILE* platform_open_shared(const wchar_t* path, const char* mode);

struct LocalTime {
    unsigned short hour, minute, second, millisecond;
};

// The local wall-clock time to the millisecond.
LocalTime platform_local_time();

// The size of the game window's client area, in pixels: the game window is
// the visible top-level window of this process that has no owner, the one
// with the largest client area where there are several. Returns false,
// leaving width and height unchanged, when there is no such window or its
// client area has no size (minimised). It walks the desktop's windows, so it
// belongs to the once-a-second look, never to every frame.
bool platform_game_window_size(int32_t* width, int32_t* height);

// ---- The toggle key ----

// Whether Ctrl, or Shift, is held, as of the key message the calling thread
// is handling: the thread's own view of the keyboard, which is what the
// keyboard handler needs on the game window's thread. Asks the system
// nothing that blocks, allocates nothing and takes no lock.
bool platform_ctrl_held();
bool platform_shift_held();

// The hook's two keyboard functions, each null when the hook lacks it.
struct HookKeyboardFunctions {
    KeyboardHandlerFunction register_handler;
    KeyboardHandlerFunction unregister_handler;
};

// Looks the two keyboard functions up by their decorated names in the script
// hook already loaded: the module the plug-in's scriptRegister is imported
// from, found by its handle, never by a path, so that no other copy of the
// hook is loaded or asked. For the plug-in's entry, at load; both null where
// there is no such module (natively there never is).
HookKeyboardFunctions platform_hook_keyboard_functions();
