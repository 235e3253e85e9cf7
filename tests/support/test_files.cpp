// File helpers for native tests.
#include "test_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "common/bounded_text.h"
#include "host/module_paths.h"
#include "log_text.h"

TempFolder::TempFolder() {
    const char* system_folder = std::getenv("TMPDIR");
    std::string pattern = std::string(system_folder != nullptr && system_folder[0] != 0 ? system_folder : "/tmp") +
                          "/ondrelle-test-XXXXXX";
    if (mkdtemp(&pattern[0]) != nullptr) path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

void write_file(const std::string& path, const std::string& contents) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << contents;
}

std::string read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

bool file_exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

void set_file_time(const std::string& path, FileTime time) {
    timespec times[2];
    times[0].tv_sec = static_cast<time_t>(time / 10000000ULL);
    times[0].tv_nsec = static_cast<long>(time % 10000000ULL) * 100;
    times[1] = times[0];
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// A path too long for the plug-in's own buffers leaves it empty, so that a
// test can never run on a cut path that names another file.
static void set_wide(wchar_t* destination, const std::string& text) {
    std::wstring wide(text.begin(), text.end());
    if (!copy_text(destination, kPathCapacity, wide.c_str())) destination[0] = 0;
}

void use_folder_for_paths(const std::string& folder) {
    set_wide(log_path, folder + "/Ondrelle.log");
    set_wide(config_path, folder + "/Ondrelle.ini");
}

std::string log_without_times(const std::string& log_text) { return log_without_time_stamps(log_text); }

std::string log_without_times_and_lines(const std::string& log_text) {
    static const std::regex source_line("\\(([a-z_]+):-?[0-9]+\\)$");
    std::string result;
    std::istringstream lines(log_without_times(log_text));
    std::string line;
    while (std::getline(lines, line)) result += std::regex_replace(line, source_line, "($1)") + "\n";
    return result;
}

std::string default_settings_text() { return read_file(std::string(ONDRELLE_SOURCE_DIR) + "/src/Ondrelle.ini"); }
