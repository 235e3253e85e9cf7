// Reading a stream whole; see file_bytes.h.
#include "file_bytes.h"

bool read_rest_of(FILE* stream, std::string* bytes) {
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) bytes->append(buffer, got);
    return std::ferror(stream) == 0;
}
