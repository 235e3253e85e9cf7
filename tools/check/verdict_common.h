// What every part of the verdict shares: where the plug-in is, as the
// loaders present read the folders; the evidence put on one timeline of
// starts of the game; and the words for the game, a program's version and
// fault, a folder, and a log's date.
//
// Times are read for what they are. A program's last-write time is its
// release date, not when it was put in (unpacking and copying keep the
// source's time); only RDR2.exe, rewritten by the game's updates, and
// Ondrelle.ini, saved by an editor, date events in the game folder. Each
// log is rewritten or emptied when the game starts, so a log's last write is
// never before the start it belongs to; the hook's log tells when its start
// began. The verdict is the last start's: what a log of an earlier start
// says happened then, and weighs as a note at most, as does what a log from
// before the game's last update says. A Problem is what keeps the marker
// from showing now; one cause is one Problem, and what follows from it (no
// log, an empty log) points back to it instead of standing beside it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game_folder.h"
#include "log_kinds.h"

// How a log stands to the last start of the game.
enum LogEra {
    era_none,           // no such log, or it could not be read
    era_last_start,     // of the last start, and of the game as it is now
    era_before_update,  // of the last start, but the game was updated since: it tells of the game as it was then
    era_earlier_start,  // of a start before the last one
};

// A copy of the plug-in in the folder that holds it.
struct CopySeen {
    const PluginFolder* folder;
    const ProgramSeen* file;
};

// Where Ondrelle's plug-in is, as the loaders present read the folders.
struct Placement {
    std::vector<CopySeen> loaded;  // the copies a loader present loads, the one the report is about first
    const PluginFolder* folder;    // the folder of that copy; the game's folder when none is loaded
    CopySeen unread;               // with none loaded: a copy in a folder no loader present reads; null file for none
    bool by_unknown_loader;        // the copy looked at is loaded only if a loader of a kind not known reads its folder
    bool loaders_assumed;          // there is no loader: the folders are those ScriptHookRDR2's loader would read
};

// The evidence put side by side in time.
struct Timeline {
    int64_t now;
    std::vector<std::string> dated_ahead;  // files dated after now: weighed as if they had no date
    int64_t game_updated;                  // RDR2.exe's last write; 0 when it gives none to go by
    int64_t last_start;                    // when the last start any log shows began; 0 when none does
    LogEra hook_era, loader_era, plugin_era;
    std::string plugin_name;  // the plug-in as the logs name it: the copy looked at
    Placement placement;
    // The hook was made for an older build than the game's, and no log of it
    // of the last start says it accepted the game.
    bool hook_too_old;
    // What the logs of the last start (of the game as it is now) tell.
    bool hook_stopped_game;  // the hook ran no script: it failed, or did not know the game
    bool script_registered;  // the hook registered Ondrelle's script
    bool script_launched;    // ... and started it
    bool others_registered;  // the hook registered other plug-ins' scripts
    bool plugin_loaded;      // a log says the plug-in was loaded
    bool loader_refused;     // the loader's log says Windows refused the plug-in
    bool loader_failed;      // ... or that the loader itself failed
    bool plugin_ran;         // Ondrelle.log holds its script's start
};

Timeline timeline_of(const GameFolder& game);

// The loaders that load plug-ins: those that are no library of Windows'.
std::vector<const LoaderSeen*> real_loaders(const GameFolder& game);

// What a line of a log of the given era is weighed against.
LineContext line_context(const GameFolder& game, const Timeline& timeline, LogEra era);

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

// The word for a log of the last start written before the game was last
// updated, and for one of an earlier start.
std::string before_update_words(const Timeline& timeline);
std::string earlier_start_words(const LogFile& log, const Timeline& timeline);

// ", last written 2026-01-03 20:15", for a log's heading.
std::string last_written(const LogFile& log);
