// A settings file checked as the game reads it, for the tools: first what the
// game's log would say about it and whether the game accepts it or shows an
// error instead of the marker (the plug-in's own parser and reload decision
// give both), then the checker's own notes on where, what and how to fix it.
//
// The game's log lines are taken from the plug-in's own parser through the
// tools' write_log (tool_log.h).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "config.h"
#include "settings_notes.h"
#include "tool_platform.h"

struct SettingsReport {
    bool game_accepts;                // the game reads it without any error on screen
    bool marker_hidden;               // it does, but with settings that never show the marker
    std::string content;              // the file's text as the game's read hands it on
    std::vector<SettingsNote> notes;  // the notes printed by the checker
    Settings read;                    // the values as the game read them, zero where it read none
    bool complete;                    // read to its end with every key
};

// Whether the game accepts the open settings file cleanly (text mode, from
// its start), printing nothing. The stream is left open, at its end.
bool game_accepts_settings_file(FILE* stream);

// Reads the open settings file (text mode, from its start) and prints the
// report under shown_name as its heading. The stream is left open.
SettingsReport report_settings_file(FILE* stream, const char* shown_name);

// Prints one of the checker's notes as the report does: "  line 3: ...",
// wrapped to the console's width.
void print_settings_note(const SettingsNote& note);

// Why a file cannot be read, in words: "there is no such file".
std::string unreadable_words(UnreadableReason why);

// Says plainly on stderr why a file the tool could not open cannot be read,
// with the full path tried: "PROGRAM: cannot read PATH: there is no such file."
void report_unreadable_file(const char* program, const char* path);
