// The settings checker's notes; see settings_notes.h.
//
// Lines are counted as the player's editor counts them. Each is split by the
// plug-in's own line splitter and its value read by the plug-in's own key
// readers; what a value means for the marker comes from the settings rules.
// Nothing is logged, and no line stops the check.
#include "settings_notes.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "config.h"
#include "editor_lines.h"
#include "plain_text.h"
#include "settings_rules.h"

namespace {

// What the lines so far have told about the file.
struct FileSoFar {
    std::vector<SettingsNote>* notes;
    int first_line_of_key[kKnownSettingsKeyCount];  // 0 = not seen yet
    int good_line_of_key[kKnownSettingsKeyCount];   // the line of its last good value, the one the game keeps; 0 = none
    int misspelt_on_line[kKnownSettingsKeyCount];   // a line whose unknown key likely means it; 0 = none
    int too_long_on_line[kKnownSettingsKeyCount];   // a line of the key too long for the game; 0 = none
    Settings read_on;                               // the last good value of each key, read to the file's end
    uint32_t good_keys;                             // keys read with a good value: their seen bits
    bool returns_only;                              // the lines end in carriage returns alone
    bool told_of_pieces;                            // a line the game reads in pieces was noted
};

void note(FileSoFar* file, int line, const std::string& text) { file->notes->push_back(SettingsNote{line, text}); }

void note_rules(FileSoFar* file, int line, const std::vector<RuleNote>& rule_notes) {
    for (const RuleNote& rule_note : rule_notes) note(file, line, rule_note.text);
}

int key_index(const SettingsKey* key) { return static_cast<int>(key - kSettingsKeys); }

// =============================================================================
// Encoding
// =============================================================================

// A file saved as UTF-16 (Notepad's "UTF-16 LE", "Unicode" in older
// Notepad) has a byte-order mark FF FE or
// FE FF, or, without one, a NUL byte beside almost every character.
bool looks_like_utf16(const std::string& content) {
    if (content.size() >= 2 &&
        ((content[0] == '\xFF' && content[1] == '\xFE') || (content[0] == '\xFE' && content[1] == '\xFF')))
        return true;
    size_t nul_bytes = 0;
    for (char c : content) nul_bytes += c == 0;
    return content.size() >= 4 && nul_bytes * 3 >= content.size();
}

// Notepad's names on Windows 10 and 11; older Notepad has no "UTF-8" without
// a BOM, so "ANSI" is the one that serves there.
const char kSaveAs[] =
    "save it as \"UTF-8\" (not \"UTF-8 with BOM\") or as \"ANSI\" instead (in Notepad: File > Save as, then "
    "Encoding; older Notepad: \"ANSI\")";
const char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// =============================================================================
// Keys
// =============================================================================

// The real key a misspelt one most likely meant; null when none is near.
const SettingsKey* closest_key(const std::string& key) {
    std::vector<const char*> names;
    for (const SettingsKey& candidate : kSettingsKeys) names.push_back(candidate.name);
    const char* meant = name_meant(key, names);
    return meant == nullptr ? nullptr : settings_key_named(meant);
}

void note_unknown_key(FileSoFar* file, int line, const std::string& key) {
    const SettingsKey* meant = closest_key(key);
    if (meant != nullptr) {
        file->misspelt_on_line[key_index(meant)] = line;
        return note(file, line, "unknown key " + shown_value(key) + ": did you mean " + meant->name + "?");
    }
    note(file, line,
         "unknown key " + shown_value(key) + ": Ondrelle knows only the " + std::to_string(kKnownSettingsKeyCount) +
             " keys of the Ondrelle.ini it comes with; remove the line or put ; in front of it.");
}

// The key's value, as the game read it, into the record of the whole file:
// a text setting's field, or a flag's or a number's four bytes.
void keep_value(const SettingsKey& key, const Settings& from, Settings* to) {
    static_assert(sizeof(float) == sizeof(int32_t), "a number's field is four bytes, whatever its kind");
    size_t size = key.reader == text_reader ? kTextSettingCapacity : sizeof(int32_t);
    std::memcpy(reinterpret_cast<char*>(to) + key.field_offset, reinterpret_cast<const char*>(&from) + key.field_offset,
                size);
}

// A known key's line: given before, how its value is read, and what the value
// does to the marker.
void note_key_and_value(FileSoFar* file, int line, const SettingsKey& key, const std::string& value) {
    int& first_line = file->first_line_of_key[key_index(&key)];
    if (first_line != 0)
        note(file, line,
             std::string(key.name) + " is given again here, first on line " + std::to_string(first_line) +
                 ": the last good value counts; keep only one line for it.");
    else
        first_line = line;
    ValueReading reading = read_value_as_the_game(key, value);
    bool read_as_written = true;
    for (const RuleNote& rule_note : notes_on_value_text(reading)) {
        note(file, line, rule_note.text);
        read_as_written = rule_note.outcome != rule_not_known;
    }
    // A value the game refuses, or reads as nobody can tell, has no meaning
    // for the marker to explain.
    if (reading.refused || !read_as_written) return;
    note_rules(file, line, notes_on_key(reading.read, key));
    keep_value(key, reading.read, &file->read_on);
    file->good_keys |= 1u << key.seen_bit;
    file->good_line_of_key[key_index(&key)] = line;
}

// =============================================================================
// Lines
// =============================================================================

void note_line_too_long(FileSoFar* file, int line, const std::string& seen, const SettingsLineParts& parts) {
    note(file, line,
         "is " + std::to_string(seen.size()) + " characters long, counting its line end, over the game's limit of " +
             std::to_string(kMaxLineLength) + " (a comment too): shorten it.");
    if (seen.size() > kLineBufferCapacity - 1 && !file->told_of_pieces) {
        file->told_of_pieces = true;
        note(file, line,
             "the game reads a line this long in pieces of " + std::to_string(kLineBufferCapacity - 1) +
                 " characters, each as a line of its own, so the line numbers in its log run ahead of your "
                 "editor's after it; these notes count lines as your editor does.");
    }
    const SettingsKey* key = parts.key != nullptr ? settings_key_named(parts.key) : nullptr;
    if (key != nullptr) file->too_long_on_line[key_index(key)] = line;
}

// A line of the file as the editor shows it, as the game's parser gets it:
// up to a NUL byte, with its line feed.
std::string line_as_the_game_reads(const EditorLine& editor_line) {
    const std::string& text = editor_line.text;
    size_t nul = text.find('\0');
    if (nul != std::string::npos) return text.substr(0, nul);
    return editor_line.end != line_end_none ? text + "\n" : text;
}

// A line in a writable, terminated buffer, for the game's own splitter.
std::vector<char> line_buffer(const std::string& line) {
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back(0);
    return buffer;
}

// Notes on one line of the file as the editor shows it; seen is the line as
// the game's parser gets it.
void note_line(FileSoFar* file, int line, const EditorLine& editor_line) {
    if (editor_line.text.find('\0') != std::string::npos)
        note(file, line, "holds a NUL byte: the game ignores the rest of the line after it; remove it.");
    if (editor_line.end == line_end_return && !file->returns_only)
        note(file, line,
             "ends in a carriage return alone, which the game does not take as a line end: it reads this line and "
             "the next as one; save the file with Windows (CR LF) line ends.");
    std::string seen = line_as_the_game_reads(editor_line);
    std::vector<char> buffer = line_buffer(seen);
    SettingsLineParts parts;
    switch (split_settings_line(buffer.data(), &parts)) {
        case line_too_long:
            return note_line_too_long(file, line, seen, parts);
        case line_blank:
            return;
        case line_without_equals: {
            std::string whole = buffer.data();
            if (whole.front() == '[' && whole.back() == ']')
                return note(file, line,
                            shown_value(whole) + " is a section header, which Ondrelle does not use: remove the line.");
            return note(file, line,
                        shown_value(whole) +
                            " has no \"=\": write key = value, or put ; in front of the line to make it a comment.");
        }
        case line_key_and_value:
            break;
    }
    if (parts.key[0] == 0) return note(file, line, "has no key before \"=\": write key = value.");
    const SettingsKey* key = settings_key_named(parts.key);
    if (key == nullptr) return note_unknown_key(file, line, parts.key);
    note_key_and_value(file, line, *key, parts.value);
}

// The note on where the game stops reading: a line fault, or a read error.
void note_stop(FileSoFar* file, int line, bool read_error) {
    if (read_error)
        return note(file, line,
                    "the file could not be read past this line (a read error; the log says \"didn't reach EOF "
                    "(ferror 1)\"): the game keeps the settings it had. Save the file again.");
    note(file, line,
         "the game stops reading at this line and reads nothing after it: that is what \"didn't reach EOF\" in "
         "its log means. Until this line is fixed it keeps the settings it had and shows the error; the lines "
         "below are checked here all the same.");
}

// =============================================================================
// The whole file
// =============================================================================

// A file without an optional key reads it as its default: only a required
// key can be missing.
void note_missing_keys(FileSoFar* file) {
    std::string missing;
    int missing_count = 0;
    bool too_long_any = false;
    for (int i = 0; i < kKnownSettingsKeyCount; ++i) {
        if (file->first_line_of_key[i] != 0 || settings_key_optional(kSettingsKeys[i])) continue;
        too_long_any = too_long_any || file->too_long_on_line[i] != 0;
        missing += std::string(missing.empty() ? "" : ", ") + kSettingsKeys[i].name;
        if (file->too_long_on_line[i] != 0)
            missing += " (on line " + std::to_string(file->too_long_on_line[i]) + ", too long for the game)";
        else if (file->misspelt_on_line[i] != 0)
            missing += " (misspelt on line " + std::to_string(file->misspelt_on_line[i]) + "?)";
        ++missing_count;
    }
    if (missing_count == 0) return;
    bool one = missing_count == 1;
    note(file, 0,
         std::to_string(missing_count) + (one ? " key is" : " keys are") + " missing from the whole file: " + missing +
             ". Correct a misspelt key" + (too_long_any ? ", shorten a line that is too long," : ",") + " or copy " +
             (one ? "its line" : "their lines") + " from the Ondrelle.ini that comes with Ondrelle.");
}

}  // namespace

std::vector<OptionalKeyLine> optional_keys_given(const std::string& content) {
    std::vector<OptionalKeyLine> given;
    if (looks_like_utf16(content)) return given;
    for (const SettingsLineSeen& line : settings_lines_seen(content)) {
        if (line.shape != line_key_and_value || line.row == nullptr || !settings_key_optional(*line.row)) continue;
        bool given_before = false;
        for (const OptionalKeyLine& earlier : given) given_before = given_before || earlier.key == line.row;
        if (!given_before) given.push_back(OptionalKeyLine{line.row, line.line});
    }
    return given;
}

std::vector<SettingsNote> settings_notes(const std::string& content, int stop_line, bool read_error) {
    std::vector<SettingsNote> notes;
    FileSoFar file = {&notes, {}, {}, {}, {}, Settings{}, 0, false, false};
    if (looks_like_utf16(content)) {
        note(&file, 1,
             std::string("the file is saved as UTF-16 (Notepad's \"UTF-16 LE\", \"Unicode\" in older Notepad), which "
                         "the game cannot read: ") +
                 kSaveAs + ".");
        return notes;
    }
    bool byte_order_mark = content.compare(0, 3, kUtf8ByteOrderMark) == 0;
    if (byte_order_mark)
        note(&file, 1,
             std::string("the file starts with a UTF-8 byte-order mark (BOM), which the game reads as part of the "
                         "first line: ") +
                 kSaveAs + ".");
    file.returns_only = content.find('\r') != std::string::npos && content.find('\n') == std::string::npos;
    if (file.returns_only)
        note(&file, 1,
             "the lines end in a carriage return alone (old Mac line ends), so the game reads the whole file as "
             "one line: save it with Windows (CR LF) line ends. These notes count lines as your editor does.");

    // Where the game stopped, on the editor's line that holds it.
    size_t stop_at = stop_line > 0 ? game_line_start(content, stop_line) : std::string::npos;
    size_t position = byte_order_mark ? 3 : 0;
    EditorLine editor_line;
    for (int line = 1; next_editor_line(content, &position, &editor_line); ++line) {
        note_line(&file, line, editor_line);
        size_t line_start = line == 1 ? 0 : editor_line.start;  // a byte-order mark is the first line's
        if (stop_at != std::string::npos && stop_at >= line_start && stop_at < position) {
            note_stop(&file, line, read_error);
            stop_at = std::string::npos;
        }
    }
    note_missing_keys(&file);
    // A rule that reads other keys too can be weighed only once the whole file
    // is read; its note goes on the line of its key's value the game keeps.
    for (const RuleNote& rule_note : notes_reading_other_keys(file.read_on, file.good_keys))
        note(&file, file.good_line_of_key[key_index(rule_note.key)], rule_note.text);
    // In the editor's order of lines, the notes on the whole file last.
    std::stable_sort(notes.begin(), notes.end(), [](const SettingsNote& a, const SettingsNote& b) {
        return (a.line == 0 ? INT_MAX : a.line) < (b.line == 0 ? INT_MAX : b.line);
    });
    return notes;
}

std::vector<SettingsLineSeen> settings_lines_seen(const std::string& content) {
    std::vector<SettingsLineSeen> lines;
    size_t position = content.compare(0, 3, kUtf8ByteOrderMark) == 0 ? 3 : 0;
    EditorLine editor_line;
    for (int line = 1; next_editor_line(content, &position, &editor_line); ++line) {
        std::vector<char> buffer = line_buffer(line_as_the_game_reads(editor_line));
        SettingsLineParts parts = {nullptr, nullptr};
        SettingsLineShape shape = split_settings_line(buffer.data(), &parts);
        if (shape == line_blank) continue;
        SettingsLineSeen seen_line = {
            line,    shape, parts.key != nullptr ? parts.key : "", parts.value != nullptr ? parts.value : "",
            nullptr, false};
        seen_line.row = settings_key_named(seen_line.key);
        if (shape == line_key_and_value && seen_line.row != nullptr)
            seen_line.refused = read_value_as_the_game(*seen_line.row, seen_line.value).refused;
        lines.push_back(seen_line);
    }
    return lines;
}
