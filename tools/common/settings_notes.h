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

#include "config.h"

struct SettingsNote {
    int line;  // 1-based, as an editor counts lines; 0 for the file as a whole
    std::string text;
};

// The notes on a settings file's bytes (as read in text mode). stop_line is
// the line at which the game stopped reading, as the game counts lines (0
// when it read to the end); read_error tells that it stopped on a read error
// rather than a line fault.
std::vector<SettingsNote> settings_notes(const std::string& content, int stop_line, bool read_error);

// The first release of Ondrelle.asi that reads the optional keys. An older
// one knows the 18 required keys alone and stops at the first optional one
// ("unknown key"), so a file that gives one needs this release or later.
constexpr char kFirstReleaseWithOptionalKeys[] = "1.4.0";

// An optional key a settings file gives, and the line of its first setting.
struct OptionalKeyLine {
    const SettingsKey* key;  // the key table's row; settings_key_optional holds for it
    int line;                // 1-based, as an editor counts lines
};

// The optional keys a settings file's bytes (as read in text mode) give,
// each once, in the order of their first lines: lines split as the game
// splits them, so that a key in a comment, or on a line too long for the
// game, is not given. Empty for a file of the required keys alone, and for a
// file saved as UTF-16, which no release reads. A byte-order mark is passed
// over, as the notes pass over it.
std::vector<OptionalKeyLine> optional_keys_given(const std::string& content);

// A line of a settings file as the game splits it, numbered as an editor
// counts lines.
struct SettingsLineSeen {
    int line;
    SettingsLineShape shape;
    std::string key;         // trimmed and lower-cased; empty when the line holds none
    std::string value;       // trimmed
    const SettingsKey* row;  // the key table's row of the key; null for a key it does not have
    bool refused;            // the row's reader refuses the value: a value fault
};

// The lines of a settings file's bytes (as read in text mode), blank ones
// left out.
std::vector<SettingsLineSeen> settings_lines_seen(const std::string& content);
