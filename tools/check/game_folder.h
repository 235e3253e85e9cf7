// The game folder as ondrelle-check sees it, for a player whose marker does
// not show: the game, the script hook and the ASI loader with their versions
// (or a loader under another name), where Ondrelle.asi is, whether a second
// copy loads too, and whether its Ondrelle.ini lies beside it, whether that
// folder can be written, and the hook's and the loader's own logs.
//
// Each finding says what was found, what it means, and the fix. The checker
// reads the settings file and the log that this finds; the formats of the
// hook's and the loader's logs are theirs, and are shown as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum FindingWeight {
    finding_fine,     // as it should be
    finding_note,     // worth knowing, but the marker can show
    finding_problem,  // it keeps the marker from showing
};

struct Finding {
    FindingWeight weight;
    std::string text;                 // what was found, what it means, the fix
    std::vector<std::string> quoted;  // lines of another program's file, shown as they are
};

struct GameFolder {
    std::string folder;          // the game folder's full path
    std::string plugin_folder;   // the folder of Ondrelle.asi; the game folder when there is none
    bool plugin_found;           // Ondrelle.asi is there at all, maybe under another name
    int64_t plugin_written;      // its last-write time, seconds since 1970
    std::string settings_path;   // Ondrelle.ini beside Ondrelle.asi; empty when there is none
    bool plugin_folder_written;  // a file could be made in plugin_folder, as the log is
    std::vector<Finding> findings;
};

// Looks at the game folder at path. own_version is this checker's version,
// to set against the plug-in's.
GameFolder look_at_game_folder(const std::string& path, const char* own_version);

// Prints the findings under a heading, wrapped to the console.
void print_game_folder(const GameFolder& game);

// How many findings keep the marker from showing.
int problems_in(const std::vector<Finding>& findings);

// The name of the entry of folder that is name, whatever its letters' case
// (as Windows finds files); empty when there is none.
std::string entry_named(const std::string& folder, const std::string& name);

// A folder joined with a name by the system's separator.
std::string in_folder(const std::string& folder, const std::string& name);
