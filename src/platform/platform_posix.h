// Helpers of the native (POSIX) platform twin that its test doubles reuse.
#pragma once

#include <cstddef>
#include <cstdint>

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
