// Ondrelle.log explained; see log_reading.h.
#include "log_reading.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "config.h"
#include "console_text.h"
#include "editor_lines.h"
#include "settings_report.h"
#include "settings_rules.h"
#include "tool_platform.h"

namespace {

// One entry of the log: its time of day and its message, the source
// reference at its end cut off.
struct LogEntry {
    std::string as_written;  // the entry's lines as they are
    std::string message;     // without the time and the source reference
};

// "hh:mm:ss.mmm ", the start of every entry.
bool stamped(const std::string& line) {
    return line.size() >= 13 && line[2] == ':' && line[5] == ':' && line[8] == '.' && line[12] == ' ';
}

std::vector<LogEntry> entries_of(const std::string& text) {
    std::vector<LogEntry> entries;
    size_t position = 0;
    EditorLine editor_line;
    while (next_editor_line(text, &position, &editor_line)) {
        const std::string& line = editor_line.text;
        if (stamped(line) || entries.empty()) {
            entries.push_back(LogEntry{line, stamped(line) ? line.substr(13) : line});
        } else {
            entries.back().as_written += "\n" + line;
            entries.back().message += "\n" + line;
        }
    }
    for (LogEntry& entry : entries) {
        // " (config:216)" ends the entry's last line.
        size_t reference = entry.message.rfind(" (");
        if (reference != std::string::npos && entry.message.back() == ')' &&
            entry.message.find(':', reference) != std::string::npos)
            entry.message.erase(reference);
    }
    return entries;
}

bool starts_with(const std::string& text, const char* start) { return text.compare(0, std::strlen(start), start) == 0; }

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

struct Explanation {
    std::string text;  // empty: a line ondrelle-check does not know
    bool problem;      // it keeps the marker from showing
    int game_line;     // a settings line it names; 0 for none
};

Explanation explain_settings_line(const std::string& message) {
    int line = std::atoi(message.c_str() + std::strlen("Config file line #"));
    std::string fault = message.substr(message.find(": ") + 2);
    if (fault.find("(ferror 1)") != std::string::npos)
        return {"The game could not read Ondrelle.ini past line " + std::to_string(line) +
                    " (a read error), and kept the settings it had. Save the file again.",
                false, line};
    if (starts_with(fault, "didn't reach EOF"))
        return {"The game stopped reading Ondrelle.ini at line " + std::to_string(line) +
                    ", at the fault logged just before, and read nothing after it: that is what \"didn't reach "
                    "EOF\" means. It kept the settings it had and showed its error.",
                false, line};
    return {"A fault on line " + std::to_string(line) +
                " of Ondrelle.ini: the game shows \"Error parsing config file. Check log file for details.\" "
                "instead of the marker until the file is saved without it.",
            false, line};
}

Explanation explain(const std::string& message) {
    if (message == "Script started")
        return {"The script hook started Ondrelle's script: the plug-in was loaded and runs.", false, 0};
    if (message == "Config file reloaded") return {"Ondrelle read Ondrelle.ini and took its settings up.", false, 0};
    if (starts_with(message, "Config file line #")) return explain_settings_line(message);
    if (starts_with(message, kMissingKeysText) || message + "\n" == kMissingKeysText)
        return {
            "Ondrelle.ini lacked one or more of its 18 keys, and the game showed this instead of the marker. "
            "The notes on the settings file above name the keys it lacks now; copy their lines from the "
            "Ondrelle.ini of Ondrelle's package.",
            false, 0};
    if (message == "CreateFile failed")
        return {
            "The game could not open Ondrelle.ini to see whether it had changed: the file was missing, or "
            "another program (an editor, a cloud sync tool) kept it to itself. On screen this shows as "
            "\"Failed to open config file\". Put Ondrelle.ini beside Ondrelle.asi, or close the program that "
            "holds it: the game looks again every second.",
            false, 0};
    if (starts_with(message, "GetFileTime failed: "))
        return {"The game opened Ondrelle.ini but could not read when it was last saved (system error " +
                    message.substr(std::strlen("GetFileTime failed: ")) +
                    "). On screen: \"Error while reading config filetime\". Save the file again; should that not "
                    "help, copy its text into a new Ondrelle.ini.",
                false, 0};
    if (message == "fopen failed")
        return {
            "The game could not open Ondrelle.ini to read it. On screen: \"Failed to open config file for "
            "parsing\". Close any program that keeps the file to itself, then save it again.",
            false, 0};
    if (starts_with(message, "Texture dictionary \"")) {
        size_t end = message.find('"', std::strlen("Texture dictionary \""));
        std::string name =
            message.substr(std::strlen("Texture dictionary \""), end - std::strlen("Texture dictionary \""));
        return {"The game never loaded the texture dictionary \"" + escaped_text(name) +
                    "\", so the marker has no sprite: texture_dict is misspelt, or not a dictionary the game has. "
                    "Use a pair known to exist: " +
                    known_texture_pairs() + ".",
                true, 0};
    }
    return {"", false, 0};
}

// Prints a run of entries with one message (the game logs an open failure
// every second, so an hour without the settings file is 3,600 of them): the
// first as written, how often it came again and when last, then what it
// means, once.
void print_entry_run(const LogEntry& entry, const LogEntry& last, size_t count, const SettingsReport* settings,
                     int* problems) {
    size_t start = 0;
    while (start < entry.as_written.size() || start == 0) {
        size_t end = entry.as_written.find('\n', start);
        if (end == std::string::npos) end = entry.as_written.size();
        print_wrapped(stdout, "  ", escaped_text(entry.as_written.substr(start, end - start)), 4);
        start = end + 1;
    }
    if (count > 1)
        print_wrapped(stdout, "  ",
                      "(repeated " + std::to_string(count - 1) + (count == 2 ? " more time" : " more times") +
                          (stamped(last.as_written) ? ", the last at " + last.as_written.substr(0, 12) : "") + ")",
                      3);
    Explanation explanation = explain(entry.message);
    if (explanation.text.empty()) return;  // a line shown as it is
    *problems += explanation.problem;
    print_wrapped(stdout, explanation.problem ? "    Problem: " : "    ", explanation.text, 6);
    if (explanation.game_line == 0 || settings == nullptr) return;
    int editor_line = 0;
    std::vector<SettingsNote> notes = notes_on_game_line(*settings, explanation.game_line, &editor_line);
    if (notes.empty()) {
        print_wrapped(stdout, "    ",
                      "Ondrelle.ini as it is now has no note on that line: it was fixed since, or the log is from "
                      "an earlier file.",
                      6);
        return;
    }
    print_wrapped(stdout, "    ", "The notes on the settings file say of its line " + std::to_string(editor_line) + ":",
                  6);
    for (const SettingsNote& note : notes) print_wrapped(stdout, "      ", note.text, 8);
}

}  // namespace

int explain_log(const GameFolder& game, const SettingsReport* settings) {
    if (!game.plugin_found) return 0;
    std::string path = in_folder(game.plugin_folder, "Ondrelle.log");
    std::string text;
    int64_t written = 0;
    std::printf("\n");
    bool log_there = !entry_named(game.plugin_folder, "Ondrelle.log").empty();
    if (log_there && (!tool_read_file(path, &text) || !tool_last_write_time(path, &written))) {
        std::printf("== Ondrelle.log\n");
        UnreadableReason why = tool_why_unreadable(path.c_str());
        print_wrapped(stdout, "  ",
                      "Ondrelle.log beside Ondrelle.asi cannot be read: " + unreadable_words(why) + "." +
                          (why == unreadable_folder ? " The plug-in cannot write its log there either: delete that "
                                                      "folder."
                                                    : ""),
                      4);
        return 0;
    }
    if (!log_there) {
        std::printf("== Ondrelle.log\n");
        print_wrapped(stdout, "  ",
                      std::string("There is no Ondrelle.log beside Ondrelle.asi: the plug-in has not been loaded "
                                  "since it was put there (the game was not started since, or the loader or the "
                                  "hook did not load it)") +
                          (game.plugin_folder_written
                               ? "."
                               : ", or it was loaded but could not write its log: its folder cannot be written, "
                                 "as said above."),
                      4);
        return 0;
    }
    std::printf("== Ondrelle.log, last written %s\n", tool_local_time_text(written).c_str());
    print_wrapped(stdout, "  ", "(Its entries give the time of day only; the date is when the file was written.)", 3);
    if (game.plugin_written > written)
        print_wrapped(stdout, "  Note: ",
                      "Ondrelle.log was last written " + tool_local_time_text(written) +
                          ", before this Ondrelle.asi was (" + tool_local_time_text(game.plugin_written) +
                          "): it is from an earlier copy of the plug-in, and what it says may no longer hold. Start "
                          "the game once to get a log of this copy.",
                      4);
    if (text.empty()) {
        print_wrapped(stdout, "  Problem: ",
                      "Ondrelle.log is empty: the plug-in was loaded (it empties its log as it is loaded), but its "
                      "script never started. Either the game did not get past loading, or the script hook did not "
                      "start scripts: see the hook's log, ScriptHookRDR2.log, above.",
                      4);
        return 1;
    }
    int problems = 0;
    std::vector<LogEntry> entries = entries_of(text);
    for (size_t first = 0, count = 1; first < entries.size(); first += count, count = 1) {
        while (first + count < entries.size() && entries[first + count].message == entries[first].message) ++count;
        print_entry_run(entries[first], entries[first + count - 1], count, settings, &problems);
    }
    return problems;
}
