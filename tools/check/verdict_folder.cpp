// The verdict on the game folder's files; see verdict_folder.h.
#include "verdict_folder.h"

#include <algorithm>

#include "config.h"
#include "plain_text.h"
#include "script_main.h"
#include "settings_notes.h"
#include "tool_platform.h"

namespace {

void add(std::vector<Finding>* findings, FindingWeight weight, const std::string& text) {
    findings->push_back(said(weight, text));
}

// =============================================================================
// Where the checker was started
// =============================================================================

void add_looked_above(const GameFolder& game, std::vector<Finding>* findings) {
    if (game.looked_above.empty()) return;
    add(findings, finding_fine,
        (game.named ? "(The folder named is the game's " + game.looked_above + " folder"
                    : "(ondrelle-check was started in the game's " + game.looked_above + " folder") +
            "; ondrelle-check looks at the game's folder, the one above it.)");
}

// Whether folder is the game's settings folder in Documents, which players
// take for the game's own.
bool documents_folder(const std::string& folder) {
    std::string lower = lower_case(folder);
    std::string separator(1, kToolPathSeparator);
    return ends_with(lower, separator + "rockstar games" + separator + "red dead redemption 2");
}

// Without RDR2.exe this is not the game's folder (most often: where
// Ondrelle's package was unpacked), and whatever else is missing here says
// nothing about the game: that one finding stands alone, with where the
// game's folder likely is and how to find it.
Finding not_the_game_folder(const GameFolder& game) {
    const char* find_it =
        " To find the game's folder: in Steam, right-click the game, then Manage > Browse local files; in the "
        "Rockstar Games Launcher, Settings > My installed games.";
    std::string where;
    if (!game.game_folder_near.empty())
        where = " The game's folder is most likely " + game.game_folder_near + ", which holds RDR2.exe.";
    else if (documents_folder(game.folder))
        where = std::string(" This is the game's settings folder in Documents, not the game's own folder.") + find_it;
    else
        where = find_it;
    return said(finding_problem,
                std::string("There is no RDR2.exe in this folder: it does not look like the game's folder, and "
                            "nothing else in it was looked at. ") +
                    (game.package_here ? "If you unpacked Ondrelle here: copy Ondrelle.asi, Ondrelle.ini and "
                                         "ondrelle-check.exe into the folder that holds RDR2.exe, and double-click "
                                         "ondrelle-check.exe there."
                                       : "Put ondrelle-check.exe into the folder that holds RDR2.exe and double-click "
                                         "it there, or name that folder with --game-folder.") +
                    where);
}

// The files dated after now, named once with their dates: the clock or the
// dates are wrong, and the checker weighs them as if they had no date.
void add_dated_ahead(const Timeline& timeline, std::vector<Finding>* findings) {
    if (timeline.dated_ahead.empty()) return;
    std::string names;
    for (size_t i = 0; i < timeline.dated_ahead.size(); ++i)
        names += std::string(i == 0                                 ? ""
                             : i + 1 == timeline.dated_ahead.size() ? " and "
                                                                    : ", ") +
                 timeline.dated_ahead[i];
    bool one = timeline.dated_ahead.size() == 1;
    add(findings, finding_note,
        names + (one ? " is" : " are") + " dated after the time now: the computer's clock, or the date of " +
            (one ? "that file" : "those files") + ", is wrong. ondrelle-check reads " + (one ? "it" : "them") +
            " as if undated. Set the clock right if it is wrong; the game does not mind the dates.");
}

// =============================================================================
// The hook and the loader
// =============================================================================

// What the hook's version says beside the game's. A log that says the hook
// did not accept the game carries that Problem itself, unless it is the hook
// older than the game, which is said here.
Finding hook_version_finding(const GameFolder& game, const Timeline& timeline) {
    const std::string& hook = game.hook.version;
    const std::string& exe = game.game.version;
    if (timeline.hook_too_old)
        return said(finding_problem,
                    "ScriptHookRDR2 " + hook + " is older than the game " + exe +
                        ": update it. A script hook runs only with the game build it was made for, and the game was "
                        "updated since: get the ScriptHookRDR2 made for " +
                        exe + " and put its ScriptHookRDR2.dll beside RDR2.exe.");
    std::string found = "ScriptHookRDR2.dll, the script hook: " + version_words(hook);
    long hook_build = build_of(hook), game_build = build_of(exe);
    if (hook_build < 0 || game_build < 0)
        return said(finding_fine, found + ". It must be the version made for " + game_in_words(game) +
                                      ": after every game update the hook needs its own update. Compare the two on "
                                      "the hook's download page.");
    if (hook_build == game_build)
        return said(finding_fine,
                    found + ", for the game's build " + std::to_string(game_build) + ", as RDR2.exe " + exe + " is.");
    if (hook_build > game_build)
        return said(finding_fine, found + ", for a later build of the game than RDR2.exe " + exe +
                                      "; its log says whether it accepted this one.");
    return said(finding_fine, found + ", for an older build of the game than RDR2.exe " + exe +
                                  ", but its log, written since the game was last updated, says it accepted the "
                                  "game.");
}

// The hook, after RDR2.exe: a problem when it is missing or the game cannot
// load it, its version against the game's otherwise.
Finding hook_finding(const GameFolder& game, const Timeline& timeline) {
    if (!game.hook.name.empty() && game.hook.fault == program_loads) return hook_version_finding(game, timeline);
    return said(
        finding_problem,
        "ScriptHookRDR2.dll, the script hook, " +
            (game.hook.name.empty() ? std::string("is not in the game's folder") : fault_words(game.hook.fault)) +
            ": no plug-in of this kind runs without it. Get ScriptHookRDR2 in the version made for " +
            game_in_words(game) + " and put ScriptHookRDR2.dll beside RDR2.exe.");
}

// "the game's folder and its asi folder", the folders a loader reads.
std::string folders_read_words(const LoaderKnown& known) {
    std::string words = "the game's folder";
    for (size_t i = 0; i < known.subfolders.size(); ++i)
        words += std::string(i == 0                             ? " and its "
                             : i + 1 == known.subfolders.size() ? " and "
                                                                : ", ") +
                 known.subfolders[i];
    return words + (known.subfolders.empty() ? "" : known.subfolders.size() == 1 ? " folder" : " folders");
}

// No loader at all: nothing loads .asi files.
Finding missing_loader_finding(const GameFolder& game) {
    return said(finding_problem,
                "dinput8.dll, the ASI loader, is not in the game's folder: nothing loads .asi files without it. " +
                    std::string(game.hook.name.empty()
                                    ? "It comes with ScriptHookRDR2: put its dinput8.dll beside RDR2.exe."
                                    : "With ScriptHookRDR2.dll there, an antivirus program that put dinput8.dll in "
                                      "quarantine is a common cause: restore it from the quarantine and add an "
                                      "exception for the game's folder, or put the dinput8.dll that comes with "
                                      "ScriptHookRDR2 beside RDR2.exe again."));
}

// One loader, known by what it is.
Finding loader_finding(const LoaderSeen& loader, const Timeline& timeline) {
    const std::string& name = loader.file.name;
    const LoaderKnown& known = loader_known(loader.kind);
    if (loader.file.fault != program_loads)
        return said(finding_problem,
                    name + ", the ASI loader, " + fault_words(loader.file.fault) +
                        ": nothing loads .asi files without it. It comes with ScriptHookRDR2: put its dinput8.dll "
                        "beside RDR2.exe.");
    switch (loader.kind) {
        case loader_of_the_hook:
            return said(finding_fine, name + ", the ASI loader: " + version_words(loader.file.version) + ".");
        case loader_ultimate:
            return said(finding_fine, name + " is " + known.name + ", " + version_words(loader.file.version) +
                                          ": it loads .asi files from " + folders_read_words(known) +
                                          ", and writes no log.");
        case no_loader_windows:
            return said(finding_fine, name +
                                          " is Windows' own library of that name, no ASI loader: it loads no "
                                          "plug-in.");
        case loader_unknown:
            break;
    }
    std::string unknown = name +
                          " names .asi files: it looks like an ASI loader of a kind ondrelle-check does not know, so "
                          "it cannot tell which folders it reads";
    if (timeline.plugin_ran)
        return said(finding_fine, unknown +
                                      ". Ondrelle.log of the last start shows that the plug-in was loaded and "
                                      "its script started.");
    return said(finding_note, unknown + ". Start the game: if Ondrelle.log then says \"" + kLogScriptStarted +
                                  "\", it loads the plug-in; if it does not, put the dinput8.dll that comes with "
                                  "ScriptHookRDR2 beside RDR2.exe.");
}

// The libraries of a loader's name, each known by what it is, and a word on
// more than one loader.
void add_loaders(const GameFolder& game, const Timeline& timeline, std::vector<Finding>* findings) {
    std::vector<const LoaderSeen*> loaders = real_loaders(game);
    if (loaders.empty()) findings->push_back(missing_loader_finding(game));
    for (const LoaderSeen& loader : game.loaders) findings->push_back(loader_finding(loader, timeline));
    if (loaders.size() < 2) return;
    std::string each;
    for (const LoaderSeen* loader : loaders) {
        const LoaderKnown& known = loader_known(loader->kind);
        each += " " + loader->file.name +
                (known.folders_known ? " reads " + folders_read_words(known) + "." : " reads folders not known.");
    }
    add(findings, finding_note,
        "There is more than one ASI loader here, and each loads the plug-ins in the folders it reads." + each +
            " A copy of Ondrelle.asi in any of these is loaded.");
}

// =============================================================================
// The plug-in
// =============================================================================

// The loaders' folders in words, for a copy where none of them looks.
std::string loaders_read_words(const GameFolder& game, const Placement& placement) {
    if (placement.loaders_assumed)
        return "dinput8.dll, the ASI loader, would read the game's folder and its asi folder";
    std::string words;
    std::vector<const LoaderSeen*> loaders = real_loaders(game);
    for (size_t i = 0; i < loaders.size(); ++i)
        words += std::string(i == 0 ? "" : "; ") + loaders[i]->file.name + " reads " +
                 folders_read_words(loader_known(loaders[i]->kind));
    return words;
}

// "its asi folder", "its scripts or plugins folder": the subfolders the
// loaders here read.
std::string subfolders_read_words(const GameFolder& game, const Placement& placement) {
    std::vector<std::string> subfolders;
    std::vector<const LoaderSeen*> loaders = real_loaders(game);
    if (placement.loaders_assumed) subfolders.push_back(kAsiFolder);
    for (const LoaderSeen* loader : loaders) {
        for (const char* subfolder : loader_known(loader->kind).subfolders) {
            if (std::find(subfolders.begin(), subfolders.end(), subfolder) == subfolders.end())
                subfolders.push_back(subfolder);
        }
    }
    if (subfolders.empty()) return "a folder a loader here is known to read";
    std::string words = "its ";
    for (size_t i = 0; i < subfolders.size(); ++i)
        words += std::string(i == 0 ? "" : i + 1 == subfolders.size() ? " or " : ", ") + subfolders[i];
    return words + " folder";
}

// The folder a copy where no loader looks is to be moved to: the game's own,
// which every loader reads.
void add_no_plugin(const GameFolder& game, const Timeline& timeline, std::vector<Finding>* findings) {
    const Placement& placement = timeline.placement;
    if (placement.unread.file != nullptr) {
        std::string there = folder_words(game, placement.unread.folder->path);
        return add(findings, finding_problem,
                   placement.unread.file->name + " is in " + there +
                       ", where no ASI loader here looks: " + loaders_read_words(game, placement) + ". Move " +
                       placement.unread.file->name + " and Ondrelle.ini out of " + there + ", beside RDR2.exe.");
    }
    for (const PluginFolder& folder : game.plugin_folders) {
        const std::string& renamed = folder.saved_as_dll;
        if (renamed.empty()) continue;
        return add(findings, finding_problem,
                   renamed +
                       " is Ondrelle's plug-in saved under the ending .dll, and the loader loads .asi files only. "
                       "Rename " +
                       renamed + " to Ondrelle.asi.");
    }
    const std::string& astray = game.plugin_astray;
    add(findings, finding_problem,
        "Ondrelle.asi is neither in the game's folder nor in " + subfolders_read_words(game, placement) +
            ": the loader finds no Ondrelle to load. " +
            (astray.empty() ? std::string("Put Ondrelle.asi beside RDR2.exe.")
                            : "There is one in the folder " + astray +
                                  ", where the loader does not look: move Ondrelle.asi and Ondrelle.ini out of it, "
                                  "beside RDR2.exe."));
}

// A name with its version, when it gives one.
std::string with_version(const ProgramSeen& copy) {
    return copy.name + (copy.version.empty() ? "" : " (version " + copy.version + ")");
}

// Of two copies side by side, the second is the one to delete: older, or
// of the same version under another name. The one kept is to be named
// Ondrelle.asi, as later updates will be.
std::string which_copy_to_delete(const ProgramSeen& kept, const ProgramSeen& second) {
    std::string rename = named_as_shipped(kept) ? "" : ", and rename " + kept.name + " to Ondrelle.asi";
    if (version_older(second.version, kept.version)) return "Delete the older one, " + second.name + rename;
    return named_as_shipped(kept) ? "Delete " + second.name : "Delete one of them" + rename;
}

// A copy besides the one the checker looks at: both draw a marker, or the
// other shows its error over the marker. Named with its version, so that the
// player can tell which to keep.
Finding second_copy_finding(const GameFolder& game, const CopySeen& first, const CopySeen& second) {
    std::string about_first =
        "; what follows is about " + first.file->name + " in " + folder_words(game, first.folder->path) + ".";
    if (second.folder == first.folder)
        return said(finding_note,
                    "There is a second copy of the plug-in beside " + first.file->name + ": " +
                        with_version(*second.file) +
                        ". The loader loads both, and both read the same Ondrelle.ini, so two markers are drawn, one "
                        "over the other. " +
                        which_copy_to_delete(*first.file, *second.file) + about_first);
    return said(finding_note,
                "There is a second copy of the plug-in, " + with_version(*second.file) + ", in " +
                    folder_words(game, second.folder->path) +
                    ": the loader loads both, and each reads the Ondrelle.ini and writes the Ondrelle.log beside "
                    "itself" +
                    (!second.folder->settings.path.empty()
                         ? ", so two markers are drawn. Delete one of them"
                         : ". That one has no Ondrelle.ini beside it, so it shows \"" + std::string(kOpenFailedText) +
                               "\" at the top left of the screen. Delete it") +
                    about_first);
}

// The plug-in's version against this checker's: an update that copied the
// new checker but kept the old plug-in, or a checker older than the plug-in.
void add_version_against_checker(const std::string& version, const char* own_version, std::vector<Finding>* findings) {
    if (version_older(version, own_version))
        add(findings, finding_note,
            "This Ondrelle.asi is version " + version + ", older than this ondrelle-check (" + own_version +
                "): an update kept the old plug-in. Copy the new Ondrelle.asi from the package over the old one.");
    else if (version_older(own_version, version) && !starts_with(version, std::string(own_version) + "."))
        add(findings, finding_note,
            "This ondrelle-check is version " + std::string(own_version) +
                ": its notes are for that version of the plug-in. Use the ondrelle-check.exe that came with your "
                "Ondrelle.asi.");
}

// Ondrelle.ini gives an optional key, which a plug-in older than the first
// release that reads them does not know: it stops at that line ("unknown
// key") and shows its error instead of the marker. True when that is so.
bool add_keys_newer_than_plugin(const ProgramSeen& plugin, const PluginFolder& folder, std::vector<Finding>* findings) {
    if (!folder.settings_checked || !version_older(plugin.version, kFirstReleaseWithOptionalKeys)) return false;
    std::vector<OptionalKeyLine> given = optional_keys_given(folder.settings_report.content);
    if (given.empty()) return false;
    add(findings, finding_problem,
        "Ondrelle.ini gives " + std::string(given.front().key->name) + " (line " + std::to_string(given.front().line) +
            ")" + (given.size() > 1 ? " and other keys" : "") + " that Ondrelle " + kFirstReleaseWithOptionalKeys +
            " brought, but this " + plugin.name + " is version " + plugin.version + ", which does not know " +
            (given.size() > 1 ? "them" : "it") +
            ": it stops reading Ondrelle.ini there (\"unknown key\" in its log) and shows \"" + kGenericParseErrorText +
            "\" instead of the marker. Copy the new Ondrelle.asi from the package over the old "
            "one.");
    return true;
}

void add_plugin(const GameFolder& game, const Timeline& timeline, const char* own_version,
                std::vector<Finding>* findings) {
    const Placement& placement = timeline.placement;
    if (placement.loaded.empty()) return add_no_plugin(game, timeline, findings);
    const CopySeen& first = placement.loaded.front();
    std::string in_where = ", in " + folder_words(game, first.folder->path);
    if (first.file->fault != program_loads)
        add(findings, finding_problem,
            first.file->name + in_where + ", " + fault_words(first.file->fault) +
                ": the loader cannot load it. Copy Ondrelle.asi from Ondrelle's package there again.");
    else if (placement.by_unknown_loader)
        add(findings, finding_note,
            first.file->name + ": " + version_words(first.file->version) + in_where +
                ", which no ASI loader ondrelle-check knows reads; the loader it does not know may. Should the "
                "marker not show, move it beside RDR2.exe.");
    else
        add(findings, finding_fine, first.file->name + ": " + version_words(first.file->version) + in_where + ".");
    if (!named_as_shipped(*first.file))
        add(findings, finding_fine,
            "(Its name is not Ondrelle.asi, but the loader loads any .asi file, and it reads the Ondrelle.ini beside "
            "it all the same: below, Ondrelle.asi means this file.)");
    for (size_t copy = 1; copy < placement.loaded.size(); ++copy)
        findings->push_back(second_copy_finding(game, first, placement.loaded[copy]));
    // An older plug-in that stops at a key of this release's is the Problem,
    // and its fix also brings it up to this checker's version.
    if (!add_keys_newer_than_plugin(*first.file, *first.folder, findings))
        add_version_against_checker(first.file->version, own_version, findings);
}

// =============================================================================
// Its settings
// =============================================================================

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

// "\"A\"", "\"A\" and \"B\"", "\"A\", \"B\" and \"C\"".
std::string quoted_list(const std::vector<std::string>& names) {
    std::string list;
    for (size_t i = 0; i < names.size(); ++i)
        list += std::string(i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + "\"" + names[i] + "\"";
    return list;
}

// An Ondrelle.ini that cannot be read (a folder of that name, a file kept to
// itself by another program) the game cannot open either: it shows its
// error instead of the marker.
Finding unreadable_settings_finding(UnreadableReason why, const std::string& beside) {
    return said(finding_problem,
                "Ondrelle.ini " + beside + " cannot be read: " + unreadable_words(why) +
                    ". The game cannot open it either, and shows \"" + kOpenFailedText + "\" instead of the marker. " +
                    (why == unreadable_folder ? "Delete that folder and copy Ondrelle.ini from Ondrelle's package in "
                                                "its place."
                                              : "Close any program that keeps it open; should that not help, copy its "
                                                "text into a new Ondrelle.ini."));
}

// Ondrelle.ini beside Ondrelle.asi, and files saved under a name near it,
// whose changes never reach the game.
void add_settings_found(const SettingsFileSeen& settings, const std::string& beside, std::vector<Finding>* findings) {
    if (!settings.readable) return findings->push_back(unreadable_settings_finding(settings.why, beside));
    add(findings, finding_fine, "Ondrelle.ini: " + beside + ", checked below.");
    const std::vector<std::string>& near = settings.near_names;
    if (near.empty()) return;
    bool one = near.size() == 1;
    add(findings, finding_note,
        "There is also " + quoted_list(near) + " beside it, which the plug-in never reads: changes saved " +
            (one ? "there" : "in them") + " do not reach the game." + hidden_extension_words(near) +
            " Make your changes in Ondrelle.ini, then delete " + quoted_list(near) + ".");
}

// Another folder a loader may read that holds an Ondrelle.ini, when the
// plug-in's own holds none: the game's folder first.
const PluginFolder* folder_with_settings_elsewhere(const GameFolder& game, const PluginFolder& plugin_folder) {
    for (const PluginFolder& folder : game.plugin_folders) {
        if (&folder != &plugin_folder && !folder.settings.path.empty()) return &folder;
    }
    return nullptr;
}

void add_settings(const GameFolder& game, const Timeline& timeline, std::vector<Finding>* findings) {
    const Placement& placement = timeline.placement;
    if (placement.folder == nullptr) return;
    bool found = !placement.loaded.empty();
    std::string beside = found ? "beside Ondrelle.asi" : "in the game's folder";
    const PluginFolder& plugin_folder = *placement.folder;
    const SettingsFileSeen& settings = plugin_folder.settings;
    if (!settings.path.empty()) return add_settings_found(settings, beside, findings);
    std::string in_plugin_folder = folder_words(game, plugin_folder.path);
    const PluginFolder* elsewhere = found ? folder_with_settings_elsewhere(game, plugin_folder) : nullptr;
    if (elsewhere != nullptr)
        return add(findings, finding_problem,
                   "Ondrelle.ini is not " + beside + ", in " + in_plugin_folder + ", but in " +
                       folder_words(game, elsewhere->path) +
                       ": the plug-in reads only the one beside itself, and shows \"" + kOpenFailedText +
                       "\" instead of the marker. Move Ondrelle.ini into " + in_plugin_folder + ".");
    const std::vector<std::string>& near = settings.near_names;
    if (!near.empty()) {
        bool one = near.size() == 1;
        return add(findings, finding_problem,
                   "There is no Ondrelle.ini " + beside + ", but there " + (one ? "is " : "are ") + quoted_list(near) +
                       ": the plug-in looks for Ondrelle.ini only." + hidden_extension_words(near) + " Rename " +
                       (one ? quoted_list(near) : std::string("the one that holds your settings")) +
                       " to Ondrelle.ini.");
    }
    if (found)
        add(findings, finding_problem,
            "There is no Ondrelle.ini " + beside + ", in " + in_plugin_folder + ": the game shows \"" +
                kOpenFailedText + "\" instead of the marker. Copy Ondrelle.ini from Ondrelle's package there.");
}

// =============================================================================
// Writing
// =============================================================================

// Whether a folder lies under Program Files, where only an administrator
// may write (Steam's default, Program Files (x86)\Steam, is made writable).
bool under_program_files(const std::string& folder) {
    std::string lower = lower_case(folder);
    return lower.find(std::string(1, kToolPathSeparator) + "program files") != std::string::npos;
}

// Whether the plug-in's folder can be written: the log goes there, and the
// player's editor saves Ondrelle.ini there. Neither keeps the marker from
// showing, so what cannot be written is a note, with the fix that fits.
void add_writing(const GameFolder& game, const Timeline& timeline, std::vector<Finding>* findings) {
    const Placement& placement = timeline.placement;
    if (placement.loaded.empty()) return;
    const PluginFolder& folder = *placement.folder;
    if (!folder.written)
        return add(findings, finding_note,
                   "The folder of Ondrelle.asi, " + folder_words(game, folder.path) +
                       ", cannot be written: the game cannot write Ondrelle.log there and your editor cannot save "
                       "Ondrelle.ini, though the marker shows all the same. " +
                       (under_program_files(folder.path)
                            ? "Run the game (and your editor) as administrator, or move the game out of Program Files."
                            : "Give your Windows account the right to write there: in the folder's Properties, "
                              "Security, allow Write for your account."));
    if (folder.settings.read_only)
        return add(findings, finding_note,
                   "Ondrelle.ini is read-only: the game reads it, but your editor cannot save changes to it. Untick "
                   "Read-only in its Properties (right-click Ondrelle.ini, Properties).");
    add(findings, finding_fine,
        "The folder of Ondrelle.asi can be written: the game can write Ondrelle.log there, and your editor can save "
        "Ondrelle.ini.");
}

}  // namespace

std::vector<Finding> folder_findings(const GameFolder& game, const Timeline& timeline, const char* own_version) {
    std::vector<Finding> findings;
    add_looked_above(game, &findings);
    if (!game.is_game_folder) {
        findings.push_back(not_the_game_folder(game));
        return findings;
    }
    add(&findings, finding_fine, "RDR2.exe, the game: " + version_words(game.game.version) + ".");
    add_dated_ahead(timeline, &findings);
    findings.push_back(hook_finding(game, timeline));
    add_loaders(game, timeline, &findings);
    add_plugin(game, timeline, own_version, &findings);
    add_settings(game, timeline, &findings);
    add_writing(game, timeline, &findings);
    return findings;
}
