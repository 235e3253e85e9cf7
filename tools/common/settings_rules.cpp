// The table of settings rules, and how a rule's note is worded; see
// settings_rules.h. The first part holds the tests, the second the table,
// the third the wording.
#include "settings_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "default_settings.h"
#include "key_names.h"
#include "plain_text.h"

namespace {

// Longest value quoted back in a note.
const size_t kShownLength = 40;

std::string number_text(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

bool is_quoted(const std::string& text) { return text.size() >= 2 && text.front() == '"' && text.back() == '"'; }

std::string unquoted(const std::string& text) { return is_quoted(text) ? text.substr(1, text.size() - 2) : text; }

// Names joined by ", " and, before the last, by last_joint (" or ").
template <typename Name>
std::string listed(const std::vector<Name>& names, const char* last_joint) {
    std::string text;
    for (size_t n = 0; n < names.size(); ++n)
        text += std::string(n == 0 ? "" : n + 1 == names.size() ? last_joint : ", ") + names[n];
    return text;
}

// Whether an upper-case text is one of toggle_key's key names.
bool key_name_of_text(const std::string& text) {
    for (int k = 0; k < kKeyNameCount; ++k) {
        if (text == kKeyNames[k].name) return true;
    }
    return false;
}

bool is_flag_word(const std::string& text) {
    return text == "yes" || text == "no" || text == "true" || text == "false";
}

const char* field_of(const Settings& settings, const SettingsKey& key) {
    return reinterpret_cast<const char*>(&settings) + key.field_offset;
}

float float_of(const Settings& settings, const SettingsKey& key) {
    return *reinterpret_cast<const float*>(field_of(settings, key));
}

int32_t int_of(const Settings& settings, const SettingsKey& key) {
    return *reinterpret_cast<const int32_t*>(field_of(settings, key));
}

// =============================================================================
// The tests on a value's text: how the game reads what was written
// =============================================================================

// How many characters of the value the game's number reader takes.
int number_length(const ValueReading& value) {
    float real;
    int32_t whole;
    int used = 0;
    if (value.key->reader == float_reader) scan_float_value(value.text.c_str(), &real, &used);
    if (value.key->reader == int_reader) scan_int_value(value.text.c_str(), &whole, &used);
    return used;
}

// What follows the number, which the game ignores.
std::string rest_of(const ValueReading& value) { return value.text.substr(static_cast<size_t>(number_length(value))); }

float real_read(const ValueReading& value) { return float_of(value.read, *value.key); }
int32_t whole_read(const ValueReading& value) { return int_of(value.read, *value.key); }

bool has_no_value(const ValueReading& value, std::string*) { return value.text.empty(); }

bool number_in_quotes(const ValueReading& value, std::string* meant) {
    *meant = unquoted(value.text);
    return is_quoted(value.text) && value.refused;
}

bool not_a_number(const ValueReading& value, std::string*) { return value.refused; }

bool written_not_finite(const ValueReading& value, std::string*) {
    std::string lower = lower_case(value.text);
    bool written_so = lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
    return !std::isfinite(real_read(value)) && written_so;
}

bool too_large_real(const ValueReading& value, std::string*) { return !std::isfinite(real_read(value)); }

// A setting that is a share of the screen's height: "3%" of it is 0.03.
bool percent_of_screen(const ValueReading& value, std::string* meant) {
    *meant = number_text(real_read(value) / 100.0);
    return rest_of(value).compare(0, 1, "%") == 0;
}

bool comma_before_decimals(const ValueReading& value, std::string* meant) {
    std::string rest = rest_of(value);
    if (rest.size() < 2 || rest[0] != ',' || rest[1] < '0' || rest[1] > '9') return false;
    *meant = value.text;
    (*meant)[value.text.size() - rest.size()] = '.';
    return true;
}

bool ignored_after_number(const ValueReading& value, std::string* meant) {
    *meant = value.text.substr(0, static_cast<size_t>(number_length(value)));
    return !rest_of(value).empty();
}

// The whole number as a person reads it: decimal digits after a sign.
size_t digits_from(const std::string& text) { return text[0] == '-' || text[0] == '+' ? 1 : 0; }
size_t digits_end(const std::string& text) {
    size_t end = digits_from(text);
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return end;
}
bool hexadecimal(const std::string& text) {
    return text.compare(digits_from(text), 2, "0x") == 0 || text.compare(digits_from(text), 2, "0X") == 0;
}
long long decimal_meant(const std::string& text) {
    return std::strtoll(text.substr(0, digits_end(text)).c_str(), nullptr, 10);
}

bool too_large_whole(const ValueReading& value, std::string*) {
    long long meant = decimal_meant(value.text);
    return !hexadecimal(value.text) && (meant > 2147483647LL || meant < -2147483648LL);
}

// Opacity runs from 0 to 255: "50%" of it is 128.
bool percent_of_opacity(const ValueReading& value, std::string* meant) {
    long share = std::lround(std::fmin(std::fmax(whole_read(value), 0), 100) * 255.0 / 100.0);
    *meant = std::to_string(share);
    return rest_of(value).compare(0, 1, "%") == 0;
}

bool leading_zero(const ValueReading& value, std::string* meant) {
    const std::string& text = value.text;
    size_t from = digits_from(text);
    *meant = std::to_string(decimal_meant(text));
    return !hexadecimal(text) && text[from] == '0' && digits_end(text) > from + 1 &&
           decimal_meant(text) != whole_read(value);
}

bool flag_in_quotes(const ValueReading& value, std::string* meant) {
    *meant = lower_case(unquoted(value.text));
    return is_quoted(value.text) && is_flag_word(*meant);
}

bool flag_in_capitals(const ValueReading& value, std::string* meant) {
    *meant = lower_case(value.text);
    return value.refused && is_flag_word(*meant);
}

bool other_word(const ValueReading& value, std::string*) { return value.refused; }

bool text_too_long(const ValueReading& value, std::string*) { return value.text.size() >= kTextSettingCapacity; }

// A name a slip of the fingers away from one of names, which it is not
// (whatever the case of its letters). A name in quotes or after a second
// '=' has a note of its own.
const char* known_name_meant(const std::string& name, const std::vector<const char*>& names) {
    if (is_quoted(name) || name.compare(0, 1, "=") == 0) return nullptr;
    const char* meant = name_meant(lower_case(name), names);
    return meant != nullptr && lower_case(name) != meant ? meant : nullptr;
}

bool dict_near_known(const ValueReading& value, std::string* meant) {
    std::vector<const char*> dicts;
    for (const KnownTextureDict& known : kKnownTextures) dicts.push_back(known.dict);
    const char* near = value.refused ? nullptr : known_name_meant(value.text, dicts);
    if (near != nullptr) *meant = near;
    return near != nullptr;
}

// The key a toggle_key value names, after its modifiers, upper case as the
// names are written.
std::string key_part(const std::string& text) {
    std::string key = text.substr(text.rfind('+') == std::string::npos ? 0 : text.rfind('+') + 1);
    for (char& c : key) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return key;
}

// Whether the modifiers in front of a toggle_key value's key are as the game
// takes them: with a known key after them, the value would be read.
bool modifiers_taken(const std::string& text) {
    size_t plus = text.rfind('+');
    int32_t key = kToggleKeyNone;
    return plus == std::string::npos || parse_toggle_key((text.substr(0, plus + 1) + kKeyNames[0].name).c_str(), &key);
}

// A refused toggle_key whose modifiers are right but whose key is no name,
// only a slip away from some: the nearest names, in the table's order.
bool key_name_near_known(const ValueReading& value, std::string* meant) {
    std::vector<const char*> names;
    for (int k = 0; k < kKeyNameCount; ++k) names.push_back(kKeyNames[k].name);
    std::string key = key_part(value.text);
    std::vector<const char*> nearest = names_meant(key, names);
    if (!value.refused || !modifiers_taken(value.text) || key_name_of_text(key) || nearest.empty()) return false;
    *meant = listed(nearest, " or ");
    return true;
}

// =============================================================================
// The tests on the settings as read: what the values do to the marker
// =============================================================================

// Each is given the row's key; most are about one setting and name it.
bool size_zero(const Settings& s, const SettingsKey&) { return s.size == 0; }
bool size_below_zero(const Settings& s, const SettingsKey&) { return s.size < 0; }
bool size_over_a_third(const Settings& s, const SettingsKey&) { return s.size > 0.3f && std::isfinite(s.size); }
bool grow_not_above_zero(const Settings& s, const SettingsKey&) { return !(s.grow_speed > 0); }
bool shrink_not_above_zero(const Settings& s, const SettingsKey&) { return !(s.shrink_speed > 0); }
bool opacity_zero(const Settings& s, const SettingsKey&) { return s.opacity == 0; }
bool opacity_out_of_range(const Settings& s, const SettingsKey&) { return s.opacity < 0 || s.opacity > 255; }
// A text setting names a dictionary, a texture or a bone.
bool name_empty(const Settings& s, const SettingsKey& key) { return field_of(s, key)[0] == 0; }
bool name_quoted(const Settings& s, const SettingsKey& key) { return is_quoted(field_of(s, key)); }
// "texture_dict == generic_textures": the game splits at the first '='.
bool name_after_equals(const Settings& s, const SettingsKey& key) { return field_of(s, key)[0] == '='; }
// The known texture of a known texture_dict that texture_name is a slip of
// the fingers away from; null when there is none.
const char* texture_meant(const Settings& s) {
    for (const KnownTextureDict& known : kKnownTextures) {
        if (lower_case(s.texture_dict) == known.dict) return known_name_meant(s.texture_name, known.names);
    }
    return nullptr;
}
bool texture_near_known(const Settings& s, const SettingsKey&) { return texture_meant(s) != nullptr; }
bool no_kind_marked(const Settings& s, const SettingsKey&) {
    return !s.mark_humans && !s.mark_animals && !s.mark_objects;
}
bool people_marked_as_animals(const Settings& s, const SettingsKey&) { return !s.mark_humans && s.mark_animals; }
bool flag_no(const Settings& s, const SettingsKey& key) { return int_of(s, key) == 0; }
bool toggle_key_set(const Settings& s, const SettingsKey& key) { return int_of(s, key) != kToggleKeyNone; }

// What each text setting names, and what the marker does when the game finds
// no such thing: without its sprite it is not drawn; without its bone it sits
// at the top of a person's or an animal's height.
struct NamedThing {
    const char* key;
    const char* what;
    const char* if_not_found;
    RuleOutcome outcome;
};
// clang-format off
const NamedThing kNamedThings[] = {
    {"texture_dict", "dictionary", "draws nothing", rule_hides_marker},
    {"texture_name", "texture",    "draws nothing", rule_hides_marker},
    {"ped_bone",     "bone",       "puts the marker at the top of every person's and animal's height, "
                                   "without ped_bone_offset_z",
                                                    rule_shows_otherwise},
};
// clang-format on

const NamedThing& named_thing(const SettingsKey& key) {
    for (const NamedThing& thing : kNamedThings) {
        if (std::strcmp(thing.key, key.name) == 0) return thing;
    }
    std::fprintf(stderr, "settings rules: %s names nothing known\n", key.name);
    std::abort();
}

}  // namespace

// =============================================================================
// The table
// =============================================================================

const std::vector<KnownTextureDict> kKnownTextures = {
    {"generic_textures", {"star", "star_outline", "tick", "rating_star", "shield", "lock"}},
    {"menu_textures", {"selection_arrow_right", "scroller_arrow_top", "cross"}},
};

std::string known_texture_pairs() {
    std::string pairs;
    for (const KnownTextureDict& known : kKnownTextures) {
        pairs += std::string(pairs.empty() ? "" : "; ") + "texture_dict = " + known.dict + " with texture_name = ";
        for (size_t n = 0; n < known.names.size(); ++n)
            pairs += std::string(n == 0 ? "" : n + 1 == known.names.size() ? " or " : ", ") + known.names[n];
    }
    return pairs;
}

// What a run of key names is known by: a single character, or the letters
// before the digits a name ends in ("F", "NUMPAD"); a name of its own else.
static std::string run_of(const std::string& name) {
    if (name.size() == 1) return "";
    size_t digits = name.find_last_not_of("0123456789") + 1;
    return digits < name.size() ? name.substr(0, digits) : name;
}

std::string key_names_in_words() {
    std::vector<std::string> parts;
    for (int k = 0; k < kKeyNameCount;) {
        int end = k + 1;
        while (end < kKeyNameCount && run_of(kKeyNames[end].name) == run_of(kKeyNames[k].name) &&
               kKeyNames[end].virtual_key == kKeyNames[end - 1].virtual_key + 1)
            ++end;
        parts.push_back(end - k >= 3 ? std::string(kKeyNames[k].name) + " to " + kKeyNames[end - 1].name
                                     : kKeyNames[k].name);
        k = end - k >= 3 ? end : k + 1;
    }
    return listed(parts, " and ");
}

// A text value one character longer than a text setting holds.
const char kTextTooLongExample[] =
    "texture_dict = tttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttt"
    "tttttttttttttttttttttttttttttttttttttttttttttttt";

#define ON_TEXT(test) test, nullptr
#define ON_SETTINGS(test) nullptr, test

// One rule to a row: its key (null: every key its reader reads), its reader,
// the other keys it reads, its test, its outcome and an example; then the
// note's subject, consequence and fix.
// clang-format off
const SettingsRule kSettingsRules[] = {
    // How the game reads a number with a point before its decimals.
    {nullptr, float_reader, {}, ON_TEXT(has_no_value), rule_refused, "size =",
     "{key} has no value", "the game refuses it",
     "write a number such as {default}"},
    {nullptr, float_reader, {}, ON_TEXT(number_in_quotes), rule_refused, "size = \"0.03\"",
     "{key} = {text} is in quotes", "the game takes no quotes around a number and refuses it",
     "write {meant}"},
    {nullptr, float_reader, {}, ON_TEXT(not_a_number), rule_refused, "grow_speed = fast",
     "{key} = {text} is not a number", "the game refuses it",
     "write one such as {default}, with a point before any decimals"},
    {nullptr, float_reader, {}, ON_TEXT(written_not_finite), rule_not_known, "rotation = inf",
     "{key} = {text} is not a finite number", "what the marker does with it is not known",
     "write an ordinary number such as {default}"},
    {nullptr, float_reader, {}, ON_TEXT(too_large_real), rule_not_known, "bounce_speed = 1e40",
     "{key} = {text} is too large, so the game reads it as infinity", "what the marker does with it is not known",
     "write an ordinary number such as {default}"},
    {"size", float_reader, {}, ON_TEXT(percent_of_screen), rule_read_otherwise, "size = 3%",
     "{key} = {text} is read as {read}", "the game takes no percent sign, and {key} is a share of the screen's height",
     "write {meant}"},
    {"bounce_distance", float_reader, {}, ON_TEXT(percent_of_screen), rule_read_otherwise, "bounce_distance = 1%",
     "{key} = {text} is read as {read}", "the game takes no percent sign, and {key} is a share of the screen's height",
     "write {meant}"},
    {nullptr, float_reader, {}, ON_TEXT(comma_before_decimals), rule_read_otherwise, "size = 0,03",
     "{key} = {text} is read as {read}", "the game takes a point, not a comma, before decimals",
     "write {meant}"},
    {nullptr, float_reader, {}, ON_TEXT(ignored_after_number), rule_read_otherwise, "rotation = 23o",
     "{key} = {text} is read as {read}", "the game ignores {rest} after the number",
     "write the number alone"},

    // How the game reads a whole number: opacity.
    {nullptr, int_reader, {}, ON_TEXT(has_no_value), rule_refused, "opacity =",
     "{key} has no value", "the game refuses it",
     "write a whole number such as {default}"},
    {nullptr, int_reader, {}, ON_TEXT(number_in_quotes), rule_refused, "opacity = \"230\"",
     "{key} = {text} is in quotes", "the game takes no quotes around a number and refuses it",
     "write {meant}"},
    {nullptr, int_reader, {}, ON_TEXT(not_a_number), rule_refused, "opacity = full",
     "{key} = {text} is not a whole number", "the game refuses it",
     "write one such as {default}"},
    {nullptr, int_reader, {}, ON_TEXT(too_large_whole), rule_not_known, "opacity = 99999999999",
     "{key} = {text} is too large for a whole number", "what the game reads then is not known",
     "write one such as {default}"},
    {"opacity", int_reader, {}, ON_TEXT(percent_of_opacity), rule_read_otherwise, "opacity = 50%",
     "{key} = {text} is read as {read}",
     "the game takes no percent sign, and opacity runs from 0 (invisible) to 255 (solid)",
     "write {meant}"},
    {nullptr, int_reader, {}, ON_TEXT(leading_zero), rule_read_otherwise, "opacity = 0230",
     "{key} = {number_text} is read as {read}", "a leading 0 makes the game read it as an octal number",
     "write {meant} without the leading 0"},
    {nullptr, int_reader, {}, ON_TEXT(ignored_after_number), rule_read_otherwise, "opacity = 200 solid",
     "{key} = {text} is read as {read}", "the game ignores {rest} after the number",
     "write a whole number alone"},

    // How the game reads yes or no.
    {nullptr, flag_reader, {}, ON_TEXT(has_no_value), rule_refused, "show_during_dead_eye =",
     "{key} has no value", "the game refuses it",
     "write yes or no"},
    {nullptr, flag_reader, {}, ON_TEXT(flag_in_quotes), rule_refused, "mark_objects = \"no\"",
     "{key} = {text} is in quotes", "the game takes no quotes and refuses it",
     "write {meant}"},
    {nullptr, flag_reader, {}, ON_TEXT(flag_in_capitals), rule_refused, "mark_humans = Yes",
     "{key} = {text}", "the game takes yes, no, true or false in lower case only",
     "write {meant}"},
    {nullptr, flag_reader, {}, ON_TEXT(other_word), rule_refused, "mark_animals = on",
     "{key} = {text}", "the game takes only yes, no, true or false",
     "write yes or no"},

    // How the game reads a key name: toggle_key.
    {nullptr, key_name_reader, {}, ON_TEXT(has_no_value), rule_refused, "toggle_key =",
     "{key} has no value", "the game refuses it",
     "write none, or a key such as F7"},
    {nullptr, key_name_reader, {}, ON_TEXT(key_name_near_known), rule_refused, "toggle_key = CTRL+F25",
     "{key} = {text} names no key the game knows", "the game refuses it",
     "write the key you meant (nearest to it: {meant}), or none"},
    {nullptr, key_name_reader, {}, ON_TEXT(other_word), rule_refused, "toggle_key = WIN+F7",
     "{key} = {text} is not a key name, with CTRL+, SHIFT+ or ALT+ in front, nor none", "the game refuses it",
     "write none, or a key such as F7 or CTRL+F7, each of CTRL+, SHIFT+ and ALT+ at most once and without spaces; "
     "the keys are {key_names}"},

    // How the game reads a text.
    {nullptr, text_reader, {}, ON_TEXT(text_too_long), rule_refused, kTextTooLongExample,
     "{key} is {length} characters long", "the game takes at most {limit} and empties it",
     "shorten it"},
    {"texture_dict", text_reader, {}, ON_TEXT(dict_near_known), rule_not_known, "texture_dict = generic_texturez",
     "{key} = {text} is not a dictionary known to be in the game, but close to {meant}",
     "if it is misspelt, the game never loads it and the marker has no sprite",
     "write {meant} if that is what you meant"},

    // What the values do to the marker.
    {"size", float_reader, {}, ON_SETTINGS(size_zero), rule_hides_marker, "size = 0",
     "{key} is {value}", "the marker has no size, so it never shows",
     "write a size above 0 such as {default}"},
    {"size", float_reader, {}, ON_SETTINGS(size_below_zero), rule_not_known, "size = -0.03",
     "{key} is {value}, below 0", "what the game draws for a sprite of a size below 0 is not known",
     "write a size above 0 such as {default}"},
    {"size", float_reader, {}, ON_SETTINGS(size_over_a_third), rule_shows_otherwise, "size = 0.5",
     "{key} is {value}, over 0.3, a third of the screen's height", "the marker covers much of what you focus on",
     "write a smaller size such as {default}"},
    {"grow_speed", float_reader, {}, ON_SETTINGS(grow_not_above_zero), rule_hides_marker, "grow_speed = 0",
     "{key} is {value}{beside_zero}", "the marker never grows in, so it never shows",
     "write a rate above 0 such as {default}"},
    {"shrink_speed", float_reader, {}, ON_SETTINGS(shrink_not_above_zero), rule_shows_otherwise, "shrink_speed = -1",
     "{key} is {value}{beside_zero}", "the marker never shrinks away once shown",
     "write a rate above 0 such as {default}"},
    {"opacity", int_reader, {}, ON_SETTINGS(opacity_zero), rule_hides_marker, "opacity = 0",
     "{key} is {value}", "the marker is fully transparent, so it is never seen",
     "write up to 255 (solid)"},
    {"opacity", int_reader, {}, ON_SETTINGS(opacity_out_of_range), rule_not_known, "opacity = 256",
     "{key} is {value}, outside 0 to 255, the range of the marker's opacity (0 invisible, 255 solid)",
     "the game passes it on as it is, and what it draws then is not known",
     "write a number from 0 to 255"},
    {nullptr, text_reader, {}, ON_SETTINGS(name_empty), rule_as_for_the_name, "texture_name =",
     "{key} is {value}", "the game finds no {what} without a name and {if_not_found}",
     "write one such as {default}"},
    {nullptr, text_reader, {}, ON_SETTINGS(name_quoted), rule_as_for_the_name, "texture_dict = \"generic_textures\"",
     "{key} is {value}, in quotes",
     "the game keeps the quotes as part of the name, finds no such {what} and {if_not_found}",
     "write {unquoted} without quotes"},
    {nullptr, text_reader, {}, ON_SETTINGS(name_after_equals), rule_as_for_the_name, "ped_bone == skel_head",
     "{key} is {value}, which starts with '='",
     "the game keeps that '=' as part of the name, finds no such {what} and {if_not_found}",
     "write a single '=' between the key and the name"},
    {"texture_name", text_reader, {"texture_dict"}, ON_SETTINGS(texture_near_known), rule_not_known,
     "texture_name = starr",
     "{key} is {value}, not a texture known to be in {texture_dict}, but close to {texture_meant}",
     "if it is misspelt, the game finds no such texture and draws nothing",
     "write {texture_meant} if that is what you meant"},
    {"mark_objects", flag_reader, {"mark_humans", "mark_animals"}, ON_SETTINGS(no_kind_marked), rule_hides_marker,
     "mark_humans = no\nmark_animals = no\nmark_objects = no",
     "mark_humans, mark_animals and mark_objects are all no", "nothing you focus on is ever marked",
     "set one of them to yes"},
    {"mark_animals", flag_reader, {"mark_humans"}, ON_SETTINGS(people_marked_as_animals), rule_shows_otherwise,
     "mark_humans = no\nmark_animals = yes",
     "mark_humans is no but mark_animals is yes",
     "people are still marked, because mark_animals marks every person and animal",
     "no setting marks animals alone: set mark_animals = no as well to leave people unmarked"},

    // Where the marker hides as the optional settings ask, as the game hides its own HUD.
    {"show_with_hud_hidden", flag_reader, {}, ON_SETTINGS(flag_no), rule_hides_as_asked, "show_with_hud_hidden = no",
     "{key} is {value}",
     "the marker hides while the game hides its own HUD: the screen faded out, the HUD turned off or the radar "
     "hidden by a script",
     "yes shows it there too"},
    {"show_in_menus", flag_reader, {}, ON_SETTINGS(flag_no), rule_hides_as_asked, "show_in_menus = no",
     "{key} is {value}",
     "the marker hides while the pause menu, the map, the satchel, the player menu or crafting is open",
     "yes shows it there too"},
    {"show_in_cinematic_camera", flag_reader, {}, ON_SETTINGS(flag_no), rule_hides_as_asked,
     "show_in_cinematic_camera = no",
     "{key} is {value}", "the marker hides while the cinematic camera is on",
     "yes shows it there too"},
    {"show_during_eagle_eye", flag_reader, {}, ON_SETTINGS(flag_no), rule_hides_as_asked, "show_during_eagle_eye = no",
     "{key} is {value}", "the marker hides while Eagle Eye is active",
     "yes shows it there too"},
    {"show_in_sniper_scope", flag_reader, {}, ON_SETTINGS(flag_no), rule_hides_as_asked, "show_in_sniper_scope = no",
     "{key} is {value}", "the marker hides while you look through a sniper scope",
     "yes shows it there too"},

    // What the player hides with a key, as asked.
    {"toggle_key", key_name_reader, {}, ON_SETTINGS(toggle_key_set), rule_hides_as_asked, "toggle_key = CTRL+F7",
     "{key} is {value}",
     "pressing {key_alone} with {held} hides the marker, and pressing it again shows it, but not while you type in "
     "the game's on-screen keyboard",
     "none turns the key off"},
};
// clang-format on
const int kSettingsRuleCount = sizeof kSettingsRules / sizeof kSettingsRules[0];

#undef ON_TEXT
#undef ON_SETTINGS

// =============================================================================
// The wording
// =============================================================================

namespace {

// A toggle key as the log writes it: "CTRL+F7", "none".
std::string key_text(int32_t key) {
    char text[kToggleKeyTextCapacity];
    toggle_key_text(key, text, sizeof text);
    return text;
}

// A modifier's name as a player reads it on the key: "Ctrl".
std::string modifier_word(const ModifierName& modifier) { return modifier.name[0] + lower_case(modifier.name + 1); }

// A toggle key's key without its modifiers: "F7".
std::string key_alone(int32_t key) {
    const char* name = key_name_of(key & kVirtualKeyMask);
    return name != nullptr ? name : "?";
}

// Which modifiers a toggle key wants held, in words: "Ctrl held, but not
// Shift or Alt,", "Ctrl, Shift and Alt held", "none of Ctrl, Shift and Alt held".
std::string held_words(int32_t key) {
    std::vector<std::string> held, free;
    for (const ModifierName& modifier : kModifierNames)
        ((key & modifier.bit) != 0 ? held : free).push_back(modifier_word(modifier));
    if (held.empty()) return "none of " + listed(free, " and ") + " held";
    if (free.empty()) return listed(held, " and ") + " held";
    return listed(held, " and ") + " held, but not " + listed(free, " or ") + ",";
}

// The default file's value of a key, as an example a player can copy.
std::string default_value(const SettingsKey& key) {
    const char* field = field_of(default_settings(), key);
    switch (key.reader) {
        case float_reader:
            return number_text(*reinterpret_cast<const float*>(field));
        case int_reader:
            return std::to_string(*reinterpret_cast<const int32_t*>(field));
        case flag_reader:
            return *reinterpret_cast<const int32_t*>(field) != 0 ? "yes" : "no";
        case text_reader:
            return field;
        case key_name_reader:
            return key_text(*reinterpret_cast<const int32_t*>(field));
    }
    return "";
}

// A key's value in settings, as a note shows it.
std::string value_shown(const Settings& settings, const SettingsKey& key) {
    switch (key.reader) {
        case float_reader:
            return number_text(float_of(settings, key));
        case int_reader:
            return std::to_string(int_of(settings, key));
        case flag_reader:
            return int_of(settings, key) != 0 ? "yes" : "no";
        case text_reader:
            return field_of(settings, key)[0] == 0 ? "empty" : shown_value(field_of(settings, key));
        case key_name_reader:
            return key_text(int_of(settings, key));
    }
    return "";
}

std::string beside_zero(const Settings& settings, const SettingsKey& key) {
    if (key.reader != float_reader) return "";
    float value = float_of(settings, key);
    if (value != value) return ", not a number";
    return value < 0 ? ", below 0" : "";
}

struct Fields {
    const SettingsKey* key;
    const Settings* settings;     // the settings the value is read into
    const ValueReading* reading;  // a row on the value's text: the value as written; null otherwise
    std::string meant;
};

// A field a row's text may name, and how it is filled in; on_text: only a
// row on a value's text has it.
struct Field {
    const char* name;
    bool on_text;
    std::string (*fill)(const Fields& fields);
};

const char* text_of(const Fields& f) { return field_of(*f.settings, *f.key); }

std::string texture_meant_words(const Settings& settings) {
    const char* meant = texture_meant(settings);
    return meant != nullptr ? meant : "?";
}

// The number a whole-number value starts with, as a person reads it.
std::string number_as_written(const ValueReading& value) { return value.text.substr(0, digits_end(value.text)); }

// clang-format off
const Field kFields[] = {
    {"key",           false, [](const Fields& f) { return std::string(f.key->name); }},
    {"value",         false, [](const Fields& f) { return value_shown(*f.settings, *f.key); }},
    {"read",          false, [](const Fields& f) { return value_shown(*f.settings, *f.key); }},
    {"default",       false, [](const Fields& f) { return default_value(*f.key); }},
    {"meant",         false, [](const Fields& f) { return escaped_text(f.meant); }},
    {"beside_zero",   false, [](const Fields& f) { return beside_zero(*f.settings, *f.key); }},
    {"unquoted",      false, [](const Fields& f) { return escaped_text(unquoted(text_of(f))); }},
    {"what",          false, [](const Fields& f) { return std::string(named_thing(*f.key).what); }},
    {"if_not_found",  false, [](const Fields& f) { return std::string(named_thing(*f.key).if_not_found); }},
    {"limit",         false, [](const Fields&) { return std::to_string(kTextSettingCapacity - 1); }},
    {"texture_dict",  false, [](const Fields& f) { return escaped_text(f.settings->texture_dict); }},
    {"texture_meant", false, [](const Fields& f) { return texture_meant_words(*f.settings); }},
    {"text",          true,  [](const Fields& f) { return shown_value(f.reading->text); }},
    {"rest",          true,  [](const Fields& f) { return shown_value(rest_of(*f.reading)); }},
    {"number_text",   true,  [](const Fields& f) { return shown_value(number_as_written(*f.reading)); }},
    {"length",        true,  [](const Fields& f) { return std::to_string(f.reading->text.size()); }},
    {"key_names",     false, [](const Fields&) { return key_names_in_words(); }},
    {"key_alone",     false, [](const Fields& f) { return key_alone(int_of(*f.settings, *f.key)); }},
    {"held",          false, [](const Fields& f) { return held_words(int_of(*f.settings, *f.key)); }},
};
// clang-format on

// A row's text with its {fields} filled in. A name no field has, or one of
// a value's text in a row on the settings, is a fault of the table: the
// program stops rather than print a note with a hole in it, and the tests,
// which word every row, see it at once.
std::string filled(const char* pattern, const Fields& fields) {
    return filled_text(pattern, "settings rules", [&](const std::string& name, std::string* text) {
        for (const Field& field : kFields) {
            if (name != field.name || (field.on_text && fields.reading == nullptr)) continue;
            *text = field.fill(fields);
            return true;
        }
        return false;
    });
}

RuleNote note_of(const SettingsRule& rule, const Fields& fields) {
    RuleOutcome outcome = rule.outcome == rule_as_for_the_name ? named_thing(*fields.key).outcome : rule.outcome;
    return RuleNote{
        &rule, fields.key, outcome,
        filled(rule.subject, fields) + ": " + filled(rule.consequence, fields) + "; " + filled(rule.fix, fields) + "."};
}

// Whether a row is about key: its own, or one its reader reads.
bool about_key(const SettingsRule& rule, const SettingsKey& key) {
    if (rule.reader != key.reader) return false;
    return rule.key == nullptr || std::strcmp(rule.key, key.name) == 0;
}

bool reads_other_keys(const SettingsRule& rule) { return rule.needs[0] != nullptr; }

// Whether every other key the row reads is among the seen keys.
bool other_keys_seen(const SettingsRule& rule, uint32_t seen_keys) {
    for (const char* other : rule.needs) {
        if (other != nullptr && (seen_keys >> settings_key_named(other)->seen_bit & 1u) == 0) return false;
    }
    return true;
}

// The notes of the rows on the settings about key that apply, of those
// that read other keys or not, as asked.
std::vector<RuleNote> notes_of_key(const Settings& settings, const SettingsKey& key, bool reading_others,
                                   uint32_t seen_keys) {
    std::vector<RuleNote> notes;
    for (int r = 0; r < kSettingsRuleCount; ++r) {
        const SettingsRule& rule = kSettingsRules[r];
        if (rule.settings_test == nullptr || !about_key(rule, key) || reads_other_keys(rule) != reading_others ||
            !other_keys_seen(rule, seen_keys))
            continue;
        if (rule.settings_test(settings, key)) notes.push_back(note_of(rule, Fields{&key, &settings, nullptr, ""}));
    }
    return notes;
}

// The notes without those on what a setting does as asked: the checker's.
std::vector<RuleNote> not_as_asked(std::vector<RuleNote> notes) {
    notes.erase(std::remove_if(notes.begin(), notes.end(),
                               [](const RuleNote& note) { return note.rule->outcome == rule_hides_as_asked; }),
                notes.end());
    return notes;
}

}  // namespace

const SettingsKey* settings_key_named(const std::string& name) {
    for (const SettingsKey& key : kSettingsKeys) {
        if (name == key.name) return &key;
    }
    return nullptr;
}

std::string shown_value(const std::string& text) {
    std::string shown = escaped_text(text.substr(0, kShownLength));
    if (text.size() > kShownLength) shown += "...";
    return is_quoted(text) && text.size() <= kShownLength ? shown : "\"" + shown + "\"";
}

ValueReading read_value_as_the_game(const SettingsKey& key, const std::string& text) {
    ValueReading value = {&key, text, false, Settings{}};
    value.refused = store_settings_value(key, text.c_str(), &value.read) == value_refused;
    return value;
}

std::vector<RuleNote> notes_on_value_text(const ValueReading& value) {
    for (int r = 0; r < kSettingsRuleCount; ++r) {
        const SettingsRule& rule = kSettingsRules[r];
        Fields fields = {value.key, &value.read, &value, ""};
        if (rule.text_test != nullptr && about_key(rule, *value.key) && rule.text_test(value, &fields.meant))
            return {note_of(rule, fields)};
    }
    return {};
}

std::vector<RuleNote> notes_on_key(const Settings& settings, const SettingsKey& key) {
    return not_as_asked(notes_of_key(settings, key, false, 0));
}

std::vector<RuleNote> notes_reading_other_keys(const Settings& settings, uint32_t seen_keys) {
    std::vector<RuleNote> notes;
    for (const SettingsKey& key : kSettingsKeys) {
        if ((seen_keys >> key.seen_bit & 1u) == 0) continue;
        std::vector<RuleNote> of_key = notes_of_key(settings, key, true, seen_keys);
        notes.insert(notes.end(), of_key.begin(), of_key.end());
    }
    return not_as_asked(notes);
}

std::vector<RuleNote> notes_on_settings(const Settings& settings) {
    std::vector<RuleNote> notes;
    for (const SettingsKey& key : kSettingsKeys) {
        for (bool reading_others : {false, true}) {
            std::vector<RuleNote> of_key = notes_of_key(settings, key, reading_others, kAllKeysSeen);
            notes.insert(notes.end(), of_key.begin(), of_key.end());
        }
    }
    return notes;
}

bool notes_hide_the_marker(const std::vector<RuleNote>& notes) {
    for (const RuleNote& note : notes) {
        if (note.outcome == rule_hides_marker) return true;
    }
    return false;
}
