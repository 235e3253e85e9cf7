// The three logs of a game folder read for what they hold, each line with
// its kind (log_kinds.h): the script hook's and the ASI loader's line by
// line, Ondrelle.log entry by entry. Reading says nothing of what a line
// means for the marker; that is the verdict's (verdict.h).
#pragma once

#include <string>
#include <vector>

#include "log_kinds.h"

// A line of the hook's or the loader's log.
struct LogLineRead {
    std::string text;                   // as written, up to a NUL byte
    bool damaged;                       // a run of NUL bytes started on it
    const LogLineKind* kind;            // null for a line of no known kind
    std::vector<std::string> captured;  // what its stem's conversions stood for
};

// The lines of the hook's or the loader's log, each with its kind.
std::vector<LogLineRead> log_lines_read(LogName log, const std::string& bytes);

// Whether a line of lines tells `tells` of the plug-in plugin_name, or of
// the hook or the loader itself for a kind that names no plug-in.
bool log_tells(const std::vector<LogLineRead>& lines, LineTells tells, const std::string& plugin_name);

// One entry of Ondrelle.log as written: its lines, and its message without
// the time of day and the source reference.
struct LogEntry {
    std::vector<std::string> lines;
    std::string message;
    bool stamped;                       // it starts with the time of day, as each of Ondrelle's entries does
    bool damaged;                       // a run of NUL bytes followed it
    const LogLineKind* kind;            // null for an entry of no known kind, or a line of no entry
    std::vector<std::string> captured;  // what its format's conversions stood for
};

// Ondrelle.log's entries. The texts the plug-in logs on several lines (the
// missing-keys text) are one entry; any other line without a time of day is
// a line of its own.
std::vector<LogEntry> plugin_log_entries(const std::string& bytes);
