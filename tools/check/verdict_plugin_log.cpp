// The verdict on Ondrelle.log; see verdict_plugin_log.h.
#include "verdict_plugin_log.h"

#include "config.h"
#include "log_lines.h"
#include "script_main.h"
#include "plain_text.h"
#include "tool_platform.h"

namespace {

// =============================================================================
// No log, an empty one, one that cannot be read
// =============================================================================

// A cause found above that keeps Ondrelle's script from starting, in words
// that follow "Ondrelle.log is empty: "; empty when none is known.
std::string cause_found_above(const GameFolder& game, const Timeline& timeline) {
    const Placement& placement = timeline.placement;
    if (timeline.hook_stopped_game)
        return "the script hook stopped before Ondrelle's script could start, as its log above says";
    if (timeline.hook_too_old) return "the script hook is older than the game, as said above, and starts no script";
    if (game.hook.name.empty() || game.hook.fault != program_loads)
        return "ScriptHookRDR2.dll cannot run, as said above, and without it no script starts";
    bool loader_runs = false;
    for (const LoaderSeen* loader : real_loaders(game))
        loader_runs = loader_runs || loader->file.fault == program_loads;
    if (!loader_runs) return "no ASI loader can load Ondrelle.asi, as said above";
    if (!placement.loaded.empty() && placement.loaded.front().file->fault != program_loads)
        return "Ondrelle.asi cannot be loaded, as said above";
    if (timeline.loader_refused || timeline.loader_failed)
        return "the ASI loader could not load Ondrelle.asi, as its log above says";
    return "";
}

// Whether a loader here writes asiloader.log: only then does its absence
// say that no loader ran.
bool loader_writes_log(const GameFolder& game, const Timeline& timeline) {
    if (timeline.placement.loaders_assumed) return true;
    for (const LoaderSeen* loader : real_loaders(game)) {
        if (loader_known(loader->kind).writes_log) return true;
    }
    return false;
}

// The launch option Proton needs for the loaders here: each loader's name
// without .dll ("dinput8,version=n,b").
std::string launch_option(const GameFolder& game) {
    std::string names;
    for (const LoaderSeen* loader : real_loaders(game)) {
        std::string name = lower_case(loader->file.name);
        if (!ends_with(name, ".dll")) continue;
        names += (names.empty() ? "" : ",") + name.substr(0, name.size() - 4);
    }
    return "WINEDLLOVERRIDES=\"" + (names.empty() ? std::string("dinput8") : names) + "=n,b\" %command%";
}

// What ondrelle-check says when neither the loader's log nor Ondrelle.log
// is there: under Wine or Proton the loader runs only with a launch option,
// and otherwise the game was not started since Ondrelle was installed.
std::string no_logs_words(const GameFolder& game) {
    if (game.under_wine)
        return "the ASI loader has not run here. Under Proton (Linux, the Steam Deck) it runs only with the launch "
               "option " +
               launch_option(game) +
               ": set it in the game's Properties in Steam. Otherwise the game has not been started since Ondrelle "
               "was installed: start it once.";
    return "the ASI loader has not run here: the game has not been started since Ondrelle was installed. Start it "
           "once.";
}

Finding no_log_finding(const GameFolder& game, const Timeline& timeline) {
    std::string none = "There is no Ondrelle.log beside Ondrelle.asi";
    const PluginFolder& folder = *timeline.placement.folder;
    std::string cause = cause_found_above(game, timeline);
    if (!cause.empty()) return said(finding_fine, none + ": " + cause + ".");
    if (timeline.plugin_loaded)
        return said(
            finding_note,
            none + ", though the logs above show that the plug-in was loaded: " +
                (folder.written ? "it could not make its log there, or the log was deleted since. Start the game once "
                                  "more; should the log stay missing, see step 3 of \"No marker at all\" in the "
                                  "readme."
                                : "its folder cannot be written, as said above, so it could not make its log."));
    if (!folder.written)
        return said(finding_note, none +
                                      ": no log could be written here, as its folder cannot be written (said "
                                      "above), so no log tells whether the game loaded it.");
    if (timeline.others_registered)
        return said(finding_note, none +
                                      ": the game has not loaded Ondrelle since it was put there. Start the "
                                      "game once, and run ondrelle-check again.");
    if (!game.loader_log.read && loader_writes_log(game, timeline))
        return said(finding_note, none + ", and no asiloader.log: " + no_logs_words(game));
    if (!game.loader_log.read && !game.hook_log.read && game.under_wine)
        return said(finding_note, none +
                                      ", and no log of the script hook either. Under Proton (Linux, the Steam "
                                      "Deck) the loader runs only with the launch option " +
                                      launch_option(game) +
                                      ": set it in the game's Properties in Steam. Otherwise start the game once.");
    return said(finding_note,
                none +
                    ": the plug-in has not been loaded since it was put there (the game was not started since, "
                    "or the loader or the hook did not load it).");
}

Finding empty_log_finding(const GameFolder& game, const Timeline& timeline) {
    std::string empty = "Ondrelle.log is empty";
    std::string cause = cause_found_above(game, timeline);
    if (!cause.empty()) return said(finding_fine, empty + ": " + cause + ".");
    if (timeline.script_launched)
        return said(finding_note, empty +
                                      ", yet the hook's log above shows that it started Ondrelle's script: its "
                                      "first entry, \"" +
                                      std::string(kLogScriptStarted) +
                                      "\", never reached the file. Another program (an editor or a log viewer) kept "
                                      "Ondrelle.log to itself at that moment: close it and start the game again, as "
                                      "step 3 of \"No marker at all\" in the readme says.");
    return said(timeline.plugin_era == era_last_start ? finding_problem : finding_note,
                empty +
                    ": the plug-in was loaded (it empties its log as it is loaded), but its "
                    "script never started. The game did not get past loading, or the script "
                    "hook did not start scripts: see the hook's log, ScriptHookRDR2.log, above.");
}

// Ondrelle.log that is there but cannot be read: most often another program
// keeps it open.
Finding unreadable_log_finding(const LogFile& log) {
    if (log.why == unreadable_folder)
        return said(finding_note,
                    "Ondrelle.log beside Ondrelle.asi is a folder, not a file: the plug-in cannot "
                    "write its log there. Delete that folder.");
    return said(finding_note,
                "Ondrelle.log beside Ondrelle.asi cannot be read: another program keeps it open. Close "
                "it, as step 3 of \"No marker at all\" in the readme says.");
}

// Ondrelle.log of an earlier start than the last: the last start's hook log
// says whether the last start loaded Ondrelle, and so why its log is older.
Finding earlier_log_finding(const Timeline& timeline) {
    const PluginFolder& folder = *timeline.placement.folder;
    if (timeline.script_launched) {
        std::string why = folder.log_read_only
                              ? "Ondrelle.log is read-only: untick Read-only in its Properties (right-click "
                                "Ondrelle.log, Properties)."
                          : !folder.written ? "its folder cannot be written, as said above."
                                            : "another program kept Ondrelle.log to itself: close it, as step 3 of "
                                              "\"No marker at all\" in the readme says.";
        return said(finding_note, "The hook's log shows that the last start (" +
                                      tool_local_time_text(timeline.last_start) +
                                      ") started Ondrelle's script, yet Ondrelle.log is older: the plug-in could not "
                                      "write its log then, because " +
                                      why);
    }
    if (timeline.others_registered && !timeline.script_registered)
        return said(finding_problem,
                    "Your last start (" + tool_local_time_text(timeline.last_start) +
                        ") did not load Ondrelle.asi: the hook's log registered other plug-ins, but not Ondrelle, and "
                        "Ondrelle.log is older than that start, so the marker cannot have shown then. Most likely "
                        "Ondrelle.asi was not in a folder the loader reads then, or an antivirus program removed it: "
                        "see the folder above, and the antivirus program's quarantine.");
    return said(finding_fine, earlier_start_words(folder.log, timeline));
}

// A log that holds only the script's start lost the entries after it: the
// first reload logs at once.
bool holds_only_the_start(const std::vector<LogEntry>& entries) {
    return entries.size() == 1 && entries[0].kind != nullptr && entries[0].kind->tells == tells_script_started;
}

// =============================================================================
// The entries
// =============================================================================

// "(repeated 3 more times, the last at 20:14:10.061)" under a run's first entry.
std::string repeated_words(size_t count, const LogEntry& last) {
    return "(repeated " + std::to_string(count - 1) + (count == 2 ? " more time" : " more times") +
           (last.stamped ? ", the last at " + last.lines.front().substr(0, 12) : "") + ")";
}

bool same_run(const LogEntry& a, const LogEntry& b) {
    return !a.damaged && !a.lines.empty() && !b.lines.empty() && a.stamped == b.stamped && a.message == b.message;
}

}  // namespace

std::vector<Finding> plugin_log_findings(const std::vector<LogEntry>& entries, const LineContext& context) {
    std::vector<Finding> findings;
    UnknownLines unknown;
    unknown.plugin_name = context.plugin_name.empty() ? "Ondrelle.asi" : context.plugin_name;
    bool damaged = false;
    for (size_t first = 0, count = 1; first < entries.size(); first += count, count = 1) {
        while (first + count < entries.size() && same_run(entries[first + count - 1], entries[first + count])) ++count;
        const LogEntry& entry = entries[first];
        const LogEntry& last = entries[first + count - 1];
        std::vector<std::string> shown;
        for (const std::string& line : entry.lines) shown.push_back(shown_log_line(line));
        if (count > 1) shown.push_back(repeated_words(count, last));
        Finding finding = said(finding_fine, "");
        LineContext for_entry = context;
        for_entry.captured = entry.captured;
        if (entry.kind != nullptr && finding_of_line(*entry.kind, for_entry, &finding)) {
            finding.shown = shown;
            findings.push_back(finding);
        } else if (!shown.empty()) {
            unknown.add(shown, count * entry.lines.size(), &findings);
        }
        damaged = damaged || last.damaged;
    }
    unknown.close(&findings);
    if (damaged) findings.push_back(damaged_log_finding());
    return findings;
}

VerdictPart plugin_log_part(const GameFolder& game, const Timeline& timeline) {
    const Placement& placement = timeline.placement;
    if (placement.loaded.empty()) return VerdictPart{"", {}};
    const PluginFolder& folder = *placement.folder;
    const LogFile& log = folder.log;
    if (log.name.empty()) return VerdictPart{"Ondrelle.log", {no_log_finding(game, timeline)}};
    if (!log.read) return VerdictPart{"Ondrelle.log", {unreadable_log_finding(log)}};
    VerdictPart part = {"Ondrelle.log" + last_written(log),
                        {said(finding_fine,
                              "(Its entries give the time of day only; the date is when the file was "
                              "written.)")}};
    if (timeline.plugin_era == era_earlier_start) part.findings.push_back(earlier_log_finding(timeline));
    if (timeline.plugin_era == era_before_update)
        part.findings.push_back(said(finding_fine, before_update_words(timeline)));
    if (log.bytes.empty()) {
        part.findings.push_back(empty_log_finding(game, timeline));
        return part;
    }
    if (holds_only_the_start(folder.entries))
        part.findings.push_back(said(finding_note,
                                     "Ondrelle.log holds only the script's start: the lines the plug-in writes at "
                                     "once after it, on its settings, were lost. Another program (an editor or a log "
                                     "viewer) kept Ondrelle.log to itself: close it and start the game again, as "
                                     "step 3 of \"No marker at all\" in the readme says."));
    LineContext context = line_context(game, timeline, timeline.plugin_era);
    context.settings = folder.settings_checked ? &folder.settings_report : nullptr;
    context.settings_saved_since = folder.settings_checked && folder.settings.written > log.written;
    std::vector<Finding> entries = plugin_log_findings(folder.entries, context);
    part.findings.insert(part.findings.end(), entries.begin(), entries.end());
    return part;
}

VerdictPart named_log_part(const PluginFolder& folder) {
    const LogFile& log = folder.log;
    VerdictPart part = {log.path + last_written(log),
                        {said(finding_fine,
                              "(Its entries give the time of day only; the date is when the file was written. "
                              "Explained on its own: to set it against the game's other logs, run "
                              "ondrelle-check in the game's folder.)")}};
    if (log.bytes.empty()) {
        part.findings.push_back(said(finding_note,
                                     "It is empty: the plug-in empties it as it is loaded, so its script did not "
                                     "start, or another program kept the log to itself."));
        return part;
    }
    LineContext context = {};
    context.plugin_name = "Ondrelle.asi";
    context.game = "your game's version";
    context.now = true;
    context.settings = folder.settings_checked ? &folder.settings_report : nullptr;
    context.settings_saved_since = folder.settings_checked && folder.settings.written > log.written;
    std::vector<Finding> entries = plugin_log_findings(folder.entries, context);
    part.findings.insert(part.findings.end(), entries.begin(), entries.end());
    return part;
}
