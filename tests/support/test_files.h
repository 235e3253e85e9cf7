// Small file helpers for native tests: a fresh temporary folder per test,
// removed again with the test, whole-file reads and writes, and setting a
// file's last-write time.
#pragma once

#include <string>

#include "platform/platform.h"

// A new empty folder under the system's temporary folder (TMPDIR where it is
// set), removed with all it holds when its holder goes (a fixture member goes
// after every test, failed ones included). path is empty when no folder could
// be made.
struct TempFolder {
    std::string path;
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
};

void write_file(const std::string& path, const std::string& contents);
std::string read_file(const std::string& path);
bool file_exists(const std::string& path);

// Sets the file's last-write time, in the units the settings reload compares.
void set_file_time(const std::string& path, FileTime time);

// Points log_path and config_path at Ondrelle.log and Ondrelle.ini in folder.
void use_folder_for_paths(const std::string& folder);

// The log's lines with their time stamps cut off.
std::string log_without_times(const std::string& log_text);

// The log's lines with time stamps cut off and "(source:123)" shortened to
// "(source)", so that tests do not depend on where a call sits in its file.
std::string log_without_times_and_lines(const std::string& log_text);

// The text of the default settings file that ships beside the plug-in.
std::string default_settings_text();
