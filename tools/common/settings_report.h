// A settings file checked as the game reads it, for the tools: first what the
// game's log would say about it and whether the game accepts it or shows an
// error instead of the marker (the plug-in's own parser and reload decision
// give both), then the checker's own notes on where, what and how to fix it.
// Read as data first; its part of a report is made from that data.
//
// The game's log lines are taken from the plug-in's own parser through the
// tools' write_log (tool_log.h).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "config.h"
#include "report_parts.h"
#include "settings_notes.h"
#include "tool_platform.h"

struct SettingsReport {
    std::vector<std::string> log_messages;  // what the game's log would read, message by message
    std::string error;                      // what the game shows instead of the marker; empty when nothing
    bool game_accepts;                      // the game reads it without any error on screen
    bool marker_hidden;                     // it does, but with settings that never show the marker
    std::string content;                    // the file's text as the game's read hands it on
    std::vector<SettingsNote> notes;        // the checker's notes
    Settings read;                          // the values as the game read them, zero where it read none
    bool complete;                          // read to its end with every key
};

// Whether the game accepts the open settings file cleanly (text mode, from
// its start), printing nothing. The stream is left open, at its end.
bool game_accepts_settings_file(FILE* stream);

// Reads the open settings file (text mode, from its start) as the game
// does, with the checker's notes. Prints nothing; the stream is left open.
SettingsReport read_settings_report(FILE* stream);

// Whether the settings pass: the game accepts them, and with strict, the
// checker has no note on them.
bool settings_pass(const SettingsReport& report, bool strict);

// The report on a settings file as a part under shown_name: the game's log,
// its verdict, the notes, and with strict, what --strict makes of them. Its
// tally counts the notes; problem_named names the verdict when the game
// shows an error or never shows the marker, and strict_notes the notes
// --strict counts as faults.
ReportPart settings_report_part(const SettingsReport& report, const std::string& shown_name, bool strict);

// Why a file cannot be read, in words: "there is no such file".
std::string unreadable_words(UnreadableReason why);

// Why a file the tool could not open cannot be read, as a part of the error
// stream, with the full path tried: "PROGRAM: cannot read PATH: there is no
// such file."
ReportPart unreadable_file_part(const char* program, const char* path);
