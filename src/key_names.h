// The keys toggle_key can name: a key's name as a settings file writes it
// ("F7", "ctrl+shift+f7", "none"), read into the number the setting holds,
// and written back as the log shows it ("CTRL+SHIFT+F7").
//
// A key is known by its Windows virtual-key code, the number the hook's
// keyboard handler gets; the codes are written here as numbers, so that the
// core needs no system header. Plain functions on fixed buffers: nothing
// here allocates, keeps state or touches the system.
#pragma once

#include <cstddef>
#include <cstdint>

// A toggle key as the setting holds it: the key's virtual-key code in the
// low byte, and one bit for each modifier named. 0 is none: no key.
const int32_t kToggleKeyNone = 0;
const int32_t kVirtualKeyMask = 0xFF;
const int32_t kModifierCtrl = 0x100;
const int32_t kModifierShift = 0x200;
const int32_t kModifierAlt = 0x400;
const int32_t kModifierMask = kModifierCtrl | kModifierShift | kModifierAlt;

// A key name and the virtual-key code it stands for.
struct KeyName {
    const char* name;  // upper case, as the log writes it
    int32_t virtual_key;
};

// Every key name toggle_key takes, in the order a reader would list them:
// F1 to F24, A to Z, 0 to 9, NUMPAD0 to NUMPAD9, then the named keys.
extern const KeyName kKeyNames[];
extern const int kKeyNameCount;

// The modifiers, in the order the log writes them, each with its bit.
struct ModifierName {
    const char* name;  // "CTRL", "SHIFT", "ALT"
    int32_t bit;
};
const int kModifierNameCount = 3;
extern const ModifierName kModifierNames[kModifierNameCount];

// Room for the longest key as the log writes it, "CTRL+SHIFT+ALT+SCROLLLOCK",
// with its NUL.
const size_t kToggleKeyTextCapacity = 32;

// Reads a toggle_key value: "none", or a key name with "CTRL+", "SHIFT+" or
// "ALT+" in front, each at most once and in any order; case is ignored, and
// nothing else may stand in it (no spaces around a '+'). Returns whether
// value is one, with the key in *key; on false *key is left as it was.
bool parse_toggle_key(const char* value, int32_t* key);

// Writes key as the log shows it, into text (capacity bytes, terminator
// included): the modifiers in the order CTRL, SHIFT, ALT, then the key's
// name, upper case, joined by '+' ("CTRL+F7"); "none" for none. A key no name
// stands for (never read from a file) is written "?". Cut short, but always
// terminated, when capacity is below kToggleKeyTextCapacity.
void toggle_key_text(int32_t key, char* text, size_t capacity);

// The name of a virtual-key code, or null when toggle_key has none for it.
const char* key_name_of(int32_t virtual_key);
