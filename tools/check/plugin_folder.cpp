// Finding Ondrelle.asi and its Ondrelle.ini; see plugin_folder.h.
#include "plugin_folder.h"

#include <algorithm>
#include <cstdio>

#include "plain_text.h"
#include "tool_platform.h"

namespace {

// =============================================================================
// The plug-in
// =============================================================================

bool is_plugin_copy(const std::string& name, const char* extension) {
    std::string lower = lower_case(name);
    return lower.size() >= 12 && starts_with(lower, "ondrelle") && ends_with(lower, extension);
}

// The copies in folder, the one to keep first: the newest, and of the same
// version, Ondrelle.asi itself.
void add_plugin_copies(const std::string& folder, std::vector<PluginCopy>* copies) {
    std::vector<PluginCopy> here;
    for (const std::string& name : entries_of(folder)) {
        if (is_plugin_copy(name, ".asi") && tool_entry_kind(in_folder(folder, name)) == entry_file)
            here.push_back(
                PluginCopy{folder, program_seen(folder, name), !entry_named(folder, "Ondrelle.ini").empty()});
    }
    std::stable_sort(here.begin(), here.end(), [](const PluginCopy& a, const PluginCopy& b) {
        if (version_older(b.file.version, a.file.version)) return true;
        if (version_older(a.file.version, b.file.version)) return false;
        return named_as_shipped(a) && !named_as_shipped(b);
    });
    copies->insert(copies->end(), here.begin(), here.end());
}

// The folders a loader reads .asi files from: the game's and its asi folder,
// and with a loader under another name, its scripts and plugins folders too.
std::vector<std::string> folders_loaded(const std::string& game_folder, bool other_loader) {
    std::vector<std::string> folders = {game_folder};
    std::vector<const char*> subfolders = {kAsiFolder};
    if (other_loader) subfolders.insert(subfolders.end(), {kScriptsFolder, kPluginsFolder});
    for (const char* subfolder : subfolders) {
        std::string folder = in_folder(game_folder, entry_named(game_folder, subfolder));
        if (!entry_named(game_folder, subfolder).empty() && tool_entry_kind(folder) == entry_folder)
            folders.push_back(folder);
    }
    return folders;
}

// A folder inside the game's, up to two down (lml\Ondrelle), that holds
// Ondrelle.asi: where a package unpacked into a folder of its own, or a mod
// manager, left it. Its path from the game's folder; empty for none.
std::string folder_holding_plugin(const std::string& folder, const std::string& from, int depth) {
    for (const std::string& name : entries_of(folder)) {
        std::string inside = in_folder(folder, name);
        if (tool_entry_kind(inside) != entry_folder) continue;
        std::string path = from.empty() ? name : in_folder(from, name);
        if (!entry_named(inside, "Ondrelle.asi").empty()) return path;
        if (depth > 1) {
            std::string deeper = folder_holding_plugin(inside, path, depth - 1);
            if (!deeper.empty()) return deeper;
        }
    }
    return "";
}

// Ondrelle's plug-in saved as a .dll in a loader's folder; empty for none.
std::string plugin_as_dll(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        for (const std::string& name : entries_of(folder)) {
            if (is_plugin_copy(name, ".dll")) return name;
        }
    }
    return "";
}

// =============================================================================
// Its settings
// =============================================================================

// Whether a name is near enough to Ondrelle.ini to be the settings file
// saved under another name: with a second extension, a copy's number, or a
// letter or two amiss.
bool near_settings_name(const std::string& name) {
    std::string lower = lower_case(name);
    if (lower == "ondrelle.ini" || lower == "ondrelle.asi" || lower == "ondrelle.log") return false;
    bool ondrelle_ini_inside = starts_with(lower, "ondrelle") && lower.find(".ini") != std::string::npos;
    return ondrelle_ini_inside || edit_distance(lower, "ondrelle.ini") <= 2;
}

// The files near the settings file's name, sorted, for the same words on
// every system.
std::vector<std::string> near_settings_files(const std::string& folder) {
    std::vector<std::string> near;
    for (const std::string& name : entries_of(folder)) {
        if (near_settings_name(name) && tool_entry_kind(in_folder(folder, name)) == entry_file) near.push_back(name);
    }
    std::sort(near.begin(), near.end());
    return near;
}

}  // namespace

bool named_as_shipped(const PluginCopy& copy) { return lower_case(copy.file.name) == "ondrelle.asi"; }

PluginFiles look_for_plugin(const std::string& game_folder, bool other_loader) {
    PluginFiles plugin;
    std::vector<std::string> folders = folders_loaded(game_folder, other_loader);
    for (const std::string& folder : folders) add_plugin_copies(folder, &plugin.copies);
    if (!plugin.copies.empty()) return plugin;
    plugin.saved_as_dll = plugin_as_dll(folders);
    if (plugin.saved_as_dll.empty()) plugin.astray = folder_holding_plugin(game_folder, "", 2);
    return plugin;
}

SettingsFileSeen look_for_settings_file(const std::string& plugin_folder, const std::string& game_folder,
                                        bool plugin_found) {
    SettingsFileSeen seen = {"", false, unreadable_missing, 0, false, near_settings_files(plugin_folder), ""};
    std::string settings = entry_named(plugin_folder, "Ondrelle.ini");
    if (!settings.empty()) {
        seen.path = in_folder(plugin_folder, settings);
        FILE* stream = tool_open_for_reading(seen.path.c_str());
        seen.readable = stream != nullptr;
        if (stream != nullptr) std::fclose(stream);
        if (!seen.readable) seen.why = tool_why_unreadable(seen.path.c_str());
        if (!tool_last_write_time(seen.path, &seen.written)) seen.written = 0;
        return seen;
    }
    std::string other = plugin_folder == game_folder ? in_folder(game_folder, kAsiFolder) : game_folder;
    if (plugin_found && tool_entry_kind(other) == entry_folder && !entry_named(other, "Ondrelle.ini").empty())
        seen.other_folder = other;
    return seen;
}
