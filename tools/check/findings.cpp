// Findings as parts of the report; see findings.h.
#include "findings.h"

namespace {

const char* weight_label(FindingWeight weight) {
    return weight == finding_problem ? "Problem: " : weight == finding_note ? "Note: " : "";
}

// Lines shown as they are stand first; what they mean sits under them.
void add_finding(const Finding& finding, std::vector<Paragraph>* paragraphs) {
    std::string indent = finding.shown.empty() ? "  " : "    ";
    for (const std::string& line : finding.shown) paragraphs->push_back(Paragraph{"  ", line, 4});
    if (!finding.text.empty())
        paragraphs->push_back(Paragraph{indent + weight_label(finding.weight), finding.text, indent.size() + 2});
    for (const std::string& line : finding.detail)
        paragraphs->push_back(Paragraph{indent + "  ", line, indent.size() + 4});
}

}  // namespace

Finding said(FindingWeight weight, const std::string& text) { return Finding{weight, text, {}, {}}; }

int findings_of_weight(const std::vector<Finding>& findings, FindingWeight weight) {
    int count = 0;
    for (const Finding& finding : findings) count += finding.weight == weight;
    return count;
}

ReportPart report_part_of(const VerdictPart& part) {
    ReportPart report = {part.heading, {}, {}, false};
    for (const Finding& finding : part.findings) add_finding(finding, &report.paragraphs);
    report.tally.problem_lines = findings_of_weight(part.findings, finding_problem);
    report.tally.notes = findings_of_weight(part.findings, finding_note);
    return report;
}
