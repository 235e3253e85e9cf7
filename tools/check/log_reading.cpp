// Reading the three logs; see log_reading.h.
#include "log_reading.h"

#include "config.h"
#include "log_lines.h"
#include "plain_text.h"

namespace {

// "hh:mm:ss.mmm ", the start of every entry.
bool stamped(const std::string& line) {
    if (line.size() < 13 || line[2] != ':' || line[5] != ':' || line[8] != '.' || line[12] != ' ') return false;
    for (size_t at : {0, 1, 3, 4, 6, 7, 9, 10, 11}) {
        if (!is_digit(line[at])) return false;
    }
    return true;
}

// Cuts " (config:216)", the source file and line that logged the entry,
// off its end; false, changing nothing, when it has none.
bool cut_source_reference(std::string* message) {
    size_t open = message->rfind(" (");
    if (open == std::string::npos || message->back() != ')') return false;
    std::string inside = message->substr(open + 2, message->size() - open - 3);
    size_t colon = inside.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == inside.size()) return false;
    for (size_t at = colon + 1; at < inside.size(); ++at) {
        if (!is_digit(inside[at])) return false;
    }
    message->erase(open);
    return true;
}

// The texts the plug-in logs on several lines (the missing-keys text):
// those lines after a stamped line that finish such a text, source
// reference included, belong to its entry. How many there are; 0 for none.
size_t lines_continuing(const std::vector<LogLine>& lines, size_t first) {
    const std::string start = lines[first].text.substr(13);
    for (const char* text : {kMissingKeysText}) {
        std::string whole = text;
        size_t later = 0;
        for (char c : whole) later += c == '\n';
        if (start != whole.substr(0, whole.find('\n')) || first + later >= lines.size()) continue;
        std::string joined = start;
        for (size_t k = 1; k <= later; ++k) joined += "\n" + lines[first + k].text;
        if (cut_source_reference(&joined) && joined == whole) return later;
    }
    return 0;
}

}  // namespace

std::vector<LogLineRead> log_lines_read(LogName log, const std::string& bytes) {
    std::vector<LogLineRead> lines;
    for (const LogLine& line : log_lines(bytes)) {
        LogLineRead read = {line.text, line.damaged, nullptr, {}};
        read.kind = kind_of_line(log, line.text, &read.captured);
        lines.push_back(read);
    }
    return lines;
}

bool log_tells(const std::vector<LogLineRead>& lines, LineTells tells, const std::string& plugin_name) {
    for (const LogLineRead& line : lines) {
        if (line.kind != nullptr && line.kind->tells == tells && line_is_ours(*line.kind, line.captured, plugin_name))
            return true;
    }
    return false;
}

std::vector<LogEntry> plugin_log_entries(const std::string& bytes) {
    std::vector<LogLine> lines = log_lines(bytes);
    std::vector<LogEntry> entries;
    for (size_t i = 0; i < lines.size(); ++i) {
        const LogLine& line = lines[i];
        LogEntry entry = {{}, line.text, stamped(line.text), line.damaged, nullptr, {}};
        if (!line.text.empty() || !line.damaged) entry.lines.push_back(line.text);
        if (entry.stamped) {
            size_t later = lines_continuing(lines, i);
            entry.message = line.text.substr(13);
            for (size_t k = 1; k <= later; ++k) {
                entry.lines.push_back(lines[i + k].text);
                entry.message += "\n" + lines[i + k].text;
            }
            entry.damaged = lines[i + later].damaged;
            i += later;
            cut_source_reference(&entry.message);
            entry.kind = kind_of_line(plugin_log, entry.message, &entry.captured);
        }
        entries.push_back(entry);
    }
    return entries;
}
