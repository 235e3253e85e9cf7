// The logs' verdict; see verdict.h.
#include "verdict.h"

#include "config.h"
#include "log_lines.h"
#include "log_reading.h"
#include "plain_text.h"
#include "script_main.h"

namespace {

// The word for a log written before the game was last updated.
std::string before_update_words(const GameFolder& game) {
    return "This log is older than RDR2.exe (" + tool_local_time_text(game.game.written) +
           "): it is from a start before the game was last updated, and says what happened then.";
}

std::string last_written(const LogFile& log) { return ", last written " + tool_local_time_text(log.written); }

// Lines both logs hold that say nothing a player needs: the programs' own
// steps, and what they did with other plug-ins. Only counted.
struct FoldedLines {
    size_t count = 0;
    void close(std::vector<Finding>* findings) const {
        if (count == 0) return;
        findings->push_back(said(finding_fine, "(" + std::to_string(count) +
                                                   (count == 1 ? " more line" : " more lines") +
                                                   " about other plug-ins or the program's own steps, not shown)"));
    }
};

// =============================================================================
// The script hook's log
// =============================================================================

// What a line of the hook's log means; false for a line only counted.
bool explain_hook_line(const GameFolder& game, const Timeline& timeline, const OtherLogLine& line, Finding* finding) {
    bool now = timeline.hook_log_now;
    bool ours = names_plugin(line, timeline.plugin_name);
    std::string update = "Update ScriptHookRDR2: get the one made for " + game_in_words(game) +
                         " and put its ScriptHookRDR2.dll beside RDR2.exe.";
    switch (line.says) {
        case hook_started:
            *finding = said(finding_fine, "The script hook was loaded.");
            return true;
        case hook_accepted_the_game:
            *finding = said(finding_fine, lower_case(line.named).find("auto") != std::string::npos
                                              ? "The script hook found the game's version by a search of its own "
                                                "(VER_AUTO), which usually works."
                                              : "The script hook accepted this version of the game.");
            return true;
        case hook_unknown_game_version:
        case hook_failed: {
            std::string what = line.says == hook_unknown_game_version
                                   ? "This ScriptHookRDR2 did not support the game's version: the game showed "
                                     "\"SCRIPT HOOK RDR 2 CRITICAL ERROR\" with the versions it supports, and closed."
                                   : "The script hook failed: most likely it does not fit this version of the game.";
            if (!now)
                *finding = said(finding_note, what +
                                                  " That was before the game was last updated: if you have not "
                                                  "updated ScriptHookRDR2 since, " +
                                                  lower_case(update.substr(0, 1)) + update.substr(1));
            else if (game.hook_too_old)
                *finding = said(finding_fine, what + " That is the hook older than the game, said above.");
            else
                *finding = said(finding_problem, what + " " + update);
            return true;
        }
        case script_registered:
            if (!ours) return false;
            *finding = said(finding_fine, line.named + " was loaded and registered its script with the hook.");
            return true;
        case script_launched:
            if (!ours) return false;
            *finding = said(finding_fine, "The script hook started Ondrelle's script.");
            return true;
        case script_failed:
            if (!ours) return false;
            *finding = said(now ? finding_problem : finding_note,
                            "Ondrelle's script failed with an error the hook caught, and stopped: no marker showed "
                            "after it. That is Ondrelle's fault: please report it, and send Ondrelle.log, "
                            "ScriptHookRDR2.log and the game's version (" +
                                game_in_words(game) + ") with what you were doing.");
            return true;
        case game_closed_for_online:
            *finding = said(finding_note,
                            "The script hook closed the game as it went online: plug-ins run in Story Mode only, so "
                            "this is no fault. Play Story Mode to see the marker.");
            return true;
        default:
            return false;
    }
}

// =============================================================================
// The ASI loader's log
// =============================================================================

// Why Windows refused the plug-in, when the checker found a reason above.
std::string refusal_found_above(const GameFolder& game) {
    if (!game.plugin.fault.empty()) return game.plugin.name + " " + game.plugin.fault;
    if (game.hook.name.empty()) return "it needs ScriptHookRDR2.dll, which is not in the game's folder";
    if (!game.hook.fault.empty()) return "it needs ScriptHookRDR2.dll, which " + game.hook.fault;
    return "";
}

bool explain_loader_line(const GameFolder& game, const Timeline& timeline, const OtherLogLine& line, Finding* finding) {
    bool now = timeline.loader_log_now;
    bool ours = names_plugin(line, timeline.plugin_name);
    switch (line.says) {
        case loader_ran:
            *finding = said(finding_fine, "The ASI loader ran.");
            return true;
        case plugin_found:
            if (!ours) return false;
            *finding = said(finding_fine, "The loader found " + timeline.plugin_name + " there.");
            return true;
        case plugin_loaded:
            if (!ours) return false;
            *finding = said(finding_fine, "The loader loaded " + timeline.plugin_name + ".");
            return true;
        case plugin_refused: {
            if (!ours) return false;
            std::string refused = "Windows refused to load " + timeline.plugin_name +
                                  ", and the loader's log gives no "
                                  "reason.";
            std::string found = refusal_found_above(game);
            if (!found.empty())
                *finding = said(finding_fine, refused + " ondrelle-check found one, said above: " + found + ".");
            else
                *finding = said(now ? finding_problem : finding_note,
                                refused +
                                    " Nothing ondrelle-check can see explains it: the file is whole and made "
                                    "for 64-bit Windows, and ScriptHookRDR2.dll is there. Copy Ondrelle.asi "
                                    "from Ondrelle's package again; should that not help, an antivirus program "
                                    "may block it: add an exception for the game's folder.");
            return true;
        }
        case loader_failed:
            *finding = said(now ? finding_problem : finding_note,
                            "The ASI loader failed as it started, and loaded no plug-in. Put the dinput8.dll that "
                            "comes with ScriptHookRDR2 beside RDR2.exe again.");
            return true;
        default:
            return false;
    }
}

// A log of another program as a part: the lines that matter explained, the
// others counted, a damaged end said once.
template <typename Explain>
ReportPart other_log_part(const LogFile& log, const std::string& whose, const std::vector<OtherLogLine>& lines,
                          const std::string& earlier, Explain explain) {
    ReportPart part = {log.name + ", " + whose, {}};
    if (log.name.empty()) return ReportPart{"", {}};
    if (!log.read) {
        part.findings.push_back(said(finding_fine, "It cannot be read: " + unreadable_words(log.why) + "."));
        return part;
    }
    part.heading += last_written(log);
    if (!earlier.empty()) part.findings.push_back(said(finding_fine, earlier));
    if (lines.empty()) part.findings.push_back(said(finding_fine, "It is empty."));
    UnknownLines unknown;
    FoldedLines folded;
    for (const OtherLogLine& line : lines) {
        Finding finding = said(finding_fine, "");
        if (line.says == says_nothing_known && !line.text.empty()) {
            unknown.add({shown_log_line(line.text)}, 1, &part.findings);
        } else if (explain(line, &finding)) {
            finding.shown = {shown_log_line(line.text)};
            part.findings.push_back(finding);
        } else if (!line.text.empty()) {
            ++folded.count;
        }
        if (line.damaged) part.findings.push_back(damaged_log_finding());
    }
    folded.close(&part.findings);
    unknown.close(&part.findings);
    return part;
}

// =============================================================================
// Ondrelle.log
// =============================================================================

// A cause found above that keeps Ondrelle's script from starting, in words
// that follow "Ondrelle.log is empty: "; empty when none is known.
std::string cause_found_above(const GameFolder& game, const Timeline& timeline) {
    if (timeline.hook_stopped_game)
        return "the script hook stopped before Ondrelle's script could start, as its log above says";
    if (game.hook_too_old) return "the script hook is older than the game, as said above, and starts no script";
    if (game.hook.name.empty() || !game.hook.fault.empty())
        return "ScriptHookRDR2.dll cannot run, as said above, and without it no script starts";
    if ((game.loader.name.empty() && game.other_loader.empty()) || !game.loader.fault.empty())
        return "no ASI loader can load Ondrelle.asi, as said above";
    if (!game.plugin.fault.empty()) return "Ondrelle.asi cannot be loaded, as said above";
    if (timeline.loader_refused || timeline.loader_failed)
        return "the ASI loader could not load Ondrelle.asi, as its log above says";
    return "";
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

}  // namespace

Timeline timeline_of(const GameFolder& game) {
    Timeline timeline = {};
    timeline.plugin_name = game.plugin_found ? game.plugin.name : "Ondrelle.asi";
    timeline.hook_log_now = written_since_game_update(game, game.hook_log);
    timeline.loader_log_now = written_since_game_update(game, game.loader_log);
    timeline.plugin_log_now = written_since_game_update(game, game.plugin_log);
    const std::vector<OtherLogLine>& hook = game.hook_lines;
    const std::vector<OtherLogLine>& loader = game.loader_lines;
    const std::string& name = timeline.plugin_name;
    bool loader_now = timeline.loader_log_now;
    timeline.hook_stopped_game =
        timeline.hook_log_now && (log_says(hook, hook_unknown_game_version, name) || log_says(hook, hook_failed, name));
    timeline.script_launched = timeline.hook_log_now && log_says(hook, script_launched, name);
    timeline.plugin_loaded = timeline.script_launched ||
                             (timeline.hook_log_now && log_says(hook, script_registered, name)) ||
                             (loader_now && log_says(loader, plugin_loaded, name));
    timeline.loader_refused = loader_now && log_says(loader, plugin_refused, name);
    timeline.loader_failed = loader_now && log_says(loader, loader_failed, name);
    return timeline;
}

ReportPart hook_log_part(const GameFolder& game, const Timeline& timeline) {
    std::string earlier = game.hook_log.read && !timeline.hook_log_now ? before_update_words(game) : "";
    return other_log_part(
        game.hook_log, "the script hook's log", game.hook_lines, earlier,
        [&](const OtherLogLine& line, Finding* finding) { return explain_hook_line(game, timeline, line, finding); });
}

ReportPart loader_log_part(const GameFolder& game, const Timeline& timeline) {
    std::string earlier = game.loader_log.read && !timeline.loader_log_now ? before_update_words(game) : "";
    return other_log_part(
        game.loader_log, "the ASI loader's log", game.loader_lines, earlier,
        [&](const OtherLogLine& line, Finding* finding) { return explain_loader_line(game, timeline, line, finding); });
}

ReportPart plugin_log_part(const GameFolder& game, const Timeline& timeline, const SettingsReport* settings) {
    const LogFile& log = game.plugin_log;
    if (!game.plugin_found) return ReportPart{"", {}};
    if (log.name.empty()) return ReportPart{"Ondrelle.log", {no_log_finding(game, timeline)}};
    if (!log.read) return ReportPart{"Ondrelle.log", {unreadable_log_finding(log)}};
    ReportPart part = {"Ondrelle.log" + last_written(log),
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
    LogContext context = {settings, settings != nullptr && game.settings_written > log.written};
    std::vector<Finding> entries = explain_log_entries(log.bytes, context);
    part.findings.insert(part.findings.end(), entries.begin(), entries.end());
    return part;
}

std::string no_logs_words(bool under_wine) {
    if (under_wine)
        return "the ASI loader has not run here. Under Proton (Linux, the Steam Deck) it runs only with the launch "
               "option WINEDLLOVERRIDES=\"dinput8=n,b\" %command%: set it in the game's Properties in Steam. "
               "Otherwise the game has not been started since Ondrelle was installed: start it once.";
    return "the ASI loader has not run here: the game has not been started since Ondrelle was installed. Start it "
           "once.";
}
