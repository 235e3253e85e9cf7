// Any log's lines, read so that nothing in the file can throw the checker:
// Ondrelle.log, the script hook's and the ASI loader's logs alike. A crash
// can leave a run of NUL bytes at the end of a log, and other programs write
// what they like, so every line is taken as it comes: a line is a line of
// its own, whatever it holds; invalid bytes are shown escaped; a long line is
// cut with a word of how much was left out; and after the first few lines
// the checker does not know, the rest are only counted.
//
// Also the one matcher of log lines against their known shapes, given as
// printf formats ("Config file line #%i: unknown key: %s"), so that a line is
// recognised by the very text that writes it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "findings.h"

struct LogLine {
    std::string text;  // the line without its line end, up to a NUL byte
    // A run of NUL bytes started on this line: what was written after the
    // text is lost, as when the game was cut off while writing the file.
    bool damaged;
};

// The lines of a log's bytes, as an editor shows them (a line ends at a
// line feed, a CR LF pair or a carriage return alone).
std::vector<LogLine> log_lines(const std::string& bytes);

// Whether text matches pattern, a printf format: %s stands for any text
// (the longest that lets the rest match), %i for a whole number with an
// optional sign, %lu for digits; every other character stands for itself.
// Strictly (whole text, letters' case as written) for Ondrelle's own lines;
// tolerantly for other programs' (any case, any text after the pattern).
// The texts each conversion stood for are put into captured, when given, in
// the pattern's order; it is left empty when the text does not match.
enum LogMatch { match_whole_and_exact, match_start_in_any_case };
bool line_matches(const std::string& pattern, const std::string& text, LogMatch how,
                  std::vector<std::string>* captured = nullptr);

// The time a line starts with, "[21:00:01] " or "[21:00:01.112] " (a leading
// "[...]" that holds only digits, ':' and '.', and the blanks after it): its
// length, 0 when the line has none. *seconds is set to the seconds into the
// day it gives as HH:MM:SS, or -1 when it gives none.
size_t time_prefix_length(const std::string& text, long* seconds);

// A line as a report shows it: escaped, and cut with a word of how much was
// left out when it is longer than a player reads.
std::string shown_log_line(const std::string& text);

// The finding for a damaged end of a log.
Finding damaged_log_finding();

// Lines the checker does not know, shown as they are: the first few, then
// only counted, so that a log full of junk prints a few lines, not a million.
// But a line that matters is never folded away: one that says FATAL, error,
// fail or exception (in any case), or names the plug-in, is shown the first
// time it occurs, followed by how many more like it there are; at most
// kShownLinesThatMatter of them, the rest counted.
struct UnknownLines {
    std::string plugin_name;  // "Ondrelle.asi", or the name of the copy looked at
    size_t shown = 0;         // ordinary lines shown so far
    size_t not_shown = 0;     // lines only counted
    // The lines that matter shown so far: their text without the time, where
    // they are among the findings, and how many more like them followed.
    struct ThatMatters {
        std::string text;
        size_t finding;
        size_t more;
    };
    std::vector<ThatMatters> that_matter;
    // Adds what is shown of some lines (a line, or an entry and how often it
    // was repeated) to findings as it is, or counts the lines.
    void add(const std::vector<std::string>& lines_shown, size_t lines, std::vector<Finding>* findings);
    // The word on how many more like each line that matters there were, and
    // on the lines counted and not shown, added last.
    void close(std::vector<Finding>* findings) const;
};

// How many lines that matter a log shows at most.
const size_t kShownLinesThatMatter = 20;
