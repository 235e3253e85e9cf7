// What the native platform twin, its test doubles and the tools share: wide
// paths to UTF-8 and back (POSIX opens files by byte paths, and UTF-8 is what
// Linux file names use), Unix times in the settings reload's FileTime units,
// and files read as Windows' text mode reads them, so that the settings read
// on Linux exactly as the game reads them.
#include "platform/platform_posix.h"

#include <ctime>

// Seconds between 1601-01-01 and 1970-01-01.
static const FileTime kUnixEpochInFileTimeSeconds = 11644473600ULL;

FileTime file_time_from_unix(int64_t seconds, long nanoseconds) {
    return (static_cast<FileTime>(seconds) + kUnixEpochInFileTimeSeconds) * kFileTimeSecond +
           static_cast<FileTime>(nanoseconds) / 100;
}

FileTime posix_system_time() {
    // The coarse clock, like GetSystemTimeAsFileTime: a tick of a few
    // milliseconds is plenty for a once-a-second throttle, and it is cheap
    // enough to read every frame.
    timespec now;
    clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return file_time_from_unix(now.tv_sec, now.tv_nsec);
}

bool wide_path_to_utf8(const wchar_t* path, char* destination, size_t capacity) {
    size_t used = 0;
    for (; *path != 0; ++path) {
        unsigned long c = static_cast<unsigned long>(*path);
        unsigned char bytes[4];
        size_t count = 0;
        if (c < 0x80) {
            bytes[count++] = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            bytes[count++] = static_cast<unsigned char>(0xC0 | (c >> 6));
            bytes[count++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes[count++] = static_cast<unsigned char>(0xE0 | (c >> 12));
            bytes[count++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            bytes[count++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            bytes[count++] = static_cast<unsigned char>(0xF0 | ((c >> 18) & 0x07));
            bytes[count++] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            bytes[count++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            bytes[count++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
        if (used + count + 1 > capacity) {
            if (capacity > 0) destination[0] = 0;
            return false;
        }
        for (size_t i = 0; i < count; ++i) destination[used++] = static_cast<char>(bytes[i]);
    }
    if (capacity == 0) return false;
    destination[used] = 0;
    return true;
}

bool utf8_to_wide_path(const char* path, wchar_t* destination, size_t capacity) {
    size_t used = 0;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(path);
    while (*bytes != 0) {
        unsigned long c = *bytes++;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (more > 0) c &= 0x3Fu >> more;
        for (; more > 0 && (*bytes & 0xC0) == 0x80; --more) c = (c << 6) | (*bytes++ & 0x3F);
        if (used + 2 > capacity) {
            if (capacity > 0) destination[0] = 0;
            return false;
        }
        destination[used++] = static_cast<wchar_t>(c);
    }
    if (capacity == 0) return false;
    destination[used] = 0;
    return true;
}

// The byte with which Windows' text mode ends a file it reads.
static const char kTextModeEnd = 0x1A;

std::string as_read_in_windows_text_mode(const std::string& bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size() && bytes[i] != kTextModeEnd; ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text += bytes[i];
    }
    return text;
}

FILE* open_in_windows_text_mode(const char* utf8_path) {
    FILE* file = std::fopen(utf8_path, "rb");
    if (file == nullptr) return nullptr;
    std::string bytes;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    bool read_whole = std::ferror(file) == 0;
    std::fclose(file);
    if (!read_whole) return nullptr;
    std::string text = as_read_in_windows_text_mode(bytes);
    // A stream of its own over the text, freed when it is closed; one byte
    // more than the text, as an empty buffer cannot back a stream.
    FILE* stream = fmemopen(nullptr, text.size() + 1, "w+");
    if (stream == nullptr) return nullptr;
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size()) {
        std::fclose(stream);
        return nullptr;
    }
    std::rewind(stream);
    return stream;
}
