// Reading a game folder's files; see game_files.h.
#include "game_files.h"

#include <algorithm>
#include <cstdio>

#include "file_version.h"
#include "plain_text.h"

const char kAsiFolder[] = "asi";
const char kScriptsFolder[] = "scripts";
const char kPluginsFolder[] = "plugins";

namespace {

// The numbers of a version, "1.0.1491.50" or "1.3.0"; false when it is not
// three or four numbers.
bool version_numbers(const std::string& version, unsigned int numbers[4]) {
    numbers[3] = 0;
    int read = std::sscanf(version.c_str(), "%u.%u.%u.%u", &numbers[0], &numbers[1], &numbers[2], &numbers[3]);
    return read == 3 || read == 4;
}

ProgramFault fault_of(const std::string& bytes) {
    if (!pe_file_has_header(bytes)) return program_no_library;
    if (!pe_file_whole(bytes)) return program_cut_short;
    if (!pe_file_64_bit(bytes)) return program_for_32_bit;
    return program_loads;
}

}  // namespace

ProgramSeen program_seen(const std::string& folder, const std::string& name) {
    ProgramSeen program = {name, program_loads, "", 0};
    std::string bytes;
    std::string path = in_folder(folder, name);
    if (name.empty() || !tool_read_file(path, &bytes)) return program;
    if (!tool_last_write_time(path, &program.written)) program.written = 0;
    program.fault = fault_of(bytes);
    program.version = pe_file_version(bytes);
    return program;
}

LogFile log_file_in(const std::string& folder, const char* name) {
    LogFile log = {entry_named(folder, name), "", false, 0, "", unreadable_missing};
    if (log.name.empty()) return log;
    log.path = in_folder(folder, log.name);
    log.read = tool_read_file(log.path, &log.bytes) && tool_last_write_time(log.path, &log.written);
    if (!log.read) log.why = tool_why_unreadable(log.path.c_str());
    return log;
}

bool version_older(const std::string& a, const std::string& b) {
    unsigned int older[4], newer[4];
    if (!version_numbers(a, older) || !version_numbers(b, newer)) return false;
    for (int i = 0; i < 4; ++i) {
        if (older[i] != newer[i]) return older[i] < newer[i];
    }
    return false;
}

long build_of(const std::string& version) {
    unsigned int numbers[4];
    return version_numbers(version, numbers) ? static_cast<long>(numbers[2]) : -1;
}

std::vector<std::string> entries_of(const std::string& folder) {
    std::vector<std::string> names = tool_folder_entries(folder);
    // NTFS sorts names as their letters in upper case.
    auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [&](char x, char y) { return upper(x) < upper(y); });
    });
    return names;
}

std::string entry_named(const std::string& folder, const std::string& name) {
    std::string wanted = lower_case(name);
    for (const std::string& entry : tool_folder_entries(folder)) {
        if (lower_case(entry) == wanted) return entry;
    }
    return "";
}

std::string in_folder(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == kToolPathSeparator) return folder + name;
    return folder + kToolPathSeparator + name;
}
