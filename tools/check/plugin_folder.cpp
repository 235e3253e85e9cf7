// Finding Ondrelle's files; see plugin_folder.h.
#include "plugin_folder.h"

#include <algorithm>
#include <cstdio>

#include "plain_text.h"
#include "tool_platform.h"

namespace {

const char* const kSubfolders[] = {kAsiFolder, kScriptsFolder, kPluginsFolder};

bool is_plugin_copy(const std::string& name, const char* extension) {
    std::string lower = lower_case(name);
    return lower.size() >= 12 && starts_with(lower, "ondrelle") && ends_with(lower, extension);
}

bool is_subfolder_name(const std::string& name) {
    for (const char* subfolder : kSubfolders) {
        if (lower_case(name) == subfolder) return true;
    }
    return false;
}

// The copies in folder, the one to keep first: the newest, and of the same
// version, Ondrelle.asi itself.
std::vector<ProgramSeen> plugin_copies(const std::string& folder) {
    std::vector<ProgramSeen> copies;
    for (const std::string& name : entries_of(folder)) {
        if (is_plugin_copy(name, ".asi") && tool_entry_kind(in_folder(folder, name)) == entry_file)
            copies.push_back(program_seen(folder, name));
    }
    std::stable_sort(copies.begin(), copies.end(), [](const ProgramSeen& a, const ProgramSeen& b) {
        if (version_older(b.version, a.version)) return true;
        if (version_older(a.version, b.version)) return false;
        return named_as_shipped(a) && !named_as_shipped(b);
    });
    return copies;
}

std::string plugin_as_dll(const std::string& folder) {
    for (const std::string& name : entries_of(folder)) {
        if (is_plugin_copy(name, ".dll")) return name;
    }
    return "";
}

// Whether a name is near enough to Ondrelle.ini to be the settings file
// saved under another name: with a second extension, a copy's number, or a
// letter or two amiss.
bool near_settings_name(const std::string& name) {
    std::string lower = lower_case(name);
    if (lower == "ondrelle.ini" || lower == "ondrelle.asi" || lower == "ondrelle.log") return false;
    bool ondrelle_ini_inside = starts_with(lower, "ondrelle") && lower.find(".ini") != std::string::npos;
    return ondrelle_ini_inside || edit_distance(lower, "ondrelle.ini") <= 2;
}

SettingsFileSeen settings_file_in(const std::string& folder) {
    SettingsFileSeen seen = {"", false, unreadable_missing, 0, false, {}};
    for (const std::string& name : entries_of(folder)) {
        if (near_settings_name(name) && tool_entry_kind(in_folder(folder, name)) == entry_file)
            seen.near_names.push_back(name);
    }
    std::sort(seen.near_names.begin(), seen.near_names.end());
    std::string settings = entry_named(folder, "Ondrelle.ini");
    if (settings.empty()) return seen;
    seen.path = in_folder(folder, settings);
    FILE* stream = tool_open_for_reading(seen.path.c_str());
    seen.readable = stream != nullptr;
    if (stream != nullptr) std::fclose(stream);
    if (!seen.readable) seen.why = tool_why_unreadable(seen.path.c_str());
    if (!tool_last_write_time(seen.path, &seen.written)) seen.written = 0;
    seen.read_only = seen.readable && tool_is_read_only(seen.path);
    return seen;
}

// Ondrelle.ini as the game reads it, when it can be read.
void check_settings_file(PluginFolder* folder) {
    if (!folder->settings.readable) return;
    FILE* stream = tool_open_for_reading(folder->settings.path.c_str());
    if (stream == nullptr) {
        folder->settings.readable = false;
        folder->settings.why = tool_why_unreadable(folder->settings.path.c_str());
        return;
    }
    folder->settings_report = read_settings_report(stream);
    std::fclose(stream);
    folder->settings_checked = true;
}

std::string folder_holding_plugin(const std::string& folder, const std::string& from, int depth) {
    for (const std::string& name : entries_of(folder)) {
        std::string inside = in_folder(folder, name);
        if (tool_entry_kind(inside) != entry_folder || (from.empty() && is_subfolder_name(name))) continue;
        std::string path = from.empty() ? name : in_folder(from, name);
        if (!entry_named(inside, "Ondrelle.asi").empty()) return path;
        if (depth > 1) {
            std::string deeper = folder_holding_plugin(inside, path, depth - 1);
            if (!deeper.empty()) return deeper;
        }
    }
    return "";
}

}  // namespace

bool named_as_shipped(const ProgramSeen& copy) { return lower_case(copy.name) == "ondrelle.asi"; }

PluginFolder plugin_folder_at(const std::string& path, const std::string& subfolder) {
    PluginFolder folder = {};
    folder.path = path;
    folder.subfolder = subfolder;
    folder.copies = plugin_copies(path);
    folder.saved_as_dll = plugin_as_dll(path);
    folder.settings = settings_file_in(path);
    check_settings_file(&folder);
    folder.log = log_file_in(path, "Ondrelle.log");
    folder.log_read_only = folder.log.read && tool_is_read_only(folder.log.path);
    folder.entries = plugin_log_entries(folder.log.bytes);
    folder.written = tool_can_write_in(path);
    return folder;
}

std::vector<PluginFolder> look_at_plugin_folders(const std::string& game_folder) {
    std::vector<PluginFolder> folders = {plugin_folder_at(game_folder, "")};
    for (const char* subfolder : kSubfolders) {
        std::string name = entry_named(game_folder, subfolder);
        std::string path = in_folder(game_folder, name);
        if (!name.empty() && tool_entry_kind(path) == entry_folder)
            folders.push_back(plugin_folder_at(path, lower_case(name)));
    }
    return folders;
}

std::string folder_holding_plugin_astray(const std::string& game_folder) {
    return folder_holding_plugin(game_folder, "", 2);
}
