// What every part of the verdict shares: the evidence of the game folder put
// side by side in time (the timeline), and the words for the game, a
// program's version and fault, a folder, and a log's date.
//
// Each log is rewritten at every start of the game, and RDR2.exe at every
// update of the game, so a log older than RDR2.exe tells of a start before
// that update: what it says is told as what happened then, and weighs as a
// note at most. A Problem is what keeps the marker from showing now; one
// cause is one Problem, and what follows from it (no log, an empty log)
// points back to it instead of standing beside it.
#pragma once

#include <string>

#include "game_folder.h"
#include "log_kinds.h"

// The evidence put side by side in time.
struct Timeline {
    std::string plugin_name;  // the plug-in as the logs name it: the copy looked at
    // Each log tells of the game as it is now: written since its last update.
    bool hook_log_now, loader_log_now, plugin_log_now;
    // The hook was made for an older build than the game's, and no log of it
    // written since the game was last updated says it accepted the game.
    bool hook_too_old;
    bool hook_stopped_game;  // the hook's log of now says FATAL: it ran no script
    bool script_launched;    // the hook's log of now says it started Ondrelle's script
    bool plugin_loaded;      // a log of now says the plug-in was loaded
    bool loader_refused;     // the loader's log of now says Windows refused the plug-in
    bool loader_failed;      // ... or that the loader itself failed
    // Ondrelle.log, written since Ondrelle.asi was put there, shows that this
    // copy was loaded and its script started.
    bool plugin_ran;
};

Timeline timeline_of(const GameFolder& game);

// What a line of a log is weighed against, for a log that tells of the game
// as it is now or not.
LineContext line_context(const GameFolder& game, const Timeline& timeline, bool now);

// The game in words for a fix: "RDR2.exe 1.0.1491.50", or "your game's
// version" when RDR2.exe gives none.
std::string game_in_words(const GameFolder& game);

// "version 1.0.1491.50", or a word that none is given.
std::string version_words(const std::string& version);

// Why the game cannot load a program, in words after its name; empty when
// nothing is known against it.
std::string fault_words(ProgramFault fault);

// The game's folder or one of its subfolders, in words: the heading gives
// the game folder's path.
std::string folder_words(const GameFolder& game, const std::string& folder);

// The word for a log written before the game was last updated.
std::string before_update_words(const GameFolder& game);

// ", last written 2026-01-03 20:15", for a log's heading.
std::string last_written(const LogFile& log);
