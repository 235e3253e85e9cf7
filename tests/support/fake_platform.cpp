// The platform double: real files read as Windows reads them, a
// test-controlled clock and failures.
#define _GNU_SOURCE 1
#include "fake_platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform_posix.h"

FakePlatform fake_platform;

void reset_fake_platform() {
    std::memset(&fake_platform, 0, sizeof fake_platform);
    fake_platform.now = 864000000000ULL;
    fake_platform.local_time = LocalTime{9, 5, 3, 7};
    fake_platform.read_error_after = -1;
}

FileTime platform_system_time() {
    ++fake_platform.system_time_reads;
    return fake_platform.now;
}

// The monotonic count moves with the test's clock, so that a test stepping
// "a second later" lets the once-a-second look come.
uint64_t platform_milliseconds() { return fake_platform.now / 10000u; }

LocalTime platform_local_time() { return fake_platform.local_time; }

FileTimeLookup platform_last_write_time(const wchar_t* path) {
    ++fake_platform.time_looks;
    FileTimeLookup lookup = {file_time_open_failed, 0, 0};
    char narrow[4096];
    if (fake_platform.fail_time_open || !wide_path_to_utf8(path, narrow, sizeof narrow)) return lookup;
    struct stat status;
    if (stat(narrow, &status) != 0) return lookup;
    if (fake_platform.fail_time_read) {
        lookup.status = file_time_read_failed;
        lookup.error_code = fake_platform.time_read_error;
        return lookup;
    }
    lookup.status = file_time_ok;
    lookup.last_write_time = static_cast<FileTime>(status.st_mtim.tv_sec) * 10000000ULL +
                             static_cast<FileTime>(status.st_mtim.tv_nsec) / 100;
    return lookup;
}

// A settings file as Windows' text mode hands it to the parser: a CR LF
// pair arrives as a line feed, and a Ctrl-Z ends the file. Reads fail once
// read_error_after bytes are read, when that is not negative.
struct TextModeReader {
    std::string text;
    size_t at;
    long left;  // < 0: no read fails
};

static ssize_t text_mode_read(void* cookie, char* buffer, size_t size) {
    TextModeReader* reader = static_cast<TextModeReader*>(cookie);
    if (reader->left == 0) return -1;
    size_t wanted = std::min(size, reader->text.size() - reader->at);
    if (reader->left > 0) wanted = std::min(wanted, static_cast<size_t>(reader->left));
    std::memcpy(buffer, reader->text.data() + reader->at, wanted);
    reader->at += wanted;
    if (reader->left > 0) reader->left -= static_cast<long>(wanted);
    return static_cast<ssize_t>(wanted);
}

static int text_mode_close(void* cookie) {
    delete static_cast<TextModeReader*>(cookie);
    return 0;
}

static FILE* open_in_text_mode(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return nullptr;
    std::string bytes;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) bytes += static_cast<char>(c);
    std::fclose(file);
    TextModeReader* reader = new TextModeReader{as_read_in_windows_text_mode(bytes), 0, fake_platform.read_error_after};
    cookie_io_functions_t functions = {text_mode_read, nullptr, nullptr, text_mode_close};
    return fopencookie(reader, "r", functions);
}

FILE* platform_open_shared(const wchar_t* path, const char* mode) {
    ++fake_platform.stream_opens;
    // Windows refuses a mode with any other character; the C library here
    // would quietly take it.
    if (std::strcmp(mode, "r") != 0 && std::strcmp(mode, "w") != 0 && std::strcmp(mode, "a") != 0) {
        ++fake_platform.refused_modes;
        return nullptr;
    }
    char narrow[4096];
    if (path[0] == 0 || !wide_path_to_utf8(path, narrow, sizeof narrow)) return nullptr;
    bool reading = std::strcmp(mode, "r") == 0;
    if (reading && fake_platform.fail_stream_open) return nullptr;
    return reading ? open_in_text_mode(narrow) : std::fopen(narrow, mode);
}

bool platform_game_window_size(int32_t* width, int32_t* height) {
    ++fake_platform.window_looks;
    if (fake_platform.window_width <= 0 || fake_platform.window_height <= 0) return false;
    *width = fake_platform.window_width;
    *height = fake_platform.window_height;
    return true;
}

bool platform_ctrl_held() {
    ++fake_platform.modifier_looks;
    return fake_platform.ctrl_held;
}

bool platform_shift_held() {
    ++fake_platform.modifier_looks;
    return fake_platform.shift_held;
}
