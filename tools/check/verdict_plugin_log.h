// The verdict on Ondrelle.log: whether it is there, what its absence or
// emptiness means beside the other logs, then each entry the plug-in wrote,
// recognised by the very texts the plug-in writes, explained with its fix.
// A fault the log names that the settings file no longer has is "fixed
// since", a note.
//
// Entries carry the time of day only, and the log tells of the last start of
// the game that loaded the plug-in, so every explanation says what happened
// then, in the past.
#pragma once

#include <vector>

#include "findings.h"
#include "verdict_common.h"

// The log's entries, each a finding: the entry as written, then what it
// means, weighed against context (its captured conversions aside). A run of
// entries with one message is one finding (the game logs an open failure
// every second); a line the checker does not know is shown as it is, the
// first few of them; a damaged end is said once.
std::vector<Finding> plugin_log_findings(const std::vector<LogEntry>& entries, const LineContext& context);

// A log named on the command line, explained on its own as Ondrelle.log,
// against the Ondrelle.ini in its folder when there is one there.
VerdictPart named_log_part(const PluginFolder& folder);

// Ondrelle.log's part; a part with no heading when there is no plug-in.
VerdictPart plugin_log_part(const GameFolder& game, const Timeline& timeline);
