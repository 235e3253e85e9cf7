// The game folder as ondrelle-check finds it, for a player whose marker does
// not show: the game, the script hook and the ASI loader with their versions
// (or a loader under another name, or a second one), where Ondrelle.asi is
// and whether a second copy loads too, its Ondrelle.ini as the game reads
// it, whether that folder can be written, and the three logs with their
// times: the hook's, the loader's and Ondrelle's own, each line with its
// kind.
//
// Looking only gathers this evidence. What it means for the marker, the
// files and the logs set against each other, is the verdict's (verdict.h).
#pragma once

#include <string>
#include <vector>

#include "game_files.h"
#include "log_reading.h"
#include "plugin_folder.h"
#include "settings_report.h"

struct GameFolder {
    std::string folder;  // the game folder's full path
    bool named;          // named on the command line, rather than the folder the checker was started in
    // The loader's subfolder ("asi", "scripts", "plugins") the checker was
    // started in or named, when it looks at the game's folder above it
    // instead; empty otherwise.
    std::string looked_above;
    bool is_game_folder;  // RDR2.exe is there; nothing else is looked at when not
    bool package_here;    // not the game's folder, but Ondrelle.asi is in it
    ProgramSeen game, hook, loader;
    std::string other_loader;   // a library under another name that names .asi files; empty for none
    PluginFiles plugin_files;   // Ondrelle.asi where a loader loads it, or where it is instead
    bool plugin_found;          // a copy is where a loader loads it
    std::string plugin_folder;  // the folder of the copy looked at; the game folder when there is none
    ProgramSeen plugin;         // the copy the rest is about
    SettingsFileSeen settings;  // its Ondrelle.ini
    bool settings_checked;      // it was read as the game reads it, into settings_report
    SettingsReport settings_report;
    bool plugin_folder_written;  // a file could be made in plugin_folder, as the log is
    bool under_wine;             // the checker runs under Wine or Proton, as the game then does
    LogFile hook_log, loader_log, plugin_log;
    std::vector<LogLineRead> hook_lines, loader_lines;
    std::vector<LogEntry> plugin_entries;
};

// Looks at the game folder at path; named says whether the folder was named
// on the command line rather than the one the checker was started in.
GameFolder look_at_game_folder(const std::string& path, bool named);
