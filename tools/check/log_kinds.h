// Every kind of line the three logs of a game folder hold, in one table: the
// script hook's (ScriptHookRDR2.log), the ASI loader's (asiloader.log) and
// Ondrelle's own (Ondrelle.log). A row is one kind: the log it is in, its
// stem (for Ondrelle.log the core's own format constant, matched whole),
// whether it names a plug-in, what it tells the verdict, how it weighs, what
// it means and its fix. Adding a kind of line is adding a row.
//
// The other programs cannot be run here. What their lines look like is known
// from public reports and from community reverse engineering of the hook
// 1.0.1491.17 and of the loader shipped in its zip, so their stems are
// matched tolerantly: whatever the letters' case, with or without the hook's
// "[HH:MM:SS] " in front, whatever follows. A line matched by no stem is
// shown as it is, never guessed at.
#pragma once

#include <string>
#include <vector>

#include "findings.h"
#include "settings_report.h"

enum LogName { hook_log, loader_log, plugin_log };

// What a line is evidence of, beyond its words: what the verdict sets side
// by side with the other logs and the files.
enum LineTells {
    tells_nothing_more,
    tells_hook_accepted_the_game,  // the hook took the game's version
    tells_game_version_unknown,    // the hook did not know the game's version, and closed it
    tells_hook_failed,             // the hook failed otherwise, and ran no script
    tells_script_registered,       // a plug-in registered its script with the hook
    tells_script_waiting,          // the hook waits for the loading screen to end to start a script
    tells_script_launched,         // the hook started a plug-in's script
    tells_plugin_found,            // the loader found a plug-in at the path it names
    tells_plugin_loaded,           // the loader loaded a plug-in
    tells_plugin_refused,          // Windows refused to load a plug-in
    tells_loader_failed,           // the loader failed as it started
    tells_script_started,          // Ondrelle's script logged its start
};

// How a line weighs for the player.
enum LineWeight {
    line_counted,      // the program's own steps: counted, never shown
    line_fine,         // shown and explained
    line_note,         // worth knowing
    line_problem_now,  // a Problem in a log of the last start of the game as it is now; a note otherwise
    line_weighed,      // weighed by its row's function against the rest of the evidence
};

struct LogLineKind;
struct SettingsLineSeen;

// What a line is weighed against: what the verdict knows besides it.
struct LineContext {
    std::vector<std::string> captured;  // what the stem's conversions stood for in the line
    std::string plugin_name;            // the plug-in as the logs name it: the copy looked at
    std::string game;                   // the game in a fix: "RDR2.exe 1.0.1491.50"
    std::string game_version;           // RDR2.exe's version; empty when it gives none
    // The log is of the last start of the game as it is now: neither of an
    // earlier start nor from before the game's last update.
    bool now;
    bool hook_too_old;                      // the hook is older than the game, said above
    bool hook_made_for_the_game;            // the hook now there is made for the game's build
    bool hook_newer_than_the_game;          // ... or for a later build than the game's
    bool launched_this_start;               // the hook started Ondrelle's script in the log's start
    std::string refusal_found_above;        // why Windows refused the plug-in, as found above; empty for none
    bool path_garbled;                      // the loader's log has '?' where the game folder's path has a letter
    const SettingsReport* settings;         // the Ondrelle.ini checked above; null when there was none
    bool settings_saved_since;              // that file was saved after the log was last written
    std::vector<std::string>* others_said;  // the other plug-ins whose error was said already
};

struct LogLineKind {
    LogName log;
    // The line's stem as a pattern (log_lines.h): %s is the plug-in, the
    // path or the game version the line names. For Ondrelle.log, the core's
    // format constant, matched whole and exactly.
    const char* stem;
    bool names_plugin;  // %s names a plug-in: the line is Ondrelle's only when it names Ondrelle.asi
    LineTells tells;
    LineWeight weight;
    // What the screen showed, for Ondrelle.log's kinds ({on_screen}); null for none.
    const char* on_screen;
    // What it means and its fix, with {fields} filled in: {plugin}, the
    // plug-in as the logs name it; {named}, what the line names (a plug-in,
    // a dictionary), escaped; {number}, the number it gives; {line}, the
    // settings line it names; {game}; {on_screen}; {key_count}, the keys a
    // settings file must hold; {known_textures}, the pairs known to exist. A
    // name not in this list stops the program: no explanation prints a hole.
    const char* meaning;
    const char* fix;
    // For line_weighed: the finding, from the row and the context; false for
    // a line only counted.
    bool (*weigh)(const LogLineKind& kind, const LineContext& context, Finding* finding);
    // For a fault of a settings line: whether a line of the settings file as
    // it is now holds that fault; null for the others.
    bool (*still_in_file)(const SettingsLineSeen& line, const LineContext& context);
};

extern const LogLineKind kLogLineKinds[];
extern const int kLogLineKindCount;

// The kind of a line of the log (the time in front of a hook's line cut
// off), and what its conversions stood for; null, with captured empty, for a
// line of no known kind.
const LogLineKind* kind_of_line(LogName log, const std::string& text, std::vector<std::string>* captured);

// Whether a line of kind, whose conversions stood for captured, names the
// plug-in file plugin_name ("Ondrelle.asi"), by itself or at the end of a
// path, whatever the letters' case.
bool line_names_plugin(const LogLineKind& kind, const std::vector<std::string>& captured,
                       const std::string& plugin_name);

// Whether a line of kind is Ondrelle's: it names no plug-in, or names it.
bool line_is_ours(const LogLineKind& kind, const std::vector<std::string>& captured, const std::string& plugin_name);

// The finding of a line of kind, by its weight; false for a line only
// counted: the program's own steps, or a line about another plug-in.
bool finding_of_line(const LogLineKind& kind, const LineContext& context, Finding* finding);

// The row's meaning, its fix, or both, with their fields filled in.
std::string kind_meaning(const LogLineKind& kind, const LineContext& context);
std::string kind_fix(const LogLineKind& kind, const LineContext& context);
std::string kind_meaning_and_fix(const LogLineKind& kind, const LineContext& context);
