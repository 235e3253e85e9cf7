// The log writer: formats one entry and appends it to log_path.
//
// Relies on the platform layer for the shared append-mode open (text mode, so
// on Windows every line feed lands as CR LF) and the local time. Keeps no state
// between calls and no file open.
#include "log/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "host/module_paths.h"
#include "platform/platform.h"

// Most messages fit here; a longer one gets a buffer of its own exact size.
static const size_t kFirstMessageCapacity = 1024;

// Formats the message into a heap buffer of the size it needs. Returns null
// when it cannot (encoding error, no memory); the caller frees the result.
static char* format_message(const char* format, va_list arguments) {
    char* message = static_cast<char*>(std::malloc(kFirstMessageCapacity));
    if (message == nullptr) return nullptr;
    va_list first_pass;
    va_copy(first_pass, arguments);
    int length = std::vsnprintf(message, kFirstMessageCapacity, format, first_pass);
    va_end(first_pass);
    if (length < 0) {
        std::free(message);
        return nullptr;
    }
    if (static_cast<size_t>(length) < kFirstMessageCapacity) return message;

    std::free(message);
    size_t capacity = static_cast<size_t>(length) + 1;
    message = static_cast<char*>(std::malloc(capacity));
    if (message == nullptr) return nullptr;
    va_list second_pass;
    va_copy(second_pass, arguments);
    length = std::vsnprintf(message, capacity, format, second_pass);
    va_end(second_pass);
    if (length < 0) {
        std::free(message);
        return nullptr;
    }
    return message;
}

void write_log(const char* source_name, int line, const char* format, ...) {
    FILE* log = platform_open_shared(log_path, "a");
    if (log == nullptr) return;

    va_list arguments;
    va_start(arguments, format);
    char* message = format_message(format, arguments);
    va_end(arguments);

    LocalTime now = platform_local_time();
    std::fprintf(log, "%.2hu:%.2hu:%.2hu.%.3hu %s (%s:%i)\n", now.hour, now.minute, now.second, now.millisecond,
                 message != nullptr ? message : "", source_name, line);
    std::free(message);
    std::fclose(log);
}
