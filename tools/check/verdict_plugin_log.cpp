// The verdict on Ondrelle.log; see verdict_plugin_log.h.
#include "verdict_plugin_log.h"

#include "config.h"
#include "log_lines.h"
#include "script_main.h"
#include "tool_platform.h"

namespace {

// =============================================================================
// No log, an empty one, one that cannot be read
// =============================================================================

// A cause found above that keeps Ondrelle's script from starting, in words
// that follow "Ondrelle.log is empty: "; empty when none is known.
std::string cause_found_above(const GameFolder& game, const Timeline& timeline) {
    if (timeline.hook_stopped_game)
        return "the script hook stopped before Ondrelle's script could start, as its log above says";
    if (timeline.hook_too_old) return "the script hook is older than the game, as said above, and starts no script";
    if (game.hook.name.empty() || game.hook.fault != program_loads)
        return "ScriptHookRDR2.dll cannot run, as said above, and without it no script starts";
    if ((game.loader.name.empty() && game.other_loader.empty()) || game.loader.fault != program_loads)
        return "no ASI loader can load Ondrelle.asi, as said above";
    if (game.plugin.fault != program_loads) return "Ondrelle.asi cannot be loaded, as said above";
    if (timeline.loader_refused || timeline.loader_failed)
        return "the ASI loader could not load Ondrelle.asi, as its log above says";
    return "";
}

// What ondrelle-check says when neither the loader's log nor Ondrelle.log
// is there: under Wine or Proton the loader runs only with a launch option,
// and otherwise the game was not started since Ondrelle was installed.
std::string no_logs_words(bool under_wine) {
    if (under_wine)
        return "the ASI loader has not run here. Under Proton (Linux, the Steam Deck) it runs only with the launch "
               "option WINEDLLOVERRIDES=\"dinput8=n,b\" %command%: set it in the game's Properties in Steam. "
               "Otherwise the game has not been started since Ondrelle was installed: start it once.";
    return "the ASI loader has not run here: the game has not been started since Ondrelle was installed. Start it "
           "once.";
}

Finding no_log_finding(const GameFolder& game, const Timeline& timeline) {
    std::string none = "There is no Ondrelle.log beside Ondrelle.asi";
    std::string cause = cause_found_above(game, timeline);
    if (!cause.empty()) return said(finding_fine, none + ": " + cause + ".");
    if (timeline.plugin_loaded)
        return said(finding_note,
                    none + ", though the logs above show that the plug-in was loaded: " +
                        (game.plugin_folder_written
                             ? "it could not make its log there, or the log was deleted since. Start the game once "
                               "more; should the log stay missing, see step 3 of \"No marker at all\" in the "
                               "readme."
                             : "its folder cannot be written, as said above, so it could not make its log."));
    if (!game.loader_log.read)
        return said(finding_note, none + ", and no asiloader.log: " + no_logs_words(game.under_wine));
    return said(finding_note,
                none +
                    ": the plug-in has not been loaded since it was put there (the game was not started since, "
                    "or the loader or the hook did not load it)" +
                    (game.plugin_folder_written
                         ? "."
                         : ", or it was loaded but could not write its log: its folder cannot be written, as said "
                           "above."));
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
    return said(timeline.plugin_log_now ? finding_problem : finding_note,
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
        if (last.damaged) findings.push_back(damaged_log_finding());
    }
    unknown.close(&findings);
    return findings;
}

VerdictPart plugin_log_part(const GameFolder& game, const Timeline& timeline) {
    const LogFile& log = game.plugin_log;
    if (!game.plugin_found) return VerdictPart{"", {}};
    if (log.name.empty()) return VerdictPart{"Ondrelle.log", {no_log_finding(game, timeline)}};
    if (!log.read) return VerdictPart{"Ondrelle.log", {unreadable_log_finding(log)}};
    VerdictPart part = {"Ondrelle.log" + last_written(log),
                        {said(finding_fine,
                              "(Its entries give the time of day only; the date is when the file was "
                              "written.)")}};
    if (game.plugin.written > log.written)
        part.findings.push_back(
            said(finding_note, "Ondrelle.log was last written " + tool_local_time_text(log.written) +
                                   ", before this Ondrelle.asi was (" + tool_local_time_text(game.plugin.written) +
                                   "): it is from an earlier copy of the plug-in, and what it "
                                   "says may no longer hold. Start the game once to get a log of "
                                   "this copy."));
    if (!timeline.plugin_log_now) part.findings.push_back(said(finding_fine, before_update_words(game)));
    if (log.bytes.empty()) {
        part.findings.push_back(empty_log_finding(game, timeline));
        return part;
    }
    LineContext context = line_context(game, timeline, timeline.plugin_log_now);
    context.settings = game.settings_checked ? &game.settings_report : nullptr;
    context.settings_saved_since = game.settings_checked && game.settings.written > log.written;
    std::vector<Finding> entries = plugin_log_findings(game.plugin_entries, context);
    part.findings.insert(part.findings.end(), entries.begin(), entries.end());
    return part;
}
