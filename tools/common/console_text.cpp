// Wrapping text to the console's width; see console_text.h.
#include "console_text.h"

#include "plain_text.h"

std::vector<std::string> wrapped_lines(const std::string& prefix, const std::string& text, size_t indent,
                                       size_t width) {
    std::vector<std::string> lines;
    std::string line = prefix;
    bool line_has_words = false;
    auto next_line = [&] {
        lines.push_back(line);
        line = std::string(indent, ' ');
        line_has_words = false;
    };
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(" \n", start);
        if (end == std::string::npos) end = text.size();
        std::string word = text.substr(start, end - start);
        size_t gap = line_has_words ? 1 : 0;
        if (line_has_words && text_columns(line) + gap + text_columns(word) > width) {
            next_line();
            gap = 0;
        }
        // A word longer than the room left goes on in pieces, a line each.
        while (text_columns(line) + gap + text_columns(word) > width && text_columns(line) + gap < width) {
            std::string piece = first_columns(word, width - text_columns(line) - gap);
            // A wide character where one column is left goes on the next line.
            if (piece.empty() && line_has_words) {
                next_line();
                gap = 0;
                continue;
            }
            line += (gap > 0 ? " " : "") + piece;
            word.erase(0, piece.size());
            next_line();
            gap = 0;
        }
        line += (gap > 0 ? " " : "") + word;
        line_has_words = true;
        if (end < text.size() && text[end] == '\n') next_line();
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
