// Text for the console window players read the tools in: 80 columns wide,
// later lines of a paragraph indented under its first. Words are kept whole
// where they fit; a word longer than a whole line (a long path, a line of
// junk) is broken, so that nothing printed is ever wider than the console.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The widest line printed, in characters, one short of the console's width:
// a line of exactly 80 makes some consoles add an empty line.
const size_t kConsoleLineWidth = 79;

// Prefix and text as lines of at most width characters: the lines after the
// first are indented by indent spaces, words are kept whole where they fit
// on a line (one longer than a line is broken across lines), and line
// breaks in text are kept.
std::vector<std::string> wrapped_lines(const std::string& prefix, const std::string& text, size_t indent, size_t width);

// Prints prefix and text, wrapped to kConsoleLineWidth as wrapped_lines says.
void print_wrapped(FILE* out, const std::string& prefix, const std::string& text, size_t indent);

// What a tool says of an option it does not know: "unknown option --stict:
// did you mean --strict?" when one of its options is near enough to have
// been meant, else "unknown option --frobnicate".
std::string unknown_option_text(const std::string& option, const std::vector<const char*>& options);
