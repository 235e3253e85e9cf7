// Reading any log's lines; see log_lines.h.
#include "log_lines.h"

#include <cctype>
#include <cstdio>

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

size_t time_prefix_length(const std::string& text, long* seconds) {
    *seconds = -1;
    size_t close = text.find(']');
    if (text.empty() || text[0] != '[' || close == std::string::npos || close < 2) return 0;
    std::string inside = text.substr(1, close - 1);
    if (inside.find_first_not_of("0123456789:.") != std::string::npos) return 0;
    unsigned int hours = 0, minutes = 0, whole = 0;
    char end = 0;
    if (std::sscanf(inside.c_str(), "%2u:%2u:%2u%c", &hours, &minutes, &whole, &end) >= 3 && hours < 24 &&
        minutes < 60 && whole < 60 && (end == 0 || end == '.'))
        *seconds = static_cast<long>(hours * 3600 + minutes * 60 + whole);
    size_t after = text.find_first_not_of(' ', close + 1);
    return after == std::string::npos ? text.size() : after;
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

namespace {

// Whether a line that no kind explains matters all the same: it tells of an
// error, or of the plug-in.
bool tells_of_an_error(const std::string& text) {
    std::string lower = lower_case(text);
    for (const char* word : {"fatal", "error", "fail", "exception"}) {
        if (lower.find(word) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

void UnknownLines::add(const std::vector<std::string>& lines_shown, size_t lines, std::vector<Finding>* findings) {
    std::string text;
    for (const std::string& line : lines_shown) {
        long seconds = 0;
        text += line.substr(time_prefix_length(line, &seconds)) + "\n";
    }
    bool names_plugin = lower_case(text).find(lower_case(plugin_name)) != std::string::npos;
    if (tells_of_an_error(text) || names_plugin) {
        for (ThatMatters& earlier : that_matter) {
            if (earlier.text != text) continue;
            ++earlier.more;
            return;
        }
        if (that_matter.size() < kShownLinesThatMatter) {
            that_matter.push_back(ThatMatters{text, findings->size(), 0});
            Finding finding = {finding_fine, "", lines_shown, {}};
            if (names_plugin && tells_of_an_error(text))
                finding = Finding{finding_note,
                                  "This line names " + plugin_name +
                                      " and tells of an error, in words ondrelle-check does not know. Should the "
                                      "marker not show, send this log when you ask for help.",
                                  lines_shown,
                                  {}};
            findings->push_back(finding);
            return;
        }
        not_shown += lines;
        return;
    }
    if (shown >= kShownUnknownLines) {
        not_shown += lines;
        return;
    }
    shown += lines;
    findings->push_back(Finding{finding_fine, "", lines_shown, {}});
}

void UnknownLines::close(std::vector<Finding>* findings) const {
    for (const ThatMatters& line : that_matter) {
        if (line.more > 0)
            (*findings)[line.finding].shown.push_back("(" + std::to_string(line.more) + " more like it)");
    }
    if (not_shown == 0) return;
    size_t left = not_shown;
    findings->push_back(said(finding_fine, "(" + std::to_string(left) + (left == 1 ? " more line" : " more lines") +
                                               " that ondrelle-check does not know, not shown)"));
}
