// The settings checker's notes; see settings_notes.h.
//
// Each line is split and read as the plug-in's parser does (the same line
// lengths, comments, whitespace, keys and conversions of the C library), but
// nothing is logged and no line stops the check.
#include "settings_notes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/bounded_text.h"
#include "config.h"
#include "default_settings.h"

namespace {

// Longest value or line quoted back in a note.
const size_t kQuotedLength = 40;

// What the lines so far have told about the file.
struct FileSoFar {
    std::vector<SettingsNote>* notes;
    int first_line_of_key[kSettingsKeyCount];  // 0 = not seen yet
    int misspelt_on_line[kSettingsKeyCount];   // a line whose unknown key likely means it; 0 = none
    int32_t kinds_marked[3];                   // mark_humans, mark_animals, mark_objects; -1 = unknown
};

void note(FileSoFar* file, int line, const std::string& text) { file->notes->push_back(SettingsNote{line, text}); }

std::string quoted(const std::string& text) {
    if (text.size() <= kQuotedLength) return "\"" + text + "\"";
    return "\"" + text.substr(0, kQuotedLength) + "...\"";
}

std::string number_text(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string lower_case(std::string text) {
    lower_case_ascii(&text[0]);
    return text;
}

// =============================================================================
// Encoding
// =============================================================================

// A file saved as UTF-16 (Notepad's "Unicode") has a byte-order mark FF FE or
// FE FF, or, without one, a NUL byte beside almost every character.
bool looks_like_utf16(const std::string& content) {
    if (content.size() >= 2 &&
        ((content[0] == '\xFF' && content[1] == '\xFE') || (content[0] == '\xFE' && content[1] == '\xFF')))
        return true;
    size_t nul_bytes = 0;
    for (char c : content) nul_bytes += c == 0;
    return content.size() >= 4 && nul_bytes * 3 >= content.size();
}

const char kSaveAs[] = "save it as \"UTF-8\" (without BOM) or \"ANSI\" instead (in Notepad: File > Save as > Encoding)";

// =============================================================================
// Values
// =============================================================================

const SettingsKey* key_named(const std::string& name) {
    for (const SettingsKey& key : kSettingsKeys) {
        if (name == key.name) return &key;
    }
    return nullptr;
}

int key_index(const SettingsKey* key) { return static_cast<int>(key - kSettingsKeys); }

// The default file's value of a key, as an example a player can copy.
std::string default_value(const SettingsKey& key) {
    const char* field = reinterpret_cast<const char*>(&default_settings()) + key.field_offset;
    switch (key.reader) {
        case float_reader:
            return number_text(*reinterpret_cast<const float*>(field));
        case int_reader:
        case flag_reader:
            return number_text(*reinterpret_cast<const int32_t*>(field));
        case text_reader:
            return field;
    }
    return "";
}

// Edits (insert, delete, replace, swap two neighbours) from a to b.
size_t edit_distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

// The real key a misspelt one most likely meant: at most two edits away, and
// fewer than half its length.
const SettingsKey* closest_key(const std::string& key) {
    const SettingsKey* best = nullptr;
    size_t best_distance = 3;
    for (const SettingsKey& candidate : kSettingsKeys) {
        size_t distance = edit_distance(key, candidate.name);
        if (distance < best_distance && distance * 2 < key.size()) {
            best = &candidate;
            best_distance = distance;
        }
    }
    return best;
}

// The numbers that must be above 0 for the marker to be seen as meant.
struct AboveZero {
    const char* key;
    const char* what;
    const char* otherwise;
};
const AboveZero kAboveZero[] = {
    {"size", "a size", "the marker has no size and never shows"},
    {"grow_speed", "a rate", "the marker never grows in, so it never shows"},
    {"shrink_speed", "a rate", "the marker never shrinks away once shown"},
};

void note_float(FileSoFar* file, int line, const SettingsKey& key, const std::string& value) {
    std::string name = key.name;
    std::string example = default_value(key);
    if (value.empty()) return note(file, line, name + " has no value: write a number such as " + example + ".");
    float number = 0;
    int used = 0;
    if (std::sscanf(value.c_str(), "%f%n", &number, &used) < 1)
        return note(file, line,
                    name + " = " + quoted(value) + " is not a number: write one such as " + example +
                        ", with a point before any decimals.");
    std::string rest = value.substr(static_cast<size_t>(used));
    if (std::isnan(number) || std::isinf(number)) {
        std::string lower = lower_case(value);
        bool written_so = lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
        return note(file, line,
                    name + " = " + quoted(value) +
                        (written_so ? " is not a finite number" : " is too large, so it is read as infinity") +
                        ": write an ordinary number such as " + example + ".");
    }
    if (!rest.empty()) {
        std::string read_as = name + " = " + quoted(value) + " is read as " + number_text(number);
        if (rest[0] == ',' && rest.size() > 1 && rest[1] >= '0' && rest[1] <= '9') {
            std::string with_point = value;
            with_point[static_cast<size_t>(used)] = '.';
            note(file, line,
                 read_as + ": the game takes a point, not a comma, before decimals: write " + with_point + ".");
        } else {
            note(file, line,
                 read_as + ": the game ignores " + quoted(rest) + " after the number: write the number alone.");
        }
    }
    for (const AboveZero& rule : kAboveZero) {
        if (name != rule.key || number > 0) continue;
        note(file, line,
             name + " is " + (number == 0 ? "0" : "below 0 (" + number_text(number) + ")") + ": " + rule.otherwise +
                 "; write " + rule.what + " above 0 such as " + example + ".");
    }
}

void note_int(FileSoFar* file, int line, const SettingsKey& key, const std::string& value) {
    std::string name = key.name;
    std::string example = default_value(key);
    if (value.empty()) return note(file, line, name + " has no value: write a whole number such as " + example + ".");
    int number = 0;
    int used = 0;
    if (std::sscanf(value.c_str(), "%i%n", &number, &used) < 1)
        return note(file, line,
                    name + " = " + quoted(value) + " is not a whole number: write one such as " + example + ".");
    // The number as a person reads it: decimal digits after an optional sign.
    size_t digits_from = value[0] == '-' || value[0] == '+' ? 1 : 0;
    size_t digits_end = digits_from;
    while (digits_end < value.size() && value[digits_end] >= '0' && value[digits_end] <= '9') ++digits_end;
    bool hexadecimal = value.compare(digits_from, 2, "0x") == 0 || value.compare(digits_from, 2, "0X") == 0;
    long long meant = std::strtoll(value.substr(0, digits_end).c_str(), nullptr, 10);
    if (!hexadecimal && (meant > 2147483647LL || meant < -2147483648LL))
        return note(
            file, line,
            name + " = " + quoted(value) + " is too large for a whole number: write one such as " + example + ".");
    if (!hexadecimal && value[digits_from] == '0' && digits_end > digits_from + 1 && meant != number) {
        std::string without_zeros = number_text(static_cast<double>(meant));
        note(file, line,
             name + " = " + quoted(value.substr(0, digits_end)) + " is read as " + number_text(number) +
                 ": a leading 0 makes the game read it as an octal number; write " + without_zeros +
                 " without the leading 0.");
    } else if (static_cast<size_t>(used) < value.size()) {
        note(file, line,
             name + " = " + quoted(value) + " is read as " + number_text(number) + ": the game ignores " +
                 quoted(value.substr(static_cast<size_t>(used))) + " after the number: write a whole number alone.");
    }
    if (name == "opacity" && (number < 0 || number > 255))
        note(file, line,
             "opacity is " + number_text(number) +
                 ", outside 0 to 255, the range of the marker's opacity (0 invisible, 255 solid): the game passes "
                 "it on as it is; write a number from 0 to 255.");
    if (name == "opacity" && number == 0)
        note(file, line, "opacity is 0: the marker is fully transparent and never seen; write up to 255 (solid).");
}

void note_flag(FileSoFar* file, int line, const SettingsKey& key, const std::string& value) {
    std::string name = key.name;
    std::string lower = lower_case(value);
    bool known_word = lower == "yes" || lower == "no" || lower == "true" || lower == "false";
    if (known_word && lower != value)
        note(file, line,
             name + " = " + quoted(value) + ": the game takes yes, no, true or false in lower case only: write " +
                 lower + ".");
    else if (!known_word && value.empty())
        note(file, line, name + " has no value: write yes or no.");
    else if (!known_word)
        note(file, line,
             name + " = " + quoted(value) + ": the game takes only yes, no, true or false: write yes or no.");

    int kind = name == "mark_humans" ? 0 : name == "mark_animals" ? 1 : name == "mark_objects" ? 2 : -1;
    if (kind >= 0 && known_word) file->kinds_marked[kind] = lower == "yes" || lower == "true";
}

void note_text(FileSoFar* file, int line, const SettingsKey& key, const std::string& value) {
    std::string name = key.name;
    if (value.size() >= kTextSettingCapacity) {
        note(file, line,
             name + " is " + std::to_string(value.size()) + " characters long: the game takes at most " +
                 std::to_string(kTextSettingCapacity - 1) + " and empties it; shorten it.");
    } else if (value.empty() && name == "ped_bone") {
        note(file, line,
             "ped_bone is empty: no bone is found, so every person and animal gets the marker at the top of "
             "its height, without ped_bone_offset_z; write a bone name such as " +
                 default_value(key) + ".");
    } else if (value.empty()) {
        note(file, line,
             name +
                 " is empty: the marker has no sprite to draw; write a known pair such as texture_dict = "
                 "generic_textures with texture_name = star.");
    }
}

// =============================================================================
// Lines
// =============================================================================

// Notes on one line as the game's line reader returns it (NUL bytes kept).
void note_line(FileSoFar* file, int line, const std::string& raw) {
    std::string seen = raw.substr(0, raw.find('\0'));
    if (seen.size() < raw.size())
        note(file, line, "holds a NUL byte: the game ignores the rest of the line after it; remove it.");
    if (seen.size() > kMaxLineLength)
        return note(file, line,
                    "is " + std::to_string(seen.size()) + " characters long, over the game's limit of " +
                        std::to_string(kMaxLineLength) + " (a comment too): shorten it.");
    // The parser's own steps: cut the comment, trim, split at the first '=',
    // trim both sides, lower-case the key.
    char text[kLineBufferCapacity];
    copy_text(text, sizeof text, seen.c_str());
    char* comment = std::strpbrk(text, "#;");
    if (comment != nullptr) *comment = 0;
    trim_whitespace(text);
    if (text[0] == 0) return;
    char* equals = std::strchr(text, '=');
    std::string whole = text;
    if (equals == nullptr && whole.front() == '[' && whole.back() == ']')
        return note(file, line, quoted(whole) + " is a section header, which Ondrelle does not use: remove the line.");
    if (equals == nullptr)
        return note(file, line,
                    quoted(whole) +
                        " has no \"=\": write key = value, or put ; in front of the line to make it a "
                        "comment.");
    *equals = 0;
    trim_whitespace(text);
    lower_case_ascii(text);
    trim_whitespace(equals + 1);
    std::string key = text;
    std::string value = equals + 1;
    if (key.empty()) return note(file, line, "has no key before \"=\": write key = value.");
    const SettingsKey* row = key_named(key);
    if (row == nullptr) {
        const SettingsKey* meant = closest_key(key);
        if (meant != nullptr) {
            file->misspelt_on_line[key_index(meant)] = line;
            return note(file, line, "unknown key " + quoted(key) + ": did you mean " + meant->name + "?");
        }
        return note(file, line,
                    "unknown key " + quoted(key) + ": Ondrelle knows only the " + std::to_string(kSettingsKeyCount) +
                        " keys of the Ondrelle.ini it comes with; remove the line or put ; in front of it.");
    }
    int& first_line = file->first_line_of_key[key_index(row)];
    if (first_line != 0)
        note(file, line,
             key + " is given again here, first on line " + std::to_string(first_line) +
                 ": the last good value counts; keep only one line for it.");
    else
        first_line = line;
    switch (row->reader) {
        case float_reader:
            return note_float(file, line, *row, value);
        case int_reader:
            return note_int(file, line, *row, value);
        case flag_reader:
            return note_flag(file, line, *row, value);
        case text_reader:
            return note_text(file, line, *row, value);
    }
}

// The note on where the game stops reading.
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

void note_whole_file(FileSoFar* file) {
    std::string missing;
    int missing_count = 0;
    for (int i = 0; i < kSettingsKeyCount; ++i) {
        if (file->first_line_of_key[i] != 0) continue;
        missing += std::string(missing.empty() ? "" : ", ") + kSettingsKeys[i].name;
        if (file->misspelt_on_line[i] != 0)
            missing += " (misspelt on line " + std::to_string(file->misspelt_on_line[i]) + "?)";
        ++missing_count;
    }
    if (missing_count > 0)
        note(file, 0,
             std::to_string(missing_count) + (missing_count == 1 ? " key is" : " keys are") +
                 " missing from the whole file: " + missing + ". Correct a misspelt key, or copy " +
                 (missing_count == 1 ? "its line" : "their lines") +
                 " from the Ondrelle.ini that comes with Ondrelle.");
    if (file->kinds_marked[0] == 0 && file->kinds_marked[1] == 0 && file->kinds_marked[2] == 0)
        note(file, 0,
             "mark_humans, mark_animals and mark_objects are all no: nothing you focus on is ever marked; set one "
             "of them to yes.");
}

}  // namespace

std::vector<SettingsNote> settings_notes(const std::string& content, int stop_line, bool read_error) {
    std::vector<SettingsNote> notes;
    FileSoFar file = {&notes, {}, {}, {-1, -1, -1}};
    if (looks_like_utf16(content)) {
        note(&file, 1,
             std::string("the file is saved as UTF-16 (Notepad's \"Unicode\"), which the game cannot read: ") +
                 kSaveAs + ".");
        return notes;
    }
    bool byte_order_mark = content.compare(0, 3, "\xEF\xBB\xBF") == 0;
    if (byte_order_mark)
        note(&file, 1,
             std::string("the file starts with a UTF-8 byte-order mark (BOM), which the game reads as part of the "
                         "first line: ") +
                 kSaveAs + ".");
    if (content.find('\r') != std::string::npos && content.find('\n') == std::string::npos)
        note(&file, 1,
             "the lines end in a carriage return alone (old Mac line ends), so the game reads the whole file as "
             "one line: save it with Windows (CR LF) line ends.");
    // Lines as the game's line reader cuts them: up to and including a line
    // feed, at most one byte short of its buffer.
    int line = 0;
    for (size_t start = 0; start < content.size();) {
        size_t feed = content.find('\n', start);
        size_t end = std::min(feed == std::string::npos ? content.size() : feed + 1, start + kLineBufferCapacity - 1);
        ++line;
        // The rest of a first line behind a byte-order mark is checked on its own.
        size_t skipped = line == 1 && byte_order_mark ? 3 : 0;
        note_line(&file, line, content.substr(start + skipped, end - start - skipped));
        if (line == stop_line) note_stop(&file, line, read_error);
        start = end;
    }
    note_whole_file(&file);
    return notes;
}
