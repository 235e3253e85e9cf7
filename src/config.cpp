// The settings parser and reload cycle; see config.h for the file format.
//
// Relies on the log for fault reports, on the platform layer for the clock,
// the file's last-write time and the shared stream open, and on the C
// library's sscanf ("%f", "%i", C locale) for numbers. Allocates nothing;
// all work is in place in a fixed line buffer and a record under construction.
#include "config.h"

#include <cstring>

#include "common/bounded_text.h"
#include "host/module_paths.h"
#include "key_names.h"
#include "log/log.h"

static const char kSourceName[] = "config";

char config_error_text[kErrorTextCapacity];

const SettingsKey kSettingsKeys[kKnownSettingsKeyCount] = {
    {"size", float_reader, offsetof(Settings, size), 3},
    {"rotation", float_reader, offsetof(Settings, rotation), 4},
    {"opacity", int_reader, offsetof(Settings, opacity), 5},
    {"grow_speed", float_reader, offsetof(Settings, grow_speed), 6},
    {"shrink_speed", float_reader, offsetof(Settings, shrink_speed), 7},
    {"bounce_distance", float_reader, offsetof(Settings, bounce_distance), 8},
    {"bounce_speed", float_reader, offsetof(Settings, bounce_speed), 9},
    {"mark_humans", flag_reader, offsetof(Settings, mark_humans), 0},
    {"mark_animals", flag_reader, offsetof(Settings, mark_animals), 1},
    {"mark_objects", flag_reader, offsetof(Settings, mark_objects), 2},
    {"mark_enemies_in_lock_on_mode", flag_reader, offsetof(Settings, mark_enemies_in_lock_on_mode), 15},
    {"show_during_dead_eye", flag_reader, offsetof(Settings, show_during_dead_eye), 16},
    {"show_in_binoculars", flag_reader, offsetof(Settings, show_in_binoculars), 17},
    {"texture_dict", text_reader, offsetof(Settings, texture_dict), 10},
    {"texture_name", text_reader, offsetof(Settings, texture_name), 11},
    {"ped_bone", text_reader, offsetof(Settings, ped_bone), 12},
    {"ped_bone_offset_z", float_reader, offsetof(Settings, ped_bone_offset_z), 13},
    {"object_offset_z", float_reader, offsetof(Settings, object_offset_z), 14},
    // Optional: the flags yes when absent, toggle_key none.
    {"show_with_hud_hidden", flag_reader, offsetof(Settings, show_with_hud_hidden), 18},
    {"show_in_menus", flag_reader, offsetof(Settings, show_in_menus), 19},
    {"show_in_cinematic_camera", flag_reader, offsetof(Settings, show_in_cinematic_camera), 20},
    {"show_during_eagle_eye", flag_reader, offsetof(Settings, show_during_eagle_eye), 21},
    {"show_in_sniper_scope", flag_reader, offsetof(Settings, show_in_sniper_scope), 22},
    {"toggle_key", key_name_reader, offsetof(Settings, toggle_key), 23},
};

// An optional flag's absence means yes: the marker shows there, as it did
// before the key existed. toggle_key's means none, the zero it starts as: no
// key hides the marker, as none did before.
void start_settings_record(Settings* record) {
    std::memset(record, 0, sizeof *record);
    for (const SettingsKey& key : kSettingsKeys) {
        if (settings_key_optional(key) && key.reader == flag_reader)
            *reinterpret_cast<int32_t*>(reinterpret_cast<char*>(record) + key.field_offset) = 1;
    }
}

// Every text set here fits: the longest, the missing-keys text, is far
// below the capacity, so the copy is never cut and its result says nothing.
static void set_config_error(const char* text) {
    static_cast<void>(copy_text(config_error_text, kErrorTextCapacity, text));
}

// =============================================================================
// The per-line parser
// =============================================================================

static bool is_whitespace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void trim_whitespace(char* text) {
    char* first = text;
    while (*first != 0 && is_whitespace(*first)) ++first;
    if (*first == 0) {
        text[0] = 0;
        return;
    }
    char* last = first + std::strlen(first) - 1;
    while (last > first && is_whitespace(*last)) --last;
    size_t kept = static_cast<size_t>(last - first) + 1;
    std::memmove(text, first, kept);
    text[kept] = 0;
}

void lower_case_ascii(char* text) {
    for (; *text != 0; ++text) {
        if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
    }
}

bool scan_float_value(const char* value, float* number, int* used) {
    *used = 0;
    return std::sscanf(value, "%f%n", number, used) >= 1;
}

bool scan_int_value(const char* value, int32_t* number, int* used) {
    *used = 0;
    int scanned;
    if (std::sscanf(value, "%i%n", &scanned, used) < 1) return false;
    *number = scanned;
    return true;
}

// The readers' quiet part: each stores a good value in its field and says
// whether the value was good, reporting nothing.

static ValueVerdict store_float(const char* value, float* field) {
    float number;
    int used;
    if (!scan_float_value(value, &number, &used)) return value_refused;
    *field = number;
    return value_stored;
}

static ValueVerdict store_int(const char* value, int32_t* field) {
    int32_t number;
    int used;
    if (!scan_int_value(value, &number, &used)) return value_refused;
    *field = number;
    return value_stored;
}

static ValueVerdict store_flag(const char* value, int32_t* field) {
    if (std::strcmp(value, "yes") == 0 || std::strcmp(value, "true") == 0) {
        *field = 1;
    } else if (std::strcmp(value, "no") == 0 || std::strcmp(value, "false") == 0) {
        *field = 0;
    } else {
        return value_refused;
    }
    return value_stored;
}

// A text too long for its field is not kept in part: the field is emptied.
static ValueVerdict store_text(const char* value, char* field) {
    if (copy_text(field, kTextSettingCapacity, value)) return value_stored;
    field[0] = 0;
    return value_refused;
}

static ValueVerdict store_key_name(const char* value, int32_t* field) {
    return parse_toggle_key(value, field) ? value_stored : value_refused;
}

ValueVerdict store_settings_value(const SettingsKey& row, const char* value, Settings* pending) {
    char* field = reinterpret_cast<char*>(pending) + row.field_offset;
    switch (row.reader) {
        case float_reader:
            return store_float(value, reinterpret_cast<float*>(field));
        case int_reader:
            return store_int(value, reinterpret_cast<int32_t*>(field));
        case flag_reader:
            return store_flag(value, reinterpret_cast<int32_t*>(field));
        case text_reader:
            return store_text(value, field);
        case key_name_reader:
            return store_key_name(value, reinterpret_cast<int32_t*>(field));
    }
    return value_refused;
}

bool read_float_key(const char* key, const char* value, const char* expected_name, int line_number, float* field) {
    if (std::strcmp(key, expected_name) != 0) return false;
    if (store_float(value, field) == value_refused) {
        write_log(kSourceName, __LINE__, kLogBadDecimal, line_number, value);
        set_config_error(kGenericParseErrorText);
    }
    return true;
}

bool read_int_key(const char* key, const char* value, const char* expected_name, int line_number, int32_t* field) {
    if (std::strcmp(key, expected_name) != 0) return false;
    if (store_int(value, field) == value_refused) {
        write_log(kSourceName, __LINE__, kLogBadInteger, line_number, value);
        set_config_error(kGenericParseErrorText);
    }
    return true;
}

bool read_flag_key(const char* key, const char* value, const char* expected_name, int line_number, int32_t* field) {
    if (std::strcmp(key, expected_name) != 0) return false;
    if (store_flag(value, field) == value_refused) {
        write_log(kSourceName, __LINE__, kLogBadFlag, line_number, value);
        set_config_error(kGenericParseErrorText);
    }
    return true;
}

bool read_text_key(const char* key, const char* value, const char* expected_name, int line_number, char* field) {
    if (std::strcmp(key, expected_name) != 0) return false;
    if (store_text(value, field) == value_refused) {
        write_log(kSourceName, __LINE__, kLogValueTooLong, line_number, static_cast<int>(kTextSettingCapacity));
        set_config_error(kGenericParseErrorText);
    }
    return true;
}

bool read_key_name_key(const char* key, const char* value, const char* expected_name, int line_number, int32_t* field) {
    if (std::strcmp(key, expected_name) != 0) return false;
    if (store_key_name(value, field) == value_refused) {
        write_log(kSourceName, __LINE__, kLogBadKeyName, line_number, value);
        set_config_error(kGenericParseErrorText);
    }
    return true;
}

// Hands key and value to the reader of row; true when the row took the line.
static bool offer_to_row(const SettingsKey& row, const char* key, const char* value, int line_number,
                         Settings* pending) {
    char* field = reinterpret_cast<char*>(pending) + row.field_offset;
    switch (row.reader) {
        case float_reader:
            return read_float_key(key, value, row.name, line_number, reinterpret_cast<float*>(field));
        case int_reader:
            return read_int_key(key, value, row.name, line_number, reinterpret_cast<int32_t*>(field));
        case flag_reader:
            return read_flag_key(key, value, row.name, line_number, reinterpret_cast<int32_t*>(field));
        case text_reader:
            return read_text_key(key, value, row.name, line_number, field);
        case key_name_reader:
            return read_key_name_key(key, value, row.name, line_number, reinterpret_cast<int32_t*>(field));
    }
    return false;
}

const SettingsKey* read_settings_value(const char* key, const char* value, int line_number, Settings* pending) {
    for (const SettingsKey& row : kSettingsKeys) {
        if (offer_to_row(row, key, value, line_number, pending)) return &row;
    }
    return nullptr;
}

SettingsLineShape split_settings_line(char* line, SettingsLineParts* parts) {
    parts->key = nullptr;
    parts->value = nullptr;
    // The length is tested first, so an overlong comment line is a fault too.
    bool too_long = std::strlen(line) > kMaxLineLength;

    char* comment = std::strpbrk(line, "#;");
    if (comment != nullptr) *comment = 0;
    trim_whitespace(line);
    if (line[0] == 0) return too_long ? line_too_long : line_blank;

    char* equals = std::strchr(line, '=');
    if (equals == nullptr) return too_long ? line_too_long : line_without_equals;
    *equals = 0;
    parts->key = line;
    trim_whitespace(parts->key);
    lower_case_ascii(parts->key);
    parts->value = equals + 1;
    trim_whitespace(parts->value);
    return too_long ? line_too_long : line_key_and_value;
}

// Reports a fault that stops the parse.
static bool stop_with_line_fault() {
    set_config_error(kGenericParseErrorText);
    return false;
}

bool parse_settings_line(char* line, int line_number, Settings* pending, uint32_t* seen_keys) {
    SettingsLineParts parts;
    switch (split_settings_line(line, &parts)) {
        case line_too_long:
            write_log(kSourceName, __LINE__, kLogLineTooLong, line_number, static_cast<int>(kMaxLineLength));
            return stop_with_line_fault();
        case line_blank:
            return true;
        case line_without_equals:
            write_log(kSourceName, __LINE__, kLogNotDelimited, line_number);
            return stop_with_line_fault();
        case line_key_and_value:
            break;
    }
    const SettingsKey* row = read_settings_value(parts.key, parts.value, line_number, pending);
    if (row != nullptr) {
        *seen_keys |= 1u << row->seen_bit;
        return true;
    }
    write_log(kSourceName, __LINE__, kLogUnknownKey, line_number, parts.key);
    return stop_with_line_fault();
}

// =============================================================================
// Whole files and the reload cycle
// =============================================================================

void parse_settings_stream(FILE* stream, SettingsParse* parse) {
    std::memset(parse, 0, sizeof *parse);
    start_settings_record(&parse->settings);
    char line[kLineBufferCapacity];
    while (std::fgets(line, static_cast<int>(sizeof line), stream) != nullptr) {
        ++parse->line_number;
        if (!parse_settings_line(line, parse->line_number, &parse->settings, &parse->seen_keys)) break;
    }
    parse->reached_end = std::feof(stream) != 0;
    parse->read_error = std::ferror(stream) != 0;
}

// The last-write time of no file version: the next successful look parses.
// A failed look forgets the version taken up, so that the file is read again
// as soon as it can be, even when it comes back unchanged.
static const FileTime kNoVersionTakenUp = 0;

bool report_unfinished_parse(const SettingsParse& parse) {
    if (parse.reached_end) return false;
    write_log(kSourceName, __LINE__, kLogUnfinishedParse, parse.line_number, parse.read_error ? 1 : 0);
    set_config_error(kGenericParseErrorText);
    return true;
}

// Decides what a finished parse means for the live settings.
void finish_settings_parse(const SettingsParse& parse, Settings& live) {
    if (report_unfinished_parse(parse)) return;
    if ((parse.seen_keys & kAllKeysSeen) == kAllKeysSeen) {
        live = parse.settings;
        write_log(kSourceName, __LINE__, "%s", kLogReloaded);
    } else {
        write_log(kSourceName, __LINE__, "%s", kMissingKeysText);
        set_config_error(kMissingKeysText);
    }
}

void load_settings_if_changed(Settings& live, FileTime& last_check_time, FileTime& last_file_time) {
    FileTime now = platform_system_time();
    // A clock set back must not stop reloading until it passes the old time.
    bool clock_went_back = now < last_check_time;
    if (!clock_went_back && last_check_time >= now - kMillisecondsBetweenLooks * kFileTimeMillisecond) return;
    last_check_time = now;

    FileTimeLookup lookup = platform_last_write_time(config_path);
    if (lookup.status == file_time_open_failed) {
        write_log(kSourceName, __LINE__, "%s", kLogCreateFileFailed);
        set_config_error(kOpenFailedText);
        last_file_time = kNoVersionTakenUp;
        return;
    }
    if (lookup.status == file_time_read_failed) {
        write_log(kSourceName, __LINE__, kLogGetFileTimeFailed, static_cast<unsigned long>(lookup.error_code));
        set_config_error(kFileTimeFailedText);
        last_file_time = kNoVersionTakenUp;
        return;
    }

    if (lookup.last_write_time == last_file_time) return;
    last_file_time = lookup.last_write_time;
    config_error_text[0] = 0;

    FILE* stream = platform_open_shared(config_path, "r");
    if (stream == nullptr) {
        write_log(kSourceName, __LINE__, "%s", kLogFopenFailed);
        set_config_error(kOpenForParsingFailedText);
        last_file_time = kNoVersionTakenUp;
        return;
    }
    SettingsParse parse;
    parse_settings_stream(stream, &parse);
    finish_settings_parse(parse, live);
    std::fclose(stream);
}
