// The version resource of a PE file, read from its bytes: the resource
// section is found through the section table, and in it the fixed file
// information, which starts with its own signature.
#include "file_version.h"

#include <cstdint>
#include <cstring>

namespace {

// The signature of the fixed file information (VS_FIXEDFILEINFO).
const uint32_t kFixedFileInfoSignature = 0xFEEF04BDu;
const size_t kSectionHeaderSize = 40;
const size_t kFileHeaderSize = 20;

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

// Where the section table starts and how many entries it has; false when
// the bytes hold no PE headers. Any file may carry the game's names, a
// cut-off download too: every offset the file gives is checked against its
// end before it is followed.
bool section_table(const std::string& bytes, size_t* table, size_t* sections) {
    if (!holds(bytes, 0, "MZ", 2)) return false;
    size_t header = read_u32(bytes, 0x3C);
    if (!holds(bytes, header, "PE\0\0", 4)) return false;
    *sections = read_u16(bytes, header + 6);
    *table = header + 4 + kFileHeaderSize + read_u16(bytes, header + 20);
    return true;
}

// Where the resource section's bytes lie in the file; false when it has none.
bool resource_section(const std::string& bytes, size_t* start, size_t* size) {
    size_t table = 0;
    size_t sections = 0;
    if (!section_table(bytes, &table, &sections)) return false;
    for (size_t i = 0; i < sections; ++i) {
        size_t entry = table + i * kSectionHeaderSize;
        if (entry + kSectionHeaderSize > bytes.size()) return false;
        if (!holds(bytes, entry, ".rsrc\0", 6)) continue;
        *size = read_u32(bytes, entry + 16);
        *start = read_u32(bytes, entry + 20);
        return *start < bytes.size();
    }
    return false;
}

}  // namespace

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

bool pe_file_whole(const std::string& bytes) {
    size_t table = 0;
    size_t sections = 0;
    if (!section_table(bytes, &table, &sections)) return false;
    for (size_t i = 0; i < sections; ++i) {
        size_t entry = table + i * kSectionHeaderSize;
        if (entry + kSectionHeaderSize > bytes.size()) return false;
        // The section's bytes in the file: their size, then where they start.
        if (static_cast<uint64_t>(read_u32(bytes, entry + 20)) + read_u32(bytes, entry + 16) > bytes.size())
            return false;
    }
    return true;
}
