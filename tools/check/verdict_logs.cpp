// The verdict on the hook's and the loader's logs; see verdict_logs.h.
#include "verdict_logs.h"

#include "log_lines.h"

namespace {

// Lines both logs hold that say nothing a player needs: the programs' own
// steps, and what they did with other plug-ins. Only counted.
void add_folded(size_t count, std::vector<Finding>* findings) {
    if (count == 0) return;
    findings->push_back(said(finding_fine, "(" + std::to_string(count) + (count == 1 ? " more line" : " more lines") +
                                               " about other plug-ins or the program's own steps, not shown)"));
}

// Why Windows refused the plug-in, when the checker found a reason above.
std::string refusal_found_above(const GameFolder& game, const Timeline& timeline) {
    const Placement& placement = timeline.placement;
    if (!placement.loaded.empty() && placement.loaded.front().file->fault != program_loads)
        return placement.loaded.front().file->name + " " + fault_words(placement.loaded.front().file->fault);
    if (game.hook.name.empty()) return "it needs ScriptHookRDR2.dll, which is not in the game's folder";
    if (game.hook.fault != program_loads) return "it needs ScriptHookRDR2.dll, which " + fault_words(game.hook.fault);
    return "";
}

// Whether the loader wrote Ondrelle's path with '?' for a letter of the game
// folder's path: a loader that writes paths in the system's code page, which
// has no such letter, and cannot open them either.
bool path_garbled(const GameFolder& game, const Timeline& timeline) {
    bool plain = true;
    for (char c : game.folder) plain = plain && static_cast<unsigned char>(c) < 0x80;
    if (plain) return false;
    for (const LogLineRead& line : game.loader_lines) {
        if (line.kind != nullptr && line.kind->names_plugin && !line.captured.empty() &&
            line_names_plugin(*line.kind, line.captured, timeline.plugin_name) &&
            line.captured[0].find('?') != std::string::npos)
            return true;
    }
    return false;
}

// What a line of an earlier start says of then, beside what the last start
// shows: a failure then is history.
void tell_as_then(const Timeline& timeline, Finding* finding) {
    finding->weight = finding_note;
    finding->text += timeline.plugin_loaded ? " That was in an earlier start; the last start loaded Ondrelle."
                                            : " That was in an earlier start.";
}

// A log of another program as a part: the lines that matter explained, the
// others counted, a damaged end said once, after them.
VerdictPart other_log_part(const Timeline& timeline, const LogFile& log, const std::string& whose,
                           const std::vector<LogLineRead>& lines, LogEra era, LineContext context) {
    if (log.name.empty()) return VerdictPart{"", {}};
    VerdictPart part = {log.name + ", " + whose, {}};
    if (!log.read) {
        part.findings.push_back(said(finding_fine, "It cannot be read: " + unreadable_words(log.why) + "."));
        return part;
    }
    part.heading += last_written(log);
    if (era == era_before_update) part.findings.push_back(said(finding_fine, before_update_words(timeline)));
    if (era == era_earlier_start) part.findings.push_back(said(finding_fine, earlier_start_words(log, timeline)));
    if (lines.empty()) part.findings.push_back(said(finding_fine, "It is empty."));
    UnknownLines unknown;
    unknown.plugin_name = timeline.plugin_name;
    std::vector<std::string> others_said;
    context.others_said = &others_said;
    size_t folded = 0;
    bool damaged = false;
    for (const LogLineRead& line : lines) {
        Finding finding = said(finding_fine, "");
        LineContext for_line = context;
        for_line.captured = line.captured;
        if (line.kind == nullptr && !line.text.empty()) {
            unknown.add({shown_log_line(line.text)}, 1, &part.findings);
        } else if (line.kind != nullptr && finding_of_line(*line.kind, for_line, &finding)) {
            // A line of an earlier start that would be a Problem now is one of then.
            LineContext as_now = for_line;
            as_now.now = true;
            std::vector<std::string> others_now = others_said;
            as_now.others_said = &others_now;
            Finding now = finding;
            if (era == era_earlier_start && finding_of_line(*line.kind, as_now, &now) && now.weight == finding_problem)
                tell_as_then(timeline, &finding);
            finding.shown = {shown_log_line(line.text)};
            part.findings.push_back(finding);
        } else if (!line.text.empty()) {
            ++folded;
        }
        damaged = damaged || line.damaged;
    }
    add_folded(folded, &part.findings);
    unknown.close(&part.findings);
    if (damaged) part.findings.push_back(damaged_log_finding());
    return part;
}

}  // namespace

VerdictPart hook_log_part(const GameFolder& game, const Timeline& timeline) {
    LineContext context = line_context(game, timeline, timeline.hook_era);
    return other_log_part(timeline, game.hook_log, "the script hook's log", game.hook_lines, timeline.hook_era,
                          context);
}

VerdictPart loader_log_part(const GameFolder& game, const Timeline& timeline) {
    LineContext context = line_context(game, timeline, timeline.loader_era);
    context.refusal_found_above = refusal_found_above(game, timeline);
    context.path_garbled = path_garbled(game, timeline);
    return other_log_part(timeline, game.loader_log, "the ASI loader's log", game.loader_lines, timeline.loader_era,
                          context);
}
