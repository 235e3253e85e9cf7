// The platform double: real files, a test-controlled clock and failures.
#define _GNU_SOURCE 1
#include "fake_platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

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

// A stream over a real file whose reads fail once a number of bytes is read.
struct FailingReader {
    FILE* file;
    long left;
};

static ssize_t failing_read(void* cookie, char* buffer, size_t size) {
    FailingReader* reader = static_cast<FailingReader*>(cookie);
    if (reader->left <= 0) return -1;
    size_t wanted = size < static_cast<size_t>(reader->left) ? size : static_cast<size_t>(reader->left);
    size_t got = std::fread(buffer, 1, wanted, reader->file);
    reader->left -= static_cast<long>(got);
    return static_cast<ssize_t>(got);
}

static int failing_close(void* cookie) {
    FailingReader* reader = static_cast<FailingReader*>(cookie);
    int result = std::fclose(reader->file);
    delete reader;
    return result;
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
    FILE* file = std::fopen(narrow, mode);
    if (file == nullptr || !reading || fake_platform.read_error_after < 0) return file;
    cookie_io_functions_t functions = {failing_read, nullptr, nullptr, failing_close};
    return fopencookie(new FailingReader{file, fake_platform.read_error_after}, "r", functions);
}

bool platform_game_window_size(int32_t* width, int32_t* height) {
    ++fake_platform.window_looks;
    if (fake_platform.window_width <= 0 || fake_platform.window_height <= 0) return false;
    *width = fake_platform.window_width;
    *height = fake_platform.window_height;
    return true;
}
