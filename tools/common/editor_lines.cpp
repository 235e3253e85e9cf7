// A text's lines as an editor shows them and as the game reads them; see
// editor_lines.h.
#include "editor_lines.h"

#include <algorithm>

#include "config.h"

bool next_editor_line(const std::string& content, size_t* position, EditorLine* line) {
    if (*position >= content.size()) return false;
    size_t end = content.find_first_of("\r\n", *position);
    if (end == std::string::npos) end = content.size();
    line->start = *position;
    line->text = content.substr(*position, end - *position);
    // A CR LF pair is one line end, should a text hold one untranslated.
    bool pair = content.compare(end, 2, "\r\n") == 0;
    line->end = end == content.size() ? line_end_none : content[end] == '\n' || pair ? line_end_feed : line_end_return;
    *position = end == content.size() ? end : end + (pair ? 2 : 1);
    return true;
}

size_t game_line_start(const std::string& content, int line_number) {
    size_t start = 0;
    for (int line = 1; line < line_number && start < content.size(); ++line) {
        size_t feed = content.find('\n', start);
        size_t end = feed == std::string::npos ? content.size() : feed + 1;
        start = std::min(end, start + kLineBufferCapacity - 1);
    }
    return start;
}
