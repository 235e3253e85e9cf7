// The game folder as ondrelle-check sees it, for a player whose marker does
// not show: the game, the script hook and the ASI loader with their versions
// (or a loader under another name, or a second one), where Ondrelle.asi is
// and whether a second copy loads too, whether its Ondrelle.ini lies beside
// it, whether that folder can be written, and the three logs with their
// times: the hook's, the loader's and Ondrelle's own.
//
// Looking gathers the evidence and says what the files themselves show;
// what the logs show, set against each other and against the files' times
// and versions, is the verdict's (verdict.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "findings.h"
#include "other_logs.h"
#include "tool_platform.h"

// A program or library of the game's folder.
struct ProgramSeen {
    std::string name;     // as found in its folder, whatever the case; empty when missing
    std::string fault;    // why the game cannot load it, in words after its name; empty when nothing is known
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

struct GameFolder {
    std::string folder;   // the game folder's full path
    bool is_game_folder;  // RDR2.exe is there; nothing else is looked at when not
    ProgramSeen game, hook, loader;
    bool hook_too_old;           // made for an older build than the game's, and no log since says it accepted it
    std::string other_loader;    // a library under another name that names .asi files; empty for none
    bool plugin_found;           // Ondrelle.asi is where a loader loads it, maybe under another name
    std::string plugin_folder;   // the folder of Ondrelle.asi; the game folder when there is none
    ProgramSeen plugin;          // the copy the rest is about
    std::string settings_path;   // Ondrelle.ini beside Ondrelle.asi; empty when there is none
    int64_t settings_written;    // its last-write time; 0 when unknown
    bool plugin_folder_written;  // a file could be made in plugin_folder, as the log is
    bool under_wine;             // the checker runs under Wine or Proton, as the game then does
    LogFile hook_log, loader_log, plugin_log;
    std::vector<OtherLogLine> hook_lines, loader_lines;
    std::vector<Finding> findings;  // what the files show
};

// Looks at the game folder at path. own_version is this checker's version,
// to set against the plug-in's; named says whether the folder was named on
// the command line rather than the one the checker was started in.
GameFolder look_at_game_folder(const std::string& path, const char* own_version, bool named);

// The game in words for a fix: "RDR2.exe 1.0.1491.50", or "your game's
// version" when RDR2.exe gives none.
std::string game_in_words(const GameFolder& game);

// Whether a log was written since RDR2.exe last was, or that cannot be told:
// then it tells of the game as it is now, not of a start before an update.
bool written_since_game_update(const GameFolder& game, const LogFile& log);

// Whether version a ("1.2.0" or "1.2.0.0") is older than b, number by
// number; false when either is not known.
bool version_older(const std::string& a, const std::string& b);

// The name of the entry of folder that is name, whatever its letters' case
// (as Windows finds files); empty when there is none.
std::string entry_named(const std::string& folder, const std::string& name);

// A folder joined with a name by the system's separator.
std::string in_folder(const std::string& folder, const std::string& name);
