// Where Ondrelle.asi is, and its Ondrelle.ini: the copies a loader loads,
// a copy left where no loader looks, and a settings file saved under a name
// the plug-in never reads. Part of the look at a game folder (game_folder.h).
#include <algorithm>

#include "config.h"
#include "game_folder_steps.h"
#include "plain_text.h"
#include "settings_report.h"
#include "tool_platform.h"

namespace {

// =============================================================================
// The plug-in
// =============================================================================

// A copy of the plug-in: a loader loads every .asi file in the folders it
// reads, so Ondrelle.asi under another name (the "Ondrelle (2).asi" that
// Explorer's "Keep both files" leaves) is loaded as well, and reads the
// Ondrelle.ini beside it all the same.
struct PluginCopy {
    std::string folder;
    ProgramSeen file;
};

bool is_plugin_copy(const std::string& name, const char* extension) {
    std::string lower = lower_case(name);
    return lower.size() >= 12 && starts_with(lower, "ondrelle") && ends_with(lower, extension);
}

bool named_as_shipped(const PluginCopy& copy) { return lower_case(copy.file.name) == "ondrelle.asi"; }

// The copies in folder, the one to keep first: the newest, and of the same
// version, Ondrelle.asi itself.
void add_plugin_copies(const std::string& folder, std::vector<PluginCopy>* copies) {
    std::vector<PluginCopy> here;
    for (const std::string& name : tool_folder_entries(folder)) {
        if (is_plugin_copy(name, ".asi") && tool_entry_kind(in_folder(folder, name)) == entry_file)
            here.push_back(PluginCopy{folder, program_seen(folder, name)});
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
std::vector<std::string> folders_loaded(const GameFolder& game) {
    std::vector<std::string> folders = {game.folder};
    std::vector<const char*> subfolders = {kAsiFolder};
    if (!game.other_loader.empty()) subfolders.insert(subfolders.end(), {kScriptsFolder, kPluginsFolder});
    for (const char* subfolder : subfolders) {
        std::string folder = in_folder(game.folder, entry_named(game.folder, subfolder));
        if (!entry_named(game.folder, subfolder).empty() && tool_entry_kind(folder) == entry_folder)
            folders.push_back(folder);
    }
    return folders;
}

// A folder inside the game's, up to two down (lml\Ondrelle), that holds
// Ondrelle.asi, asked when no loader's folder does: where a package
// unpacked into a folder of its own, or a mod manager, left it. Its path
// from the game's folder; empty for none.
std::string folder_holding_plugin(const std::string& folder, const std::string& from, int depth) {
    for (const std::string& name : tool_folder_entries(folder)) {
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
        for (const std::string& name : tool_folder_entries(folder)) {
            if (is_plugin_copy(name, ".dll")) return name;
        }
    }
    return "";
}

void add_no_plugin(GameFolder* game, const std::vector<std::string>& folders) {
    std::string renamed = plugin_as_dll(folders);
    if (!renamed.empty()) {
        add_finding(game, finding_problem,
                    renamed +
                        " is Ondrelle's plug-in saved under the ending .dll, and the loader loads .asi files "
                        "only. Rename " +
                        renamed + " to Ondrelle.asi.");
        return;
    }
    std::string astray = folder_holding_plugin(game->folder, "", 2);
    add_finding(game, finding_problem,
                "Ondrelle.asi is neither in the game's folder nor in its asi folder: the loader finds no Ondrelle to "
                "load. " +
                    (astray.empty() ? std::string("Put Ondrelle.asi beside RDR2.exe.")
                                    : "There is one in the folder " + astray +
                                          ", where the loader does not look: move Ondrelle.asi and Ondrelle.ini out "
                                          "of it, beside RDR2.exe."));
}

// A name with its version, when it gives one.
std::string with_version(const PluginCopy& copy) {
    return copy.file.name + (copy.file.version.empty() ? "" : " (version " + copy.file.version + ")");
}

// Of two copies side by side, the second is the one to delete: older, or
// of the same version under another name. The one kept is to be named
// Ondrelle.asi, as later updates will be.
std::string which_copy_to_delete(const PluginCopy& kept, const PluginCopy& second) {
    std::string rename = named_as_shipped(kept) ? "" : ", and rename " + kept.file.name + " to Ondrelle.asi";
    if (version_older(second.file.version, kept.file.version))
        return "Delete the older one, " + second.file.name + rename;
    return named_as_shipped(kept) ? "Delete " + second.file.name : "Delete one of them" + rename;
}

// A copy besides the one the checker looks at: both draw a marker, or the
// other shows its error over the marker. Named with its version, so that the
// player can tell which to keep.
void add_second_copy(GameFolder* game, const PluginCopy& first, const PluginCopy& second) {
    std::string about_first =
        "; what follows is about " + first.file.name + " in " + folder_words(*game, first.folder) + ".";
    if (second.folder == first.folder) {
        add_finding(game, finding_note,
                    "There is a second copy of the plug-in beside " + first.file.name + ": " + with_version(second) +
                        ". The loader loads both, and both read the same Ondrelle.ini, so two markers are drawn, one "
                        "over the other. " +
                        which_copy_to_delete(first, second) + about_first);
        return;
    }
    add_finding(game, finding_note,
                "There is a second copy of the plug-in, " + with_version(second) + ", in " +
                    folder_words(*game, second.folder) +
                    ": the loader loads both, and each reads the Ondrelle.ini and writes the Ondrelle.log beside "
                    "itself" +
                    (entry_named(second.folder, "Ondrelle.ini").empty()
                         ? ". That one has no Ondrelle.ini beside it, so it shows \"" + std::string(kOpenFailedText) +
                               "\" at the top left of the screen. Delete it"
                         : ", so two markers are drawn. Delete one of them") +
                    about_first);
}

// The plug-in's version against this checker's: an update that copied the
// new checker but kept the old plug-in, or a checker older than the plug-in.
void add_version_against_checker(GameFolder* game, const std::string& version, const char* own_version) {
    if (version_older(version, own_version))
        add_finding(game, finding_note,
                    "This Ondrelle.asi is version " + version + ", older than this ondrelle-check (" + own_version +
                        "): an update kept the old plug-in. Copy the new Ondrelle.asi from the package over the old "
                        "one.");
    else if (version_older(own_version, version) && !starts_with(version, std::string(own_version) + "."))
        add_finding(game, finding_note,
                    "This ondrelle-check is version " + std::string(own_version) +
                        ": its notes are for that version of the plug-in. Use the ondrelle-check.exe that came with "
                        "your Ondrelle.asi.");
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

// For a settings file saved as text: Explorer with its default view shows
// Ondrelle.ini.txt as Ondrelle.ini, so the player sees the name meant.
std::string hidden_extension_words(const std::vector<std::string>& near) {
    for (const std::string& name : near) {
        if (!ends_with_any_case(name, ".txt")) continue;
        return " With file extensions hidden, Explorer shows " + name.substr(0, name.size() - 4) + " for \"" + name +
               "\": choose View > Show > File name extensions (Windows 10: tick File name extensions on the View "
               "tab) to see whole names.";
    }
    return "";
}

// The files near the settings file's name, sorted, for the same words on
// every system.
std::vector<std::string> near_settings_files(const std::string& folder) {
    std::vector<std::string> near;
    for (const std::string& name : tool_folder_entries(folder)) {
        if (near_settings_name(name) && tool_entry_kind(in_folder(folder, name)) == entry_file) near.push_back(name);
    }
    std::sort(near.begin(), near.end());
    return near;
}

// "\"A\"", "\"A\" and \"B\"", "\"A\", \"B\" and \"C\"".
std::string quoted_list(const std::vector<std::string>& names) {
    std::string list;
    for (size_t i = 0; i < names.size(); ++i)
        list += std::string(i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + "\"" + names[i] + "\"";
    return list;
}

// Whether the Ondrelle.ini found can be read. One that cannot (a folder of
// that name, a file kept to itself by another program) the game cannot open
// either: it shows its error instead of the marker.
bool settings_file_readable(GameFolder* game, const std::string& path, const std::string& beside) {
    FILE* stream = tool_open_for_reading(path.c_str());
    if (stream != nullptr) {
        std::fclose(stream);
        return true;
    }
    UnreadableReason why = tool_why_unreadable(path.c_str());
    add_finding(game, finding_problem,
                "Ondrelle.ini " + beside + " cannot be read: " + unreadable_words(why) +
                    ". The game cannot open it either, and shows \"" + kOpenFailedText + "\" instead of the marker. " +
                    (why == unreadable_folder ? "Delete that folder and copy Ondrelle.ini from Ondrelle's package in "
                                                "its place."
                                              : "Close any program that keeps it open; should that not help, copy its "
                                                "text into a new Ondrelle.ini."));
    return false;
}

void add_settings_elsewhere(GameFolder* game, const std::string& beside, const std::string& other_folder) {
    add_finding(game, finding_problem,
                "Ondrelle.ini is not " + beside + ", in " + folder_words(*game, game->plugin_folder) + ", but in " +
                    folder_words(*game, other_folder) + ": the plug-in reads only the one beside itself, and shows \"" +
                    kOpenFailedText + "\" instead of the marker. Move Ondrelle.ini into " +
                    folder_words(*game, game->plugin_folder) + ".");
}

}  // namespace

void look_at_plugin(GameFolder* game, const char* own_version) {
    std::vector<std::string> folders = folders_loaded(*game);
    std::vector<PluginCopy> copies;
    for (const std::string& folder : folders) add_plugin_copies(folder, &copies);
    game->plugin_found = !copies.empty();
    if (!game->plugin_found) return add_no_plugin(game, folders);
    const PluginCopy& first = copies.front();
    game->plugin_folder = first.folder;
    game->plugin = first.file;
    std::string in_where = ", in " + folder_words(*game, first.folder);
    if (first.file.fault.empty())
        add_finding(game, finding_fine, first.file.name + ": " + version_words(first.file.version) + in_where + ".");
    else
        add_finding(game, finding_problem,
                    first.file.name + in_where + ", " + first.file.fault +
                        ": the loader cannot load it. Copy Ondrelle.asi from Ondrelle's package there again.");
    if (!named_as_shipped(first))
        add_finding(game, finding_fine,
                    "(Its name is not Ondrelle.asi, but the loader loads any .asi file, and it reads the "
                    "Ondrelle.ini beside it all the same: below, Ondrelle.asi means this file.)");
    for (size_t copy = 1; copy < copies.size(); ++copy) add_second_copy(game, first, copies[copy]);
    add_version_against_checker(game, first.file.version, own_version);
}

void look_at_settings_file(GameFolder* game) {
    std::string settings = entry_named(game->plugin_folder, "Ondrelle.ini");
    std::string beside = game->plugin_found ? "beside Ondrelle.asi" : "in the game's folder";
    std::vector<std::string> near = near_settings_files(game->plugin_folder);
    if (!settings.empty()) {
        std::string path = in_folder(game->plugin_folder, settings);
        if (!settings_file_readable(game, path, beside)) return;
        game->settings_path = path;
        if (!tool_last_write_time(path, &game->settings_written)) game->settings_written = 0;
        add_finding(game, finding_fine, "Ondrelle.ini: " + beside + ", checked below.");
        // Saved under another name next to it, the changes never reach the game.
        if (near.empty()) return;
        bool one = near.size() == 1;
        add_finding(game, finding_note,
                    "There is also " + quoted_list(near) + " beside it, which the plug-in never reads: changes saved " +
                        (one ? "there" : "in them") + " do not reach the game." + hidden_extension_words(near) +
                        " Make your changes in Ondrelle.ini, then delete " + quoted_list(near) + ".");
        return;
    }
    std::string other_folder = game->plugin_folder == game->folder ? in_folder(game->folder, kAsiFolder) : game->folder;
    if (game->plugin_found && tool_entry_kind(other_folder) == entry_folder &&
        !entry_named(other_folder, "Ondrelle.ini").empty())
        return add_settings_elsewhere(game, beside, other_folder);
    if (!near.empty()) {
        bool one = near.size() == 1;
        add_finding(game, finding_problem,
                    "There is no Ondrelle.ini " + beside + ", but there " + (one ? "is " : "are ") + quoted_list(near) +
                        ": the plug-in looks for Ondrelle.ini only." + hidden_extension_words(near) + " Rename " +
                        (one ? quoted_list(near) : std::string("the one that holds your settings")) +
                        " to Ondrelle.ini.");
        return;
    }
    if (game->plugin_found)
        add_finding(game, finding_problem,
                    "There is no Ondrelle.ini " + beside + ", in " + folder_words(*game, game->plugin_folder) +
                        ": the game shows \"" + kOpenFailedText +
                        "\" instead of the marker. Copy Ondrelle.ini from Ondrelle's package there.");
}
