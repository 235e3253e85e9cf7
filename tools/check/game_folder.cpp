// Gathering the game folder's evidence; see game_folder.h. The game, the
// hook and the logs are looked at here, the loaders in loaders.cpp, and
// Ondrelle's files in plugin_folder.cpp.
#include "game_folder.h"

#include "plain_text.h"
#include "tool_platform.h"

namespace {

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

// A folder one below or one above folder that holds RDR2.exe: where a player
// who started the checker in the wrong folder will find the game's.
std::string game_folder_near(const std::string& folder) {
    for (const std::string& name : entries_of(folder)) {
        std::string inside = in_folder(folder, name);
        if (tool_entry_kind(inside) == entry_folder && !entry_named(inside, "RDR2.exe").empty()) return inside;
    }
    size_t separator = folder.find_last_of(kToolPathSeparator);
    if (separator == std::string::npos || separator == 0) return "";
    std::string above = folder.substr(0, separator);
    if (above.back() == ':') above += kToolPathSeparator;
    return entry_named(above, "RDR2.exe").empty() ? "" : above;
}

}  // namespace

GameFolder look_at_game_folder(const std::string& path, bool named) {
    GameFolder game = {};
    game.named = named;
    game.folder = tool_full_path(path);
    while (game.folder.size() > 1 && game.folder.back() == kToolPathSeparator) game.folder.pop_back();
    game.under_wine = tool_runs_under_wine();
    game.now = tool_now();
    look_above_subfolder(&game);
    game.game = program_seen(game.folder, entry_named(game.folder, "RDR2.exe"));
    game.is_game_folder = !game.game.name.empty();
    if (!game.is_game_folder) {
        game.package_here = !entry_named(game.folder, "Ondrelle.asi").empty();
        game.game_folder_near = game_folder_near(game.folder);
        return game;
    }
    game.hook = program_seen(game.folder, entry_named(game.folder, "ScriptHookRDR2.dll"));
    game.loaders = look_for_loaders(game.folder);
    game.hook_log = log_file_in(game.folder, "ScriptHookRDR2.log");
    game.loader_log = log_file_in(game.folder, "asiloader.log");
    game.hook_lines = log_lines_read(hook_log, game.hook_log.bytes);
    game.loader_lines = log_lines_read(loader_log, game.loader_log.bytes);
    game.plugin_folders = look_at_plugin_folders(game.folder);
    game.plugin_astray = folder_holding_plugin_astray(game.folder);
    return game;
}
