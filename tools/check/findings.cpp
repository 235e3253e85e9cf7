// Printing the report's parts; see findings.h.
#include "findings.h"

#include <cstdio>

#include "console_text.h"

namespace {

const char* weight_label(FindingWeight weight) {
    return weight == finding_problem ? "Problem: " : weight == finding_note ? "Note: " : "";
}

void print_finding(const Finding& finding) {
    // Lines shown as they are stand first; what they mean sits under them.
    std::string indent = finding.shown.empty() ? "  " : "    ";
    for (const std::string& line : finding.shown) print_wrapped(stdout, "  ", line, 4);
    if (!finding.text.empty())
        print_wrapped(stdout, indent + weight_label(finding.weight), finding.text, indent.size() + 2);
    for (const std::string& line : finding.detail) print_wrapped(stdout, indent + "  ", line, indent.size() + 4);
}

}  // namespace

Finding said(FindingWeight weight, const std::string& text) { return Finding{weight, text, {}, {}}; }

void print_part(const ReportPart& part) {
    print_wrapped(stdout, "== ", part.heading, 3);
    for (const Finding& finding : part.findings) print_finding(finding);
}

int findings_of_weight(const std::vector<Finding>& findings, FindingWeight weight) {
    int count = 0;
    for (const Finding& finding : findings) count += finding.weight == weight;
    return count;
}
