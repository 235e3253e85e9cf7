// Fuzzes a whole settings file through the real reload path: the bytes are
// saved as Ondrelle.ini and reloaded over a known good live record. Checks: no
// crash or overrun, and the live settings change only to the record of a file
// read to its end with all 18 required keys, never to anything else.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config.h"
#include "fake_platform.h"
#include "host/module_paths.h"
#include "settings_text.h"
#include "test_files.h"

// One folder for the whole run, removed when the fuzzer exits.
static TempFolder g_folder;

static Settings known_good() {
    Settings settings;
    std::memset(&settings, 0, sizeof settings);
    settings.opacity = 12345;
    std::strcpy(settings.texture_dict, "known good");
    return settings;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool paths_set = false;
    if (!paths_set) {
        use_folder_for_paths(g_folder.path);
        log_path[0] = 0;
        paths_set = true;
    }
    reset_fake_platform();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    write_file(g_folder.path + "/Ondrelle.ini", bytes);

    Settings live = known_good();
    FileTime last_check = 0, last_file = 1;  // any time differs from this one
    load_settings_if_changed(live, last_check, last_file);

    // What a complete read of the same bytes gives, for comparison.
    SettingsParse expected = parse_settings_text(bytes);
    bool complete = expected.reached_end && (expected.seen_keys & kAllKeysSeen) == kAllKeysSeen;

    Settings untouched = known_good();
    const Settings& should_be = complete ? expected.settings : untouched;
    if (std::memcmp(&live, &should_be, sizeof live) != 0) std::abort();
    if (!complete && config_error_text[0] == 0) std::abort();
    return 0;
}
