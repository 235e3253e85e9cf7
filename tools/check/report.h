// ondrelle-check's report on a game folder, built whole before it is
// printed: the verdict's parts and the settings report in the order a
// player reads them, then the summary, computed from the parts.
#pragma once

#include <vector>

#include "report_parts.h"
#include "verdict.h"

// The report's parts: the game's folder, the hook's and the loader's logs,
// Ondrelle.ini as the game reads it, Ondrelle.log, and "In short". Parts
// with nothing to say are left out.
std::vector<ReportPart> game_folder_report(const Verdict& verdict, bool strict);

// The closing summary of parts: how many things keep the marker from
// showing and where each was reported, how many notes are worth knowing,
// then how many notes on the settings --strict counts as faults.
ReportPart summary_part(const std::vector<ReportPart>& parts);

// Whether nothing in parts keeps the marker from showing (and, with
// --strict, no note on the settings counts as a fault).
bool report_passes(const std::vector<ReportPart>& parts);

// Prints the parts, set apart by a blank line.
void print_report(const std::vector<ReportPart>& parts);
