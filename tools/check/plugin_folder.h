// Where Ondrelle.asi is, and its Ondrelle.ini, as found: the copies a loader
// loads, a copy left where no loader looks, and a settings file saved under
// a name the plug-in never reads. Part of the look at a game folder
// (game_folder.h); it gathers, and says nothing of what it found.
#pragma once

#include <string>
#include <vector>

#include "game_files.h"

// A copy of the plug-in: a loader loads every .asi file in the folders it
// reads, so Ondrelle.asi under another name (the "Ondrelle (2).asi" that
// Explorer's "Keep both files" leaves) is loaded as well, and reads the
// Ondrelle.ini beside it all the same.
struct PluginCopy {
    std::string folder;
    ProgramSeen file;
    bool settings_beside;  // an Ondrelle.ini lies beside it
};

struct PluginFiles {
    // The copies in the folders loaders read, folder by folder, in each the
    // one to keep first: the newest, and of the same version, Ondrelle.asi
    // itself.
    std::vector<PluginCopy> copies;
    std::string saved_as_dll;  // with no copy: Ondrelle's plug-in saved as a .dll in a loader's folder
    std::string astray;        // with no copy: a folder up to two down holding Ondrelle.asi, from the game's
};

// Whether a copy bears the name it is shipped under, Ondrelle.asi.
bool named_as_shipped(const PluginCopy& copy);

// The plug-in's files in the game's folder: its own, its asi folder, and
// with a loader under another name its scripts and plugins folders too.
PluginFiles look_for_plugin(const std::string& game_folder, bool other_loader);

// Ondrelle.ini beside the plug-in, or what is there instead.
struct SettingsFileSeen {
    std::string path;                     // Ondrelle.ini beside the plug-in; empty when there is none
    bool readable;                        // it opens as the game opens it
    UnreadableReason why;                 // why it cannot be read, when it cannot
    int64_t written;                      // its last-write time; 0 when unknown
    bool read_only;                       // marked read-only: editors cannot save it
    std::vector<std::string> near_names;  // files beside it named near Ondrelle.ini, sorted
    // With none beside the plug-in: the game's folder or its asi folder,
    // whichever the plug-in is not in, when that one holds an Ondrelle.ini.
    std::string other_folder;
};

// The settings file in plugin_folder, the plug-in's (the game's folder when
// none was found).
SettingsFileSeen look_for_settings_file(const std::string& plugin_folder, const std::string& game_folder,
                                        bool plugin_found);
