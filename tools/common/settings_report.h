// Checking a settings file for the tools, with the plug-in's own parser: each
// fault is printed with the text the plug-in's log would get, then either that
// the file is complete and clean or which keys are missing.
//
// The tools' own write_log lives here: it prints entries while a report runs
// and drops them otherwise (the marker script logs its start, for instance).
#pragma once

#include <cstdio>

// Reports on the open settings file; shown_name names it in the verdict.
// Returns true for a complete, clean file.
bool report_settings_file(FILE* stream, const char* shown_name);
