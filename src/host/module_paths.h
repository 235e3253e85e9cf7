// Where Ondrelle's two files lie: the log and the settings file, both beside
// the plug-in itself, whatever the plug-in's own file is called.
//
// The paths are wide (UTF-16 on Windows) so that a game folder with any
// characters works. They are written once while the plug-in is attached,
// before the script is registered, and only read afterwards.
#pragma once

#include <cstddef>

// Room for a path with its terminating NUL, in characters.
const size_t kPathCapacity = 1024;

// Room for the plug-in's own full file name as the loader reports it.
const size_t kModuleFileNameCapacity = 2048;

extern wchar_t log_path[kPathCapacity];
extern wchar_t config_path[kPathCapacity];

// Derives log_path and config_path from the plug-in's full file name: the
// directory up to and including the last backslash, then "Ondrelle.log" and
// "Ondrelle.ini". Only the backslash separates.
//
// A directory too long for a full path of kPathCapacity characters leaves
// both paths empty: every later open then fails cleanly, and nothing is ever
// written to a cut path that names some other file. A name without any
// backslash leaves them empty too. Returns whether both
// paths were set.
bool derive_module_paths(const wchar_t* module_file_name);

// The same from what the loader reported for the plug-in: the buffer of
// kModuleFileNameCapacity characters it filled and the length it returned. A
// length of 0 (it could not tell the name) or of the whole capacity (it cut
// the name to fit) gives no paths, as a name without a backslash does: a cut
// name could name another folder. Returns whether both paths were set.
bool derive_module_paths_from_loader(const wchar_t* buffer, unsigned long reported_length);
