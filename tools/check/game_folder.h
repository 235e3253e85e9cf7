// The game folder as ondrelle-check finds it, for a player whose marker does
// not show: the game and the script hook with their versions, the ASI
// loaders known by what they are, Ondrelle's files in each folder a loader
// may read (its copies, its Ondrelle.ini as the game reads it, its
// Ondrelle.log, whether the folder can be written), and the hook's and the
// loader's logs, each line with its kind; all with their times, and the time
// now.
//
// Looking only gathers this evidence. What it means for the marker, the
// files and the logs set against each other, is the verdict's (verdict.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game_files.h"
#include "loaders.h"
#include "log_reading.h"
#include "plugin_folder.h"

struct GameFolder {
    std::string folder;  // the game folder's full path
    bool named;          // named on the command line, rather than the folder the checker was started in
    // The loader's subfolder ("asi", "scripts", "plugins") the checker was
    // started in or named, when it looks at the game's folder above it
    // instead; empty otherwise.
    std::string looked_above;
    bool is_game_folder;           // RDR2.exe is there; nothing else is looked at when not
    bool package_here;             // not the game's folder, but Ondrelle.asi is in it
    std::string game_folder_near;  // not the game's folder: one a folder below or above it that holds RDR2.exe
    ProgramSeen game, hook;
    std::vector<LoaderSeen> loaders;
    // The game's folder first, then its asi, scripts and plugins folders
    // that are there, with Ondrelle's files in each.
    std::vector<PluginFolder> plugin_folders;
    std::string plugin_astray;  // a folder further down holding Ondrelle.asi; empty for none
    bool under_wine;            // the checker runs under Wine or Proton, as the game then does
    int64_t now;                // seconds since 1970
    LogFile hook_log, loader_log;
    std::vector<LogLineRead> hook_lines, loader_lines;
};

// Looks at the game folder at path; named says whether the folder was named
// on the command line rather than the one the checker was started in.
GameFolder look_at_game_folder(const std::string& path, bool named);
