// The verdict on the game folder's files; see verdict_folder.h.
#include "verdict_folder.h"

#include "config.h"
#include "plain_text.h"
#include "script_main.h"
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

// Without RDR2.exe this is not the game's folder (most often: where
// Ondrelle's package was unpacked), and whatever else is missing here says
// nothing about the game: that one finding stands alone.
Finding not_the_game_folder(const GameFolder& game) {
    return said(finding_problem,
                std::string("There is no RDR2.exe in this folder: it does not look like the game's folder, and "
                            "nothing else in it was looked at. ") +
                    (game.package_here ? "If you unpacked Ondrelle here: copy Ondrelle.asi, Ondrelle.ini and "
                                         "ondrelle-check.exe into the folder that holds RDR2.exe, and double-click "
                                         "ondrelle-check.exe there."
                                       : "Put ondrelle-check.exe into the folder that holds RDR2.exe and double-click "
                                         "it there, or name that folder with --game-folder."));
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

// Without dinput8.dll, another library may be the loader: then Ondrelle.log
// decides. One that shows this copy's script started settles it; without
// one, it is not known, and the player is told what to look for.
Finding missing_loader_finding(const GameFolder& game, const Timeline& timeline) {
    if (game.other_loader.empty())
        return said(finding_problem,
                    "dinput8.dll, the ASI loader, is not in the game's folder: nothing loads .asi files without it. " +
                        std::string(game.hook.name.empty()
                                        ? "It comes with ScriptHookRDR2: put its dinput8.dll beside RDR2.exe."
                                        : "With ScriptHookRDR2.dll there, an antivirus program that put dinput8.dll "
                                          "in quarantine is a common cause: restore it from the quarantine and add "
                                          "an exception for the game's folder, or put the dinput8.dll that comes "
                                          "with ScriptHookRDR2 beside RDR2.exe again."));
    std::string missing = "dinput8.dll, the ASI loader, is not in the game's folder, but " + game.other_loader +
                          " names .asi files: it looks like an ASI loader under another name";
    if (timeline.plugin_ran)
        return said(finding_fine, missing +
                                      ", and Ondrelle.log, written since Ondrelle.asi was put there, shows that the "
                                      "plug-in was loaded and its script started.");
    return said(finding_note, missing + ". Start the game: if Ondrelle.log then says \"" + kLogScriptStarted +
                                  "\", it loads the plug-in; if it does not, put the dinput8.dll that comes with "
                                  "ScriptHookRDR2 beside RDR2.exe.");
}

// dinput8.dll, ScriptHookRDR2's loader; a loader under another name beside
// it or instead of it.
void add_loader(const GameFolder& game, const Timeline& timeline, std::vector<Finding>* findings) {
    if (game.loader.name.empty()) return findings->push_back(missing_loader_finding(game, timeline));
    if (game.loader.fault != program_loads)
        add(findings, finding_problem,
            "dinput8.dll, the ASI loader, " + fault_words(game.loader.fault) +
                ": nothing loads .asi files without it. It comes with ScriptHookRDR2: put its dinput8.dll beside "
                "RDR2.exe.");
    else
        add(findings, finding_fine, "dinput8.dll, the ASI loader: " + version_words(game.loader.version) + ".");
    if (!game.other_loader.empty())
        add(findings, finding_note,
            "There is also " + game.other_loader +
                ", which names .asi files: it looks like a second ASI loader, and both load plug-ins. dinput8.dll, "
                "ScriptHookRDR2's loader, reads the game's folder and its asi folder; a loader such as " +
                game.other_loader +
                " reads the game's folder and its scripts and plugins folders. A copy of Ondrelle.asi in any of "
                "these is loaded.");
}

// =============================================================================
// The plug-in
// =============================================================================

void add_no_plugin(const GameFolder& game, std::vector<Finding>* findings) {
    const std::string& renamed = game.plugin_files.saved_as_dll;
    if (!renamed.empty())
        return add(findings, finding_problem,
                   renamed +
                       " is Ondrelle's plug-in saved under the ending .dll, and the loader loads .asi files only. "
                       "Rename " +
                       renamed + " to Ondrelle.asi.");
    const std::string& astray = game.plugin_files.astray;
    add(findings, finding_problem,
        "Ondrelle.asi is neither in the game's folder nor in its asi folder: the loader finds no Ondrelle to load. " +
            (astray.empty() ? std::string("Put Ondrelle.asi beside RDR2.exe.")
                            : "There is one in the folder " + astray +
                                  ", where the loader does not look: move Ondrelle.asi and Ondrelle.ini out of it, "
                                  "beside RDR2.exe."));
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
Finding second_copy_finding(const GameFolder& game, const PluginCopy& first, const PluginCopy& second) {
    std::string about_first =
        "; what follows is about " + first.file.name + " in " + folder_words(game, first.folder) + ".";
    if (second.folder == first.folder)
        return said(finding_note,
                    "There is a second copy of the plug-in beside " + first.file.name + ": " + with_version(second) +
                        ". The loader loads both, and both read the same Ondrelle.ini, so two markers are drawn, one "
                        "over the other. " +
                        which_copy_to_delete(first, second) + about_first);
    return said(finding_note,
                "There is a second copy of the plug-in, " + with_version(second) + ", in " +
                    folder_words(game, second.folder) +
                    ": the loader loads both, and each reads the Ondrelle.ini and writes the Ondrelle.log beside "
                    "itself" +
                    (second.settings_beside
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

void add_plugin(const GameFolder& game, const char* own_version, std::vector<Finding>* findings) {
    if (!game.plugin_found) return add_no_plugin(game, findings);
    const std::vector<PluginCopy>& copies = game.plugin_files.copies;
    const PluginCopy& first = copies.front();
    std::string in_where = ", in " + folder_words(game, first.folder);
    if (first.file.fault == program_loads)
        add(findings, finding_fine, first.file.name + ": " + version_words(first.file.version) + in_where + ".");
    else
        add(findings, finding_problem,
            first.file.name + in_where + ", " + fault_words(first.file.fault) +
                ": the loader cannot load it. Copy Ondrelle.asi from Ondrelle's package there again.");
    if (!named_as_shipped(first))
        add(findings, finding_fine,
            "(Its name is not Ondrelle.asi, but the loader loads any .asi file, and it reads the Ondrelle.ini beside "
            "it all the same: below, Ondrelle.asi means this file.)");
    for (size_t copy = 1; copy < copies.size(); ++copy)
        findings->push_back(second_copy_finding(game, first, copies[copy]));
    add_version_against_checker(first.file.version, own_version, findings);
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
void add_settings_found(const GameFolder& game, const std::string& beside, std::vector<Finding>* findings) {
    const SettingsFileSeen& settings = game.settings;
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

void add_settings(const GameFolder& game, std::vector<Finding>* findings) {
    std::string beside = game.plugin_found ? "beside Ondrelle.asi" : "in the game's folder";
    const SettingsFileSeen& settings = game.settings;
    if (!settings.path.empty()) return add_settings_found(game, beside, findings);
    std::string in_plugin_folder = folder_words(game, game.plugin_folder);
    if (!settings.other_folder.empty())
        return add(findings, finding_problem,
                   "Ondrelle.ini is not " + beside + ", in " + in_plugin_folder + ", but in " +
                       folder_words(game, settings.other_folder) +
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
    if (game.plugin_found)
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
void add_writing(const GameFolder& game, std::vector<Finding>* findings) {
    if (!game.plugin_found) return;
    if (!game.plugin_folder_written)
        return add(findings, finding_note,
                   "The folder of Ondrelle.asi, " + folder_words(game, game.plugin_folder) +
                       ", cannot be written: the game cannot write Ondrelle.log there and your editor cannot save "
                       "Ondrelle.ini, though the marker shows all the same. " +
                       (under_program_files(game.plugin_folder)
                            ? "Run the game (and your editor) as administrator, or move the game out of Program Files."
                            : "Give your Windows account the right to write there: in the folder's Properties, "
                              "Security, allow Write for your account."));
    if (game.settings.read_only)
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
    findings.push_back(hook_finding(game, timeline));
    add_loader(game, timeline, &findings);
    add_plugin(game, own_version, &findings);
    add_settings(game, &findings);
    add_writing(game, &findings);
    return findings;
}
