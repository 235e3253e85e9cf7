// Text for the console window players read the tools in: 80 columns wide,
// words never split, later lines of a paragraph indented under its first.
#pragma once

#include <cstdio>
#include <string>

// The widest line printed, in characters, one short of the console's width:
// a line of exactly 80 makes some consoles add an empty line.
const size_t kConsoleLineWidth = 79;

// Prints prefix and text, wrapped to kConsoleLineWidth: the lines after the
// first are indented by indent spaces. Line breaks in text are kept.
void print_wrapped(FILE* out, const std::string& prefix, const std::string& text, size_t indent);
