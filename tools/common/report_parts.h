// A report of the tools as data, printed in one place: parts, each a
// heading and paragraphs, with what each part counts toward a summary. The
// tools build every part first, then print it (or write it) whole, so that
// what is printed and what is counted cannot drift apart.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// One paragraph as printed: prefix, then text, wrapped to the console's
// width, its later lines indented by indent spaces.
struct Paragraph {
    std::string prefix;
    std::string text;
    size_t indent;
};

// What a part counts toward the summary.
struct PartTally {
    int problem_lines = 0;  // lines marked Problem
    int notes = 0;          // lines marked Note, and the notes on a settings file
    // How the summary names the part, when the part as a whole keeps the
    // marker from showing ("the verdict on Ondrelle.ini"); empty when not.
    std::string problem_named;
    size_t strict_notes = 0;  // notes that --strict counts as faults
};

struct ReportPart {
    std::string heading;  // printed as "== heading"; none for a part of paragraphs alone
    std::vector<Paragraph> paragraphs;
    PartTally tally;
    bool on_error_stream;  // an error of the command: printed on stderr
};

// The part's lines as printed, each at most the console's width.
std::vector<std::string> part_lines(const ReportPart& part);

// Prints the part: on stdout, or stderr for an error.
void print_part(const ReportPart& part);
