// Ondrelle.log read for the player: each line the plug-in can write,
// explained in the player's words with its fix, and what it means that the
// log is missing, empty, or older than the plug-in. The log's entries carry
// only the time of day; the file's last-write time gives the date.
#pragma once

#include "game_folder.h"
#include "settings_report.h"

// Prints the log beside the plug-in found in game, explained, after a blank
// line; nothing when there is no plug-in. settings is
// the report on the settings file checked above, for the notes of a line the
// log names; null when there was none. Returns how many of the log's
// findings keep the marker from showing.
int explain_log(const GameFolder& game, const SettingsReport* settings);
