// The game folder's evidence and what its files show; see game_folder.h.
// The game, the hook and the loader are looked at here, and the logs read;
// Ondrelle.asi and its settings file are plugin_folder.cpp's.
#include "game_folder.h"

#include <cstdio>

#include "config.h"
#include "file_version.h"
#include "game_folder_steps.h"
#include "plain_text.h"
#include "script_main.h"
#include "tool_platform.h"

const char kAsiFolder[] = "asi";
const char kScriptsFolder[] = "scripts";
const char kPluginsFolder[] = "plugins";

namespace {

// No finding's index.
const size_t kNoFinding = static_cast<size_t>(-1);

// The numbers of a version, "1.0.1491.50" or "1.3.0"; false when it is not
// three or four numbers.
bool version_numbers(const std::string& version, unsigned int numbers[4]) {
    numbers[3] = 0;
    int read = std::sscanf(version.c_str(), "%u.%u.%u.%u", &numbers[0], &numbers[1], &numbers[2], &numbers[3]);
    return read == 3 || read == 4;
}

// The game's build, the third number of its version ("1.0.1491.50": 1491):
// a script hook is made for one build. -1 when the version is not known.
long build_of(const std::string& version) {
    unsigned int numbers[4];
    return version_numbers(version, numbers) ? static_cast<long>(numbers[2]) : -1;
}

LogFile read_log(const std::string& folder, const char* name) {
    LogFile log = {entry_named(folder, name), "", false, 0, "", unreadable_missing};
    if (log.name.empty()) return log;
    log.path = in_folder(folder, log.name);
    log.read = tool_read_file(log.path, &log.bytes) && tool_last_write_time(log.path, &log.written);
    if (!log.read) log.why = tool_why_unreadable(log.path.c_str());
    return log;
}

// =============================================================================
// The game, the hook and the loader
// =============================================================================

// Whether the hook was made for an older build than the game's, and no log
// of it written since the game was last updated says it accepted the game:
// a hook runs only with the game build it was made for.
bool hook_older_than_game(const GameFolder& game) {
    long hook_build = build_of(game.hook.version), game_build = build_of(game.game.version);
    bool accepted_since =
        written_since_game_update(game, game.hook_log) && log_says(game.hook_lines, hook_accepted_the_game, "");
    return hook_build >= 0 && game_build >= 0 && hook_build < game_build && !accepted_since;
}

// What the hook's version says beside the game's. A log that says the hook
// did not accept the game carries that Problem itself, unless it is the hook
// older than the game, which is said here.
Finding hook_finding(const GameFolder& game) {
    const std::string& hook = game.hook.version;
    const std::string& exe = game.game.version;
    if (game.hook_too_old)
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
void look_at_hook(GameFolder* game) {
    if (game->hook.name.empty() || !game->hook.fault.empty()) {
        add_finding(game, finding_problem,
                    "ScriptHookRDR2.dll, the script hook, " +
                        (game->hook.name.empty() ? std::string("is not in the game's folder") : game->hook.fault) +
                        ": no plug-in of this kind runs without it. Get ScriptHookRDR2 in the version made for " +
                        game_in_words(*game) + " and put ScriptHookRDR2.dll beside RDR2.exe.");
        return;
    }
    game->hook_too_old = hook_older_than_game(*game);
    game->findings.push_back(hook_finding(*game));
}

// A library in the game's folder, other than the hook and dinput8.dll, that
// names .asi files: an ASI loader under another name (loaders take the name
// of any library the game loads). Empty for none.
std::string loader_under_another_name(const std::string& folder) {
    static const std::string kAsiPatterns[] = {".asi", ".ASI", std::string(".\0a\0s\0i\0", 8),
                                               std::string(".\0A\0S\0I\0", 8)};
    for (const std::string& name : tool_folder_entries(folder)) {
        std::string lower = lower_case(name);
        // Ondrelle's own plug-in saved as a .dll names itself, Ondrelle.asi.
        if (!ends_with(lower, ".dll") || lower == "scripthookrdr2.dll" || lower == "dinput8.dll" ||
            starts_with(lower, "ondrelle"))
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

// dinput8.dll, ScriptHookRDR2's loader; a loader under another name beside
// it or instead of it. Returns the index of the finding that dinput8.dll is
// missing, or kNoFinding.
size_t look_at_loader(GameFolder* game) {
    game->other_loader = loader_under_another_name(game->folder);
    if (game->loader.name.empty()) {
        add_finding(game, finding_problem,
                    "dinput8.dll, the ASI loader, is not in the game's folder: nothing loads .asi files without it. " +
                        std::string(game->hook.name.empty()
                                        ? "It comes with ScriptHookRDR2: put its dinput8.dll beside RDR2.exe."
                                        : "With ScriptHookRDR2.dll there, an antivirus program that put dinput8.dll "
                                          "in quarantine is a common cause: restore it from the quarantine and add "
                                          "an exception for the game's folder, or put the dinput8.dll that comes "
                                          "with ScriptHookRDR2 beside RDR2.exe again."));
        return game->findings.size() - 1;
    }
    if (!game->loader.fault.empty())
        add_finding(game, finding_problem,
                    "dinput8.dll, the ASI loader, " + game->loader.fault +
                        ": nothing loads .asi files without it. It comes with ScriptHookRDR2: put its dinput8.dll "
                        "beside RDR2.exe.");
    else
        add_finding(game, finding_fine, "dinput8.dll, the ASI loader: " + version_words(game->loader.version) + ".");
    if (!game->other_loader.empty())
        add_finding(game, finding_note,
                    "There is also " + game->other_loader +
                        ", which names .asi files: it looks like a second ASI loader, and both load plug-ins. "
                        "dinput8.dll, ScriptHookRDR2's loader, reads the game's folder and its asi folder; a loader "
                        "such as " +
                        game->other_loader +
                        " reads the game's folder and its scripts and plugins folders. A copy of Ondrelle.asi in "
                        "any of these is loaded.");
    return kNoFinding;
}

// Whether Ondrelle.log shows that this copy of the plug-in was loaded and
// its script started: written since Ondrelle.asi was put there, and
// holding "Script started".
bool log_shows_plugin_ran(const GameFolder& game) {
    const LogFile& log = game.plugin_log;
    return game.plugin_found && log.read && log.written >= game.plugin.written &&
           log.bytes.find(std::string(" ") + kLogScriptStarted) != std::string::npos;
}

// Without dinput8.dll, another library may be the loader: then the log
// decides. One that shows this copy's script started settles it; without
// one, it is not known, and the player is told what to look for.
void weigh_missing_loader(GameFolder* game, size_t missing_loader) {
    if (missing_loader == kNoFinding || game->other_loader.empty()) return;
    std::string missing = "dinput8.dll, the ASI loader, is not in the game's folder, but " + game->other_loader +
                          " names .asi files: it looks like an ASI loader under another name";
    if (log_shows_plugin_ran(*game))
        game->findings[missing_loader] = said(
            finding_fine, missing +
                              ", and Ondrelle.log, written since Ondrelle.asi was put there, shows that the plug-in "
                              "was loaded and its script started.");
    else
        game->findings[missing_loader] =
            said(finding_note,
                 missing + ". Start the game: if Ondrelle.log then says \"" + kLogScriptStarted +
                     "\", it loads the plug-in; if it does not, put the dinput8.dll that comes with ScriptHookRDR2 "
                     "beside RDR2.exe.");
}

// RDR2.exe, ScriptHookRDR2.dll and dinput8.dll. Without RDR2.exe this is
// not the game's folder (most often: where Ondrelle's package was unpacked),
// and whatever else is missing here says nothing about the game: that one
// finding stands alone.
void look_at_game(GameFolder* game) {
    game->game = program_seen(game->folder, entry_named(game->folder, "RDR2.exe"));
    game->is_game_folder = !game->game.name.empty();
    if (!game->is_game_folder) {
        bool package_here = !entry_named(game->folder, "Ondrelle.asi").empty();
        add_finding(game, finding_problem,
                    std::string("There is no RDR2.exe in this folder: it does not look like the game's folder, and "
                                "nothing else in it was looked at. ") +
                        (package_here ? "If you unpacked Ondrelle here: copy Ondrelle.asi, Ondrelle.ini and "
                                        "ondrelle-check.exe into the folder that holds RDR2.exe, and double-click "
                                        "ondrelle-check.exe there."
                                      : "Put ondrelle-check.exe into the folder that holds RDR2.exe and double-click "
                                        "it there, or name that folder with --game-folder."));
        return;
    }
    add_finding(game, finding_fine, "RDR2.exe, the game: " + version_words(game->game.version) + ".");
    game->hook = program_seen(game->folder, entry_named(game->folder, "ScriptHookRDR2.dll"));
    game->loader = program_seen(game->folder, entry_named(game->folder, "dinput8.dll"));
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
void look_at_writing(GameFolder* game) {
    if (!game->plugin_found) return;
    game->plugin_folder_written = tool_can_write_in(game->plugin_folder);
    if (!game->plugin_folder_written) {
        add_finding(game, finding_note,
                    "The folder of Ondrelle.asi, " + folder_words(*game, game->plugin_folder) +
                        ", cannot be written: the game cannot write Ondrelle.log there and your editor cannot save "
                        "Ondrelle.ini, though the marker shows all the same. " +
                        (under_program_files(game->plugin_folder)
                             ? "Run the game (and your editor) as administrator, or move the game out of Program "
                               "Files."
                             : "Give your Windows account the right to write there: in the folder's Properties, "
                               "Security, allow Write for your account."));
        return;
    }
    if (!game->settings_path.empty() && tool_is_read_only(game->settings_path)) {
        add_finding(game, finding_note,
                    "Ondrelle.ini is read-only: the game reads it, but your editor cannot save changes to it. Untick "
                    "Read-only in its Properties (right-click Ondrelle.ini, Properties).");
        return;
    }
    add_finding(game, finding_fine,
                "The folder of Ondrelle.asi can be written: the game can write Ondrelle.log there, and your editor "
                "can save Ondrelle.ini.");
}

// =============================================================================
// Where the checker was started
// =============================================================================

// Started in (or named as) a loader's subfolder, where a player may have
// put the whole package, the checker looks at the game's folder above it.
void look_above_subfolder(GameFolder* game, bool named) {
    size_t separator = game->folder.find_last_of(kToolPathSeparator);
    if (separator == std::string::npos) return;
    std::string subfolder = lower_case(game->folder.substr(separator + 1));
    if (subfolder != kAsiFolder && subfolder != kScriptsFolder && subfolder != kPluginsFolder) return;
    std::string above = game->folder.substr(0, separator);
    // The root keeps its separator (C:\ or /).
    if (above.empty() || above.back() == ':') above += kToolPathSeparator;
    if (!entry_named(game->folder, "RDR2.exe").empty() || entry_named(above, "RDR2.exe").empty()) return;
    game->folder = above;
    add_finding(game, finding_fine,
                (named ? "(The folder named is the game's " + subfolder + " folder"
                       : "(ondrelle-check was started in the game's " + subfolder + " folder") +
                    "; ondrelle-check looks at the game's folder, the one above it.)");
}

}  // namespace

ProgramSeen program_seen(const std::string& folder, const std::string& name) {
    ProgramSeen program = {name, "", "", 0};
    std::string bytes;
    std::string path = in_folder(folder, name);
    if (name.empty() || !tool_read_file(path, &bytes)) return program;
    if (!tool_last_write_time(path, &program.written)) program.written = 0;
    if (!pe_file_has_header(bytes))
        program.fault =
            "is no Windows library at all, but another file under its name (a web page saved in its "
            "place, say)";
    else if (!pe_file_whole(bytes))
        program.fault = "is not a whole Windows library (a download cut short, or a damaged copy)";
    else if (!pe_file_64_bit(bytes))
        program.fault = "is a 32-bit library, which the game, a 64-bit program, cannot load";
    program.version = pe_file_version(bytes);
    return program;
}

std::string version_words(const std::string& version) {
    return version.empty() ? "its version is not given" : "version " + version;
}

std::string folder_words(const GameFolder& game, const std::string& folder) {
    if (folder == game.folder) return "the game's folder";
    size_t separator = folder.find_last_of(kToolPathSeparator);
    return "the " + folder.substr(separator + 1) + " folder";
}

void add_finding(GameFolder* game, FindingWeight weight, const std::string& text) {
    game->findings.push_back(said(weight, text));
}

std::string game_in_words(const GameFolder& game) {
    return game.game.version.empty() ? "your game's version" : "RDR2.exe " + game.game.version;
}

bool written_since_game_update(const GameFolder& game, const LogFile& log) {
    return log.read && (game.game.written == 0 || log.written >= game.game.written);
}

bool version_older(const std::string& a, const std::string& b) {
    unsigned int older[4], newer[4];
    if (!version_numbers(a, older) || !version_numbers(b, newer)) return false;
    for (int i = 0; i < 4; ++i) {
        if (older[i] != newer[i]) return older[i] < newer[i];
    }
    return false;
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

GameFolder look_at_game_folder(const std::string& path, const char* own_version, bool named) {
    GameFolder game = {};
    game.folder = tool_full_path(path);
    while (game.folder.size() > 1 && game.folder.back() == kToolPathSeparator) game.folder.pop_back();
    game.under_wine = tool_runs_under_wine();
    look_above_subfolder(&game, named);
    game.plugin_folder = game.folder;
    look_at_game(&game);
    if (!game.is_game_folder) return game;
    game.hook_log = read_log(game.folder, "ScriptHookRDR2.log");
    game.loader_log = read_log(game.folder, "asiloader.log");
    game.hook_lines = hook_log_lines(game.hook_log.bytes);
    game.loader_lines = loader_log_lines(game.loader_log.bytes);
    look_at_hook(&game);
    size_t missing_loader = look_at_loader(&game);
    look_at_plugin(&game, own_version);
    if (game.plugin_found) game.plugin_log = read_log(game.plugin_folder, "Ondrelle.log");
    weigh_missing_loader(&game, missing_loader);
    look_at_settings_file(&game);
    look_at_writing(&game);
    return game;
}
