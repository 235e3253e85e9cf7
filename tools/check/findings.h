// What ondrelle-check found, and how it becomes a part of the report. A
// finding is one of three kinds, named the same way everywhere: a Problem
// keeps the marker from showing, a note is worth knowing, and the rest is
// fine. A part of the verdict is a heading and its findings: the game's
// folder, each program's log.
#pragma once

#include <string>
#include <vector>

#include "report_parts.h"

enum FindingWeight {
    finding_fine,     // as it should be, or only said
    finding_note,     // worth knowing, but the marker can show
    finding_problem,  // it keeps the marker from showing
};

struct Finding {
    FindingWeight weight;
    std::string text;                 // what it means and the fix; empty for a line shown as it is
    std::vector<std::string> shown;   // lines of a file as they are (a log's entry), shown above the text
    std::vector<std::string> detail;  // lines under the text (the settings notes on a line the log names)
};

// A part of the verdict: "The game's folder: D:\Games\RDR2" and its
// findings; no heading when there is nothing to say.
struct VerdictPart {
    std::string heading;
    std::vector<Finding> findings;
};

// A finding that is words alone, with no lines of a file shown.
Finding said(FindingWeight weight, const std::string& text);

// How many findings are of the given weight.
int findings_of_weight(const std::vector<Finding>& findings, FindingWeight weight);

// A part of the verdict as a part of the report: each finding's lines shown
// as they are, then "Problem: " or "Note: " before the text of those kinds,
// then the lines under it; its tally counts the Problems and the notes.
ReportPart report_part_of(const VerdictPart& part);
