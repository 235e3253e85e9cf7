// How a game native is called through the hook: begin by hash, push each
// argument as one 64-bit value in the native's order, run, read the result
// slots at once. These helpers fix how each kind of value becomes a 64-bit
// argument and how each kind of result is read back, so that call sites only
// say which native and which values.
//
// Everything here is inline, allocates nothing, and runs on the script fiber.
#pragma once

#include <cstdint>
#include <cstring>

#include "host/script_hook.h"

// A world point as natives return it: each float in its own 8-byte slot.
struct Vector3 {
    float x, y, z;
};

// Integers are zero-extended: their 32 bits in the low half, the high half 0.
inline void push_int(int32_t value) { nativePush64(static_cast<uint32_t>(value)); }

// Floats travel as their single-precision bits in the low half.
inline void push_float(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    nativePush64(bits);
}

// Texts travel as the address of their terminated 8-bit characters.
inline void push_text(const char* text) { nativePush64(reinterpret_cast<uintptr_t>(text)); }

// An out-slot is the address of a 4-byte value the native writes.
inline void push_out_slot(void* slot) { nativePush64(reinterpret_cast<uintptr_t>(slot)); }

// Any 64-bit value handed on whole (a text handle from an earlier native).
inline void push_raw(uint64_t value) { nativePush64(value); }

// The game's hash of a name, by which some natives take a name (a UI app's):
// Jenkins' one-at-a-time hash over the name lower-cased, as the game's own
// "joaat" makes it. constexpr, so that the names the script asks about are
// hashed once, by the compiler, and never in a frame.
constexpr uint32_t joaat(const char* name) {
    uint32_t hash = 0;
    for (; *name != 0; ++name) {
        char c = *name >= 'A' && *name <= 'Z' ? static_cast<char>(*name - 'A' + 'a') : *name;
        hash += static_cast<uint8_t>(c);
        hash += hash << 10;
        hash ^= hash >> 6;
    }
    hash += hash << 3;
    hash ^= hash >> 11;
    hash += hash << 15;
    return hash;
}

// A name's hash travels as its 32 bits in the low half.
inline void push_hash(uint32_t hash) { nativePush64(hash); }

// Result readers: an int is the low 32 bits of slot 0, taken as signed; a
// float is those bits as a single; a handle is all 64 bits.
inline int32_t result_int(const uint64_t* slots) { return static_cast<int32_t>(static_cast<uint32_t>(slots[0])); }

inline float slot_float(uint64_t slot) {
    uint32_t bits = static_cast<uint32_t>(slot);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline float result_float(const uint64_t* slots) { return slot_float(slots[0]); }
inline uint64_t result_raw(const uint64_t* slots) { return slots[0]; }

// A Vector3 is x, y, z from the low four bytes of slots 0, 1, 2; the high
// halves are the host's and are ignored.
inline Vector3 result_vector3(const uint64_t* slots) {
    return Vector3{slot_float(slots[0]), slot_float(slots[1]), slot_float(slots[2])};
}
