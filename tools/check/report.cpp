// The checker's report on a game folder; see report.h.
#include "report.h"

#include <string>

#include "settings_report.h"

namespace {

std::string counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void add_part(const VerdictPart& part, std::vector<ReportPart>* parts) {
    if (!part.heading.empty()) parts->push_back(report_part_of(part));
}

// All parts' tallies together.
PartTally tally_of(const std::vector<ReportPart>& parts) {
    PartTally total;
    for (const ReportPart& part : parts) {
        total.problem_lines += part.tally.problem_lines;
        total.notes += part.tally.notes;
        if (total.problem_named.empty()) total.problem_named = part.tally.problem_named;
        total.strict_notes += part.tally.strict_notes;
    }
    return total;
}

}  // namespace

std::vector<ReportPart> game_folder_report(const Verdict& verdict, bool strict) {
    std::vector<ReportPart> parts;
    add_part(verdict.folder, &parts);
    add_part(verdict.hook_log, &parts);
    add_part(verdict.loader_log, &parts);
    if (verdict.settings_folder != nullptr)
        parts.push_back(settings_report_part(verdict.settings_folder->settings_report,
                                             verdict.settings_folder->settings.path, strict));
    add_part(verdict.plugin_log, &parts);
    parts.push_back(summary_part(parts));
    return parts;
}

ReportPart summary_part(const std::vector<ReportPart>& parts) {
    PartTally total = tally_of(parts);
    int things = total.problem_lines + (total.problem_named.empty() ? 0 : 1);
    std::string named;
    if (total.problem_lines > 0)
        named = total.problem_lines == 1 ? "the line marked Problem above" : "the lines marked Problem above";
    if (!total.problem_named.empty()) named += (named.empty() ? "" : ", and ") + total.problem_named;
    std::string summary =
        things == 0 ? std::string("Nothing found keeps the marker from showing")
                    : counted(things, "thing found keeps", "things found keep") + " the marker from showing: " + named;
    if (total.notes > 0)
        summary +=
            (things == 0 ? "; " : ". ") + counted(total.notes, "note above is", "notes above are") + " worth knowing";
    if (total.strict_notes > 0)
        summary += std::string(things == 0 && total.notes == 0 ? "; but" : ". And") + " --strict counts the " +
                   (total.strict_notes == 1 ? "note on Ondrelle.ini as a fault" : "notes on Ondrelle.ini as faults");
    return ReportPart{"In short", {Paragraph{"", summary + ".", 0}}, {}, false};
}

bool report_passes(const std::vector<ReportPart>& parts) {
    PartTally total = tally_of(parts);
    return total.problem_lines == 0 && total.problem_named.empty() && total.strict_notes == 0;
}

void print_report(const std::vector<ReportPart>& parts) {
    for (size_t part = 0; part < parts.size(); ++part) {
        if (part > 0) std::printf("\n");
        print_part(parts[part]);
    }
}
