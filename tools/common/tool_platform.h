// What the players' tools need of the system beyond the C library: files
// named in UTF-8 whatever the system's own file names are, why a file cannot
// be read, what a folder holds and whether it can be written, file times in
// local time, and the console they print to.
//
// tool_platform_posix.cpp serves Linux, tool_platform_win32.cpp Windows;
// they are the only tool files that touch the system. Nothing here keeps
// state between calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Opens the file at a UTF-8 path for reading as the plug-in reads its
// settings on Windows: in text mode, where a CR LF pair arrives as a line
// feed and a Ctrl-Z (0x1A) ends the file; on Linux too, so that both tools
// give the game's own verdict. Returns null when it cannot.
FILE* tool_open_for_reading(const char* utf8_path);

enum UnreadableReason {
    unreadable_missing,  // there is no such file (or folder on its way)
    unreadable_folder,   // it is a folder
    unreadable_denied,   // it exists but may not be read
};

// Why a file that tool_open_for_reading could not open cannot be read.
UnreadableReason tool_why_unreadable(const char* utf8_path);

// The full path a UTF-8 path names (from the current folder when it is
// relative), in UTF-8; the path itself when that cannot be told.
std::string tool_full_path(const std::string& utf8_path);

// The separator between a folder and a name in a path: '\\' on Windows.
extern const char kToolPathSeparator;

// What a path names.
enum ToolEntryKind { entry_missing, entry_file, entry_folder };
ToolEntryKind tool_entry_kind(const std::string& utf8_path);

// The names a folder holds, files and folders, without "." and "..", in no
// set order; empty when the folder cannot be listed.
std::vector<std::string> tool_folder_entries(const std::string& utf8_folder);

// A file's whole content, byte for byte; false when it cannot be read.
bool tool_read_file(const std::string& utf8_path, std::string* bytes);

// A file's last-write time in seconds since 1970 (UTC); false when unknown.
bool tool_last_write_time(const std::string& utf8_path, int64_t* seconds);

// The time now, in seconds since 1970 (UTC).
int64_t tool_now();

// A time in seconds since 1970 (UTC) as the local date and time,
// "2026-12-08 14:03".
std::string tool_local_time_text(int64_t seconds);

// Whether a program may create files in a folder: makes a file there and
// removes it again, leaving the folder as it was.
bool tool_can_write_in(const std::string& utf8_folder);

// Whether a file is marked read-only (Windows' Read-only attribute; no
// write permission for anyone on Linux): programs may read it but not save it.
bool tool_is_read_only(const std::string& utf8_path);

// Whether the tool runs under Wine or Proton, as the game then does: on
// Linux the game runs under nothing else.
bool tool_runs_under_wine();

// The folder that holds the running program, without a trailing separator;
// empty when it cannot be told.
std::string tool_program_folder();

// The system's folder for temporary files, without a trailing separator.
std::string tool_temp_folder();

// The value of an environment variable, in UTF-8; empty when it is not set.
std::string tool_environment(const char* name);

// Writes text to the file at path as text (CR LF line ends on Windows),
// whole or not at all: it is written beside it under another name, then put
// in its place, replacing a file of that name. False, with nothing left
// behind, when it cannot be.
bool tool_write_text_whole(const std::string& utf8_path, const std::string& text);

#if !defined(_WIN32)
// What only the tool that runs on Linux alone, the preview, needs.

// Whether the folder a file would be written into exists (the current folder
// for a bare file name).
bool tool_folder_of_file_exists(const char* utf8_path);

// Writes contents to a new file of the system's temporary folder, with a
// name of its own ending in ending (".ini"), and returns its path; empty,
// with nothing left behind, when it cannot be written whole.
std::string tool_write_temp_file(const std::string& contents, const std::string& ending);
#endif

// Prepares the console for UTF-8 output and says whether the console is the
// program's own, as when a player double-clicks it in Explorer: then the
// window closes as soon as the program ends, unless it waits.
bool tool_console_is_own();

// Asks the player to press Enter and waits for it.
void tool_wait_for_enter();

#if defined(_WIN32)
// A wide text (a command-line argument) in UTF-8, whatever its length; empty
// when it holds no valid text.
std::string tool_utf8_from_wide(const wchar_t* wide);

// Why a file cannot be read, by the system's error code of a failed look at
// it: a name no file can have, or a folder on the way that is not there, is
// to the player no such file; anything else, a file that may not be read.
UnreadableReason tool_unreadable_reason_of(uint32_t error_code);
#endif
