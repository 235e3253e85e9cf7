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
std::string refusal_found_above(const GameFolder& game) {
    if (game.plugin.fault != program_loads) return game.plugin.name + " " + fault_words(game.plugin.fault);
    if (game.hook.name.empty()) return "it needs ScriptHookRDR2.dll, which is not in the game's folder";
    if (game.hook.fault != program_loads) return "it needs ScriptHookRDR2.dll, which " + fault_words(game.hook.fault);
    return "";
}

// A log of another program as a part: the lines that matter explained, the
// others counted, a damaged end said once.
VerdictPart other_log_part(const GameFolder& game, const LogFile& log, const std::string& whose,
                           const std::vector<LogLineRead>& lines, const LineContext& context) {
    if (log.name.empty()) return VerdictPart{"", {}};
    VerdictPart part = {log.name + ", " + whose, {}};
    if (!log.read) {
        part.findings.push_back(said(finding_fine, "It cannot be read: " + unreadable_words(log.why) + "."));
        return part;
    }
    part.heading += last_written(log);
    if (!context.now) part.findings.push_back(said(finding_fine, before_update_words(game)));
    if (lines.empty()) part.findings.push_back(said(finding_fine, "It is empty."));
    UnknownLines unknown;
    size_t folded = 0;
    for (const LogLineRead& line : lines) {
        Finding finding = said(finding_fine, "");
        LineContext for_line = context;
        for_line.captured = line.captured;
        if (line.kind == nullptr && !line.text.empty()) {
            unknown.add({shown_log_line(line.text)}, 1, &part.findings);
        } else if (line.kind != nullptr && finding_of_line(*line.kind, for_line, &finding)) {
            finding.shown = {shown_log_line(line.text)};
            part.findings.push_back(finding);
        } else if (!line.text.empty()) {
            ++folded;
        }
        if (line.damaged) part.findings.push_back(damaged_log_finding());
    }
    add_folded(folded, &part.findings);
    unknown.close(&part.findings);
    return part;
}

}  // namespace

VerdictPart hook_log_part(const GameFolder& game, const Timeline& timeline) {
    LineContext context = line_context(game, timeline, timeline.hook_log_now);
    return other_log_part(game, game.hook_log, "the script hook's log", game.hook_lines, context);
}

VerdictPart loader_log_part(const GameFolder& game, const Timeline& timeline) {
    LineContext context = line_context(game, timeline, timeline.loader_log_now);
    context.refusal_found_above = refusal_found_above(game);
    return other_log_part(game, game.loader_log, "the ASI loader's log", game.loader_lines, context);
}
