// The tools' small text helpers; see plain_text.h.
#include "plain_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "config.h"

namespace {

// How many bytes the UTF-8 character at text[at] takes; 0 when the bytes
// there are no valid UTF-8 (a stray later byte, a sequence cut short, an
// overlong form, a surrogate, or beyond U+10FFFF).
size_t utf8_length_at(const std::string& text, size_t at) {
    unsigned char first = static_cast<unsigned char>(text[at]);
    if (first < 0x80) return 1;
    size_t length = first >= 0xC2 && first <= 0xDF   ? 2
                    : first >= 0xE0 && first <= 0xEF ? 3
                    : first >= 0xF0 && first <= 0xF4 ? 4
                                                     : 0;
    if (length == 0 || text.size() - at < length) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[at + k]) & 0xC0) != 0x80) return 0;
    }
    unsigned char second = static_cast<unsigned char>(text[at + 1]);
    bool overlong_or_beyond = (first == 0xE0 && second < 0xA0) || (first == 0xED && second >= 0xA0) ||
                              (first == 0xF0 && second < 0x90) || (first == 0xF4 && second >= 0x90);
    return overlong_or_beyond ? 0 : length;
}

bool is_later_byte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string lower_case(std::string text) {
    if (!text.empty()) lower_case_ascii(&text[0]);
    return text;
}

bool starts_with(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

bool ends_with(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

bool ends_with_any_case(const std::string& text, const std::string& ending) {
    return ends_with(lower_case(text), lower_case(ending));
}

size_t edit_distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

const char* name_meant(const std::string& typed, const std::vector<const char*>& names) {
    const char* best = nullptr;
    size_t best_distance = 3;
    for (const char* name : names) {
        size_t distance = edit_distance(typed, name);
        if (distance < best_distance && distance * 2 < typed.size()) {
            best = name;
            best_distance = distance;
        }
    }
    return best;
}

std::string escaped_text(const std::string& text) {
    std::string escaped;
    for (size_t at = 0; at < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[at]);
        size_t length = utf8_length_at(text, at);
        char code[8];
        if (c == '\r') {
            escaped += "\\r";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c < 0x20 || c == 0x7F || length == 0) {
            std::snprintf(code, sizeof code, "\\x%02X", c);
            escaped += code;
        } else {
            escaped.append(text, at, length);
            at += length;
            continue;
        }
        ++at;
    }
    return escaped;
}

size_t text_columns(const std::string& text) {
    size_t count = 0;
    for (char c : text) count += !is_later_byte(c);
    return count;
}

std::string first_columns(const std::string& text, size_t columns) {
    size_t end = 0;
    for (size_t taken = 0; end < text.size(); ++end) {
        if (!is_later_byte(text[end]) && taken++ == columns) break;
    }
    return text.substr(0, end);
}

std::string filled_text(const char* pattern, const char* table,
                        const std::function<bool(const std::string& name, std::string* text)>& fill) {
    std::string text;
    for (const char* at = pattern; *at != 0; ++at) {
        const char* end = *at == '{' ? std::strchr(at, '}') : nullptr;
        if (end == nullptr) {
            text += *at;
            continue;
        }
        std::string name(at + 1, end), field;
        if (!fill(name, &field)) {
            std::fprintf(stderr, "%s: a row names the field {%s}, which its text cannot fill\n", table, name.c_str());
            std::abort();
        }
        text += field;
        at = end;
    }
    return text;
}
