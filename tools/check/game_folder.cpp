// Gathering the game folder's evidence; see game_folder.h. The game, the
// hook, the loader and the logs are looked at here; Ondrelle.asi and its
// settings file are plugin_folder.cpp's.
#include "game_folder.h"

#include <cstdio>

#include "plain_text.h"
#include "tool_platform.h"

namespace {

// A library in the game's folder, other than the hook and dinput8.dll, that
// names .asi files: an ASI loader under another name (loaders take the name
// of any library the game loads). Empty for none.
std::string loader_under_another_name(const std::string& folder) {
    static const std::string kAsiPatterns[] = {".asi", ".ASI", std::string(".\0a\0s\0i\0", 8),
                                               std::string(".\0A\0S\0I\0", 8)};
    for (const std::string& name : entries_of(folder)) {
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

// Started in (or named as) a loader's subfolder, where a player may have
// put the whole package, the checker looks at the game's folder above it.
void look_above_subfolder(GameFolder* game) {
    size_t separator = game->folder.find_last_of(kToolPathSeparator);
    if (separator == std::string::npos) return;
    std::string subfolder = lower_case(game->folder.substr(separator + 1));
    if (subfolder != kAsiFolder && subfolder != kScriptsFolder && subfolder != kPluginsFolder) return;
    std::string above = game->folder.substr(0, separator);
    // The root keeps its separator (C:\ or /).
    if (above.empty() || above.back() == ':') above += kToolPathSeparator;
    if (!entry_named(game->folder, "RDR2.exe").empty() || entry_named(above, "RDR2.exe").empty()) return;
    game->folder = above;
    game->looked_above = subfolder;
}

// Ondrelle.ini as the game reads it, when it can be read.
void check_settings_file(GameFolder* game) {
    if (game->settings.path.empty() || !game->settings.readable) return;
    FILE* stream = tool_open_for_reading(game->settings.path.c_str());
    if (stream == nullptr) {
        game->settings.readable = false;
        game->settings.why = tool_why_unreadable(game->settings.path.c_str());
        return;
    }
    game->settings_report = read_settings_report(stream);
    std::fclose(stream);
    game->settings_checked = true;
}

// Whether the plug-in's folder can be written, as the log and the player's
// editor need, and whether its settings file is marked read-only.
void look_at_writing(GameFolder* game) {
    if (!game->plugin_found) return;
    game->plugin_folder_written = tool_can_write_in(game->plugin_folder);
    if (game->plugin_folder_written && game->settings.readable)
        game->settings.read_only = tool_is_read_only(game->settings.path);
}

}  // namespace

GameFolder look_at_game_folder(const std::string& path, bool named) {
    GameFolder game = {};
    game.named = named;
    game.folder = tool_full_path(path);
    while (game.folder.size() > 1 && game.folder.back() == kToolPathSeparator) game.folder.pop_back();
    game.under_wine = tool_runs_under_wine();
    look_above_subfolder(&game);
    game.plugin_folder = game.folder;
    game.game = program_seen(game.folder, entry_named(game.folder, "RDR2.exe"));
    game.is_game_folder = !game.game.name.empty();
    if (!game.is_game_folder) {
        game.package_here = !entry_named(game.folder, "Ondrelle.asi").empty();
        return game;
    }
    game.hook = program_seen(game.folder, entry_named(game.folder, "ScriptHookRDR2.dll"));
    game.loader = program_seen(game.folder, entry_named(game.folder, "dinput8.dll"));
    game.other_loader = loader_under_another_name(game.folder);
    game.hook_log = log_file_in(game.folder, "ScriptHookRDR2.log");
    game.loader_log = log_file_in(game.folder, "asiloader.log");
    game.hook_lines = log_lines_read(hook_log, game.hook_log.bytes);
    game.loader_lines = log_lines_read(loader_log, game.loader_log.bytes);

    game.plugin_files = look_for_plugin(game.folder, !game.other_loader.empty());
    game.plugin_found = !game.plugin_files.copies.empty();
    if (game.plugin_found) {
        game.plugin_folder = game.plugin_files.copies.front().folder;
        game.plugin = game.plugin_files.copies.front().file;
        game.plugin_log = log_file_in(game.plugin_folder, "Ondrelle.log");
        game.plugin_entries = plugin_log_entries(game.plugin_log.bytes);
    }
    game.settings = look_for_settings_file(game.plugin_folder, game.folder, game.plugin_found);
    check_settings_file(&game);
    look_at_writing(&game);
    return game;
}
