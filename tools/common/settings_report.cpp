// The tools' settings report and their write_log.
#include "settings_report.h"

#include <string>
#include <vector>

#include "config.h"
#include "console_text.h"
#include "file_bytes.h"
#include "settings_notes.h"
#include "settings_rules.h"
#include "tool_log.h"
#include "tool_platform.h"

// The game's reading: the log's messages, and the error it would show
// (empty when none).
static std::string read_as_the_game(FILE* stream, SettingsParse* parse, std::vector<std::string>* messages) {
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

// Each line of each message, as the log holds them, without time and source.
static void print_log_messages(const std::vector<std::string>& messages) {
    std::printf("The game's log (Ondrelle.log) would read:\n");
    for (const std::string& message : messages) print_message_lines(stdout, "  ", message, 4);
}

static std::string whole_content(FILE* stream) {
    std::string content;
    std::rewind(stream);
    read_rest_of(stream, &content);
    return content;
}

bool game_accepts_settings_file(FILE* stream) {
    SettingsParse parse;
    std::vector<std::string> messages;
    return read_as_the_game(stream, &parse, &messages).empty();
}

// The verdict: whether the game shows its error, and if not, whether the
// marker can be seen at all with the settings it takes.
static void print_verdict(const std::string& error, bool marker_hidden) {
    if (!error.empty()) {
        print_wrapped(
            stdout, "",
            "Verdict: the game shows an error instead of the marker: \"" + error.substr(0, error.find('\n')) + "\"", 2);
    } else if (marker_hidden) {
        print_wrapped(stdout, "",
                      "Verdict: the game accepts this file, but the marker never shows: the notes below say why.", 2);
    } else {
        std::printf("Verdict: the game accepts this file cleanly.\n");
    }
}

void print_settings_note(const SettingsNote& note) {
    print_wrapped(stdout, note.line > 0 ? "  line " + std::to_string(note.line) + ": " : "  whole file: ", note.text,
                  4);
}

SettingsReport report_settings_file(FILE* stream, const char* shown_name) {
    print_wrapped(stdout, "== ", shown_name, 3);
    SettingsParse parse;
    std::vector<std::string> messages;
    std::string error = read_as_the_game(stream, &parse, &messages);
    print_log_messages(messages);
    SettingsReport report = {
        error.empty(),         false,
        whole_content(stream), {},
        parse.settings,        parse.reached_end && (parse.seen_keys & kAllKeysSeen) == kAllKeysSeen};
    report.marker_hidden = report.game_accepts && notes_hide_the_marker(notes_on_settings(parse.settings));
    print_verdict(error, report.marker_hidden);

    report.notes = settings_notes(report.content, parse.reached_end ? 0 : parse.line_number, parse.read_error);
    if (!report.notes.empty()) std::printf("Notes (from ondrelle-check; they change nothing in the game):\n");
    for (const SettingsNote& note : report.notes) print_settings_note(note);
    return report;
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

void report_unreadable_file(const char* program, const char* path) {
    if (path[0] == 0) {
        std::fprintf(stderr, "%s: cannot read a file without a name: an empty name names no file.\n", program);
        return;
    }
    std::fprintf(stderr, "%s: cannot read %s: %s.\n", program, tool_full_path(path).c_str(),
                 unreadable_words(tool_why_unreadable(path)).c_str());
}
