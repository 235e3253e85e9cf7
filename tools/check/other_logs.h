// The script hook's log (ScriptHookRDR2.log) and the ASI loader's
// (asiloader.log), both in the game's folder and both rewritten at every
// start of the game, read for what they say about the hook, the loader and
// Ondrelle.
//
// Neither program can be run here. What their lines look like is known from
// public reports and from community reverse engineering of the hook
// 1.0.1491.17 and of the loader shipped in its zip, so each line is matched
// tolerantly: by its stem, whatever the letters' case, with or without the
// hook's "[HH:MM:SS] " in front, whatever follows. A line matched by no stem
// is shown as it is, never guessed at.
#pragma once

#include <string>
#include <vector>

// What a line of either log says.
enum OtherLogSays {
    says_nothing_known,
    // The script hook's.
    hook_header,                // a header line: "//" and the hook's name, no time
    hook_started,               // INIT: Started
    hook_accepted_the_game,     // INIT: Success, game version is VER_1_0_1491_50 (or VER_AUTO)
    hook_unknown_game_version,  // FATAL: Unknown game version
    hook_failed,                // any other FATAL: line
    script_registered,          // INIT: Registering script 'Ondrelle.asi'
    script_launched,            // CORE: Launching main() for 'Ondrelle.asi'
    script_failed,              // CORE: An exception occurred while executing 'Ondrelle.asi'
    game_closed_for_online,     // CORE: Terminating the game, disable mods in order to go Online
    // The ASI loader's.
    loader_ran,       // // RDR 2 ASI LOADER (build ...)
    loader_began,     // LOADER: Loading *.asi plugins
    plugin_found,     // ASI: Loading "<path>\Ondrelle.asi"
    plugin_loaded,    // "Ondrelle.asi" => 0x...
    plugin_refused,   // "Ondrelle.asi" failed to load
    loader_finished,  // LOADER: Finished loading *.asi plugins
    loader_failed,    // FATAL: Init failed!
};

struct OtherLogLine {
    std::string text;  // as written, up to a NUL byte
    bool damaged;      // a run of NUL bytes started on it
    OtherLogSays says;
    std::string named;  // the plug-in (or its path) or the game version the line names; empty for none
};

// The lines of each log, each with what it says.
std::vector<OtherLogLine> hook_log_lines(const std::string& bytes);
std::vector<OtherLogLine> loader_log_lines(const std::string& bytes);

// Whether the line names the plug-in file plugin_name ("Ondrelle.asi"), by
// itself or at the end of a path, whatever the letters' case.
bool names_plugin(const OtherLogLine& line, const std::string& plugin_name);

// Whether a line says `says` about the plug-in plugin_name, or about the
// hook or the loader itself for a line that names no plug-in.
bool log_says(const std::vector<OtherLogLine>& lines, OtherLogSays says, const std::string& plugin_name);
