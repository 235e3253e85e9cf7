// Wrapping text to the console's width; see console_text.h.
#include "console_text.h"

#include "settings_notes.h"

namespace {

// Characters, not bytes: a UTF-8 character's later bytes take no column.
size_t columns(const std::string& text) {
    size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace

std::vector<std::string> wrapped_lines(const std::string& prefix, const std::string& text, size_t indent,
                                       size_t width) {
    std::vector<std::string> lines;
    std::string line = prefix;
    bool line_has_words = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(" \n", start);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(start, end - start);
        if (line_has_words && columns(line) + 1 + columns(word) > width) {
            lines.push_back(line);
            line = std::string(indent, ' ');
            line_has_words = false;
        }
        line += (line_has_words ? " " : "") + word;
        line_has_words = true;
        if (end < text.size() && text[end] == '\n') {
            lines.push_back(line);
            line = std::string(indent, ' ');
            line_has_words = false;
        }
        start = end + 1;
    }
    lines.push_back(line);
    return lines;
}

void print_wrapped(FILE* out, const std::string& prefix, const std::string& text, size_t indent) {
    for (const std::string& line : wrapped_lines(prefix, text, indent, kConsoleLineWidth))
        std::fprintf(out, "%s\n", line.c_str());
}

std::string unknown_option_text(const std::string& option, const std::vector<const char*>& options) {
    const char* meant = name_meant(option, options);
    return "unknown option " + option + (meant == nullptr ? "" : std::string(": did you mean ") + meant + "?");
}
