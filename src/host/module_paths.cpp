// Derivation of the log and settings paths from the plug-in's own file name.
// Pure text work, no system calls, so it is tested natively too.
#include "host/module_paths.h"

#include "common/bounded_text.h"

wchar_t log_path[kPathCapacity];
wchar_t config_path[kPathCapacity];

// Builds directory + file_name into path; on overflow leaves path empty.
static bool join_path(wchar_t* path, const wchar_t* directory, const wchar_t* file_name) {
    if (copy_text(path, kPathCapacity, directory) && append_text(path, kPathCapacity, file_name)) return true;
    path[0] = 0;
    return false;
}

bool derive_module_paths(const wchar_t* module_file_name) {
    wchar_t directory[kModuleFileNameCapacity];
    if (!copy_text(directory, kModuleFileNameCapacity, module_file_name)) directory[0] = 0;

    // Cut off the file's own name, keeping the last backslash. The scan stops
    // at the start of the buffer: a name without any backslash (or none at
    // all, when the loader could not tell it) gives no directory, and then no
    // path, rather than files in whatever the current directory happens to be.
    size_t end = text_length(directory);
    while (end > 0 && directory[end - 1] != L'\\') directory[--end] = 0;

    bool log_ok = end > 0 && join_path(log_path, directory, L"Ondrelle.log");
    bool config_ok = end > 0 && join_path(config_path, directory, L"Ondrelle.ini");
    if (log_ok && config_ok) return true;
    log_path[0] = 0;
    config_path[0] = 0;
    return false;
}

bool derive_module_paths_from_loader(const wchar_t* buffer, unsigned long reported_length) {
    bool whole_name = reported_length > 0 && reported_length < kModuleFileNameCapacity;
    return derive_module_paths(whole_name ? buffer : L"");
}
