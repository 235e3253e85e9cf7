// The steps of looking at a game folder that game_folder.cpp and
// plugin_folder.cpp share: how a program file is read, how a folder is
// named in a finding, and the look at Ondrelle.asi and its Ondrelle.ini.
// Internal to ondrelle-check's look at a folder (game_folder.h).
#pragma once

#include <string>

#include "game_folder.h"

// The subfolders a loader reads .asi files from besides the game's folder:
// ScriptHookRDR2's loader reads asi; a loader under another name (version.dll,
// winmm.dll) reads scripts and plugins.
extern const char kAsiFolder[];
extern const char kScriptsFolder[];
extern const char kPluginsFolder[];

// Reads the program or library name in folder (empty name: none there).
ProgramSeen program_seen(const std::string& folder, const std::string& name);

// "version 1.0.1491.50", or a word that none is given.
std::string version_words(const std::string& version);

// The game's folder or one of its subfolders, in words: the heading gives
// the game folder's path.
std::string folder_words(const GameFolder& game, const std::string& folder);

void add_finding(GameFolder* game, FindingWeight weight, const std::string& text);

// Where Ondrelle.asi is (the game's folder, a loader's subfolder, both, or
// astray), and fills plugin_found, plugin_folder and plugin.
void look_at_plugin(GameFolder* game, const char* own_version);

// Ondrelle.ini beside Ondrelle.asi, or a file saved under a name near it;
// fills settings_path and settings_written.
void look_at_settings_file(GameFolder* game);
