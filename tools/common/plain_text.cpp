// The tools' small text helpers; see plain_text.h.
#include "plain_text.h"

#include <algorithm>
#include <cstdint>
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

// The code point of the UTF-8 character at text[at], which takes length bytes.
uint32_t code_point_at(const std::string& text, size_t at, size_t length) {
    static const unsigned char kFirstBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    uint32_t code = static_cast<unsigned char>(text[at]) & kFirstBits[length];
    for (size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
    return code;
}

// The blocks of East Asian wide and fullwidth characters (Unicode's East
// Asian Width W and F, with the emoji a console draws as wide): a console
// gives each two columns.
bool is_wide(uint32_t code) {
    static const uint32_t kWide[][2] = {
        {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
        {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3},
        {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},
        {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
    };
    for (const uint32_t* block : kWide) {
        if (code >= block[0] && code <= block[1]) return true;
    }
    return false;
}

// How many bytes the character at text[at] takes (one for a byte that is no
// valid UTF-8), and how many console columns.
size_t character_at(const std::string& text, size_t at, size_t* columns) {
    size_t length = utf8_length_at(text, at);
    if (length == 0) length = 1;
    *columns = length > 1 && is_wide(code_point_at(text, at, length)) ? 2 : 1;
    return length;
}

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

std::vector<const char*> names_meant(const std::string& typed, const std::vector<const char*>& names) {
    std::vector<const char*> nearest;
    size_t nearest_distance = 0;
    for (const char* name : names) {
        size_t distance = edit_distance(typed, name);
        if (distance > 2 || distance * 2 >= typed.size()) continue;
        if (!nearest.empty() && distance > nearest_distance) continue;
        if (nearest.empty() || distance < nearest_distance) nearest.clear();
        nearest_distance = distance;
        nearest.push_back(name);
    }
    return nearest;
}

const char* name_meant(const std::string& typed, const std::vector<const char*>& names) {
    std::vector<const char*> nearest = names_meant(typed, names);
    return nearest.empty() ? nullptr : nearest.front();
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
    for (size_t at = 0, columns = 0; at < text.size(); count += columns) at += character_at(text, at, &columns);
    return count;
}

std::string first_columns(const std::string& text, size_t columns) {
    size_t end = 0;
    for (size_t taken = 0, wide = 0; end < text.size();) {
        size_t length = character_at(text, end, &wide);
        if (taken + wide > columns) break;
        taken += wide;
        end += length;
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
