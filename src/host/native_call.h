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
