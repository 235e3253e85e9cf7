// The diagnostic log, Ondrelle.log beside the plug-in: one line per event,
// stamped with the local time and tagged with the source file and line that
// logged it, e.g. "09:05:03.007 Script started (script_main:29)".
//
// The file is opened and closed for every entry, so players may read, move or
// delete it while the game runs. Entries are rare (start, reloads, settings
// faults), never on the per-frame path.
#pragma once

#if defined(__GNUC__)
#define ONDRELLE_PRINTF_FORMAT(format_index, first_argument) \
    __attribute__((format(printf, format_index, first_argument)))
#else
#define ONDRELLE_PRINTF_FORMAT(format_index, first_argument)
#endif

// Appends one entry to the file at log_path. source_name is the logging
// source file's name without directories ("config", "script_main"), line its
// line; format and its arguments make the message, of any length, written
// whole on one entry (line breaks in it are kept). Never reports a failure:
// when the log cannot be opened the entry is dropped; when the message cannot
// be formatted (or no memory is left for it) the entry is written with an
// empty message.
void write_log(const char* source_name, int line, const char* format, ...) ONDRELLE_PRINTF_FORMAT(3, 4);
