// The key names toggle_key takes, and how a value is read and written back;
// see key_names.h. Works in place on the value and in the caller's buffer.
#include "key_names.h"

#include <cstring>

#include "common/bounded_text.h"

// Windows' virtual-key codes (WinUser.h's VK_ names beside the named keys).
// clang-format off
const KeyName kKeyNames[] = {
    {"F1", 0x70},  {"F2", 0x71},  {"F3", 0x72},  {"F4", 0x73},  {"F5", 0x74},  {"F6", 0x75},
    {"F7", 0x76},  {"F8", 0x77},  {"F9", 0x78},  {"F10", 0x79}, {"F11", 0x7A}, {"F12", 0x7B},
    {"F13", 0x7C}, {"F14", 0x7D}, {"F15", 0x7E}, {"F16", 0x7F}, {"F17", 0x80}, {"F18", 0x81},
    {"F19", 0x82}, {"F20", 0x83}, {"F21", 0x84}, {"F22", 0x85}, {"F23", 0x86}, {"F24", 0x87},
    {"A", 0x41}, {"B", 0x42}, {"C", 0x43}, {"D", 0x44}, {"E", 0x45}, {"F", 0x46}, {"G", 0x47},
    {"H", 0x48}, {"I", 0x49}, {"J", 0x4A}, {"K", 0x4B}, {"L", 0x4C}, {"M", 0x4D}, {"N", 0x4E},
    {"O", 0x4F}, {"P", 0x50}, {"Q", 0x51}, {"R", 0x52}, {"S", 0x53}, {"T", 0x54}, {"U", 0x55},
    {"V", 0x56}, {"W", 0x57}, {"X", 0x58}, {"Y", 0x59}, {"Z", 0x5A},
    {"0", 0x30}, {"1", 0x31}, {"2", 0x32}, {"3", 0x33}, {"4", 0x34},
    {"5", 0x35}, {"6", 0x36}, {"7", 0x37}, {"8", 0x38}, {"9", 0x39},
    {"NUMPAD0", 0x60}, {"NUMPAD1", 0x61}, {"NUMPAD2", 0x62}, {"NUMPAD3", 0x63}, {"NUMPAD4", 0x64},
    {"NUMPAD5", 0x65}, {"NUMPAD6", 0x66}, {"NUMPAD7", 0x67}, {"NUMPAD8", 0x68}, {"NUMPAD9", 0x69},
    {"INSERT", 0x2D},       // VK_INSERT
    {"DELETE", 0x2E},       // VK_DELETE
    {"HOME", 0x24},         // VK_HOME
    {"END", 0x23},          // VK_END
    {"PAGEUP", 0x21},       // VK_PRIOR
    {"PAGEDOWN", 0x22},     // VK_NEXT
    {"UP", 0x26},           // VK_UP
    {"DOWN", 0x28},         // VK_DOWN
    {"LEFT", 0x25},         // VK_LEFT
    {"RIGHT", 0x27},        // VK_RIGHT
    {"PAUSE", 0x13},        // VK_PAUSE
    {"SCROLLLOCK", 0x91},   // VK_SCROLL
};
// clang-format on
const int kKeyNameCount = sizeof kKeyNames / sizeof kKeyNames[0];

const ModifierName kModifierNames[kModifierNameCount] = {
    {"CTRL", kModifierCtrl},
    {"SHIFT", kModifierShift},
    {"ALT", kModifierAlt},
};

static const char kNone[] = "none";

// Whether the length characters at text are name, whatever the case of
// their ASCII letters (name is upper case, or "none").
static bool same_name(const char* text, size_t length, const char* name) {
    if (std::strlen(name) != length) return false;
    for (size_t i = 0; i < length; ++i) {
        char c = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 'a' + 'A') : text[i];
        char n = name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 'a' + 'A') : name[i];
        if (c != n) return false;
    }
    return true;
}

// The modifier bit the length characters at text name; 0 for none.
static int32_t modifier_named(const char* text, size_t length) {
    for (const ModifierName& modifier : kModifierNames) {
        if (same_name(text, length, modifier.name)) return modifier.bit;
    }
    return 0;
}

// The virtual-key code the length characters at text name; 0 for none.
static int32_t key_named(const char* text, size_t length) {
    for (int k = 0; k < kKeyNameCount; ++k) {
        if (same_name(text, length, kKeyNames[k].name)) return kKeyNames[k].virtual_key;
    }
    return 0;
}

// Each part before a '+' must be a modifier not named before it; the last
// part, the key. An empty part (a '+' at either end, or two together) is
// none of them.
bool parse_toggle_key(const char* value, int32_t* key) {
    if (same_name(value, std::strlen(value), kNone)) {
        *key = kToggleKeyNone;
        return true;
    }
    int32_t modifiers = 0;
    const char* part = value;
    for (const char* plus = std::strchr(part, '+'); plus != nullptr; plus = std::strchr(part, '+')) {
        int32_t modifier = modifier_named(part, static_cast<size_t>(plus - part));
        if (modifier == 0 || (modifiers & modifier) != 0) return false;
        modifiers |= modifier;
        part = plus + 1;
    }
    int32_t virtual_key = key_named(part, std::strlen(part));
    if (virtual_key == 0) return false;
    *key = modifiers | virtual_key;
    return true;
}

const char* key_name_of(int32_t virtual_key) {
    for (int k = 0; k < kKeyNameCount; ++k) {
        if (kKeyNames[k].virtual_key == virtual_key) return kKeyNames[k].name;
    }
    return nullptr;
}

// A text cut short by a small buffer still ends in its NUL: the appends'
// results say nothing the caller needs.
void toggle_key_text(int32_t key, char* text, size_t capacity) {
    if (capacity == 0) return;
    text[0] = 0;
    if (key == kToggleKeyNone) {
        static_cast<void>(copy_text(text, capacity, kNone));
        return;
    }
    for (const ModifierName& modifier : kModifierNames) {
        if ((key & modifier.bit) == 0) continue;
        static_cast<void>(append_text(text, capacity, modifier.name));
        static_cast<void>(append_text(text, capacity, "+"));
    }
    const char* name = key_name_of(key & kVirtualKeyMask);
    static_cast<void>(append_text(text, capacity, name != nullptr ? name : "?"));
}
