// The files of a game folder as ondrelle-check reads them: a program's
// version, whether the game can load it, and when it was last written; a
// log's bytes and time; a name found whatever its letters' case, as Windows
// finds files. Beneath both lookers at the folder (game_folder.h,
// plugin_folder.h); it says nothing of what it reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tool_platform.h"

// The subfolders a loader reads .asi files from besides the game's folder:
// ScriptHookRDR2's loader reads asi; a loader under another name (version.dll,
// winmm.dll) reads scripts and plugins.
extern const char kAsiFolder[];
extern const char kScriptsFolder[];
extern const char kPluginsFolder[];

// Why the game cannot load a program, as read from its bytes.
enum ProgramFault {
    program_loads,       // nothing known keeps the game from loading it
    program_no_library,  // no Windows library at all: another file under its name
    program_cut_short,   // not whole: a download cut short, a damaged copy
    program_for_32_bit,  // made for 32-bit Windows
};

// A program or library of the game's folder.
struct ProgramSeen {
    std::string name;     // as found in its folder, whatever the case; empty when missing
    ProgramFault fault;   // program_loads when nothing is known against it, or it is missing
    std::string version;  // from its version resource; empty when none is given
    int64_t written;      // its last-write time, seconds since 1970; 0 when unknown
};

// A log of the game's folder, read whole.
struct LogFile {
    std::string name;  // as found in its folder; empty when there is none
    std::string path;
    bool read;        // its bytes and its time were read
    int64_t written;  // its last-write time, seconds since 1970; valid when read
    std::string bytes;
    UnreadableReason why;  // why it could not be read, when it is there and was not
};

// Reads the program or library name in folder (empty name: none there).
ProgramSeen program_seen(const std::string& folder, const std::string& name);

// Reads the log named name in folder, whatever its letters' case.
LogFile log_file_in(const std::string& folder, const char* name);

// Whether version a ("1.2.0" or "1.2.0.0") is older than b, number by
// number; false when either is not known.
bool version_older(const std::string& a, const std::string& b);

// The game's build, the third number of its version ("1.0.1491.50": 1491):
// a script hook is made for one build. -1 when the version is not known.
long build_of(const std::string& version);

// The names folder holds, files and folders, in the order Windows lists
// them (by name, whatever the letters' case), so that where the checker
// takes the first of several, it takes the same one on every system.
std::vector<std::string> entries_of(const std::string& folder);

// The name of the entry of folder that is name, whatever its letters' case
// (as Windows finds files); empty when there is none.
std::string entry_named(const std::string& folder, const std::string& name);

// A folder joined with a name by the system's separator.
std::string in_folder(const std::string& folder, const std::string& name);
