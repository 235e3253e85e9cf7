// The verdict on a game folder; see verdict.h.
#include "verdict.h"

#include "verdict_common.h"
#include "verdict_folder.h"
#include "verdict_logs.h"
#include "verdict_plugin_log.h"

Verdict weigh_game_folder(const GameFolder& game, const char* own_version) {
    Verdict verdict = {};
    Timeline timeline = timeline_of(game);
    verdict.folder = VerdictPart{"The game's folder: " + game.folder, folder_findings(game, timeline, own_version)};
    if (!game.is_game_folder) return verdict;
    verdict.hook_log = hook_log_part(game, timeline);
    verdict.loader_log = loader_log_part(game, timeline);
    verdict.plugin_log = plugin_log_part(game, timeline);
    const PluginFolder* folder = timeline.placement.folder;
    if (folder != nullptr && folder->settings_checked) verdict.settings_folder = folder;
    return verdict;
}
