// Settings written out as text, for golden files and readable test failures.
#pragma once

#include <string>

#include "config.h"

// "key = value" per line for every field, in the record's order, the optional
// keys' after the 18 required; floats with 9 significant digits, so that
// every single-precision value shows exactly; toggle_key as the log writes it.
std::string describe_settings(const Settings& settings);

// Parses a whole settings file held in memory, with the plug-in's parser,
// its bytes read as Windows' text mode reads them, as the game does.
SettingsParse parse_settings_text(const std::string& bytes);

// A settings file holding the 18 required keys with good values and no
// optional key, each line "key = value": a file as every release reads it.
std::string complete_settings_file();

// The same file without the line of the given key.
std::string settings_file_without(const std::string& key);

// The same file with the value of the given key replaced.
std::string settings_file_with(const std::string& key, const std::string& value);
