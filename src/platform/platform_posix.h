// Helpers of the native (POSIX) platform twin that its test doubles and the
// tools' own platform layer reuse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/platform.h"

// A Unix time (seconds and nanoseconds since 1970-01-01, UTC) in FileTime
// units; nanoseconds below a whole 100 ns unit are dropped.
FileTime file_time_from_unix(int64_t seconds, long nanoseconds);

// The system clock (UTC) in FileTime units: what platform_system_time gives.
FileTime posix_system_time();

// Encodes a wide path as UTF-8 into destination (capacity bytes, terminator
// included). Returns false, with destination empty, when it does not fit.
bool wide_path_to_utf8(const wchar_t* path, char* destination, size_t capacity);

// Decodes a UTF-8 path into destination (capacity characters, terminator
// included). Returns false, with destination empty, when it does not fit.
bool utf8_to_wide_path(const char* path, wchar_t* destination, size_t capacity);

// Bytes as Windows' text mode hands them to a reader, which is how the game
// reads its settings: a CR LF pair arrives as one line feed, and a Ctrl-Z
// (0x1A) ends the file.
std::string as_read_in_windows_text_mode(const std::string& bytes);

// Opens the file at a UTF-8 path to be read as Windows' text mode reads it,
// as a stream of its own in memory. Null when the file cannot be read.
FILE* open_in_windows_text_mode(const char* utf8_path);
