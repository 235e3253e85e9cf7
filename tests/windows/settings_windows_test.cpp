// The settings parser and reload cycle over the real Windows C runtime and
// kernel: the number conversions that ship, CR LF files, real file times,
// and files that other programs hold open.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "common/bounded_text.h"
#include "config.h"
#include "host/module_paths.h"
#include "test_game.h"

namespace {

struct WindowsSettings : ::testing::Test {
    std::wstring folder;
    std::wstring ini;
    Settings live{};
    FileTime last_check = 0;
    FileTime last_file = 0;

    void SetUp() override {
        folder = make_game_folder(L"settings");
        ini = folder + L"\\Ondrelle.ini";
        ASSERT_TRUE(copy_text(log_path, kPathCapacity, (folder + L"\\Ondrelle.log").c_str()));
        ASSERT_TRUE(copy_text(config_path, kPathCapacity, ini.c_str()));
        config_error_text[0] = 0;
    }
    void TearDown() override { remove_folder(folder); }
    // A look now, whatever the throttle says.
    void look() {
        last_check = 0;
        load_settings_if_changed(live, last_check, last_file);
    }
    std::string log() const { return log_lines_without_times(read_bytes(folder + L"\\Ondrelle.log")); }
    bool parse_value(const char* line) {
        Settings pending{};
        uint32_t seen = 0;
        char buffer[kLineBufferCapacity];
        EXPECT_TRUE(copy_text(buffer, sizeof buffer, line));
        parse_settings_line(buffer, 1, &pending, &seen);
        parsed = pending;
        return seen != 0;
    }
    Settings parsed{};
};

TEST_F(WindowsSettings, NumberConversionsOfTheShippedRuntime) {
    const struct {
        const char* line;
        float size;
    } floats[] = {{"size = 1.5abc", 1.5f}, {"size = 1,5", 1.0f},  {"size = 0x1p3", 8.0f},   {"size = -inf", -INFINITY},
                  {"size = 2e-1", 0.2f},   {"size = 0x.8", 0.5f}, {"size = 1e60", INFINITY}};
    for (const auto& f : floats) {
        ASSERT_TRUE(parse_value(f.line));
        EXPECT_EQ(parsed.size, f.size) << f.line;
    }
    ASSERT_TRUE(parse_value("size = nan"));
    EXPECT_TRUE(std::isnan(parsed.size));
    const struct {
        const char* line;
        int opacity;
    } ints[] = {{"opacity = 0x80", 128}, {"opacity = 010", 8}, {"opacity = 255.9", 255}, {"opacity = -12", -12}};
    for (const auto& i : ints) {
        ASSERT_TRUE(parse_value(i.line));
        EXPECT_EQ(parsed.opacity, i.opacity) << i.line;
    }
    EXPECT_EQ(log(), "");
}

TEST_F(WindowsSettings, CrLfFileIsReadAndCommitted) {
    std::string text = default_settings_bytes();
    ASSERT_NE(text.find("\r\n"), std::string::npos) << "the shipped file keeps Windows line ends";
    ASSERT_TRUE(write_bytes(ini, text));
    look();
    EXPECT_EQ(log(), "Config file reloaded (config:" + log().substr(log().find(':') + 1));
    EXPECT_STREQ(config_error_text, "");
    EXPECT_EQ(live.ped_bone_offset_z, 0.35f);
    EXPECT_STREQ(live.texture_name, "star");
}

TEST_F(WindowsSettings, MissingFileThenCreatedThenSavedAgainThenAnOlderCopy) {
    look();
    EXPECT_STREQ(config_error_text, "Failed to open config file");
    ASSERT_TRUE(write_bytes(ini, default_settings_bytes()));
    ASSERT_TRUE(set_last_write_time(ini, -100));
    look();
    EXPECT_STREQ(config_error_text, "");
    ASSERT_TRUE(write_bytes(ini, default_settings_bytes()));  // saved again, same content
    ASSERT_TRUE(set_last_write_time(ini, -50));
    look();
    ASSERT_TRUE(set_last_write_time(ini, -200));  // an older copy put back
    look();
    look();  // unchanged: nothing
    std::string entries = log();
    size_t reloads = 0;
    for (size_t at = entries.find("Config file reloaded"); at != std::string::npos;
         at = entries.find("Config file reloaded", at + 1))
        ++reloads;
    EXPECT_EQ(reloads, 3u);
    EXPECT_EQ(entries.rfind("CreateFile failed (config:", 0), 0u);
}

TEST_F(WindowsSettings, FileHeldWithoutSharingIsReportedThenReadWhenReleased) {
    ASSERT_TRUE(write_bytes(ini, default_settings_bytes()));
    look();
    HANDLE holder = CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    look();
    EXPECT_STREQ(config_error_text, "Failed to open config file");
    // The frames right after a failed look wait their second like any other.
    for (int frame = 0; frame < 10; ++frame) load_settings_if_changed(live, last_check, last_file);
    CloseHandle(holder);
    look();  // released unchanged: read again, the error goes
    EXPECT_STREQ(config_error_text, "");
    std::string entries = log();
    EXPECT_EQ(entries.find("CreateFile failed"), entries.rfind("CreateFile failed")) << entries;
    EXPECT_NE(entries.find("CreateFile failed"), std::string::npos);
}

TEST_F(WindowsSettings, UnreadableFileTimeIsLoggedWithTheSystemsErrorCode) {
    // The NUL device opens like a file but has no file times to give.
    ASSERT_TRUE(copy_text(config_path, kPathCapacity, L"\\\\.\\NUL"));
    HANDLE device = CreateFileW(config_path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    FILETIME ignored;
    ASSERT_FALSE(GetFileTime(device, nullptr, nullptr, &ignored));
    DWORD system_code = GetLastError();
    CloseHandle(device);
    ASSERT_NE(system_code, 0u);
    look();
    EXPECT_EQ(log().substr(0, log().find(" (config:")), "GetFileTime failed: " + std::to_string(system_code));
    EXPECT_STREQ(config_error_text, "Error while reading config filetime");
}

TEST_F(WindowsSettings, EditorKeepingTheFileOpenForWritingDoesNotDisturbTheLook) {
    // An editor that holds the file open to write, sharing reading, or
    // reading and writing: the time check and the stream both still open it.
    for (DWORD editor_sharing : {DWORD(FILE_SHARE_READ), DWORD(FILE_SHARE_READ | FILE_SHARE_WRITE)}) {
        DeleteFileW((folder + L"\\Ondrelle.log").c_str());
        ASSERT_TRUE(write_bytes(ini, default_settings_bytes()));
        HANDLE editor = CreateFileW(ini.c_str(), GENERIC_READ | GENERIC_WRITE, editor_sharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(editor, INVALID_HANDLE_VALUE);
        last_file = 0;
        look();
        CloseHandle(editor);
        EXPECT_EQ(log().substr(0, log().find(" (config:")), "Config file reloaded") << "sharing " << editor_sharing;
        EXPECT_STREQ(config_error_text, "") << "sharing " << editor_sharing;
    }
}

TEST_F(WindowsSettings, LookDoesNotStopAnotherProgramFromOpeningTheFileToWrite) {
    ASSERT_TRUE(write_bytes(ini, default_settings_bytes()));
    look();
    // The time check closes its handle at once; a save right after succeeds.
    HANDLE saver = CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(saver, INVALID_HANDLE_VALUE);
    if (saver != INVALID_HANDLE_VALUE) CloseHandle(saver);
}

}  // namespace
