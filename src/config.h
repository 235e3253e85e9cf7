// Ondrelle's settings: the record of the values that steer the marker, the
// parser of the settings file Ondrelle.ini, and the reload cycle that keeps
// the live record in step with the file while the game runs.
//
// A settings file is lines of "key = value"; '#' or ';' starts a comment
// anywhere. Every fault goes to the log with its line number and leaves a
// text in config_error_text, which the script shows on screen instead of the
// marker. A live record is only ever replaced whole, by a file read to its end
// that holds all 18 required keys: a bad file never costs the player a good
// one. The optional keys after them may be left out; a file without one reads
// as if it held the key's default, so that a file written for an earlier
// release behaves exactly as it did there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/platform.h"

// Room for a text setting with its terminating NUL.
const size_t kTextSettingCapacity = 128;

// Room for config_error_text with its terminating NUL.
const size_t kErrorTextCapacity = 1024;

// The line buffer: a line as the line reader returns it, with its NUL.
const size_t kLineBufferCapacity = 2048;

// Longest line accepted, its line feed counted; longer is a line fault.
const size_t kMaxLineLength = 2000;

// The settings file is looked at once a second at most. The reload's
// throttle counts this in the system time; the script asks the cheaper
// monotonic count first whether it can have passed at all.
const uint64_t kMillisecondsBetweenLooks = 1000;

struct Settings {
    int32_t mark_humans;  // flags: non-zero = yes
    int32_t mark_animals;
    int32_t mark_objects;
    int32_t mark_enemies_in_lock_on_mode;
    int32_t show_during_dead_eye;
    int32_t show_in_binoculars;
    float size;
    float rotation;
    int32_t opacity;
    float grow_speed;
    float shrink_speed;
    float bounce_distance;
    float bounce_speed;
    char texture_dict[kTextSettingCapacity];
    char texture_name[kTextSettingCapacity];
    char ped_bone[kTextSettingCapacity];
    float ped_bone_offset_z;
    float object_offset_z;
    // The optional keys. Five flags that are yes when absent: when no, the
    // marker hides where the game hides its own HUD.
    int32_t show_with_hud_hidden;
    int32_t show_in_menus;
    int32_t show_in_cinematic_camera;
    int32_t show_during_eagle_eye;
    int32_t show_in_sniper_scope;
    // The key that hides and shows the marker, with its modifiers
    // (key_names.h); none, 0, when absent.
    int32_t toggle_key;
};

// ---- What the settings side says: on screen and in the log ----
//
// Each text is named once, here: the parser and the reload cycle write
// these very names, and ondrelle-check recognises a log line by them, so a
// text reworded here is reworded for the checker too. The log's are
// write_log formats.

// On screen instead of the marker, through config_error_text.
constexpr char kGenericParseErrorText[] = "Error parsing config file. Check log file for details.";
constexpr char kMissingKeysText[] =
    "Error in config file: One or more keys are missing.\n"
    "If you just updated the mod, check the changelog or the default config file for new values.\n";
constexpr char kOpenFailedText[] = "Failed to open config file";
constexpr char kFileTimeFailedText[] = "Error while reading config filetime";
constexpr char kOpenForParsingFailedText[] = "Failed to open config file for parsing";

// In the log. The missing-keys text is logged as it is shown.
constexpr char kLogReloaded[] = "Config file reloaded";
constexpr char kLogCreateFileFailed[] = "CreateFile failed";
constexpr char kLogGetFileTimeFailed[] = "GetFileTime failed: %lu";  // the system's error code
constexpr char kLogFopenFailed[] = "fopen failed";
constexpr char kLogLineTooLong[] = "Config file line #%i: line too long (>%i)";  // the longest line accepted
constexpr char kLogNotDelimited[] = "Config file line #%i: not delimited by '='";
constexpr char kLogUnknownKey[] = "Config file line #%i: unknown key: %s";
constexpr char kLogBadDecimal[] = "Config file line #%i: failed to parse value (expected a decimal number): %s";
constexpr char kLogBadInteger[] = "Config file line #%i: failed to parse value (expected an integer): %s";
constexpr char kLogBadFlag[] = "Config file line #%i: failed to parse value (expected yes/no): %s";
constexpr char kLogBadKeyName[] =
    "Config file line #%i: failed to parse value (expected a key name such as F7, CTRL+F7 or none): %s";
constexpr char kLogValueTooLong[] = "Config file line #%i: value too long (>%i)";             // a text field's capacity
constexpr char kLogUnfinishedParse[] = "Config file line #%i: didn't reach EOF (ferror %i)";  // 1 after a read error

// The pending settings fault; empty means none. Set by the parser and the
// reload cycle, emptied by a reload of a changed file and at script start.
extern char config_error_text[kErrorTextCapacity];

// ---- The key table ----

enum KeyReader { float_reader, int_reader, flag_reader, text_reader, key_name_reader };

struct SettingsKey {
    const char* name;     // lower case; matched byte for byte
    KeyReader reader;     // how its value is read
    size_t field_offset;  // where in Settings the value goes
    int seen_bit;         // its bit in the seen-keys set
};

// The keys a file must hold: their seen bits are 0 to 17.
const int kSettingsKeyCount = 18;

// The keys a file may leave out, after the required ones in the table: their
// seen bits lie above the required ones' and count for nothing towards a
// complete file.
const int kOptionalSettingsKeyCount = 6;

// Every key the parser knows.
const int kKnownSettingsKeyCount = kSettingsKeyCount + kOptionalSettingsKeyCount;

// One bit per required key, all set: every required key was seen. A file is
// complete when its seen keys hold these bits, whatever optional keys it has.
const uint32_t kAllKeysSeen = (1u << kSettingsKeyCount) - 1;

// The seen bits of the optional keys.
const uint32_t kOptionalKeysSeen = ((1u << kKnownSettingsKeyCount) - 1) & ~kAllKeysSeen;

// The keys in matching order: the required ones, then the optional ones.
extern const SettingsKey kSettingsKeys[kKnownSettingsKeyCount];

// Whether a file may leave key out.
inline bool settings_key_optional(const SettingsKey& key) { return key.seen_bit >= kSettingsKeyCount; }

// Makes record what a parse starts from: every required field zero and every
// optional key at its default (the flags yes, toggle_key none), so that a
// file without it reads as if it held it. A value the file gives then
// overwrites the default.
void start_settings_record(Settings* record);

// ---- The per-line parser ----

// Removes leading and trailing space, tab, CR and LF from text, in place.
void trim_whitespace(char* text);

// Turns the ASCII letters A to Z of text into a to z, in place; every other
// byte stays as it is. Keys are matched so.
void lower_case_ascii(char* text);

// The shape of one settings line as the parser sees it, in the order it
// tests them: its length (a comment counts), then, once the comment is cut and
// the whitespace trimmed, whether anything is left and whether it holds '='.
enum SettingsLineShape {
    line_too_long,        // over kMaxLineLength characters, line feed counted: a line fault
    line_blank,           // nothing but whitespace and a comment: skipped
    line_without_equals,  // text without '=': a line fault
    line_key_and_value,   // a key and a value, to be read
};

// Where a split line's key and value lie, in the line's own buffer: the key
// trimmed and lower-cased, the value trimmed with its case kept. Both null
// when the line holds no '='.
struct SettingsLineParts {
    char* key;
    char* value;
};

// Splits one line (in a writable buffer, changed in place) as the parser
// does, and says its shape. The parts are filled for a line that is too long
// as well, as far as it splits, so that a tool can name its key; the parser
// stops at such a line all the same. Logs nothing, sets nothing.
SettingsLineShape split_settings_line(char* line, SettingsLineParts* parts);

// What a key reader makes of a value.
enum ValueVerdict {
    value_stored,   // a good value, stored in its field
    value_refused,  // a bad value: the field is left as it was (a text too long is emptied)
};

// Reads value into row's field of pending as row's reader does, and says
// whether the reader takes it. Logs nothing and sets no error text: the key
// readers below report what it refuses, and the tools ask it how the game
// reads a value.
ValueVerdict store_settings_value(const SettingsKey& row, const char* value, Settings* pending);

// Offers a key and its value to the key table in its order. The first row
// whose name equals the key reads the value into pending (a bad value is
// logged with line_number and sets the generic error text, as every reader
// does) and is returned; null, with nothing read or reported, when no row
// has the key's name.
const SettingsKey* read_settings_value(const char* key, const char* value, int line_number, Settings* pending);

// Parses one line (in a writable buffer, changed in place) into pending and
// marks its key in seen_keys. Returns false when the line is faulty in a way
// that stops the parse (too long, no '=', unknown key); a bad value is
// reported but the parse goes on and the key still counts as seen. Every fault
// is logged with line_number and sets config_error_text to the generic text.
bool parse_settings_line(char* line, int line_number, Settings* pending, uint32_t* seen_keys);

// Reads the number a value begins with, as the number readers below do (the
// C library's "%f" or "%i" in the C locale): returns whether there is one,
// with the number and how many characters of value it took. The rest of the
// value is ignored, as the readers ignore it.
bool scan_float_value(const char* value, float* number, int* used);
bool scan_int_value(const char* value, int32_t* number, int* used);

// The key readers. Each returns false, doing nothing, when key is not
// expected_name; otherwise it stores a good value in field, or reports a bad
// one and leaves field as it was (a too-long text empties it), and returns true.
// Their result decides whether the key counts as seen, so none may be lost.
// read_key_name_key reads toggle_key's value as parse_toggle_key does
// (key_names.h).
[[nodiscard]] bool read_float_key(const char* key, const char* value, const char* expected_name, int line_number,
                                  float* field);
[[nodiscard]] bool read_int_key(const char* key, const char* value, const char* expected_name, int line_number,
                                int32_t* field);
[[nodiscard]] bool read_flag_key(const char* key, const char* value, const char* expected_name, int line_number,
                                 int32_t* field);
[[nodiscard]] bool read_text_key(const char* key, const char* value, const char* expected_name, int line_number,
                                 char* field);
[[nodiscard]] bool read_key_name_key(const char* key, const char* value, const char* expected_name, int line_number,
                                     int32_t* field);

// ---- Whole files ----

// One attempt at parsing a whole file.
struct SettingsParse {
    Settings settings;   // what the lines filled in; as start_settings_record left it where they did not
    uint32_t seen_keys;  // one bit per key seen
    int line_number;     // number of the last line read
    bool reached_end;    // the stream's end-of-file indicator was set
    bool read_error;     // the stream's error indicator was set
};

// Reads stream line by line through parse_settings_line until the end or a
// line fault. Does not close the stream.
void parse_settings_stream(FILE* stream, SettingsParse* parse);

// When the parse stopped before the end of its file (a line fault or a read
// error), logs that with the line reached and sets the generic error text, and
// returns true; otherwise does nothing and returns false.
bool report_unfinished_parse(const SettingsParse& parse);

// What a finished parse means for the live settings, as the reload cycle
// decides it: an unfinished parse is reported; a complete key set replaces
// live and logs "Config file reloaded"; otherwise the missing keys are logged
// and shown. The settings checker runs the same decision.
void finish_settings_parse(const SettingsParse& parse, Settings& live);

// ---- The reload cycle ----

// Called once per frame. At most once a second it reads the settings file's
// last-write time; when that changed, or when the last look failed, it parses
// the file and replaces live only with a complete file read to its end.
// Failures are logged and left in config_error_text. Looks at once when the
// system clock was set back. Allocates nothing itself; opens no file when
// throttled.
void load_settings_if_changed(Settings& live, FileTime& last_check_time, FileTime& last_file_time);
