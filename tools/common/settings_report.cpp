// The tools' settings report; see settings_report.h.
#include "settings_report.h"

#include <string>
#include <vector>

#include "config.h"
#include "file_bytes.h"
#include "plain_text.h"
#include "settings_notes.h"
#include "settings_rules.h"
#include "tool_log.h"
#include "tool_platform.h"

namespace {

// The game's reading: the log's messages, and the error it would show
// (empty when none).
std::string read_as_the_game(FILE* stream, SettingsParse* parse, std::vector<std::string>* messages) {
    config_error_text[0] = 0;
    begin_keeping_log_messages();
    parse_settings_stream(stream, parse);
    Settings live{};
    finish_settings_parse(*parse, live);
    *messages = end_keeping_log_messages();
    std::string error = config_error_text;
    config_error_text[0] = 0;
    return error;
}

std::string whole_content(FILE* stream) {
    std::string content;
    std::rewind(stream);
    read_rest_of(stream, &content);
    return content;
}

void add(ReportPart* part, const std::string& prefix, const std::string& text, size_t indent) {
    part->paragraphs.push_back(Paragraph{prefix, text, indent});
}

// Each line of each message, as the log holds them, without time and source.
void add_log_messages(ReportPart* part, const std::vector<std::string>& messages) {
    add(part, "", "The game's log (Ondrelle.log) would read:", 0);
    for (const std::string& message : messages) {
        size_t start = 0;
        while (start < message.size() || start == 0) {
            size_t end = message.find('\n', start);
            if (end == std::string::npos) end = message.size();
            add(part, "  ", escaped_text(message.substr(start, end - start)), 4);
            start = end + 1;
        }
    }
}

// The verdict: whether the game shows its error, and if not, whether the
// marker can be seen at all with the settings it takes.
std::string verdict_words(const SettingsReport& report) {
    if (!report.error.empty())
        return "Verdict: the game shows an error instead of the marker: \"" +
               report.error.substr(0, report.error.find('\n')) + "\"";
    if (report.marker_hidden)
        return "Verdict: the game accepts this file, but the marker never shows: the notes below say why.";
    return "Verdict: the game accepts this file cleanly.";
}

}  // namespace

bool game_accepts_settings_file(FILE* stream) {
    SettingsParse parse;
    std::vector<std::string> messages;
    return read_as_the_game(stream, &parse, &messages).empty();
}

SettingsReport read_settings_report(FILE* stream) {
    SettingsParse parse;
    SettingsReport report = {};
    report.error = read_as_the_game(stream, &parse, &report.log_messages);
    report.game_accepts = report.error.empty();
    report.content = whole_content(stream);
    report.read = parse.settings;
    report.complete = parse.reached_end && (parse.seen_keys & kAllKeysSeen) == kAllKeysSeen;
    report.marker_hidden = report.game_accepts && notes_hide_the_marker(notes_on_settings(parse.settings));
    report.notes = settings_notes(report.content, parse.reached_end ? 0 : parse.line_number, parse.read_error);
    return report;
}

bool settings_pass(const SettingsReport& report, bool strict) {
    return report.game_accepts && !(strict && !report.notes.empty());
}

ReportPart settings_report_part(const SettingsReport& report, const std::string& shown_name, bool strict) {
    ReportPart part = {shown_name, {}, {}, false};
    add_log_messages(&part, report.log_messages);
    add(&part, "", verdict_words(report), 2);
    if (!report.notes.empty()) add(&part, "", "Notes (from ondrelle-check; they change nothing in the game):", 0);
    for (const SettingsNote& note : report.notes)
        add(&part, note.line > 0 ? "  line " + std::to_string(note.line) + ": " : "  whole file: ", note.text, 4);
    bool one = report.notes.size() == 1;
    if (strict && report.game_accepts && !report.notes.empty())
        add(&part, "",
            one ? "--strict: the note above counts as a fault." : "--strict: the notes above count as faults.", 0);
    part.tally.notes = static_cast<int>(report.notes.size());
    if (!report.game_accepts || report.marker_hidden)
        part.tally.problem_named = "the verdict on Ondrelle.ini";
    else if (!settings_pass(report, strict))
        part.tally.strict_notes = report.notes.size();
    return part;
}

std::string unreadable_words(UnreadableReason why) {
    switch (why) {
        case unreadable_missing:
            return "there is no such file";
        case unreadable_folder:
            return "it is a folder, not a file";
        case unreadable_denied:
            break;
    }
    return "it may not be read (no permission, or another program keeps it to itself)";
}

ReportPart unreadable_file_part(const char* program, const char* path) {
    std::string text = path[0] == 0
                           ? std::string(program) + ": cannot read a file without a name: an empty name names no file."
                           : std::string(program) + ": cannot read " + tool_full_path(path) + ": " +
                                 unreadable_words(tool_why_unreadable(path)) + ".";
    return ReportPart{"", {Paragraph{"", text, 2}}, {}, true};
}
