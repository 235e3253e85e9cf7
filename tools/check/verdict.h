// The verdict on a game folder, drawn from all its evidence together: the
// files with their versions and times, the script hook's, the ASI loader's
// and Ondrelle's own logs, and Ondrelle.ini as the game reads it. Every
// weighing of the evidence is made here, in the verdict's parts
// (verdict_folder.h, verdict_logs.h, verdict_plugin_log.h) and the table of
// log-line kinds (log_kinds.h); the look at the folder only gathers.
#pragma once

#include "findings.h"
#include "game_folder.h"

struct Verdict {
    VerdictPart folder;    // the game's folder and its files
    VerdictPart hook_log;  // each part has no heading when there is nothing to say
    VerdictPart loader_log;
    VerdictPart plugin_log;
    // The Ondrelle.ini the report checks as the game reads it: the one
    // beside the plug-in, or in the game's folder when there is no plug-in;
    // null when there is none that could be read.
    const PluginFolder* settings_folder;
};

// The verdict on the game folder; own_version is this checker's version, to
// set against the plug-in's.
Verdict weigh_game_folder(const GameFolder& game, const char* own_version);
