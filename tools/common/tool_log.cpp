// The tools' write_log; see tool_log.h.
#include "tool_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "log/log.h"

namespace {

bool g_keeping;
std::vector<std::string> g_messages;

}  // namespace

void write_log(const char* /*source_name*/, int /*line*/, const char* format, ...) {
    if (!g_keeping) return;
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string message(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(&message[0], message.size() + 1, format, again);
    va_end(again);
    g_messages.push_back(message);
}

void begin_keeping_log_messages() {
    g_messages.clear();
    g_keeping = true;
}

std::vector<std::string> end_keeping_log_messages() {
    g_keeping = false;
    return g_messages;
}
