// The settings file's per-line parser: keys, values, comments, whitespace,
// every fault's report word for word, and which faults stop the parse.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "config.h"
#include "fake_platform.h"
#include "key_names.h"
#include "test_files.h"

namespace {

struct SettingsLine : ::testing::Test {
    TempFolder temp_folder;
    const std::string& folder = temp_folder.path;
    Settings pending{};
    uint32_t seen = 0;

    void SetUp() override {
        reset_fake_platform();
        use_folder_for_paths(folder);
        config_error_text[0] = 0;
    }
    // Parses text as line number line_number; the buffer is the parser's size.
    bool parse(const std::string& text, int line_number = 1) {
        char line[kLineBufferCapacity] = {};
        std::memcpy(line, text.data(), std::min(text.size(), sizeof line - 1));
        return parse_settings_line(line, line_number, &pending, &seen);
    }
    std::string log() const { return log_without_times_and_lines(read_file(folder + "/Ondrelle.log")); }
    std::string error() const { return config_error_text; }
};

TEST_F(SettingsLine, WhitespaceAroundKeyAndValueIsDroppedAndTheKeyLowerCased) {
    EXPECT_TRUE(parse("  SIZE\t=\t1.5  \r\n"));
    EXPECT_EQ(pending.size, 1.5f);
    EXPECT_EQ(seen, 1u << 3);
    EXPECT_EQ(log(), "");
    EXPECT_EQ(error(), "");
}

TEST_F(SettingsLine, EveryKeyFillsItsFieldAndSetsItsBit) {
    const struct {
        const char* line;
        int bit;
    } lines[] = {
        {"mark_humans = yes", 0},
        {"MARK_ANIMALS = true", 1},  // every capital, A and Z included, is lowered
        {"mark_objects = yes", 2},
        {"size = 0.5", 3},
        {"rotation = 90", 4},
        {"opacity = 77", 5},
        {"grow_speed = 3", 6},
        {"shrink_speed = 4", 7},
        {"bounce_distance = 0.25", 8},
        {"bounce_speed = 2", 9},
        {"texture_dict = dict", 10},
        {"texture_name = name", 11},
        {"ped_bone = bone", 12},
        {"ped_bone_offset_z = 0.75", 13},
        {"Object_Offset_Z = -1", 14},
        {"mark_enemies_in_lock_on_mode = yes", 15},
        {"show_during_dead_eye = true", 16},
        {"show_in_binoculars = yes", 17},
        // The optional keys: bits above the required ones'.
        {"show_with_hud_hidden = yes", 18},
        {"show_in_menus = true", 19},
        {"show_in_cinematic_camera = yes", 20},
        {"show_during_eagle_eye = yes", 21},
        {"SHOW_IN_SNIPER_SCOPE = yes", 22},
        {"Toggle_Key = ctrl+f7", 23},
    };
    for (const auto& line : lines) {
        uint32_t before = seen;
        EXPECT_TRUE(parse(line.line)) << line.line;
        EXPECT_EQ(seen, before | (1u << line.bit)) << line.line;
    }
    EXPECT_EQ(seen, kAllKeysSeen | kOptionalKeysSeen);
    Settings expected{1,    1,      1,      1,      1,     1,     0.5f, 90.0f, 77, 3.0f, 4.0f, 0.25f,
                      2.0f, "dict", "name", "bone", 0.75f, -1.0f, 1,    1,     1,  1,    1,    kModifierCtrl | 0x76};
    EXPECT_EQ(std::memcmp(&pending, &expected, sizeof expected), 0);
    EXPECT_EQ(log(), "");
}

// A file may leave an optional key out, and then reads it as its default: the
// record a parse starts from holds it so. The flags are yes, toggle_key is
// none, and each seen bit lies above the 18 a complete file needs.
TEST_F(SettingsLine, OptionalKeysAreYesOrNoneUntilTheFileSaysOtherwise) {
    Settings started;
    start_settings_record(&started);
    int optional = 0;
    for (const SettingsKey& key : kSettingsKeys) {
        if (!settings_key_optional(key)) continue;
        ++optional;
        const char* field = reinterpret_cast<const char*>(&started) + key.field_offset;
        bool flag = key.reader == flag_reader;
        EXPECT_TRUE(flag || key.field_offset == offsetof(Settings, toggle_key)) << key.name;
        EXPECT_EQ(*reinterpret_cast<const int32_t*>(field), flag ? 1 : kToggleKeyNone) << key.name;
        EXPECT_EQ(kAllKeysSeen & (1u << key.seen_bit), 0u) << key.name;
    }
    EXPECT_EQ(optional, kOptionalSettingsKeyCount);
    Settings zero{};
    EXPECT_EQ(std::memcmp(&started, &zero, offsetof(Settings, show_with_hud_hidden)), 0) << "a required field set";
    std::memcpy(&pending, &started, sizeof pending);
    EXPECT_TRUE(parse("show_in_menus = no"));
    EXPECT_EQ(pending.show_in_menus, 0);
    EXPECT_EQ(pending.show_in_cinematic_camera, 1);
}

TEST_F(SettingsLine, FlagsTakeOnlyTheFourLowerCaseWords) {
    pending.mark_humans = 7;
    EXPECT_TRUE(parse("mark_humans = no"));
    EXPECT_EQ(pending.mark_humans, 0);
    EXPECT_TRUE(parse("mark_humans = true"));
    EXPECT_EQ(pending.mark_humans, 1);
    EXPECT_TRUE(parse("mark_humans = false"));
    EXPECT_EQ(pending.mark_humans, 0);
    EXPECT_EQ(error(), "");
    EXPECT_TRUE(parse("mark_humans = Yes", 4));
    EXPECT_TRUE(parse("mark_humans = 1", 5));
    EXPECT_TRUE(parse("mark_humans = on", 6));
    EXPECT_EQ(pending.mark_humans, 0);
    EXPECT_EQ(seen, 1u);
    // An optional key's reader is the same, word for word.
    pending.show_in_menus = 1;
    EXPECT_TRUE(parse("show_in_menus = No", 7));
    EXPECT_EQ(pending.show_in_menus, 1);
    EXPECT_EQ(seen, 1u | 1u << 19);
    EXPECT_EQ(log(),
              "Config file line #4: failed to parse value (expected yes/no): Yes (config)\n"
              "Config file line #5: failed to parse value (expected yes/no): 1 (config)\n"
              "Config file line #6: failed to parse value (expected yes/no): on (config)\n"
              "Config file line #7: failed to parse value (expected yes/no): No (config)\n");
    EXPECT_EQ(error(), "Error parsing config file. Check log file for details.");
}

// toggle_key takes a key name with modifiers in front, in any case and any
// order, or none; anything else is a value fault that keeps the field.
TEST_F(SettingsLine, ToggleKeyTakesAKeyNameWithItsModifiersOrNone) {
    const int32_t all = kModifierCtrl | kModifierShift | kModifierAlt;
    const struct {
        const char* value;
        int32_t key;
        const char* logged;  // as the log writes it
    } good[] = {
        {"F7", 0x76, "F7"},
        {"f7", 0x76, "F7"},
        {"ctrl+f7", kModifierCtrl | 0x76, "CTRL+F7"},
        {"Alt+Shift+Ctrl+a", all | 0x41, "CTRL+SHIFT+ALT+A"},
        {"SHIFT+0", kModifierShift | 0x30, "SHIFT+0"},
        {"alt+NumPad9", kModifierAlt | 0x69, "ALT+NUMPAD9"},
        {"F24", 0x87, "F24"},
        {"pageup", 0x21, "PAGEUP"},
        {"PageDown", 0x22, "PAGEDOWN"},
        {"scrolllock", 0x91, "SCROLLLOCK"},
        {"Pause", 0x13, "PAUSE"},
        {"z", 0x5A, "Z"},
        {"None", kToggleKeyNone, "none"},
    };
    for (const auto& key : good) {
        pending.toggle_key = 12345;
        EXPECT_TRUE(parse(std::string("toggle_key = ") + key.value)) << key.value;
        EXPECT_EQ(pending.toggle_key, key.key) << key.value;
        char text[kToggleKeyTextCapacity];
        toggle_key_text(pending.toggle_key, text, sizeof text);
        EXPECT_STREQ(text, key.logged);
    }
    EXPECT_EQ(log(), "");
    EXPECT_EQ(error(), "");

    const char* const bad[] = {"F25",     "F0",        "CTRL+",     "+F7",     "CTRL++F7", "CTRL+CTRL+F7", "WIN+F7",
                               "F7+CTRL", "CTRL + F7", "CTRL+none", "none+F7", "ESC",      "ctrl-f7",      ""};
    std::string expected_log;
    int line = 1;
    for (const char* value : bad) {
        pending.toggle_key = 0x76;
        EXPECT_TRUE(parse(std::string("toggle_key = ") + value, ++line)) << value;
        EXPECT_EQ(pending.toggle_key, 0x76) << value;
        expected_log += "Config file line #" + std::to_string(line) +
                        ": failed to parse value (expected a key name such as F7, CTRL+F7 or none): " + value +
                        " (config)\n";
    }
    EXPECT_EQ(seen, 1u << 23);
    EXPECT_EQ(log(), expected_log);
    EXPECT_EQ(error(), "Error parsing config file. Check log file for details.");
}

// The table holds every key name toggle_key takes, once each, and every one
// with every set of modifiers reads back as the log writes it.
TEST(KeyNames, EveryNameWithEveryModifierReadsBackAsWritten) {
    EXPECT_EQ(kKeyNameCount, 24 + 26 + 10 + 10 + 12);
    for (int k = 0; k < kKeyNameCount; ++k) {
        EXPECT_STREQ(key_name_of(kKeyNames[k].virtual_key), kKeyNames[k].name) << "a code named twice";
        for (int32_t modifiers = 0; modifiers <= kModifierMask; modifiers += kModifierCtrl) {
            char text[kToggleKeyTextCapacity];
            toggle_key_text(modifiers | kKeyNames[k].virtual_key, text, sizeof text);
            int32_t read = kToggleKeyNone;
            EXPECT_TRUE(parse_toggle_key(text, &read)) << text;
            EXPECT_EQ(read, modifiers | kKeyNames[k].virtual_key) << text;
        }
    }
    char longest[kToggleKeyTextCapacity];
    toggle_key_text(kModifierMask | 0x91, longest, sizeof longest);
    EXPECT_STREQ(longest, "CTRL+SHIFT+ALT+SCROLLLOCK");
    char small[6];
    toggle_key_text(kModifierMask | 0x91, small, sizeof small);
    EXPECT_STREQ(small, "CTRL+");
}

TEST_F(SettingsLine, DecimalNumbersAreReadAsTheCLibraryReadsThem) {
    const struct {
        const char* value;
        float expected;
    } good[] = {{"1.5abc", 1.5f}, {"1,5", 1.0f}, {"-2e3", -2000.0f}, {"0x1p-2", 0.25f},
                {".5", 0.5f},     {"+7", 7.0f},  {"1e60", INFINITY}, {"-inf", -INFINITY}};
    for (const auto& number : good) {
        pending.size = 99.0f;
        EXPECT_TRUE(parse(std::string("size = ") + number.value));
        EXPECT_EQ(pending.size, number.expected) << number.value;
    }
    EXPECT_TRUE(parse("size = nan"));
    EXPECT_TRUE(std::isnan(pending.size));
    EXPECT_EQ(log(), "");
}

TEST_F(SettingsLine, UnreadableDecimalIsAValueFaultThatKeepsTheField) {
    pending.size = 2.0f;
    EXPECT_TRUE(parse("size = abc", 3));
    EXPECT_TRUE(parse("size =", 4));
    EXPECT_EQ(pending.size, 2.0f);
    EXPECT_EQ(seen, 1u << 3);
    EXPECT_EQ(log(),
              "Config file line #3: failed to parse value (expected a decimal number): abc (config)\n"
              "Config file line #4: failed to parse value (expected a decimal number):  (config)\n");
    EXPECT_EQ(error(), "Error parsing config file. Check log file for details.");
}

TEST_F(SettingsLine, IntegersTakeHexadecimalOctalAndDecimal) {
    const struct {
        const char* value;
        int expected;
    } good[] = {{"0x80", 128}, {"0X1f", 31}, {"010", 8}, {"255.9", 255}, {"-7", -7}, {"42abc", 42}};
    for (const auto& number : good) {
        EXPECT_TRUE(parse(std::string("opacity = ") + number.value));
        EXPECT_EQ(pending.opacity, number.expected) << number.value;
    }
    EXPECT_EQ(log(), "");
    EXPECT_TRUE(parse("opacity = full", 9));
    EXPECT_TRUE(parse("opacity = ", 10));
    EXPECT_EQ(pending.opacity, 42);
    EXPECT_EQ(log(),
              "Config file line #9: failed to parse value (expected an integer): full (config)\n"
              "Config file line #10: failed to parse value (expected an integer):  (config)\n");
}

TEST_F(SettingsLine, CommentsStartAnywhereAndValuesMayHoldEquals) {
    EXPECT_TRUE(parse("texture_name = icon;big"));
    EXPECT_STREQ(pending.texture_name, "icon");
    EXPECT_TRUE(parse("texture_name = a=b"));
    EXPECT_STREQ(pending.texture_name, "a=b");
    EXPECT_TRUE(parse("texture_dict = x # the dictionary"));
    EXPECT_STREQ(pending.texture_dict, "x");
    EXPECT_TRUE(parse("ped_bone ="));
    EXPECT_STREQ(pending.ped_bone, "");
    EXPECT_EQ(log(), "");
    EXPECT_EQ(seen, (1u << 10) | (1u << 11) | (1u << 12));
}

TEST_F(SettingsLine, TextValuesUpTo127CharactersFit) {
    std::string fits(127, 't');
    EXPECT_TRUE(parse("texture_dict = " + fits));
    EXPECT_EQ(std::string(pending.texture_dict), fits);
    EXPECT_TRUE(parse("texture_dict = " + fits + "u", 2));
    EXPECT_STREQ(pending.texture_dict, "");
    EXPECT_EQ(seen, 1u << 10);
    EXPECT_EQ(log(), "Config file line #2: value too long (>128) (config)\n");
    EXPECT_EQ(error(), "Error parsing config file. Check log file for details.");
}

TEST_F(SettingsLine, LineFaultsStopTheParse) {
    EXPECT_FALSE(parse("= 5", 1));
    EXPECT_FALSE(parse("Mark Humans = yes", 2));
    EXPECT_FALSE(parse("just words", 3));
    EXPECT_FALSE(parse("sizes = 1", 4));
    EXPECT_FALSE(parse("show_in_menu = no", 5));  // neither required nor optional
    EXPECT_EQ(seen, 0u);
    EXPECT_EQ(log(),
              "Config file line #1: unknown key:  (config)\n"
              "Config file line #2: unknown key: mark humans (config)\n"
              "Config file line #3: not delimited by '=' (config)\n"
              "Config file line #4: unknown key: sizes (config)\n"
              "Config file line #5: unknown key: show_in_menu (config)\n");
    EXPECT_EQ(error(), "Error parsing config file. Check log file for details.");
}

TEST_F(SettingsLine, BlankAndCommentLinesAreSkippedSilently) {
    EXPECT_TRUE(parse("\n"));
    EXPECT_TRUE(parse(" \t \r\n"));
    EXPECT_TRUE(parse("# only a comment\n"));
    EXPECT_TRUE(parse("   ; a comment after blanks\n"));
    EXPECT_TRUE(parse(""));
    EXPECT_EQ(seen, 0u);
    EXPECT_EQ(log(), "");
    EXPECT_EQ(error(), "");
}

TEST_F(SettingsLine, LengthIsTestedBeforeAnythingElseLineFeedIncluded) {
    std::string value(2000 - std::strlen("ped_bone = "), 'b');
    EXPECT_FALSE(parse("ped_bone = " + value + "\n", 7));
    EXPECT_EQ(log(), "Config file line #7: line too long (>2000) (config)\n");
    EXPECT_TRUE(parse("ped_bone = " + value, 8));  // 2000 characters without a line feed
    EXPECT_FALSE(parse("#" + std::string(2000, 'c'), 9));
    EXPECT_EQ(log(),
              "Config file line #7: line too long (>2000) (config)\n"
              "Config file line #8: value too long (>128) (config)\n"
              "Config file line #9: line too long (>2000) (config)\n");
}

TEST_F(SettingsLine, ByteOrderMarkIsPartOfTheFirstLine) {
    EXPECT_FALSE(parse("\xEF\xBB\xBFsize = 1\n", 1));
    EXPECT_FALSE(parse("\xEF\xBB\xBF# settings\n", 1));
    EXPECT_EQ(log(),
              "Config file line #1: unknown key: \xEF\xBB\xBFsize (config)\n"
              "Config file line #1: not delimited by '=' (config)\n");
}

TEST_F(SettingsLine, LastGoodValueOfARepeatedKeyStays) {
    EXPECT_TRUE(parse("opacity = 10"));
    EXPECT_TRUE(parse("opacity = 20"));
    EXPECT_EQ(pending.opacity, 20);
    EXPECT_TRUE(parse("opacity = bad"));
    EXPECT_EQ(pending.opacity, 20);
}

TEST_F(SettingsLine, KeyReadersAnswerOnlyForTheirOwnName) {
    float number = 1.0f;
    int32_t integer = 1;
    char text[kTextSettingCapacity] = "kept";
    EXPECT_FALSE(read_float_key("size", "2", "rotation", 1, &number));
    EXPECT_FALSE(read_int_key("size", "2", "opacity", 1, &integer));
    EXPECT_FALSE(read_flag_key("size", "no", "mark_humans", 1, &integer));
    EXPECT_FALSE(read_text_key("size", "x", "ped_bone", 1, text));
    EXPECT_EQ(number, 1.0f);
    EXPECT_EQ(integer, 1);
    EXPECT_STREQ(text, "kept");
    EXPECT_EQ(log(), "");
}

TEST(TrimWhitespace, RemovesOnlySpaceTabCrAndLfAtBothEnds) {
    const struct {
        const char* input;
        const char* expected;
    } cases[] = {{"  a b \t", "a b"}, {" \t\r\n", ""},    {"", ""},     {"x", "x"},
                 {"\n\nx\r\n", "x"},  {"\va\f", "\va\f"}, {"a  ", "a"}, {"  a", "a"}};
    for (const auto& c : cases) {
        char buffer[32];
        std::strcpy(buffer, c.input);
        trim_whitespace(buffer);
        EXPECT_STREQ(buffer, c.expected) << '"' << c.input << '"';
    }
}

}  // namespace
