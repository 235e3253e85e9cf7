// The version resource of a PE file, read from its bytes: the resource
// section is found through the section table, and in it the fixed file
// information, which starts with its own signature.
#include "file_version.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The signature of the fixed file information (VS_FIXEDFILEINFO).
const uint32_t kFixedFileInfoSignature = 0xFEEF04BDu;
const size_t kSectionHeaderSize = 40;
const size_t kFileHeaderSize = 20;
// The machine a PE file is made for, as its file header names it.
const uint32_t kMachineX64 = 0x8664;

// A little-endian number at offset; 0 beyond the end.
uint32_t read_u32(const std::string& bytes, size_t offset) {
    if (offset + 4 > bytes.size()) return 0;
    const unsigned char* at = reinterpret_cast<const unsigned char*>(bytes.data()) + offset;
    return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

uint32_t read_u16(const std::string& bytes, size_t offset) {
    if (offset + 2 > bytes.size()) return 0;
    const unsigned char* at = reinterpret_cast<const unsigned char*>(bytes.data()) + offset;
    return at[0] | (at[1] << 8);
}

// Whether the bytes at offset are text; false when they run past the end.
bool holds(const std::string& bytes, size_t offset, const char* text, size_t length) {
    return offset <= bytes.size() && bytes.size() - offset >= length &&
           bytes.compare(offset, length, text, length) == 0;
}

// One entry of the section table: where the section's bytes lie in the file.
struct Section {
    bool resources;  // the resource section, which holds the version
    uint64_t start;
    uint64_t size;
};

// Where the PE header starts; false when the bytes hold none. Any file may
// carry the game's names, a cut-off download too: every offset the file
// gives is checked against its end before it is followed.
bool pe_header(const std::string& bytes, size_t* header) {
    if (!holds(bytes, 0, "MZ", 2)) return false;
    *header = read_u32(bytes, 0x3C);
    return holds(bytes, *header, "PE\0\0", 4);
}

// The section table's entries, as far as the bytes hold them; true when they
// hold the whole table. A file too short for its own headers (the file
// header and the optional header it sizes) holds no table at all: it is not
// whole, however few sections a number read past its end would give.
bool read_sections(const std::string& bytes, std::vector<Section>* sections) {
    size_t header = 0;
    if (!pe_header(bytes, &header) || bytes.size() - header < 4 + kFileHeaderSize) return false;
    size_t count = read_u16(bytes, header + 6);
    size_t table = header + 4 + kFileHeaderSize + read_u16(bytes, header + 20);
    if (table > bytes.size()) return false;
    for (size_t i = 0; i < count; ++i) {
        size_t entry = table + i * kSectionHeaderSize;
        if (entry + kSectionHeaderSize > bytes.size()) return false;
        sections->push_back(
            Section{holds(bytes, entry, ".rsrc\0", 6), read_u32(bytes, entry + 20), read_u32(bytes, entry + 16)});
    }
    return true;
}

// Where the resource section's bytes lie in the file; false when it has none.
bool resource_section(const std::string& bytes, size_t* start, size_t* size) {
    std::vector<Section> sections;
    read_sections(bytes, &sections);
    for (const Section& section : sections) {
        if (!section.resources) continue;
        *start = section.start;
        *size = section.size;
        return *start < bytes.size();
    }
    return false;
}

// The UTF-16 code units from offset up to a NUL, at most count of them, as
// UTF-8 (a lone surrogate as U+FFFD).
std::string utf8_from_utf16(const std::string& bytes, size_t offset, size_t count) {
    std::string text;
    for (size_t unit = 0; unit < count && offset + 2 <= bytes.size(); ++unit, offset += 2) {
        uint32_t code = read_u16(bytes, offset);
        if (code == 0) break;
        uint32_t next = read_u16(bytes, offset + 2);
        if (code >= 0xD800 && code <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF && unit + 1 < count) {
            code = 0x10000 + ((code - 0xD800) << 10) + (next - 0xDC00);
            offset += 2;
            ++unit;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            text += static_cast<char>(0xE0 | (code >> 12));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (code >> 18));
            text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return text;
}

}  // namespace

std::string pe_file_string(const std::string& bytes, const char* key) {
    size_t start = 0;
    size_t size = 0;
    if (!resource_section(bytes, &start, &size)) return "";
    size_t end = start + size < bytes.size() ? start + size : bytes.size();
    // A String entry is its length, its value's length in code units and its
    // type, each two bytes, then its key in UTF-16 with a NUL, then its value
    // from the next four-byte boundary.
    std::string wide_key;
    for (const char* at = key; *at != 0; ++at) wide_key += std::string(1, *at) + '\0';
    wide_key += std::string(2, '\0');
    for (size_t at = start + 6; at + wide_key.size() <= end; at += 2) {
        if (bytes.compare(at, wide_key.size(), wide_key) != 0) continue;
        size_t value = (at + wide_key.size() + 3) & ~static_cast<size_t>(3);
        size_t units = read_u16(bytes, at - 4);
        if (value >= end) return "";
        return utf8_from_utf16(bytes, value, units < (end - value) / 2 ? units : (end - value) / 2);
    }
    return "";
}

std::string pe_file_version(const std::string& bytes) {
    size_t start = 0;
    size_t size = 0;
    if (!resource_section(bytes, &start, &size)) return "";
    size_t end = start + size < bytes.size() ? start + size : bytes.size();
    // The fixed file information is aligned to four bytes in the resource.
    for (size_t at = start; at + 16 <= end; at += 4) {
        if (read_u32(bytes, at) != kFixedFileInfoSignature) continue;
        uint32_t most = read_u32(bytes, at + 8);
        uint32_t least = read_u32(bytes, at + 12);
        return std::to_string(most >> 16) + "." + std::to_string(most & 0xFFFF) + "." + std::to_string(least >> 16) +
               "." + std::to_string(least & 0xFFFF);
    }
    return "";
}

bool pe_file_has_header(const std::string& bytes) {
    size_t header = 0;
    return pe_header(bytes, &header);
}

bool pe_file_whole(const std::string& bytes) {
    std::vector<Section> sections;
    if (!read_sections(bytes, &sections)) return false;
    for (const Section& section : sections) {
        if (section.start + section.size > bytes.size()) return false;
    }
    return true;
}

bool pe_file_64_bit(const std::string& bytes) {
    size_t header = 0;
    return pe_header(bytes, &header) && bytes.size() - header >= 6 && read_u16(bytes, header + 4) == kMachineX64;
}
