// The log writer over the real Windows platform layer and C runtime: the
// entry's exact layout with CR LF on disk and the local time, messages of
// any length written whole, a deleted log created again, an exclusively held
// log skipped, and the only stream modes Windows takes.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "common/bounded_text.h"
#include "host/module_paths.h"
#include "log/log.h"
#include "platform/platform.h"
#include "test_game.h"

namespace {

struct WindowsLog : ::testing::Test {
    std::wstring folder;
    std::wstring path;
    void SetUp() override {
        folder = make_game_folder(L"log");
        path = folder + L"\\Ondrelle.log";
        ASSERT_TRUE(copy_text(log_path, kPathCapacity, path.c_str()));
    }
    void TearDown() override { remove_folder(folder); }
    std::string bytes() const { return read_bytes(path); }
};

// Milliseconds since midnight of a local time.
long milliseconds_of_day(long hour, long minute, long second, long millisecond) {
    return ((hour * 60 + minute) * 60 + second) * 1000 + millisecond;
}

TEST_F(WindowsLog, EntryLayoutWithCrLfOnDiskStampedWithTheLocalTime) {
    // A moment whose minute and second differ and whose milliseconds are far
    // from a whole second, so that swapped fields or lost milliseconds show.
    SYSTEMTIME before;
    for (int attempt = 0; attempt < 20; ++attempt) {
        GetLocalTime(&before);
        if (before.wMinute != before.wSecond && before.wMilliseconds >= 10 && before.wMilliseconds < 900) break;
        Sleep(97);
    }
    write_log("script_main", 29, "Script started");
    SYSTEMTIME after;
    GetLocalTime(&after);
    std::regex layout("([0-2][0-9]):([0-5][0-9]):([0-5][0-9])\\.([0-9]{3}) Script started \\(script_main:29\\)\r\n");
    std::smatch stamp;
    std::string entry = bytes();
    ASSERT_TRUE(std::regex_match(entry, stamp, layout)) << entry;
    long written =
        milliseconds_of_day(std::stol(stamp[1]), std::stol(stamp[2]), std::stol(stamp[3]), std::stol(stamp[4]));
    long first = milliseconds_of_day(before.wHour, before.wMinute, before.wSecond, before.wMilliseconds);
    long last = milliseconds_of_day(after.wHour, after.wMinute, after.wSecond, after.wMilliseconds);
    if (last < first) last += 24 * 60 * 60 * 1000;  // midnight passed meanwhile
    if (written < first) written += 24 * 60 * 60 * 1000;
    EXPECT_GE(written, first) << entry;
    EXPECT_LE(written, last) << entry;
}

TEST_F(WindowsLog, StreamsOpenOnlyInTheModesWindowsTakes) {
    // Windows refuses a mode with a character it does not know (Wine takes
    // it), so the platform layer refuses any mode but its own three.
    for (const char* mode : {"a ", "rt+", "ab", "x", ""}) {
        FILE* stream = platform_open_shared(log_path, mode);
        EXPECT_EQ(stream, nullptr) << '"' << mode << '"';
        if (stream != nullptr) std::fclose(stream);
    }
    for (const char* mode : {"a", "r", "w"}) {
        FILE* stream = platform_open_shared(log_path, mode);
        EXPECT_NE(stream, nullptr) << mode;
        if (stream != nullptr) std::fclose(stream);
    }
}

TEST_F(WindowsLog, EveryLineFeedInAMessageIsStoredAsCrLf) {
    write_log("config", 7, "%s", "one\ntwo\n");
    std::string text = bytes().substr(13);
    EXPECT_EQ(text, "one\r\ntwo\r\n (config:7)\r\n");
}

TEST_F(WindowsLog, MessagesOfAnyLengthAreWrittenWholeOnOneLine) {
    for (size_t length : {size_t(1023), size_t(1024), size_t(2600)}) {
        DeleteFileW(path.c_str());
        std::string message(length, 'm');
        message[0] = 'A';
        message[length - 1] = 'Z';
        write_log("config", -5, "%s", message.c_str());
        EXPECT_EQ(bytes().substr(13), message + " (config:-5)\r\n") << "length " << length;
    }
}

TEST_F(WindowsLog, AMessageIsNeverTakenAsAFormat) {
    write_log("config", 1, "Config file line #%i: unknown key: %s", 3, "%s%n%x");
    EXPECT_EQ(bytes().substr(13), "Config file line #3: unknown key: %s%n%x (config:1)\r\n");
}

TEST_F(WindowsLog, EntriesAreAppended) {
    write_log("config", 1, "first");
    write_log("config", 2, "second");
    EXPECT_EQ(log_lines_without_times(bytes()), "first (config:1)\nsecond (config:2)\n");
}

TEST_F(WindowsLog, DeletedLogIsCreatedAgainByTheNextEntry) {
    write_log("config", 1, "first");
    ASSERT_TRUE(DeleteFileW(path.c_str()));
    write_log("config", 2, "second");
    EXPECT_EQ(log_lines_without_times(bytes()), "second (config:2)\n");
}

TEST_F(WindowsLog, LogHeldWithoutSharingLosesTheEntryAndNothingBreaks) {
    write_log("config", 1, "before");
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    write_log("config", 2, "while held");
    CloseHandle(holder);
    write_log("config", 3, "after");
    EXPECT_EQ(log_lines_without_times(bytes()), "before (config:1)\nafter (config:3)\n");
}

TEST_F(WindowsLog, ReadersMayKeepTheLogOpenWhileEntriesAreWritten) {
    HANDLE reader = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    write_log("config", 4, "seen by a tail");
    CloseHandle(reader);
    EXPECT_EQ(log_lines_without_times(bytes()), "seen by a tail (config:4)\n");
}

TEST_F(WindowsLog, NoPathMeansNoFileAndNoCrash) {
    log_path[0] = 0;
    write_log("config", 1, "lost");
    EXPECT_FALSE(file_exists(path));
}

}  // namespace
