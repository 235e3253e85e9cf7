// Bounded copies into fixed-size buffers: the only way text enters one.
//
// Every fixed buffer of Ondrelle (paths, the error text, the settings' text
// fields) is filled through these helpers. They never write past the given
// capacity and always leave the destination terminated, so a caller can never
// overrun a buffer whatever the source holds. They allocate nothing.
#pragma once

#include <cstddef>

// Copies at most capacity - 1 characters of source and a terminating NUL into
// destination. Returns true when the whole source fitted; on false the
// destination holds the cut copy. capacity 0 writes nothing and returns false.
template <typename Char>
[[nodiscard]] inline bool copy_text(Char* destination, size_t capacity, const Char* source) {
    if (capacity == 0) return false;
    size_t i = 0;
    for (; i + 1 < capacity && source[i] != 0; ++i) destination[i] = source[i];
    destination[i] = 0;
    return source[i] == 0;
}

// Appends source behind the text already in destination, within capacity in
// total (terminator included). Returns true when the whole source fitted; on
// false the destination holds as much as fitted, still terminated. A
// destination that is not terminated within capacity is left unchanged.
template <typename Char>
[[nodiscard]] inline bool append_text(Char* destination, size_t capacity, const Char* source) {
    size_t length = 0;
    while (length < capacity && destination[length] != 0) ++length;
    if (length == capacity) return false;
    return copy_text(destination + length, capacity - length, source);
}

// Length of a terminated text, in characters.
template <typename Char>
inline size_t text_length(const Char* text) {
    size_t length = 0;
    while (text[length] != 0) ++length;
    return length;
}
