// The log writer natively, with the clock fixed: exact entry layout, message
// lengths around the first buffer's size, unformattable messages, no path.
#include <gtest/gtest.h>

#include <string>

#include "fake_platform.h"
#include "host/module_paths.h"
#include "log/log.h"
#include "test_files.h"

namespace {

struct Log : ::testing::Test {
    TempFolder temp_folder;
    const std::string& folder = temp_folder.path;
    void SetUp() override {
        reset_fake_platform();
        use_folder_for_paths(folder);
    }
    std::string text() const { return read_file(folder + "/Ondrelle.log"); }
};

TEST_F(Log, EntryIsTimeMessageAndSourceReference) {
    write_log("script_main", 29, "Script started");
    EXPECT_EQ(text(), "09:05:03.007 Script started (script_main:29)\n");
}

TEST_F(Log, TimeFieldsArePaddedWithZeros) {
    fake_platform.local_time = LocalTime{0, 0, 9, 45};
    write_log("config", 189, "Config file reloaded");
    fake_platform.local_time = LocalTime{23, 59, 59, 999};
    write_log("config", 190, "again");
    EXPECT_EQ(text(), "00:00:09.045 Config file reloaded (config:189)\n23:59:59.999 again (config:190)\n");
}

TEST_F(Log, MessagesAroundTheFirstBufferSizeAreWrittenWhole) {
    for (size_t length : {size_t(0), size_t(1022), size_t(1023), size_t(1024), size_t(1025), size_t(5000)}) {
        std::remove((folder + "/Ondrelle.log").c_str());
        std::string message(length, 'x');
        if (length > 0) message.back() = 'E';
        write_log("config", 1, "%s", message.c_str());
        EXPECT_EQ(text(), "09:05:03.007 " + message + " (config:1)\n") << "length " << length;
    }
}

TEST_F(Log, FormatArgumentsAreApplied) {
    write_log("config", 12, "Config file line #%i: value too long (>%i)", 4, 128);
    EXPECT_EQ(text(), "09:05:03.007 Config file line #4: value too long (>128) (config:12)\n");
}

TEST_F(Log, MessageEndingInLineBreakPutsTheReferenceOnItsOwnLine) {
    write_log("config", 3, "%s", "keys are missing.\n");
    EXPECT_EQ(text(), "09:05:03.007 keys are missing.\n (config:3)\n");
}

TEST_F(Log, UnformattableMessageStillLeavesAnEntry) {
    // A wide character the C locale cannot encode makes formatting fail.
    write_log("config", 8, "%ls", L"\u00e9t\u00e9");
    EXPECT_EQ(text(), "09:05:03.007  (config:8)\n");
}

TEST_F(Log, EmptyPathWritesNothingAnywhere) {
    log_path[0] = 0;
    write_log("config", 1, "lost");
    EXPECT_FALSE(file_exists(folder + "/Ondrelle.log"));
}

}  // namespace
