// The timeline and the words the verdict's parts share; see verdict_common.h.
#include "verdict_common.h"

#include "tool_platform.h"

namespace {

// Whether a log was written since RDR2.exe last was, or that cannot be told:
// then it tells of the game as it is now, not of a start before an update.
bool written_since_game_update(const GameFolder& game, const LogFile& log) {
    return log.read && (game.game.written == 0 || log.written >= game.game.written);
}

bool hook_older_than_game(const GameFolder& game, bool hook_log_now) {
    if (game.hook.name.empty() || game.hook.fault != program_loads) return false;
    long hook_build = build_of(game.hook.version), game_build = build_of(game.game.version);
    bool accepted_since = hook_log_now && log_tells(game.hook_lines, tells_hook_accepted_the_game, "");
    return hook_build >= 0 && game_build >= 0 && hook_build < game_build && !accepted_since;
}

// Whether Ondrelle.log shows that this copy of the plug-in was loaded and
// its script started: written since Ondrelle.asi was put there, and
// holding its start.
bool log_shows_plugin_ran(const GameFolder& game) {
    const LogFile& log = game.plugin_log;
    if (!game.plugin_found || !log.read || log.written < game.plugin.written) return false;
    for (const LogEntry& entry : game.plugin_entries) {
        if (entry.kind != nullptr && entry.kind->tells == tells_script_started) return true;
    }
    return false;
}

}  // namespace

Timeline timeline_of(const GameFolder& game) {
    Timeline timeline = {};
    timeline.plugin_name = game.plugin_found ? game.plugin.name : "Ondrelle.asi";
    timeline.hook_log_now = written_since_game_update(game, game.hook_log);
    timeline.loader_log_now = written_since_game_update(game, game.loader_log);
    timeline.plugin_log_now = written_since_game_update(game, game.plugin_log);
    timeline.hook_too_old = hook_older_than_game(game, timeline.hook_log_now);
    const std::vector<LogLineRead>& hook = game.hook_lines;
    const std::vector<LogLineRead>& loader = game.loader_lines;
    const std::string& name = timeline.plugin_name;
    bool hook_now = timeline.hook_log_now, loader_now = timeline.loader_log_now;
    timeline.hook_stopped_game = hook_now && log_tells(hook, tells_hook_stopped, name);
    timeline.script_launched = hook_now && log_tells(hook, tells_script_launched, name);
    timeline.plugin_loaded = timeline.script_launched || (hook_now && log_tells(hook, tells_script_registered, name)) ||
                             (loader_now && log_tells(loader, tells_plugin_loaded, name));
    timeline.loader_refused = loader_now && log_tells(loader, tells_plugin_refused, name);
    timeline.loader_failed = loader_now && log_tells(loader, tells_loader_failed, name);
    timeline.plugin_ran = log_shows_plugin_ran(game);
    return timeline;
}

LineContext line_context(const GameFolder& game, const Timeline& timeline, bool now) {
    LineContext context = {};
    context.plugin_name = timeline.plugin_name;
    context.game = game_in_words(game);
    context.now = now;
    context.hook_too_old = timeline.hook_too_old;
    return context;
}

std::string game_in_words(const GameFolder& game) {
    return game.game.version.empty() ? "your game's version" : "RDR2.exe " + game.game.version;
}

std::string version_words(const std::string& version) {
    return version.empty() ? "its version is not given" : "version " + version;
}

std::string fault_words(ProgramFault fault) {
    switch (fault) {
        case program_loads:
            break;
        case program_no_library:
            return "is no Windows library at all, but another file under its name (a web page saved in its place, "
                   "say)";
        case program_cut_short:
            return "is not a whole Windows library (a download cut short, or a damaged copy)";
        case program_for_32_bit:
            return "is a 32-bit library, which the game, a 64-bit program, cannot load";
    }
    return "";
}

std::string folder_words(const GameFolder& game, const std::string& folder) {
    if (folder == game.folder) return "the game's folder";
    size_t separator = folder.find_last_of(kToolPathSeparator);
    return "the " + folder.substr(separator + 1) + " folder";
}

std::string before_update_words(const GameFolder& game) {
    return "This log is older than RDR2.exe (" + tool_local_time_text(game.game.written) +
           "): it is from a start before the game was last updated, and says what happened then.";
}

std::string last_written(const LogFile& log) { return ", last written " + tool_local_time_text(log.written); }
