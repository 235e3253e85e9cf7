// The settings checker's own notes on a settings file: where, what, and how
// to fix it, for everything a player most likely did not mean, whether the
// game refuses it or quietly reads something else. Unlike the game, which
// stops at the first faulty line, the notes go on to the end of the file.
//
// The notes never change what the game does with the file; that verdict is
// the plug-in's own parser's (settings_report.h).
#pragma once

#include <string>
#include <vector>

struct SettingsNote {
    int line;  // 1-based, as an editor counts lines; 0 for the file as a whole
    std::string text;
};

// The notes on a settings file's bytes (as read in text mode). stop_line is
// the line at which the game stopped reading, as the game counts lines (0
// when it read to the end); read_error tells that it stopped on a read error
// rather than a line fault.
std::vector<SettingsNote> settings_notes(const std::string& content, int stop_line, bool read_error);
