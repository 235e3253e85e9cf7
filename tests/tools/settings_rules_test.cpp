// The settings rules are the test table: each row's own example, put into
// the default settings, must bring that row's note out of every tool that
// reads the table. A row on what values do to the marker must read the same
// in the checker's notes and under the preview's title; a row on how the
// game reads a value's text must be the checker's note on that line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "default_settings.h"
#include "key_names.h"
#include "scene.h"
#include "settings_notes.h"
#include "settings_rules.h"
#include "test_files.h"

namespace {

// The default settings with the example's lines in place of their keys'.
std::string default_settings_with_example(const char* example) {
    std::string text = default_settings_text();
    std::string lines = example;
    for (size_t start = 0; start < lines.size();) {
        size_t end = lines.find('\n', start);
        if (end == std::string::npos) end = lines.size();
        std::string line = lines.substr(start, end - start);
        std::string key = line.substr(0, line.find(' '));
        size_t at = text.find("\n" + key + " =");
        EXPECT_NE(at, std::string::npos) << key;
        if (at != std::string::npos) text.replace(at + 1, text.find('\n', at + 1) - at - 1, line);
        start = end + 1;
    }
    return text;
}

// The line of the file on which key is set.
int line_of(const std::string& text, const std::string& key) {
    size_t at = text.find("\n" + key + " =");
    int line = 2;
    for (size_t i = 0; i < at; ++i) line += text[i] == '\n';
    return line;
}

// What the preview writes under its title for a settings file: the notes on
// the settings the script ran the scene with.
std::vector<RuleNote> preview_notes(const TempFolder& folder, const std::string& text) {
    write_file(folder.path + "/Ondrelle.ini", text);
    static SceneFrame frames[kSceneFrameCount];
    Settings settings{};
    if (!scene_run_script((folder.path + "/Ondrelle.ini").c_str(), frames, &settings)) return {};
    return notes_on_settings(settings);
}

// Every row is worded through its example, so a row whose text names a field
// it cannot fill stops the test at once; none may leave a brace unfilled. A
// row on what a setting does as asked goes under the preview's title alone:
// the checker notes only what was likely not meant.
TEST(SettingsRules, EachRuleOnTheSettingsReadsTheSameInTheCheckerAndThePreviewOnItsKeysLine) {
    TempFolder folder;
    for (int r = 0; r < kSettingsRuleCount; ++r) {
        const SettingsRule& rule = kSettingsRules[r];
        if (rule.settings_test == nullptr) continue;
        SCOPED_TRACE(rule.example);
        std::string text = default_settings_with_example(rule.example);
        std::vector<RuleNote> said;
        for (const RuleNote& note : preview_notes(folder, text))
            if (note.rule == &rule) said.push_back(note);
        ASSERT_EQ(said.size(), 1u) << "the preview does not say it once";
        EXPECT_EQ(said[0].text.find('{'), std::string::npos) << said[0].text;
        int line = line_of(text, said[0].key->name);
        bool on_its_line = false;
        for (const SettingsNote& note : settings_notes(text, 0, false))
            on_its_line = on_its_line || (note.line == line && note.text == said[0].text);
        if (rule.outcome == rule_hides_as_asked)
            EXPECT_FALSE(on_its_line) << "the checker notes on line " << line << ": " << said[0].text;
        else
            EXPECT_TRUE(on_its_line) << "the checker does not say on line " << line << ": " << said[0].text;
    }
}

TEST(SettingsRules, EachRuleOnAValuesTextIsTheCheckersNoteOnItsLine) {
    for (int r = 0; r < kSettingsRuleCount; ++r) {
        const SettingsRule& rule = kSettingsRules[r];
        if (rule.text_test == nullptr) continue;
        SCOPED_TRACE(rule.example);
        std::string example = rule.example;
        std::string key = example.substr(0, example.find(' '));
        std::string value = example.substr(example.find('=') + 1);
        value.erase(0, value.find_first_not_of(' '));
        const SettingsKey* row = settings_key_named(key);
        ASSERT_NE(row, nullptr);
        std::vector<RuleNote> notes = notes_on_value_text(read_value_as_the_game(*row, value));
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0].rule, &rule) << notes[0].text;
        EXPECT_EQ(notes[0].text.find('{'), std::string::npos) << notes[0].text;
        std::string text = default_settings_with_example(rule.example);
        bool on_its_line = false;
        for (const SettingsNote& note : settings_notes(text, 0, false))
            on_its_line = on_its_line || (note.line == line_of(text, key) && note.text == notes[0].text);
        EXPECT_TRUE(on_its_line) << notes[0].text;
    }
}

// The default settings break no rule; under the preview's title they only
// name, key by key, the states in which the optional flags hide the marker:
// toggle_key is none there, and names no key to say anything of. A file
// without the optional keys gets no word about them at all.
TEST(SettingsRules, TheDefaultSettingsBreakNoRule) {
    EXPECT_TRUE(settings_notes(default_settings_text(), 0, false).empty());
    TempFolder folder;
    std::vector<std::string> keys_named;
    for (const RuleNote& note : preview_notes(folder, default_settings_text())) {
        EXPECT_EQ(note.outcome, rule_hides_as_asked) << note.text;
        EXPECT_NE(note.text.find("the marker hides while"), std::string::npos) << note.text;
        keys_named.push_back(note.key->name);
    }
    std::vector<std::string> optional_flags;
    for (const SettingsKey& key : kSettingsKeys)
        if (settings_key_optional(key) && key.reader == flag_reader) optional_flags.push_back(key.name);
    EXPECT_EQ(keys_named, optional_flags);
    EXPECT_EQ(default_settings().toggle_key, kToggleKeyNone);

    std::string required_alone = default_settings_text();
    required_alone.erase(required_alone.find("\n; ---- Where the game hides its own HUD"));
    ASSERT_TRUE(optional_keys_given(required_alone).empty());
    EXPECT_TRUE(settings_notes(required_alone, 0, false).empty());
    EXPECT_TRUE(preview_notes(folder, required_alone).empty());
}

// What the checker needs to tell a file that an older Ondrelle.asi cannot
// read: the optional keys it gives, each with the line of its first setting,
// as the game splits lines.
TEST(SettingsRules, TheOptionalKeysAFileGivesAreFoundOnTheirLines) {
    std::string text =
        "\xEF\xBB\xBFsize = 1\n"
        "; show_with_hud_hidden = no\n"
        "SHOW_IN_MENUS = no ; a comment\n"
        "show_in_menu = no\n"
        "mark_humans = yes\n"
        "show_in_sniper_scope = maybe\n"
        "show_in_menus = yes\n"
        "show_during_eagle_eye = " +
        std::string(kMaxLineLength, 'n') + "\n";
    std::vector<OptionalKeyLine> given = optional_keys_given(text);
    ASSERT_EQ(given.size(), 2u);
    EXPECT_STREQ(given[0].key->name, "show_in_menus");
    EXPECT_EQ(given[0].line, 3);
    EXPECT_STREQ(given[1].key->name, "show_in_sniper_scope");
    EXPECT_EQ(given[1].line, 6);
    std::string utf16;
    for (char c : std::string("show_in_menus = no\r\n")) utf16 += std::string(1, c) + '\0';
    EXPECT_TRUE(optional_keys_given(utf16).empty()) << "a file no release reads";
    EXPECT_EQ(optional_keys_given(default_settings_text()).size(), static_cast<size_t>(kOptionalSettingsKeyCount));
}

// The player readme lists the known sprites by hand, for a player reading
// it without the checker: it names every one the checker knows. It and the
// shipped file's comment list toggle_key's key names as the checker does.
TEST(SettingsRules, ThePlayerReadmeNamesEveryKnownTextureAndKeyName) {
    std::string readme = read_file(ONDRELLE_SOURCE_DIR "/packaging/README.txt");
    ASSERT_NE(readme, "");
    for (const KnownTextureDict& known : kKnownTextures) {
        EXPECT_NE(readme.find(std::string("texture_dict = ") + known.dict), std::string::npos) << known.dict;
        for (const char* name : known.names) EXPECT_NE(readme.find(name), std::string::npos) << name;
    }
    // Words as a reader sees them, whatever the lines they are wrapped into.
    auto words = [](const std::string& text) {
        std::string joined;
        for (char c : text) {
            bool space = c == ' ' || c == '\n' || c == '\r' || c == ';';
            if (!space) joined += c;
            if (space && !joined.empty() && joined.back() != ' ') joined += ' ';
        }
        return joined;
    };
    EXPECT_NE(words(readme).find(words(key_names_in_words())), std::string::npos) << key_names_in_words();
    EXPECT_NE(words(default_settings_text()).find(words(key_names_in_words())), std::string::npos);
}

// A file with the optional keys needs the release that first reads them: the
// readmes, the changelog's entry for it and the shipped file's own comment
// say so with the checker's own number; the player readme names each key.
TEST(SettingsRules, TheTextsNameTheReleaseTheOptionalKeysNeed) {
    const std::string needs = std::string(kFirstReleaseWithOptionalKeys) + " or later";
    for (const char* path : {"/README.md", "/packaging/README.txt", "/CHANGELOG.md", "/src/Ondrelle.ini"}) {
        std::string text = read_file(std::string(ONDRELLE_SOURCE_DIR) + path);
        ASSERT_NE(text, "") << path;
        EXPECT_NE(text.find(needs), std::string::npos) << path << " does not say " << needs;
    }
    std::string changelog = read_file(ONDRELLE_SOURCE_DIR "/CHANGELOG.md");
    EXPECT_NE(changelog.find(std::string("\n## ") + kFirstReleaseWithOptionalKeys + "\n"), std::string::npos);
    std::string readme = read_file(ONDRELLE_SOURCE_DIR "/packaging/README.txt");
    for (const SettingsKey& key : kSettingsKeys)
        if (settings_key_optional(key)) EXPECT_NE(readme.find(key.name), std::string::npos) << key.name;
}

// toggle_key's row says which key to press with exactly which modifiers held,
// as the handler takes it; under the preview's title alone, since it is what
// the key is for.
TEST(SettingsRules, AToggleKeyIsNamedWithExactlyTheModifiersItWantsHeld) {
    const struct {
        const char* value;
        const char* shown;
        const char* pressed;
    } keys[] = {
        {"F7", "F7", "F7 with none of Ctrl, Shift and Alt held"},
        {"ctrl+F7", "CTRL+F7", "F7 with Ctrl held, but not Shift or Alt,"},
        {"shift+ctrl+home", "CTRL+SHIFT+HOME", "HOME with Ctrl and Shift held, but not Alt,"},
        {"ALT+SHIFT+CTRL+numpad0", "CTRL+SHIFT+ALT+NUMPAD0", "NUMPAD0 with Ctrl, Shift and Alt held"},
    };
    for (const auto& key : keys) {
        Settings settings = default_settings();
        ASSERT_TRUE(parse_toggle_key(key.value, &settings.toggle_key)) << key.value;
        std::vector<RuleNote> said;
        for (const RuleNote& note : notes_on_settings(settings))
            if (note.key->field_offset == offsetof(Settings, toggle_key)) said.push_back(note);
        ASSERT_EQ(said.size(), 1u) << key.value;
        EXPECT_EQ(said[0].outcome, rule_hides_as_asked);
        EXPECT_EQ(said[0].text, std::string("toggle_key is ") + key.shown + ": pressing " + key.pressed +
                                    " hides the marker, and pressing it again shows it, but not while you type in "
                                    "the game's on-screen keyboard; none turns the key off.");
    }
    std::string text = default_settings_text();
    text.replace(text.find("\ntoggle_key = none"), 18, "\ntoggle_key = ctrl+F7");
    EXPECT_TRUE(settings_notes(text, 0, false).empty()) << "a key with modifiers is no fault";
}

// A toggle_key the game refuses: a name a slip away from some gets the
// nearest, all of them; one that is no slip, or modifiers written otherwise,
// gets how to write a key and every name there is.
TEST(SettingsRules, ABadToggleKeyGetsTheNamesNearestToIt) {
    const struct {
        const char* value;
        const char* note;
    } bad[] = {
        {"F25",
         "toggle_key = \"F25\" names no key the game knows: the game refuses it; write the key you meant "
         "(nearest to it: F2, F5, F15, F20, F21, F22, F23 or F24), or none."},
        {"ctrl+pagup",
         "toggle_key = \"ctrl+pagup\" names no key the game knows: the game refuses it; write the key you "
         "meant (nearest to it: PAGEUP), or none."},
        {"SCROLLOCK", "(nearest to it: SCROLLLOCK), or none."},
        {"ESC",
         "the keys are F1 to F24, A to Z, 0 to 9, NUMPAD0 to NUMPAD9, INSERT, DELETE, HOME, END, PAGEUP, "
         "PAGEDOWN, UP, DOWN, LEFT, RIGHT, PAUSE and SCROLLLOCK."},
        {"CTRL+CTRL+F7", "is not a key name, with CTRL+, SHIFT+ or ALT+ in front, nor none: the game refuses it"},
        {"CTRL + F7", "each of CTRL+, SHIFT+ and ALT+ at most once and without spaces"},
    };
    for (const auto& value : bad) {
        std::vector<RuleNote> notes =
            notes_on_value_text(read_value_as_the_game(*settings_key_named("toggle_key"), value.value));
        ASSERT_EQ(notes.size(), 1u) << value.value;
        EXPECT_EQ(notes[0].outcome, rule_refused);
        EXPECT_NE(notes[0].text.find(value.note), std::string::npos) << notes[0].text;
    }
}

// A rule says only what is known: what the game draws for a size below 0
// is not known, so that rule keeps the verdict from "never shows".
TEST(SettingsRules, OnlyWhatIsKnownHidesTheMarker) {
    Settings settings;
    start_settings_record(&settings);
    settings.mark_humans = 1;
    settings.size = -0.03f;
    settings.grow_speed = 8;
    settings.shrink_speed = 10;
    settings.opacity = 230;
    std::strcpy(settings.texture_dict, "generic_textures");
    std::strcpy(settings.texture_name, "star");
    std::strcpy(settings.ped_bone, "skel_head");
    std::vector<RuleNote> notes = notes_on_settings(settings);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].text,
              "size is -0.03, below 0: what the game draws for a sprite of a size below 0 is not known; write a size "
              "above 0 such as 0.03.");
    EXPECT_FALSE(notes_hide_the_marker(notes));
    settings.size = 0;
    EXPECT_TRUE(notes_hide_the_marker(notes_on_settings(settings)));
}

}  // namespace
