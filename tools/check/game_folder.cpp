// The game folder's findings; see game_folder.h.
#include "game_folder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "config.h"
#include "console_text.h"
#include "editor_lines.h"
#include "file_version.h"
#include "settings_notes.h"
#include "settings_report.h"
#include "settings_rules.h"
#include "tool_platform.h"

namespace {

// The folder beside the game's in which the loader also finds .asi files.
const char kAsiFolder[] = "asi";
// How many of another program's log lines are shown: the last ones.
const size_t kQuotedLogLines = 5;
// No finding's index.
const size_t kNoFinding = static_cast<size_t>(-1);

std::string lower_case(std::string text) {
    lower_case_ascii(&text[0]);
    return text;
}

// The game's folder or its asi folder, in words: the heading gives the path.
std::string folder_name(const GameFolder& game, const std::string& folder) {
    return folder == game.folder ? "the game's folder" : "the asi folder";
}

void add(GameFolder* game, FindingWeight weight, const std::string& text) {
    game->findings.push_back(Finding{weight, text, {}});
}

// What is read of a program or a library.
struct ProgramFile {
    // Why the game cannot load it, in words that follow its name; empty when
    // nothing is known against it (also when it cannot be read).
    std::string load_fault;
    std::string version;  // from its version resource; empty when none is given
};

ProgramFile program_file(const std::string& path) {
    std::string bytes;
    if (!tool_read_file(path, &bytes)) return ProgramFile{"", ""};
    std::string fault;
    if (!pe_file_whole(bytes))
        fault = "is not a whole Windows library (a download cut short, or a damaged copy)";
    else if (!pe_file_64_bit(bytes))
        fault = "is a 32-bit library, which the game, a 64-bit program, cannot load";
    return ProgramFile{fault, pe_file_version(bytes)};
}

// "version 1.0.1491.50", or a word that there is none.
std::string version_words(const std::string& version) {
    return version.empty() ? "its version is not given" : "version " + version;
}

// A version's first three numbers, as the project numbers its releases.
std::string release_of(const std::string& version) {
    size_t third = version.find('.', version.find('.') + 1);
    size_t end = third == std::string::npos ? std::string::npos : version.find('.', third + 1);
    return version.substr(0, end);
}

// =============================================================================
// The game, the hook and the loader
// =============================================================================

// A library the game needs in its folder, named by file and role: a
// problem when it is missing or the game cannot load it (then: what it is
// needed for, and the fix), its version otherwise (then: what to compare).
// Returns whether it is there.
bool look_at_library(GameFolder* game, const char* file, const char* role, const std::string& needed_for,
                     const std::string& after_version) {
    std::string name = entry_named(game->folder, file);
    ProgramFile library = program_file(in_folder(game->folder, name));
    if (name.empty() || !library.load_fault.empty())
        add(game, finding_problem,
            std::string(file) + ", " + role + ", " +
                (name.empty() ? std::string("is not in the game's folder") : library.load_fault) + needed_for);
    else
        add(game, finding_fine,
            std::string(file) + ", " + role + ": " + version_words(library.version) + after_version);
    return !name.empty();
}

// RDR2.exe, ScriptHookRDR2.dll and dinput8.dll. Without RDR2.exe this is
// not the game's folder (most often: where Ondrelle's package was unpacked),
// and whatever else is missing here says nothing about the game: that one
// finding stands alone, and false is returned. *missing_loader is the index
// of the finding that dinput8.dll is missing, or kNoFinding.
bool look_at_game_files(GameFolder* game, size_t* missing_loader) {
    std::string exe = entry_named(game->folder, "RDR2.exe");
    if (exe.empty()) {
        bool package_here = !entry_named(game->folder, "Ondrelle.asi").empty();
        add(game, finding_problem,
            std::string("There is no RDR2.exe in this folder: it does not look like the game's folder, and nothing "
                        "else in it was looked at. ") +
                (package_here ? "If you unpacked Ondrelle here: copy Ondrelle.asi, Ondrelle.ini and "
                                "ondrelle-check.exe into the folder that holds RDR2.exe, and double-click "
                                "ondrelle-check.exe there."
                              : "Put ondrelle-check.exe into the folder that holds RDR2.exe and double-click it "
                                "there, or name that folder with --game-folder."));
        return false;
    }
    std::string game_version = program_file(in_folder(game->folder, exe)).version;
    add(game, finding_fine, "RDR2.exe, the game: " + version_words(game_version) + ".");
    std::string for_the_game = game_version.empty() ? "your game's version" : "RDR2.exe " + game_version;

    look_at_library(game, "ScriptHookRDR2.dll", "the script hook",
                    ": no plug-in of this kind runs without it. Get ScriptHookRDR2 in the version made for " +
                        for_the_game + " and put ScriptHookRDR2.dll beside RDR2.exe.",
                    ". It must be the version made for " + for_the_game +
                        ": after every game update the hook needs its own update. Compare the two on the hook's "
                        "download page.");
    *missing_loader = game->findings.size();
    if (look_at_library(game, "dinput8.dll", "the ASI loader",
                        ": nothing loads .asi files without it. It comes with ScriptHookRDR2: put its dinput8.dll "
                        "beside RDR2.exe.",
                        "."))
        *missing_loader = kNoFinding;
    return true;
}

// A library in the game's folder, other than the hook, that names .asi
// files: an ASI loader under another name than dinput8.dll (loaders take
// the name of any library the game loads). Empty for none.
std::string loader_under_another_name(const std::string& folder) {
    static const std::string kAsiPatterns[] = {".asi", ".ASI", std::string(".\0a\0s\0i\0", 8),
                                               std::string(".\0A\0S\0I\0", 8)};
    for (const std::string& name : tool_folder_entries(folder)) {
        std::string lower = lower_case(name);
        if (lower.size() < 4 || lower.compare(lower.size() - 4, 4, ".dll") != 0 || lower == "scripthookrdr2.dll")
            continue;
        std::string path = in_folder(folder, name);
        std::string bytes;
        if (tool_entry_kind(path) != entry_file || !tool_read_file(path, &bytes)) continue;
        for (const std::string& pattern : kAsiPatterns) {
            if (bytes.find(pattern) != std::string::npos) return name;
        }
    }
    return "";
}

// Whether Ondrelle.log shows that this copy of the plug-in was loaded and
// its script started: written since Ondrelle.asi was put there, and
// holding "Script started".
bool log_shows_plugin_ran(const GameFolder& game) {
    std::string name = entry_named(game.plugin_folder, "Ondrelle.log");
    std::string path = in_folder(game.plugin_folder, name);
    std::string text;
    int64_t written = 0;
    return game.plugin_found && !name.empty() && tool_read_file(path, &text) && tool_last_write_time(path, &written) &&
           written >= game.plugin_written && text.find(" Script started") != std::string::npos;
}

// Without dinput8.dll, another library may be the loader: then the log
// decides. One that shows this copy's script started settles it; without
// one, it is not known, and the player is told what to look for.
void weigh_missing_loader(GameFolder* game, size_t missing_loader) {
    if (missing_loader == kNoFinding) return;
    std::string other = loader_under_another_name(game->folder);
    if (other.empty()) return;
    std::string missing = "dinput8.dll, the ASI loader, is not in the game's folder, but " + other +
                          " names .asi files: it looks like an ASI loader under another name";
    if (log_shows_plugin_ran(*game))
        game->findings[missing_loader] =
            Finding{finding_fine,
                    missing +
                        ", and Ondrelle.log, written since Ondrelle.asi was put there, shows that the "
                        "plug-in was loaded and its script started.",
                    {}};
    else
        game->findings[missing_loader] =
            Finding{finding_note,
                    missing +
                        ". Start the game: if Ondrelle.log then says \"Script started\", it loads the "
                        "plug-in; if it does not, put the dinput8.dll that comes with ScriptHookRDR2 beside "
                        "RDR2.exe.",
                    {}};
}

// =============================================================================
// The plug-in and its settings
// =============================================================================

// A folder inside the game's that holds Ondrelle.asi, asked when neither the
// game's nor the asi folder does: where a package unpacked into a folder of
// its own left it. Empty for none.
std::string folder_holding_plugin(const std::string& game_folder) {
    for (const std::string& name : tool_folder_entries(game_folder)) {
        std::string folder = in_folder(game_folder, name);
        if (tool_entry_kind(folder) == entry_folder && !entry_named(folder, "Ondrelle.asi").empty()) return name;
    }
    return "";
}

// Whether version a (as "1.2.0.0") is newer than b; false when either is
// not known.
bool version_newer(const std::string& a, const std::string& b) {
    unsigned int ours[4] = {}, theirs[4] = {};
    if (std::sscanf(a.c_str(), "%u.%u.%u.%u", &ours[0], &ours[1], &ours[2], &ours[3]) != 4 ||
        std::sscanf(b.c_str(), "%u.%u.%u.%u", &theirs[0], &theirs[1], &theirs[2], &theirs[3]) != 4)
        return false;
    return std::lexicographical_compare(theirs, theirs + 4, ours, ours + 4);
}

// A copy of the plug-in: the loader loads every .asi file in the game's
// folder and in its asi folder, so Ondrelle.asi under another name (the
// "Ondrelle (2).asi" that Explorer's "Keep both files" leaves) is loaded as
// well, and reads the Ondrelle.ini beside it all the same.
struct PluginCopy {
    std::string folder;
    std::string name;
    ProgramFile file;
};

bool plugin_copy_name(const std::string& name) {
    std::string lower = lower_case(name);
    return lower.size() >= 12 && lower.compare(0, 8, "ondrelle") == 0 &&
           lower.compare(lower.size() - 4, 4, ".asi") == 0;
}

bool named_as_shipped(const PluginCopy& copy) { return lower_case(copy.name) == "ondrelle.asi"; }

// The copies in folder, the one to keep first: the newest, and of the same
// version, Ondrelle.asi itself.
void add_plugin_copies(const std::string& folder, std::vector<PluginCopy>* copies) {
    std::vector<PluginCopy> here;
    for (const std::string& name : tool_folder_entries(folder)) {
        std::string path = in_folder(folder, name);
        if (plugin_copy_name(name) && tool_entry_kind(path) == entry_file)
            here.push_back(PluginCopy{folder, name, program_file(path)});
    }
    std::stable_sort(here.begin(), here.end(), [](const PluginCopy& a, const PluginCopy& b) {
        if (version_newer(a.file.version, b.file.version)) return true;
        if (version_newer(b.file.version, a.file.version)) return false;
        return named_as_shipped(a) && !named_as_shipped(b);
    });
    copies->insert(copies->end(), here.begin(), here.end());
}

// A name with its version, when it gives one.
std::string with_version(const PluginCopy& copy) {
    return copy.name + (copy.file.version.empty() ? "" : " (version " + copy.file.version + ")");
}

// Of two copies side by side, the second is the one to delete: older, or
// of the same version under another name. The one kept is to be named
// Ondrelle.asi, as later updates will be.
std::string which_copy_to_delete(const PluginCopy& kept, const PluginCopy& second) {
    std::string rename = named_as_shipped(kept) ? "" : ", and rename " + kept.name + " to Ondrelle.asi";
    if (version_newer(kept.file.version, second.file.version)) return "Delete the older one, " + second.name + rename;
    return named_as_shipped(kept) ? "Delete " + second.name : "Delete one of them" + rename;
}

// A copy besides the one the checker looks at: both draw a marker, or the
// other shows its error over the marker. Named with its version, so that the
// player can tell which to keep.
void add_second_copy(GameFolder* game, const PluginCopy& first, const PluginCopy& second) {
    std::string about_first = "; what follows is about " + first.name + " in " + folder_name(*game, first.folder) + ".";
    if (second.folder == first.folder) {
        add(game, finding_note,
            "There is a second copy of the plug-in beside " + first.name + ": " + with_version(second) +
                ". The loader loads both, and both read the same Ondrelle.ini, so two markers are drawn, one over "
                "the other. " +
                which_copy_to_delete(first, second) + about_first);
        return;
    }
    add(game, finding_note,
        "There is a second copy of the plug-in, " + with_version(second) + ", in " + folder_name(*game, second.folder) +
            ": the loader loads both, and each reads the Ondrelle.ini and writes the Ondrelle.log beside itself" +
            (entry_named(second.folder, "Ondrelle.ini").empty()
                 ? ". That one has no Ondrelle.ini beside it, so it shows \"Failed to open config file\" at the "
                   "top left of the screen. Delete it"
                 : ", so two markers are drawn. Delete one of them") +
            about_first);
}

// Where Ondrelle.asi is: the game's folder, its asi folder, or both.
void look_at_plugin(GameFolder* game, const char* own_version) {
    std::string asi_folder = in_folder(game->folder, kAsiFolder);
    std::vector<PluginCopy> copies;
    add_plugin_copies(game->folder, &copies);
    if (tool_entry_kind(asi_folder) == entry_folder) add_plugin_copies(asi_folder, &copies);
    game->plugin_found = !copies.empty();
    if (!game->plugin_found) {
        std::string unpacked = folder_holding_plugin(game->folder);
        add(game, finding_problem,
            "Ondrelle.asi is neither in the game's folder nor in its asi folder: the loader finds no Ondrelle to "
            "load. " +
                (unpacked.empty() ? std::string("Put Ondrelle.asi beside RDR2.exe.")
                                  : "There is one in the folder " + unpacked +
                                        ", where the loader does not look: move Ondrelle.asi and Ondrelle.ini "
                                        "out of it, beside RDR2.exe."));
        return;
    }
    const PluginCopy& first = copies.front();
    game->plugin_folder = first.folder;
    if (!tool_last_write_time(in_folder(first.folder, first.name), &game->plugin_written)) game->plugin_written = 0;
    const ProgramFile& plugin_file = first.file;
    const std::string& version = plugin_file.version;
    std::string in_where = ", in " + folder_name(*game, first.folder);
    if (plugin_file.load_fault.empty())
        add(game, finding_fine, first.name + ": " + version_words(version) + in_where + ".");
    else
        add(game, finding_problem,
            first.name + in_where + ", " + plugin_file.load_fault +
                ": the loader cannot load it. Copy Ondrelle.asi from Ondrelle's package there again.");
    if (!named_as_shipped(first))
        add(game, finding_fine,
            "(Its name is not Ondrelle.asi, but the loader loads any .asi file, and it reads the Ondrelle.ini "
            "beside it all the same: below, Ondrelle.asi means this file.)");
    for (size_t copy = 1; copy < copies.size(); ++copy) add_second_copy(game, first, copies[copy]);
    if (!version.empty() && release_of(version) != own_version)
        add(game, finding_note,
            "This ondrelle-check is version " + std::string(own_version) +
                ": its notes are for that version of the plug-in. Use the ondrelle-check.exe that came with your "
                "Ondrelle.asi.");
}

// Whether a name is near enough to Ondrelle.ini to be the settings file
// saved under another name: with a second extension, a copy's number, or a
// letter or two amiss.
bool near_settings_name(const std::string& name) {
    std::string lower = lower_case(name);
    if (lower == "ondrelle.ini" || lower == "ondrelle.asi" || lower == "ondrelle.log") return false;
    bool ondrelle_ini_inside = lower.compare(0, 8, "ondrelle") == 0 && lower.find(".ini") != std::string::npos;
    return ondrelle_ini_inside || edit_distance(lower, "ondrelle.ini") <= 2;
}

// For a settings file saved as text: Explorer with its default view shows
// Ondrelle.ini.txt as Ondrelle.ini, so the player sees the name meant.
std::string hidden_extension_words(const std::string& near) {
    std::string lower = lower_case(near);
    if (lower.size() < 4 || lower.compare(lower.size() - 4, 4, ".txt") != 0) return "";
    return " With file extensions hidden, Explorer shows " + near.substr(0, near.size() - 4) +
           " for it: choose View > Show > File name extensions to see the whole name.";
}

std::string near_settings_file(const std::string& folder) {
    for (const std::string& name : tool_folder_entries(folder)) {
        if (near_settings_name(name) && tool_entry_kind(in_folder(folder, name)) == entry_file) return name;
    }
    return "";
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
    add(game, finding_problem,
        "Ondrelle.ini " + beside + " cannot be read: " + unreadable_words(why) +
            ". The game cannot open it either, and shows \"Failed to open config file\" instead of the marker. " +
            (why == unreadable_folder ? "Delete that folder and copy Ondrelle.ini from Ondrelle's package in its "
                                        "place."
                                      : "Close any program that keeps it open; should that not help, copy its "
                                        "text into a new Ondrelle.ini."));
    return false;
}

// Ondrelle.ini beside Ondrelle.asi: the plug-in reads no other.
void look_at_settings_file(GameFolder* game) {
    std::string settings = entry_named(game->plugin_folder, "Ondrelle.ini");
    std::string beside = game->plugin_found ? "beside Ondrelle.asi" : "in the game's folder";
    if (!settings.empty()) {
        std::string path = in_folder(game->plugin_folder, settings);
        if (!settings_file_readable(game, path, beside)) return;
        game->settings_path = path;
        add(game, finding_fine, "Ondrelle.ini: " + beside + ", checked below.");
        // Saved under another name next to it, the changes never reach the game.
        std::string near = near_settings_file(game->plugin_folder);
        if (near.empty()) return;
        std::string never_read = "There is also " + near +
                                 " beside it, which the plug-in never reads: changes saved there do not reach the "
                                 "game.";
        add(game, finding_note,
            never_read + hidden_extension_words(near) + " Make your changes in Ondrelle.ini, then delete " + near +
                ".");
        return;
    }
    std::string other_folder = game->plugin_folder == game->folder ? in_folder(game->folder, kAsiFolder) : game->folder;
    if (game->plugin_found && tool_entry_kind(other_folder) == entry_folder &&
        !entry_named(other_folder, "Ondrelle.ini").empty()) {
        add(game, finding_problem,
            "Ondrelle.ini is not " + beside + ", in " + folder_name(*game, game->plugin_folder) + ", but in " +
                folder_name(*game, other_folder) +
                ": the plug-in reads only the one beside itself, and shows \"Failed to open config file\" "
                "instead of the marker. Move Ondrelle.ini into " +
                folder_name(*game, game->plugin_folder) + ".");
        return;
    }
    std::string near = near_settings_file(game->plugin_folder);
    if (!near.empty()) {
        add(game, finding_problem,
            "There is no Ondrelle.ini " + beside + ", but there is " + near +
                ": the plug-in looks for Ondrelle.ini only." + hidden_extension_words(near) + " Rename " + near +
                " to Ondrelle.ini.");
        return;
    }
    if (game->plugin_found)
        add(game, finding_problem,
            "There is no Ondrelle.ini " + beside + ", in " + folder_name(*game, game->plugin_folder) +
                ": the game shows \"Failed to open config file\" instead of the marker. Copy Ondrelle.ini from "
                "Ondrelle's package there.");
}

// Whether the plug-in's folder can be written: the log goes there, and the
// player's editor saves Ondrelle.ini there.
void look_at_writing(GameFolder* game) {
    if (!game->plugin_found) return;
    game->plugin_folder_written = tool_can_write_in(game->plugin_folder);
    if (game->plugin_folder_written) {
        add(game, finding_fine,
            "The folder of Ondrelle.asi can be written: the game can write Ondrelle.log there, and your editor can "
            "save Ondrelle.ini.");
        return;
    }
    add(game, finding_problem,
        "The folder of Ondrelle.asi, " + folder_name(*game, game->plugin_folder) +
            ", cannot be written: the game cannot write Ondrelle.log there, and your editor cannot save "
            "Ondrelle.ini. Run the game (and your editor) as administrator, or move the game out of Program "
            "Files.");
}

// =============================================================================
// The hook's and the loader's logs
// =============================================================================

// The last few lines of a text, control bytes escaped.
std::vector<std::string> last_lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t position = 0;
    EditorLine line;
    while (next_editor_line(text, &position, &line)) {
        if (!line.text.empty()) lines.push_back(escaped_text(line.text));
    }
    if (lines.size() > kQuotedLogLines) lines.erase(lines.begin(), lines.end() - kQuotedLogLines);
    return lines;
}

void look_at_other_log(GameFolder* game, const char* name, const char* whose) {
    std::string found = entry_named(game->folder, name);
    if (found.empty()) return;
    std::string path = in_folder(game->folder, found);
    std::string text;
    int64_t written = 0;
    if (!tool_read_file(path, &text) || !tool_last_write_time(path, &written)) return;
    Finding finding = {finding_fine,
                       found + ", " + whose + ", last written " + tool_local_time_text(written) +
                           (text.empty() ? ", is empty." : "; its last lines:"),
                       last_lines(text)};
    game->findings.push_back(finding);
}

// Started in the asi folder, where a player may have put the whole package,
// the checker looks at the game's folder above it.
void look_above_asi_folder(GameFolder* game) {
    size_t separator = game->folder.find_last_of(kToolPathSeparator);
    if (separator == std::string::npos || lower_case(game->folder.substr(separator + 1)) != kAsiFolder) return;
    std::string above = game->folder.substr(0, separator);
    // The root keeps its separator (C:\ or /).
    if (above.empty() || above.back() == ':') above += kToolPathSeparator;
    if (!entry_named(game->folder, "RDR2.exe").empty() || entry_named(above, "RDR2.exe").empty()) return;
    game->folder = above;
    add(game, finding_fine,
        "(ondrelle-check was started in the game's asi folder; it looks at the game's folder, the one above "
        "it.)");
}

}  // namespace

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

GameFolder look_at_game_folder(const std::string& path, const char* own_version) {
    GameFolder game = {"", "", false, 0, "", false, {}};
    char full[4096];
    tool_full_path(path.c_str(), full, sizeof full);
    game.folder = full;
    while (game.folder.size() > 1 && game.folder.back() == kToolPathSeparator) game.folder.pop_back();
    look_above_asi_folder(&game);
    game.plugin_folder = game.folder;
    size_t missing_loader = kNoFinding;
    if (!look_at_game_files(&game, &missing_loader)) return game;
    look_at_plugin(&game, own_version);
    weigh_missing_loader(&game, missing_loader);
    look_at_settings_file(&game);
    look_at_writing(&game);
    look_at_other_log(&game, "ScriptHookRDR2.log", "the script hook's log");
    look_at_other_log(&game, "asiloader.log", "the ASI loader's log");
    return game;
}

void print_game_folder(const GameFolder& game) {
    std::printf("== The game's folder: %s\n", game.folder.c_str());
    for (const Finding& finding : game.findings) {
        print_wrapped(stdout,
                      finding.weight == finding_problem ? "  Problem: "
                      : finding.weight == finding_note  ? "  Note: "
                                                        : "  ",
                      finding.text, 4);
        for (const std::string& line : finding.quoted) print_wrapped(stdout, "    | ", line, 6);
    }
}

int problems_in(const std::vector<Finding>& findings) {
    int problems = 0;
    for (const Finding& finding : findings) problems += finding.weight == finding_problem;
    return problems;
}
