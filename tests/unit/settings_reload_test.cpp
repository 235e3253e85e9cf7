// The reload cycle with the clock and every failure under the test's control:
// the once-a-second throttle, each row of its failure handling, the commit of
// complete files only, and the three mended behaviours (a failed look reads
// the file again as soon as it can, a clock set back looks at once).
#include <gtest/gtest.h>

#include <ctime>
#include <cstring>
#include <string>

#include "config.h"
#include "fake_platform.h"
#include "platform/platform_posix.h"
#include "settings_text.h"
#include "test_files.h"

namespace {

const char kGeneric[] = "Error parsing config file. Check log file for details.";
const char kMissing[] =
    "Error in config file: One or more keys are missing.\n"
    "If you just updated the mod, check the changelog or the default config file for new values.\n";
const std::string kMissingInLog =
    "Error in config file: One or more keys are missing.\n"
    "If you just updated the mod, check the changelog or the default config file for new values.\n (config)\n";

struct Reload : ::testing::Test {
    TempFolder temp_folder;
    const std::string& folder = temp_folder.path;
    Settings live{};
    FileTime last_check = 0;
    FileTime last_file = 0;
    FileTime file_time = 1000 * kFileTimeSecond;

    void SetUp() override {
        reset_fake_platform();
        use_folder_for_paths(folder);
        config_error_text[0] = 0;
    }
    std::string settings_path() const { return folder + "/Ondrelle.ini"; }
    // Saves the settings file with a new last-write time.
    void save(const std::string& contents) {
        write_file(settings_path(), contents);
        file_time += kFileTimeSecond;
        set_file_time(settings_path(), file_time);
    }
    // Lets more than a second pass, then runs the reload.
    void look() {
        fake_platform.now += kFileTimeSecond + 1;
        load_settings_if_changed(live, last_check, last_file);
    }
    // Frames within the same second as the last look: none may look again,
    // whatever that look found.
    void frames_within_the_second() {
        int looks = fake_platform.time_looks;
        for (int frame = 0; frame < 10; ++frame) load_settings_if_changed(live, last_check, last_file);
        EXPECT_EQ(fake_platform.time_looks, looks) << "looked again within the second";
    }
    std::string log() const { return log_without_times_and_lines(read_file(folder + "/Ondrelle.log")); }
    void clear_log() const { std::remove((folder + "/Ondrelle.log").c_str()); }
    std::string error() const { return config_error_text; }
    std::string live_text() const { return describe_settings(live); }
};

TEST_F(Reload, FirstLookReadsTheFileAndCommitsIt) {
    save(complete_settings_file());
    load_settings_if_changed(live, last_check, last_file);
    EXPECT_EQ(log(), "Config file reloaded (config)\n");
    EXPECT_EQ(error(), "");
    EXPECT_EQ(live.opacity, 200);
    EXPECT_STREQ(live.texture_name, "star");
    EXPECT_EQ(last_check, fake_platform.now);
    EXPECT_EQ(last_file, file_time);
}

TEST_F(Reload, LooksAtMostOnceASecondByTheSystemClock) {
    save(complete_settings_file());
    load_settings_if_changed(live, last_check, last_file);
    ASSERT_EQ(fake_platform.time_looks, 1);
    fake_platform.now += kFileTimeSecond;  // exactly one second: still too soon
    load_settings_if_changed(live, last_check, last_file);
    EXPECT_EQ(fake_platform.time_looks, 1);
    EXPECT_EQ(fake_platform.stream_opens, 2);  // the log entry and the parse
    fake_platform.now += 1;
    load_settings_if_changed(live, last_check, last_file);
    EXPECT_EQ(fake_platform.time_looks, 2);
}

TEST_F(Reload, ClockSetBackLooksAtOnce) {
    save(complete_settings_file());
    load_settings_if_changed(live, last_check, last_file);
    fake_platform.now -= 3600 * kFileTimeSecond;
    save(settings_file_with("opacity", "17"));
    load_settings_if_changed(live, last_check, last_file);
    EXPECT_EQ(fake_platform.time_looks, 2);
    EXPECT_EQ(live.opacity, 17);
    EXPECT_EQ(last_check, fake_platform.now);
    load_settings_if_changed(live, last_check, last_file);  // and throttles from the new time
    EXPECT_EQ(fake_platform.time_looks, 2);
}

TEST_F(Reload, UnchangedFileIsNotParsedAgain) {
    save(complete_settings_file());
    look();
    clear_log();
    int opens = fake_platform.stream_opens;
    look();
    EXPECT_EQ(fake_platform.stream_opens, opens);
    EXPECT_EQ(log(), "");
}

TEST_F(Reload, SavedAgainWithTheSameContentIsParsedAgain) {
    save(complete_settings_file());
    look();
    save(complete_settings_file());
    look();
    EXPECT_EQ(log(), "Config file reloaded (config)\nConfig file reloaded (config)\n");
}

TEST_F(Reload, OlderCopyRestoredIsParsed) {
    save(settings_file_with("opacity", "1"));
    look();
    write_file(settings_path(), settings_file_with("opacity", "2"));
    set_file_time(settings_path(), file_time - 50 * kFileTimeSecond);
    look();
    EXPECT_EQ(live.opacity, 2);
}

TEST_F(Reload, SeveralSavesBetweenLooksAreParsedOnceAsLastSaved) {
    save(settings_file_with("opacity", "1"));
    save(settings_file_with("opacity", "2"));
    save(settings_file_with("opacity", "3"));
    look();
    EXPECT_EQ(live.opacity, 3);
    EXPECT_EQ(log(), "Config file reloaded (config)\n");
}

TEST_F(Reload, MissingFileIsReportedEverySecondAndReadOnceItExists) {
    look();
    frames_within_the_second();
    look();
    EXPECT_EQ(log(), "CreateFile failed (config)\nCreateFile failed (config)\n");
    EXPECT_EQ(error(), "Failed to open config file");
    save(complete_settings_file());
    look();
    EXPECT_EQ(error(), "");
    EXPECT_EQ(live.opacity, 200);
}

TEST_F(Reload, FailedTimeLookThenTheSameFileAgainIsReadAgain) {
    save(complete_settings_file());
    look();
    fake_platform.fail_time_open = true;  // another program holds it without sharing
    look();
    frames_within_the_second();
    EXPECT_EQ(error(), "Failed to open config file");
    fake_platform.fail_time_open = false;  // released, unchanged
    look();
    EXPECT_EQ(error(), "");
    EXPECT_EQ(log(), "Config file reloaded (config)\nCreateFile failed (config)\nConfig file reloaded (config)\n");
}

TEST_F(Reload, UnreadableFileTimeIsReportedWithTheSystemCodeAndRetried) {
    save(complete_settings_file());
    fake_platform.fail_time_read = true;
    fake_platform.time_read_error = 32;
    look();
    frames_within_the_second();
    EXPECT_EQ(log(), "GetFileTime failed: 32 (config)\n");
    EXPECT_EQ(error(), "Error while reading config filetime");
    EXPECT_EQ(live.opacity, 0);
    fake_platform.fail_time_read = false;
    look();
    EXPECT_EQ(error(), "");
    EXPECT_EQ(live.opacity, 200);
}

TEST_F(Reload, StreamThatCannotBeOpenedIsReportedAndTriedAgain) {
    save(complete_settings_file());
    fake_platform.fail_stream_open = true;
    look();
    frames_within_the_second();
    EXPECT_EQ(log(), "fopen failed (config)\n");
    EXPECT_EQ(error(), "Failed to open config file for parsing");
    fake_platform.fail_stream_open = false;
    look();
    EXPECT_EQ(error(), "");
    EXPECT_EQ(live.opacity, 200);
}

TEST_F(Reload, LineFaultWithMoreLinesKeepsTheLiveSettings) {
    save(complete_settings_file());
    look();
    std::string before = live_text();
    clear_log();
    save("size = 3\nrotation = 1\nbroken line\nopacity = 5\n");
    look();
    EXPECT_EQ(log(),
              "Config file line #3: not delimited by '=' (config)\n"
              "Config file line #3: didn't reach EOF (ferror 0) (config)\n");
    EXPECT_EQ(error(), kGeneric);
    EXPECT_EQ(live_text(), before);
    clear_log();
    look();  // the same broken version is not parsed again
    EXPECT_EQ(log(), "");
    EXPECT_EQ(error(), kGeneric);
}

TEST_F(Reload, LineFaultOnALastLineWithoutLineBreakStillCommitsACompleteFile) {
    save(complete_settings_file() + "unknown = 1");
    look();
    EXPECT_EQ(log(), "Config file line #19: unknown key: unknown (config)\nConfig file reloaded (config)\n");
    EXPECT_EQ(error(), kGeneric);
    EXPECT_EQ(live.opacity, 200);
}

TEST_F(Reload, LineFaultOnALastLineOfAnIncompleteFileShowsTheMissingKeys) {
    save("size = 1\nnot a setting");
    look();
    EXPECT_EQ(log(), "Config file line #2: not delimited by '=' (config)\n" + kMissingInLog);
    EXPECT_EQ(error(), kMissing);
}

TEST_F(Reload, ReadErrorIsReportedWithTheLineReached) {
    save(complete_settings_file());
    fake_platform.read_error_after = 40;  // inside the third line
    look();
    EXPECT_EQ(log(), "Config file line #2: didn't reach EOF (ferror 1) (config)\n");
    EXPECT_EQ(error(), kGeneric);
    EXPECT_EQ(live.opacity, 0);
}

TEST_F(Reload, MissingKeyIsLoggedAndShownAndTheLiveSettingsStay) {
    save(complete_settings_file());
    look();
    clear_log();
    save(settings_file_without("show_in_binoculars"));
    look();
    EXPECT_EQ(log(), kMissingInLog);
    EXPECT_EQ(error(), kMissing);
    EXPECT_EQ(live.opacity, 200);
}

TEST_F(Reload, EveryRequiredKeyIsRequired) {
    for (const SettingsKey& key : kSettingsKeys) {
        if (settings_key_optional(key)) continue;
        Settings untouched{};
        live = untouched;
        save(settings_file_without(key.name));
        look();
        EXPECT_EQ(error(), kMissing) << key.name;
        EXPECT_EQ(std::memcmp(&live, &untouched, sizeof live), 0) << key.name;
    }
}

// A file of the 18 required keys is complete, and reads every optional key
// as yes; one that gives an optional key reads it as given, the others as
// yes. Optional keys alone do not make a file complete.
TEST_F(Reload, OptionalKeysMayBeLeftOutAndAreThenYes) {
    save(complete_settings_file());
    look();
    EXPECT_EQ(log(), "Config file reloaded (config)\n");
    EXPECT_EQ(error(), "");
    for (int32_t flag : {live.show_with_hud_hidden, live.show_in_menus, live.show_in_cinematic_camera,
                         live.show_during_eagle_eye, live.show_in_sniper_scope})
        EXPECT_EQ(flag, 1);

    save(complete_settings_file() + "show_in_menus = no\nshow_during_eagle_eye = false\n");
    look();
    EXPECT_EQ(error(), "");
    EXPECT_EQ(live.show_in_menus, 0);
    EXPECT_EQ(live.show_during_eagle_eye, 0);
    EXPECT_EQ(live.show_with_hud_hidden, 1);
    EXPECT_EQ(live.show_in_sniper_scope, 1);

    clear_log();
    std::string before = live_text();
    save(settings_file_without("ped_bone") + "show_in_menus = yes\n");
    look();
    EXPECT_EQ(log(), kMissingInLog);
    EXPECT_EQ(error(), kMissing);
    EXPECT_EQ(live_text(), before);
}

TEST_F(Reload, CompleteFileWithAValueFaultIsCommittedAndStillShowsTheError) {
    save(settings_file_with("opacity", "opaque"));
    look();
    EXPECT_EQ(log(),
              "Config file line #9: failed to parse value (expected an integer): opaque (config)\n"
              "Config file reloaded (config)\n");
    EXPECT_EQ(error(), kGeneric);
    EXPECT_STREQ(live.texture_dict, "generic_textures");
    EXPECT_EQ(live.opacity, 0);  // the fresh record's zero: the value never read
    save(complete_settings_file());
    look();
    EXPECT_EQ(error(), "");
}

TEST_F(Reload, ACommitReplacesTheWholeRecord) {
    save(complete_settings_file());
    look();
    save(settings_file_with("texture_name", "arrow"));
    look();
    Settings expected = live;
    std::strcpy(expected.texture_name, "arrow");
    EXPECT_EQ(describe_settings(live), describe_settings(expected));
}

TEST_F(Reload, DefaultSettingsFileIsCleanAndComplete) {
    save(default_settings_text());
    look();
    EXPECT_EQ(log(), "Config file reloaded (config)\n");
    EXPECT_EQ(error(), "");
    EXPECT_GT(live.size, 0.0f);
    EXPECT_GT(live.grow_speed, 0.0f);
    EXPECT_GT(live.shrink_speed, 0.0f);
    EXPECT_STRNE(live.texture_dict, "");
    EXPECT_STRNE(live.texture_name, "");
    EXPECT_STRNE(live.ped_bone, "");
}

TEST_F(Reload, TenMegabytesOfBinaryGarbageChangeNothing) {
    save(complete_settings_file());
    look();
    std::string before = live_text();
    std::string garbage(10 * 1024 * 1024, '\0');
    uint32_t state = 12345;
    for (char& c : garbage) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    save(garbage);
    look();
    EXPECT_NE(error(), "");
    EXPECT_EQ(live_text(), before);
}

TEST_F(Reload, LastLineOfExactly2000CharactersFitsOnlyWithoutALineBreak) {
    std::string comment = "#" + std::string(1999, 'c');
    save(complete_settings_file() + comment);
    look();
    EXPECT_EQ(error(), "");
    save(complete_settings_file() + comment + "\n");
    look();
    EXPECT_EQ(error(), kGeneric);
    EXPECT_NE(log().find("Config file line #19: line too long (>2000)"), std::string::npos);
    save(complete_settings_file() + comment + "c");
    look();
    EXPECT_EQ(error(), kGeneric);
}

TEST(DefaultSettingsFile, HoldsEveryKeyEachUnderAComment) {
    std::string text = default_settings_text();
    SettingsParse parse = parse_settings_text(text);
    EXPECT_TRUE(parse.reached_end);
    EXPECT_EQ(parse.seen_keys, kAllKeysSeen | kOptionalKeysSeen);
    for (const SettingsKey& key : kSettingsKeys) {
        size_t at = text.find("\n" + std::string(key.name) + " = ");
        ASSERT_NE(at, std::string::npos) << key.name;
        size_t previous_line = text.rfind('\n', at - 1);
        EXPECT_EQ(text[previous_line + 1], ';') << "no comment above " << key.name;
    }
}

// The native platform's clock and file times, in the units the reload compares.
TEST(NativeClock, UnixTimesBecomeFileTimesAndTheClockReadsNow) {
    const struct {
        int64_t seconds;
        long nanoseconds;
        FileTime expected;
    } times[] = {
        {0, 0, 116444736000000000ULL},           // 1970-01-01
        {0, 99, 116444736000000000ULL},          // below one 100 ns unit
        {0, 100, 116444736000000001ULL},         //
        {1796688000, 0, 134411616000000000ULL},  // 2026-12-08
        {-11644473600LL, 0, 0},                  // 1601-01-01
    };
    for (const auto& t : times) EXPECT_EQ(file_time_from_unix(t.seconds, t.nanoseconds), t.expected) << t.seconds;
    FileTime before = file_time_from_unix(std::time(nullptr), 0);
    FileTime now = posix_system_time();
    EXPECT_GE(now + kFileTimeSecond, before);
    EXPECT_LE(now, before + 2 * kFileTimeSecond);
}

}  // namespace
