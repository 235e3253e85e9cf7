// The tools' write_log, linked in place of the plug-in's own log writer: the
// plug-in's parser logs as it reads, and a tool that runs the parser wants
// those lines as text (what the game's log would read), not in a file.
// Outside a reading the lines are dropped: nothing a tool runs writes a file.
#pragma once

#include <string>
#include <vector>

// Starts keeping the messages logged, without their time or source.
void begin_keeping_log_messages();

// Stops keeping them, and gives those kept since the start.
std::vector<std::string> end_keeping_log_messages();
