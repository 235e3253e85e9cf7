// Ondrelle's files as found in the folders a loader may read: the game's
// folder and its asi, scripts and plugins folders. In each, the copies of
// Ondrelle.asi, the plug-in saved as a .dll, its Ondrelle.ini read as the
// game reads it (or a file saved under a name near it) and its Ondrelle.log;
// and a folder further down that holds Ondrelle.asi where no loader looks.
// Part of the look at a game folder (game_folder.h); which folder a loader
// present reads is the verdict's to say.
#pragma once

#include <string>
#include <vector>

#include "game_files.h"
#include "log_reading.h"
#include "settings_report.h"

// Ondrelle.ini in a folder, or what is there instead.
struct SettingsFileSeen {
    std::string path;                     // Ondrelle.ini; empty when there is none
    bool readable;                        // it opens as the game opens it
    UnreadableReason why;                 // why it cannot be read, when it cannot
    int64_t written;                      // its last-write time; 0 when unknown
    bool read_only;                       // marked read-only: editors cannot save it
    std::vector<std::string> near_names;  // files named near Ondrelle.ini, sorted
};

// One folder a loader may read, with Ondrelle's files in it.
struct PluginFolder {
    std::string path;
    std::string subfolder;  // "" for the game's own folder, else "asi", "scripts" or "plugins"
    // The copies of the plug-in: a loader loads every .asi file in the
    // folders it reads, so Ondrelle.asi under another name (the "Ondrelle
    // (2).asi" that Explorer's "Keep both files" leaves) is loaded as well,
    // and reads the Ondrelle.ini beside it all the same. The one to keep
    // first: the newest, and of the same version, Ondrelle.asi itself.
    std::vector<ProgramSeen> copies;
    std::string saved_as_dll;  // Ondrelle's plug-in saved under the ending .dll; empty for none
    SettingsFileSeen settings;
    bool settings_checked;  // Ondrelle.ini was read as the game reads it, into settings_report
    SettingsReport settings_report;
    LogFile log;  // Ondrelle.log
    bool log_read_only;
    std::vector<LogEntry> entries;
    bool written;  // a file could be made in it, as the log is
};

// Whether a copy bears the name it is shipped under, Ondrelle.asi.
bool named_as_shipped(const ProgramSeen& copy);

// The folder at path with Ondrelle's files in it; subfolder names it among
// the game's ("" for the game's own).
PluginFolder plugin_folder_at(const std::string& path, const std::string& subfolder);

// The game's folder, then those of its asi, scripts and plugins folders that
// are there, each as found.
std::vector<PluginFolder> look_at_plugin_folders(const std::string& game_folder);

// A folder inside the game's, up to two down and none of those a loader may
// read, that holds Ondrelle.asi (lml\Ondrelle): where a package unpacked into
// a folder of its own, or a mod manager, left it. Its path from the game's
// folder; empty for none.
std::string folder_holding_plugin_astray(const std::string& game_folder);
