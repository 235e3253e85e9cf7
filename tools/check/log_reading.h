// Ondrelle.log read for the player: each entry the plug-in can write,
// recognised by the very texts the plug-in writes (the core names each
// once), explained in the player's words with its fix. A fault the log
// names that the settings file no longer has is "fixed since", a note.
//
// Entries carry the time of day only, and the log tells of the last start of
// the game that loaded the plug-in, so every explanation says what happened
// then, in the past. What the log's absence or emptiness means, and whether
// it is from an earlier start, needs the other programs' logs too: that is
// the verdict's (verdict.h).
#pragma once

#include <string>
#include <vector>

#include "findings.h"
#include "settings_report.h"

// What is known beside the log for its explanations.
struct LogContext {
    const SettingsReport* settings;  // the Ondrelle.ini checked above; null when there was none
    bool settings_saved_since;       // that file was saved after the log was last written
};

// The log's entries, each a finding: the entry as written, then what it
// means. A run of entries with one message is one finding (the game logs an
// open failure every second); a line the checker does not know is shown as
// it is, the first few of them; a damaged end is said once.
std::vector<Finding> explain_log_entries(const std::string& bytes, const LogContext& context);
