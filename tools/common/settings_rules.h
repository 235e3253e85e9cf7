// What a setting's value means for the marker, written once: one table of
// rules, one rule to a row, each a setting, the other settings it reads, a
// test, its consequence and its fix. Every tool reads this table:
// ondrelle-check's note on a value's line and ondrelle-preview's lines under
// its title, so they cannot disagree.
//
// A row tests either the value's text on a line (how the game reads what was
// written: "0,03", "50%", "Yes") or the settings as the game read them (what
// the values do to the marker: size 0, all kinds switched off). Values are
// read with the plug-in's own key readers. Nothing here changes what the game
// does; a rule only explains it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config.h"
#include "plain_text.h"

// What a rule's consequence is for the player.
enum RuleOutcome {
    rule_refused,          // the game refuses the value: its error shows instead of the marker
    rule_read_otherwise,   // the game takes the value, but reads it otherwise than written
    rule_hides_marker,     // the marker is never seen
    rule_not_known,        // the game takes it; what it draws then is not known
    rule_shows_otherwise,  // the marker shows, but otherwise than most players mean
    // As the name a text setting gives, when the game finds no such thing:
    // no sprite hides the marker, no bone moves it (kNamedThings).
    rule_as_for_the_name,
    // The marker hides in some of the game's states because the setting
    // asks it to: what the setting is for, so the preview says it under its
    // title, and the checker, which notes what was likely not meant, does not.
    rule_hides_as_asked,
};

// A value on a line as the game reads it, for the rows on a value's text.
struct ValueReading {
    const SettingsKey* key;  // the key table's row for the line's key
    std::string text;        // the value as written (trimmed, comment cut)
    bool refused;            // the game's reader refused it (a value fault)
    Settings read;           // a record holding the value as read, zero elsewhere
};

// The most other keys a rule reads besides its own.
const int kRuleMostOtherKeys = 2;

struct SettingsRule {
    // The key the row is about, on whose line its note stands; null for a
    // row that holds for every key its reader reads.
    const char* key;
    KeyReader reader;
    // The other keys its test reads, which the file must hold too; null
    // where there are fewer.
    const char* needs[kRuleMostOtherKeys];
    // The test: exactly one is set. On the value's text, it may give the
    // value that was meant ({meant} in the texts); on the settings as read,
    // it is given the row's key.
    bool (*text_test)(const ValueReading& value, std::string* meant);
    bool (*settings_test)(const Settings& settings, const SettingsKey& key);
    RuleOutcome outcome;
    const char* example;  // a settings line, or lines, that the rule is about
    // The note is "<subject>: <consequence>; <fix>." with these filled in:
    // {key}; {value} or {read}, the value as read; {default}, the default
    // file's; {beside_zero}, ", below 0" for a number below 0; for a text
    // setting {unquoted}, {what} it names and what the marker does
    // {if_not_found}; {limit}, a text's longest; {texture_dict} and
    // {texture_meant}, the known texture texture_name is a slip away from;
    // on a value's text also {text}, as written, {meant}, {rest} after the
    // number, {number_text}, its digits, and {length}. A name not in this
    // list stops the program: no note prints a hole.
    const char* subject;
    const char* consequence;
    const char* fix;
};

extern const SettingsRule kSettingsRules[];
extern const int kSettingsRuleCount;

// The sprites known to be in the game: each texture dictionary with the
// textures known to be in it, the pairs a player can start from. The game
// has more; these are the ones known to work.
struct KnownTextureDict {
    const char* dict;
    std::vector<const char*> names;
};
extern const std::vector<KnownTextureDict> kKnownTextures;

// The known pairs in words: "texture_dict = generic_textures with
// texture_name = star, ... or lock; texture_dict = ...".
std::string known_texture_pairs();

// toggle_key's key names in words, runs of them as the first and the last:
// "F1 to F24, A to Z, 0 to 9, NUMPAD0 to NUMPAD9, INSERT, ... and SCROLLLOCK".
std::string key_names_in_words();

// One rule that applies, in the player's words.
struct RuleNote {
    const SettingsRule* rule;
    const SettingsKey* key;  // the key it is about: its line
    RuleOutcome outcome;     // the rule's, as it holds for that key
    std::string text;        // "<subject>: <consequence>; <fix>."
};

// Reads a line's value as the game does, with the key table's reader for
// key (a key the table has), quietly: nothing is logged and no error text is
// set; the reader's own verdict says whether it refused the value.
ValueReading read_value_as_the_game(const SettingsKey& key, const std::string& text);

// The note of the first row on the value's text that applies to it, if any:
// how the game reads what was written. At most one per value.
std::vector<RuleNote> notes_on_value_text(const ValueReading& value);

// The notes of the rows on the settings about key, that read no other key,
// which apply to settings: what the value on key's line does that was most
// likely not meant (a row of rule_hides_as_asked is not among them).
std::vector<RuleNote> notes_on_key(const Settings& settings, const SettingsKey& key);

// The notes of the rows on the settings that read other keys besides their
// own, of those whose keys are all in seen_keys (the key table's seen bits),
// which apply to settings: each on its own key's line. As notes_on_key, no
// row of rule_hides_as_asked.
std::vector<RuleNote> notes_reading_other_keys(const Settings& settings, uint32_t seen_keys);

// The notes of every row on the settings that applies, key by key in the key
// table's order: a whole record's, what it does as asked included.
std::vector<RuleNote> notes_on_settings(const Settings& settings);

// Whether any of the notes says that the marker is never seen.
bool notes_hide_the_marker(const std::vector<RuleNote>& notes);

// The key table's row of a key name, or null.
const SettingsKey* settings_key_named(const std::string& name);

// A value shown in a note: in quotes (unless written in quotes), control
// bytes escaped, a long one cut short.
std::string shown_value(const std::string& text);
