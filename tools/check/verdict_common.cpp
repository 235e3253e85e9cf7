// The placement, the timeline and the words the verdict's parts share; see
// verdict_common.h.
#include "verdict_common.h"

#include <algorithm>

#include "log_lines.h"
#include "plain_text.h"
#include "tool_platform.h"

namespace {

// How far apart two writes of one start may be read as the other way round:
// file times are kept to two seconds on some file systems.
const int64_t kStartSlackSeconds = 5;

// How far ahead of now a time may be before it is taken for a wrong clock
// or date rather than the moment's own small differences.
const int64_t kAheadSlackSeconds = 60;

const int64_t kSecondsInADay = 24 * 60 * 60;

// =============================================================================
// Where the plug-in is
// =============================================================================

bool reads_subfolder(const std::vector<const LoaderSeen*>& loaders, const std::string& subfolder) {
    for (const LoaderSeen* loader : loaders) {
        for (const char* read : loader_known(loader->kind).subfolders) {
            if (subfolder == read) return true;
        }
    }
    return false;
}

bool named_in(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& named : names) {
        if (lower_case(named) == lower_case(name)) return true;
    }
    return false;
}

// The copies the loaders present load: those in the folders they read, and
// those the hook's log of the last start launched, wherever they are. With
// no loader at all, the folders are those ScriptHookRDR2's loader would read.
Placement placement_of(const GameFolder& game, const std::vector<std::string>& launched) {
    Placement placement = {{}, nullptr, {nullptr, nullptr}, false, false};
    std::vector<const LoaderSeen*> loaders = real_loaders(game);
    placement.loaders_assumed = loaders.empty();
    static const LoaderSeen kAssumed = {ProgramSeen{"dinput8.dll", program_loads, "", 0}, loader_of_the_hook};
    if (placement.loaders_assumed) loaders.push_back(&kAssumed);
    bool unknown_present = false;
    for (const LoaderSeen* loader : loaders)
        unknown_present = unknown_present || !loader_known(loader->kind).folders_known;
    for (const PluginFolder& folder : game.plugin_folders) {
        bool read = folder.subfolder.empty() || reads_subfolder(loaders, folder.subfolder);
        for (const ProgramSeen& copy : folder.copies) {
            bool launched_here = named_in(launched, copy.name);
            if (read || unknown_present || launched_here) {
                if (placement.loaded.empty()) placement.by_unknown_loader = !read && !launched_here;
                placement.loaded.push_back(CopySeen{&folder, &copy});
            } else if (placement.unread.file == nullptr) {
                placement.unread = CopySeen{&folder, &copy};
            }
        }
    }
    if (!game.plugin_folders.empty())
        placement.folder = placement.loaded.empty() ? &game.plugin_folders.front() : placement.loaded.front().folder;
    return placement;
}

// =============================================================================
// Times
// =============================================================================

// A file's time to go by: 0 for none, or for one after now, which is named
// with its date.
int64_t dated(int64_t written, const std::string& name, Timeline* timeline) {
    if (written <= timeline->now + kAheadSlackSeconds) return written;
    std::string named = name + " (" + tool_local_time_text(written) + ")";
    if (std::find(timeline->dated_ahead.begin(), timeline->dated_ahead.end(), named) == timeline->dated_ahead.end())
        timeline->dated_ahead.push_back(named);
    return 0;
}

// How long the hook's log ran, from its first time stamp to its last, over
// midnight too; false when it holds none. The stamps may be in UTC or local
// time: only their span is taken.
bool hook_log_span(const std::vector<LogLineRead>& lines, int64_t* span) {
    long first = -1, last = -1;
    for (const LogLineRead& line : lines) {
        long seconds = -1;
        time_prefix_length(line.text, &seconds);
        if (seconds < 0) continue;
        if (first < 0) first = seconds;
        last = seconds;
    }
    if (first < 0) return false;
    *span = last >= first ? last - first : last + kSecondsInADay - first;
    return true;
}

// Where a log stands: of the last start, written no more than a few seconds
// before it began, or of an earlier one. A log with no time to go by is taken
// for the last start's.
LogEra era_of(const LogFile& log, int64_t written, const Timeline& timeline) {
    if (!log.read) return era_none;
    if (written != 0 && written + kStartSlackSeconds < timeline.last_start) return era_earlier_start;
    if (written != 0 && timeline.game_updated != 0 && written < timeline.game_updated) return era_before_update;
    return era_last_start;
}

// The names the hook's log launched.
std::vector<std::string> launched_names(const std::vector<LogLineRead>& lines) {
    std::vector<std::string> names;
    for (const LogLineRead& line : lines) {
        if (line.kind == nullptr || line.kind->tells != tells_script_launched || line.captured.empty()) continue;
        size_t separator = line.captured[0].find_last_of("\\/");
        names.push_back(separator == std::string::npos ? line.captured[0] : line.captured[0].substr(separator + 1));
    }
    return names;
}

bool tells_of_others(const std::vector<LogLineRead>& lines, LineTells tells, const std::string& plugin_name) {
    for (const LogLineRead& line : lines) {
        if (line.kind != nullptr && line.kind->tells == tells && !line_is_ours(*line.kind, line.captured, plugin_name))
            return true;
    }
    return false;
}

bool holds_start(const std::vector<LogEntry>& entries) {
    for (const LogEntry& entry : entries) {
        if (entry.kind != nullptr && entry.kind->tells == tells_script_started) return true;
    }
    return false;
}

// The hook's version against the game's, by the build each is made for.
long hook_build_against_game(const GameFolder& game) {
    long hook = build_of(game.hook.version), exe = build_of(game.game.version);
    if (game.hook.name.empty() || hook < 0 || exe < 0) return 0;
    return hook < exe ? -1 : hook > exe ? 1 : 0;
}

bool hook_made_for_the_game(const GameFolder& game) {
    return !game.hook.name.empty() && build_of(game.hook.version) >= 0 &&
           build_of(game.hook.version) == build_of(game.game.version);
}

}  // namespace

std::vector<const LoaderSeen*> real_loaders(const GameFolder& game) {
    std::vector<const LoaderSeen*> loaders;
    for (const LoaderSeen& loader : game.loaders) {
        if (loader.kind != no_loader_windows) loaders.push_back(&loader);
    }
    return loaders;
}

Timeline timeline_of(const GameFolder& game) {
    Timeline timeline = {};
    timeline.now = game.now;
    timeline.game_updated = dated(game.game.written, game.game.name, &timeline);
    dated(game.hook.written, game.hook.name, &timeline);
    for (const LoaderSeen& loader : game.loaders) dated(loader.file.written, loader.file.name, &timeline);
    int64_t hook = game.hook_log.read ? dated(game.hook_log.written, game.hook_log.name, &timeline) : 0;
    int64_t loader = game.loader_log.read ? dated(game.loader_log.written, game.loader_log.name, &timeline) : 0;

    // The last start: the one the hook's log began, unless the loader's log
    // shows a later one; else the newest last write of the logs written as a
    // start begins stands for it. Ondrelle.log is written all game long, so
    // its last write stands for a start only when it is the only log.
    Placement by_folders = placement_of(game, {});
    const LogFile* plugin_log = by_folders.folder != nullptr ? &by_folders.folder->log : nullptr;
    int64_t plugin = plugin_log != nullptr && plugin_log->read ? plugin_log->written : 0;
    int64_t span = 0;
    if (hook != 0 && hook_log_span(game.hook_lines, &span) && loader <= hook)
        timeline.last_start = hook - span;
    else if (hook != 0 || loader != 0)
        timeline.last_start = std::max(hook, loader);
    else
        timeline.last_start = plugin > timeline.now + kAheadSlackSeconds ? 0 : plugin;
    timeline.hook_era = era_of(game.hook_log, hook, timeline);
    timeline.loader_era = era_of(game.loader_log, loader, timeline);

    // Where the plug-in is, now that the last start's launches are known.
    bool hook_of_last = timeline.hook_era == era_last_start || timeline.hook_era == era_before_update;
    timeline.placement =
        placement_of(game, hook_of_last ? launched_names(game.hook_lines) : std::vector<std::string>{});
    const Placement& placement = timeline.placement;
    timeline.plugin_name = placement.loaded.empty() ? "Ondrelle.asi" : placement.loaded.front().file->name;
    for (const CopySeen& copy : placement.loaded) dated(copy.file->written, copy.file->name, &timeline);
    if (placement.folder != nullptr) {
        const PluginFolder& folder = *placement.folder;
        if (folder.settings.readable) dated(folder.settings.written, "Ondrelle.ini", &timeline);
        int64_t written = folder.log.read ? dated(folder.log.written, folder.log.name, &timeline) : 0;
        timeline.plugin_era = placement.loaded.empty() ? era_none : era_of(folder.log, written, timeline);
        timeline.plugin_ran = timeline.plugin_era != era_earlier_start && holds_start(folder.entries);
    }

    const std::vector<LogLineRead>& hook_lines = game.hook_lines;
    const std::vector<LogLineRead>& loader_lines = game.loader_lines;
    const std::string& name = timeline.plugin_name;
    bool hook_now = timeline.hook_era == era_last_start, loader_now = timeline.loader_era == era_last_start;
    bool accepted = hook_now && log_tells(hook_lines, tells_hook_accepted_the_game, "");
    timeline.hook_too_old = game.hook.fault == program_loads && hook_build_against_game(game) < 0 && !accepted;
    timeline.hook_stopped_game = hook_now && (log_tells(hook_lines, tells_hook_failed, name) ||
                                              log_tells(hook_lines, tells_game_version_unknown, name));
    timeline.script_registered = hook_now && log_tells(hook_lines, tells_script_registered, name);
    timeline.script_launched = hook_now && log_tells(hook_lines, tells_script_launched, name);
    timeline.others_registered = hook_now && tells_of_others(hook_lines, tells_script_registered, name);
    timeline.plugin_loaded = timeline.script_registered || timeline.script_launched ||
                             (loader_now && log_tells(loader_lines, tells_plugin_loaded, name));
    timeline.loader_refused = loader_now && log_tells(loader_lines, tells_plugin_refused, name);
    timeline.loader_failed = loader_now && log_tells(loader_lines, tells_loader_failed, name);
    return timeline;
}

LineContext line_context(const GameFolder& game, const Timeline& timeline, LogEra era) {
    LineContext context = {};
    context.plugin_name = timeline.plugin_name;
    context.game = game_in_words(game);
    context.game_version = game.game.version;
    context.now = era == era_last_start;
    context.hook_too_old = timeline.hook_too_old;
    context.hook_made_for_the_game = hook_made_for_the_game(game);
    context.hook_newer_than_the_game = hook_build_against_game(game) > 0;
    context.launched_this_start = log_tells(game.hook_lines, tells_script_launched, timeline.plugin_name);
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

std::string before_update_words(const Timeline& timeline) {
    return "This log is older than RDR2.exe (" + tool_local_time_text(timeline.game_updated) +
           "): it is from a start before the game was last updated, and says what happened then.";
}

std::string earlier_start_words(const LogFile& log, const Timeline& timeline) {
    return "This log is of an earlier start of the game, last written " + tool_local_time_text(log.written) +
           ", not of the last one (which began " + tool_local_time_text(timeline.last_start) +
           "): what it says happened then.";
}

std::string last_written(const LogFile& log) { return ", last written " + tool_local_time_text(log.written); }
