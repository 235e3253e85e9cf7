// A game folder's evidence made in memory; see game_evidence.h.
#include "game_evidence.h"

GameFolder healthy_game_folder() {
    GameFolder game = {};
    game.folder = "GAME";
    game.is_game_folder = true;
    game.now = kLastStart + 3600;
    game.game = ProgramSeen{"RDR2.exe", program_loads, "1.0.1491.50", kGameUpdated};
    game.hook = ProgramSeen{"ScriptHookRDR2.dll", program_loads, "1.0.1491.17", kGameUpdated};
    game.loaders = {LoaderSeen{ProgramSeen{"dinput8.dll", program_loads, "8.0.0.1", kGameUpdated}, loader_of_the_hook}};
    PluginFolder folder = {};
    folder.path = "GAME";
    folder.copies = {ProgramSeen{"Ondrelle.asi", program_loads, "1.4.0.0", kGameUpdated + 86400}};
    folder.settings = SettingsFileSeen{"GAME/Ondrelle.ini", true, unreadable_missing, kGameUpdated + 86400, false, {}};
    folder.written = true;
    game.plugin_folders = {folder};
    return game;
}

void put_log(GameFolder* game, LogName log, const std::string& bytes, int64_t written) {
    const char* names[] = {"ScriptHookRDR2.log", "asiloader.log", "Ondrelle.log"};
    LogFile file = {names[log], std::string("GAME/") + names[log], true, written, bytes, unreadable_missing};
    switch (log) {
        case hook_log:
            game->hook_log = file;
            game->hook_lines = log_lines_read(hook_log, bytes);
            break;
        case loader_log:
            game->loader_log = file;
            game->loader_lines = log_lines_read(loader_log, bytes);
            break;
        case plugin_log:
            game->plugin_folders.front().log = file;
            game->plugin_folders.front().entries = plugin_log_entries(bytes);
            break;
    }
}
