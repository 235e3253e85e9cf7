// The verdict on the logs, drawn from all the evidence together: the
// script hook's, the ASI loader's and Ondrelle's own logs with their times,
// the versions of RDR2.exe, the hook and Ondrelle.asi, and when Ondrelle.ini
// was last saved, put side by side as one timeline.
//
// Each log is rewritten at every start of the game, and RDR2.exe at every
// update of the game, so a log older than RDR2.exe tells of a start before
// that update: what it says is told as what happened then, and weighs as a
// note at most. A Problem is what keeps the marker from
// showing now; one cause is one Problem, and what follows from it (no log,
// an empty log) points back to it instead of standing beside it.
#pragma once

#include <string>

#include "findings.h"
#include "game_folder.h"
#include "settings_report.h"

// The evidence put side by side in time.
struct Timeline {
    std::string plugin_name;  // the plug-in as the logs name it: the copy looked at
    // Each log tells of the game as it is now: written since its last update.
    bool hook_log_now, loader_log_now, plugin_log_now;
    bool hook_stopped_game;  // the hook's log of now says FATAL: it ran no script
    bool script_launched;    // the hook's log of now says it started Ondrelle's script
    bool plugin_loaded;      // a log of now says the plug-in was loaded
    bool loader_refused;     // the loader's log of now says Windows refused the plug-in
    bool loader_failed;      // ... or that the loader itself failed
};

Timeline timeline_of(const GameFolder& game);

// The parts of the report for each log; a part with no heading when there
// is nothing to say (no such log, or no plug-in for Ondrelle.log).
ReportPart hook_log_part(const GameFolder& game, const Timeline& timeline);
ReportPart loader_log_part(const GameFolder& game, const Timeline& timeline);

// Ondrelle.log: whether it is there, what its absence or emptiness means,
// then its entries explained. settings is the report on the Ondrelle.ini
// checked above; null when there was none.
ReportPart plugin_log_part(const GameFolder& game, const Timeline& timeline, const SettingsReport* settings);

// What ondrelle-check says when neither the loader's log nor Ondrelle.log
// is there: under Wine or Proton the loader runs only with a launch option,
// and otherwise the game was not started since Ondrelle was installed.
std::string no_logs_words(bool under_wine);
