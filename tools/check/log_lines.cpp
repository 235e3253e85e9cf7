// Reading any log's lines; see log_lines.h.
#include "log_lines.h"

#include <cctype>

#include "editor_lines.h"
#include "plain_text.h"

namespace {

// Longest line shown whole, in characters: two lines of the console. A
// longer one is junk more often than not, and the start tells what it is.
const size_t kShownLineLength = 2 * 70;

// How many lines the checker does not know are shown, per log.
const size_t kShownUnknownLines = 5;

bool same_character(char a, char b, LogMatch how) {
    if (how == match_whole_and_exact) return a == b;
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// Where the number the conversion at pattern[p] stands for ends in text
// from t, and how long the conversion is; false when none starts there.
bool skip_number(const std::string& pattern, size_t p, const std::string& text, size_t* t, size_t* length,
                 std::vector<std::string>* captured) {
    bool signed_number = pattern.compare(p, 2, "%i") == 0;
    if (!signed_number && pattern.compare(p, 3, "%lu") != 0) return false;
    *length = signed_number ? 2 : 3;
    size_t at = *t;
    if (signed_number && at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    size_t digits = at;
    while (at < text.size() && is_digit(text[at])) ++at;
    if (at == digits) return false;
    if (captured != nullptr) captured->push_back(text.substr(*t, at - *t));
    *t = at;
    return true;
}

bool match_from(const std::string& pattern, size_t p, const std::string& text, size_t t, LogMatch how,
                std::vector<std::string>* captured) {
    while (p < pattern.size()) {
        if (pattern.compare(p, 2, "%s") == 0) {
            // The longest text that lets the rest match; what the rest
            // captures is already in captured when this one goes in, and
            // what a failed try captured is taken out again.
            for (size_t end = text.size() + 1; end-- > t;) {
                size_t before = captured != nullptr ? captured->size() : 0;
                if (!match_from(pattern, p + 2, text, end, how, captured)) {
                    if (captured != nullptr) captured->resize(before);
                    continue;
                }
                if (captured != nullptr)
                    captured->insert(captured->begin() + static_cast<long>(before), text.substr(t, end - t));
                return true;
            }
            return false;
        }
        size_t length = 0;
        if (pattern[p] == '%') {
            if (!skip_number(pattern, p, text, &t, &length, captured)) return false;
            p += length;
            continue;
        }
        if (t >= text.size() || !same_character(pattern[p], text[t], how)) return false;
        ++p;
        ++t;
    }
    return how == match_start_in_any_case || t == text.size();
}

}  // namespace

std::vector<LogLine> log_lines(const std::string& bytes) {
    std::vector<LogLine> lines;
    size_t position = 0;
    EditorLine line;
    while (next_editor_line(bytes, &position, &line)) {
        size_t nul = line.text.find('\0');
        bool damaged = nul != std::string::npos;
        // A run of NUL bytes over several lines is one damaged stretch.
        if (damaged && nul == 0 && !lines.empty() && lines.back().damaged) continue;
        lines.push_back(LogLine{damaged ? line.text.substr(0, nul) : line.text, damaged});
    }
    return lines;
}

bool line_matches(const std::string& pattern, const std::string& text, LogMatch how,
                  std::vector<std::string>* captured) {
    if (captured != nullptr) captured->clear();
    bool matched = match_from(pattern, 0, text, 0, how, captured);
    if (!matched && captured != nullptr) captured->clear();
    return matched;
}

std::string shown_log_line(const std::string& text) {
    std::string shown = escaped_text(text);
    size_t columns = text_columns(shown);
    if (columns <= kShownLineLength) return shown;
    return first_columns(shown, kShownLineLength) + "... (" + std::to_string(columns - kShownLineLength) +
           " more characters not shown)";
}

Finding damaged_log_finding() {
    return said(finding_note,
                "The end of the log is damaged (a run of NUL bytes): the game was cut off before the log "
                "was written whole, by a crash or a power cut. Start the game again for a whole log.");
}

void UnknownLines::add(const std::vector<std::string>& lines_shown, size_t lines, std::vector<Finding>* findings) {
    if (shown >= kShownUnknownLines) {
        not_shown += lines;
        return;
    }
    shown += lines;
    findings->push_back(Finding{finding_fine, "", lines_shown, {}});
}

void UnknownLines::close(std::vector<Finding>* findings) const {
    if (not_shown == 0) return;
    size_t left = not_shown;
    findings->push_back(said(finding_fine, "(" + std::to_string(left) + (left == 1 ? " more line" : " more lines") +
                                               " that ondrelle-check does not know, not shown)"));
}
