// Fuzzes the per-line parser with any bytes as one line of the settings
// file. Checks: no crash or overrun (the sanitizers watch), only the known
// keys' bits are ever set, text fields stay terminated, a stopping line is
// reported, and a toggle_key read is a known key that reads back as the log
// writes it.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "config.h"
#include "fake_platform.h"
#include "host/module_paths.h"
#include "key_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    reset_fake_platform();
    log_path[0] = 0;  // faults are many here; their log entries are not the point
    config_error_text[0] = 0;

    char line[kLineBufferCapacity];
    size_t length = size < sizeof line - 1 ? size : sizeof line - 1;
    std::memcpy(line, data, length);
    line[length] = 0;

    Settings pending;
    std::memset(&pending, 0, sizeof pending);
    uint32_t seen = 0;
    bool go_on = parse_settings_line(line, 1, &pending, &seen);

    if ((seen & ~(kAllKeysSeen | kOptionalKeysSeen)) != 0) std::abort();
    if ((seen & (seen - 1)) != 0) std::abort();  // one line, at most one key
    if (!go_on && config_error_text[0] == 0) std::abort();
    if (!go_on && seen != 0) std::abort();
    if (std::memchr(pending.texture_dict, 0, kTextSettingCapacity) == nullptr ||
        std::memchr(pending.texture_name, 0, kTextSettingCapacity) == nullptr ||
        std::memchr(pending.ped_bone, 0, kTextSettingCapacity) == nullptr)
        std::abort();
    if (pending.toggle_key != kToggleKeyNone) {
        if ((pending.toggle_key & ~(kVirtualKeyMask | kModifierMask)) != 0 ||
            key_name_of(pending.toggle_key & kVirtualKeyMask) == nullptr)
            std::abort();
        char text[kToggleKeyTextCapacity];
        toggle_key_text(pending.toggle_key, text, sizeof text);
        int32_t read_back = kToggleKeyNone;
        if (!parse_toggle_key(text, &read_back) || read_back != pending.toggle_key) std::abort();
    }
    return 0;
}
