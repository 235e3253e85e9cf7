// Ondrelle.log explained; see log_reading.h.
#include "log_reading.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "config.h"
#include "editor_lines.h"
#include "log_lines.h"
#include "plain_text.h"
#include "script_main.h"
#include "settings_rules.h"

namespace {

// =============================================================================
// Entries
// =============================================================================

// One entry of the log as written: its lines, and its message without the
// time of day and the source reference.
struct LogEntry {
    std::vector<std::string> lines;
    std::string message;
    bool stamped;  // it starts with the time of day, as each of Ondrelle's entries does
    bool damaged;  // a run of NUL bytes followed it
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

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
// Any other line without a time of day is a line of its own.
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

std::vector<LogEntry> entries_of(const std::string& bytes) {
    std::vector<LogLine> lines = log_lines(bytes);
    std::vector<LogEntry> entries;
    for (size_t i = 0; i < lines.size(); ++i) {
        const LogLine& line = lines[i];
        LogEntry entry = {{}, line.text, stamped(line.text), line.damaged};
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
        }
        entries.push_back(entry);
    }
    return entries;
}

// =============================================================================
// What each entry means
// =============================================================================

enum EntryKind {
    script_started,
    settings_reloaded,
    settings_line_fault,
    parse_stopped,
    keys_missing,
    file_open_failed,
    file_time_failed,
    stream_open_failed,
    texture_dict_not_loaded,
};

// Each entry the plug-in writes, by the text that writes it.
struct KnownEntry {
    const char* format;
    EntryKind kind;
};

// clang-format off
const KnownEntry kKnownEntries[] = {
    {kLogScriptStarted,        script_started},
    {kLogReloaded,             settings_reloaded},
    {kLogLineTooLong,          settings_line_fault},
    {kLogNotDelimited,         settings_line_fault},
    {kLogUnknownKey,           settings_line_fault},
    {kLogBadDecimal,           settings_line_fault},
    {kLogBadInteger,           settings_line_fault},
    {kLogBadFlag,              settings_line_fault},
    {kLogValueTooLong,         settings_line_fault},
    {kLogUnfinishedParse,      parse_stopped},
    {kMissingKeysText,         keys_missing},
    {kLogCreateFileFailed,     file_open_failed},
    {kLogGetFileTimeFailed,    file_time_failed},
    {kLogFopenFailed,          stream_open_failed},
    {kLogTextureDictNotLoaded, texture_dict_not_loaded},
};
// clang-format on

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The checker's notes now on the line of the settings file that the game
// counted as line game_line, in the editor's numbering.
std::vector<SettingsNote> notes_on_game_line(const SettingsReport& settings, int game_line, int* editor_line) {
    *editor_line = editor_line_at(settings.content, game_line_start(settings.content, game_line));
    std::vector<SettingsNote> notes;
    for (const SettingsNote& note : settings.notes) {
        if (note.line == *editor_line) notes.push_back(note);
    }
    return notes;
}

// What the settings file says now of a line the log named: its notes, or
// that the fault is gone. The fault itself is the settings verdict's to
// weigh, so a line that still has notes adds none.
Finding settings_line_now(Finding finding, int game_line, const LogContext& context) {
    if (context.settings == nullptr) return finding;
    int editor_line = 0;
    std::vector<SettingsNote> notes = notes_on_game_line(*context.settings, game_line, &editor_line);
    if (!notes.empty()) {
        finding.text += " The notes on the settings file say of its line " + std::to_string(editor_line) + ":";
        for (const SettingsNote& note : notes) finding.detail.push_back(note.text);
    } else if (context.settings_saved_since) {
        finding.weight = finding_note;
        finding.text +=
            " Fixed since: Ondrelle.ini was saved after this log was written, and has no fault on that "
            "line now.";
    } else {
        finding.text += " Ondrelle.ini as it is now has no note on that line: the log may be from an earlier file.";
    }
    return finding;
}

Finding explain_settings_line(const std::string& line_text, const LogContext& context) {
    int line = std::atoi(line_text.c_str());
    return settings_line_now(
        said(finding_fine, "A fault on line " + std::to_string(line) + " of Ondrelle.ini: the game showed " +
                               quoted(kGenericParseErrorText) +
                               " instead of the marker until the file was saved without it."),
        line, context);
}

Finding explain_parse_stopped(const std::vector<std::string>& captured, const LogContext& context) {
    int line = std::atoi(captured[0].c_str());
    std::string at = std::to_string(line);
    if (captured[1] != "0")
        return settings_line_now(said(finding_fine, "The game could not read Ondrelle.ini past line " + at +
                                                        " (a read error), and kept the settings it had. Save "
                                                        "the file again."),
                                 line, context);
    return settings_line_now(said(finding_fine, "The game stopped reading Ondrelle.ini at line " + at +
                                                    ", at the fault logged just before, and read nothing after "
                                                    "it: that is what \"didn't reach EOF\" means. It kept the "
                                                    "settings it had and showed its error."),
                             line, context);
}

Finding explain_missing_keys(const LogContext& context) {
    std::string lacked = "Ondrelle.ini lacked one or more of its " + std::to_string(kSettingsKeyCount) +
                         " keys, and the game showed this instead of the marker.";
    if (context.settings == nullptr || !context.settings->complete)
        return said(finding_fine, lacked +
                                      " The notes on the settings file above name the keys it lacks now; copy "
                                      "their lines from the Ondrelle.ini of Ondrelle's package.");
    if (context.settings_saved_since)
        return said(finding_note, lacked +
                                      " Fixed since: Ondrelle.ini was saved after this log was written, and "
                                      "holds every key now.");
    return said(finding_fine, lacked +
                                  " Ondrelle.ini as it is now holds every key: the log may be from an earlier "
                                  "file.");
}

Finding explain_texture_dict(const std::string& named, const LogContext& context) {
    std::string never = "The game never loaded the texture dictionary " + quoted(escaped_text(named)) +
                        ", so the marker had no sprite.";
    const char* now = context.settings != nullptr ? context.settings->read.texture_dict : nullptr;
    if (now != nullptr && named != now && context.settings_saved_since)
        return said(finding_note, never +
                                      " Fixed since: Ondrelle.ini, saved after this log was written, names the "
                                      "texture dictionary " +
                                      quoted(escaped_text(now)) + " now.");
    if (now != nullptr && named != now)
        return said(finding_fine, never + " Ondrelle.ini as it is now names " + quoted(escaped_text(now)) +
                                      " instead: the log may be from an earlier file.");
    return said(finding_problem, never +
                                     " texture_dict is misspelt, or not a dictionary the game has: use a pair "
                                     "known to exist: " +
                                     known_texture_pairs() + ".");
}

// The finding of a message the plug-in wrote; false for one it does not write.
bool explain(const std::string& message, const LogContext& context, Finding* finding) {
    std::vector<std::string> captured;
    for (const KnownEntry& known : kKnownEntries) {
        if (!line_matches(known.format, message, match_whole_and_exact, &captured)) continue;
        switch (known.kind) {
            case script_started:
                *finding = said(finding_fine, "The script hook started Ondrelle's script: the plug-in was loaded.");
                return true;
            case settings_reloaded:
                *finding = said(finding_fine, "Ondrelle read Ondrelle.ini and took its settings up.");
                return true;
            case settings_line_fault:
                *finding = explain_settings_line(captured[0], context);
                return true;
            case parse_stopped:
                *finding = explain_parse_stopped(captured, context);
                return true;
            case keys_missing:
                *finding = explain_missing_keys(context);
                return true;
            case file_open_failed:
                *finding = said(finding_fine,
                                "The game could not open Ondrelle.ini to see whether it had changed: the file was "
                                "missing, or another program (an editor, a cloud sync tool) kept it to itself. On "
                                "screen this showed as " +
                                    quoted(kOpenFailedText) +
                                    ". Put Ondrelle.ini beside Ondrelle.asi, or close the program that holds it: "
                                    "the game looks again every second.");
                return true;
            case file_time_failed:
                *finding = said(finding_fine,
                                "The game opened Ondrelle.ini but could not read when it was last saved (system "
                                "error " +
                                    captured[0] + "). On screen: " + quoted(kFileTimeFailedText) +
                                    ". Save the file again; should that not help, copy its text into a new "
                                    "Ondrelle.ini.");
                return true;
            case stream_open_failed:
                *finding = said(finding_fine, "The game could not open Ondrelle.ini to read it. On screen: " +
                                                  quoted(kOpenForParsingFailedText) +
                                                  ". Close any program that keeps the file to itself, then save "
                                                  "it again.");
                return true;
            case texture_dict_not_loaded:
                *finding = explain_texture_dict(captured[0], context);
                return true;
        }
    }
    return false;
}

// "(repeated 3 more times, the last at 20:14:10.061)" under a run's first entry.
std::string repeated_words(size_t count, const LogEntry& last) {
    return "(repeated " + std::to_string(count - 1) + (count == 2 ? " more time" : " more times") +
           (last.stamped ? ", the last at " + last.lines.front().substr(0, 12) : "") + ")";
}

bool same_run(const LogEntry& a, const LogEntry& b) {
    return !a.damaged && !a.lines.empty() && !b.lines.empty() && a.stamped == b.stamped && a.message == b.message;
}

}  // namespace

std::vector<Finding> explain_log_entries(const std::string& bytes, const LogContext& context) {
    std::vector<LogEntry> entries = entries_of(bytes);
    std::vector<Finding> findings;
    UnknownLines unknown;
    for (size_t first = 0, count = 1; first < entries.size(); first += count, count = 1) {
        while (first + count < entries.size() && same_run(entries[first + count - 1], entries[first + count])) ++count;
        const LogEntry& entry = entries[first];
        const LogEntry& last = entries[first + count - 1];
        std::vector<std::string> shown;
        for (const std::string& line : entry.lines) shown.push_back(shown_log_line(line));
        if (count > 1) shown.push_back(repeated_words(count, last));
        Finding finding = said(finding_fine, "");
        if (entry.stamped && explain(entry.message, context, &finding)) {
            finding.shown = shown;
            findings.push_back(finding);
        } else if (!shown.empty()) {
            unknown.add(shown, count * entry.lines.size(), &findings);
        }
        if (last.damaged) findings.push_back(damaged_log_finding());
    }
    unknown.close(&findings);
    return findings;
}
