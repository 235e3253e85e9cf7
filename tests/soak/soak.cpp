// Soak: the marker script for many frames while the world changes at random
// (targets appear, vanish, turn invalid, change kind; effects start and stop,
// menus open and close, the screen fades, the on-screen keyboard opens, keys
// are pressed) and the settings file is rewritten at random with good and bad
// contents. Checks: no crash and no sanitizer report, heap use flat, the live
// settings always those of the last complete file the script has looked at,
// and the marker never hidden by the player while toggle_key is none.
//
// Usage: ondrelle_soak [passes]   (default 1000000)
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "fake_platform.h"
#include "key_names.h"
#include "script_driver.h"
#include "settings_text.h"
#include "test_files.h"
#include "toggle_key.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/allocator_interface.h>
#define ONDRELLE_HEAP_BYTES() __sanitizer_get_current_allocated_bytes()
#endif
#endif
#if !defined(ONDRELLE_HEAP_BYTES)
#define ONDRELLE_HEAP_BYTES() size_t(0)
#endif

namespace {

struct Generated {
    std::string text;
    bool complete;      // all keys, no line fault: it replaces the live settings
    Settings settings;  // what it holds when complete
};

// A complete file and the record it holds.
Generated read_back(const std::string& text) { return Generated{text, true, parse_settings_text(text).settings}; }

// A good file with random values, or one broken in one of several ways.
Generated generate_settings(std::mt19937& random) {
    Generated file{};
    int opacity = static_cast<int>(random() % 256);
    float size = static_cast<float>(random() % 100) / 1000.0f;
    char size_text[32];
    std::snprintf(size_text, sizeof size_text, "%.9g", static_cast<double>(size));
    std::string good = settings_file_with("opacity", std::to_string(opacity));
    good.replace(good.find("size = 0.05"), 11, std::string("size = ") + size_text);
    // Each optional key given or left out: a flag as yes or no, toggle_key
    // as none, a key, a key with a modifier, or no key at all.
    const char* const keys[] = {"none", "F7", "ctrl+F7", "F99"};
    for (const SettingsKey& key : kSettingsKeys) {
        if (!settings_key_optional(key) || random() % 2 != 0) continue;
        if (key.reader == flag_reader)
            good += std::string(key.name) + (random() % 2 == 0 ? " = yes\n" : " = no\n");
        else
            good += std::string(key.name) + " = " + keys[random() % 4] + "\n";
    }
    switch (random() % 4) {
        case 0:
            file.text = settings_file_without("ped_bone");
            break;
        case 1:
            file.text = "size = 1\nnonsense line\n" + good;
            break;
        default:
            file.text = good;
            file.complete = true;
            break;
    }
    if (file.complete) {
        file.settings = read_back(file.text).settings;
        if (file.settings.opacity != opacity || file.settings.size != size) {
            std::fprintf(stderr, "soak: generated values do not read back\n");
            std::exit(1);
        }
    }
    return file;
}

void change_world_at_random(StandInWorld* world, std::mt19937& random) {
    unsigned roll = random() % 100;
    int32_t entity = 101 + static_cast<int32_t>(random() % 6);
    if (roll < 10) {
        world->focus_target = random() % 3 == 0 ? 0 : entity;
    } else if (roll < 13) {
        world->lock_on_target = random() % 2 == 0 ? 0 : entity;
    } else if (roll < 15) {
        if (StandInEntity* e = stand_in_find_entity(world, entity)) e->valid = !e->valid;
    } else if (roll < 17) {
        if (StandInEntity* e = stand_in_find_entity(world, entity)) e->kind = static_cast<int32_t>(random() % 3);
    } else if (roll < 19) {
        const char* effects[] = {"WheelHUDIn", "ScopeBinoculars", "DEADEYE", "EagleEye", "ScopeSniper"};
        stand_in_set_effect(world, effects[random() % 5], random() % 2 == 0);
    } else if (roll < 20) {
        // Where the game hides its own HUD: one state turned on or off.
        int32_t* states[] = {&world->screen_faded_in, &world->hud_hidden, &world->radar_hidden_by_script,
                             &world->pause_menu_active, &world->cinematic_camera_rendering};
        int32_t* state = states[random() % 5];
        *state = static_cast<int32_t>(random() % 2);
        const char* apps[] = {"MAP", "SATCHEL", "PLAYER_MENU", "CRAFTING"};
        stand_in_set_ui_app(world, apps[random() % 4], random() % 8 == 0);
    } else if (roll < 21) {
        world->player_ok = random() % 4 != 0;
    } else if (roll < 22) {
        world->projection_fails = random() % 3 == 0;
    } else if (roll < 25) {
        // A key between two frames, as the game window hands it on.
        int32_t modifiers = random() % 3 == 0 ? kModifierCtrl : 0;
        send_key(StandInKeyMessage{random() % 2 == 0 ? 0x76u : 0x77u, modifiers, random() % 5 == 0, random() % 5 == 0});
    } else if (roll < 26) {
        world->onscreen_keyboard_state = random() % 4 == 0 ? 0 : 3;
    }
    world->game_timer += 16;
}

// The number of passes asked for: a whole positive number, or 0 when the
// argument is anything else.
long passes_asked(const char* text) {
    char* end = nullptr;
    errno = 0;
    long passes = std::strtol(text, &end, 10);
    bool whole_number = end != text && *end == 0 && errno == 0;
    return whole_number && passes > 0 ? passes : 0;
}

}  // namespace

int main(int argc, char** argv) {
    long passes = argc > 1 ? passes_asked(argv[1]) : 1000000;
    if (argc > 2 || passes == 0) {
        std::fprintf(stderr, "usage: ondrelle_soak [passes]   (a whole number above 0; default 1000000)\n");
        return 2;
    }
    std::mt19937 random(20261208);
    reset_fake_platform();
    TempFolder temp_folder;
    const std::string& folder = temp_folder.path;
    use_folder_for_paths(folder);
    StandInWorld* world = stand_in_world();
    stand_in_reset_world(world);
    for (int32_t handle = 101; handle <= 106; ++handle) {
        StandInEntity* e = stand_in_add_entity(world, handle, static_cast<StandInEntityKind>(handle % 3),
                                               static_cast<float>(handle), 1.0f, 2.0f);
        if (handle % 2 == 0) stand_in_add_bone(e, "skel_head", 7, 0.0f, 0.0f, 1.0f);
    }

    Generated on_disk = read_back(complete_settings_file());
    write_file(folder + "/Ondrelle.ini", on_disk.text);
    Settings expected_live{};
    FileTime file_time = 1000 * kFileTimeSecond;
    set_file_time(folder + "/Ondrelle.ini", file_time);

    start_toggle_key_link(true);
    ScriptState state;
    start_script(&state);
    size_t heap_after_warm_up = 0;
    long rewrites = 0;
    for (long pass = 0; pass < passes; ++pass) {
        fake_platform.now += kFileTimeSecond / kFramesPerSecond;
        change_world_at_random(world, random);
        if (random() % 600 == 0) {
            on_disk = generate_settings(random);
            write_file(folder + "/Ondrelle.ini", on_disk.text);
            file_time += kFileTimeSecond;
            set_file_time(folder + "/Ondrelle.ini", file_time);
            ++rewrites;
        }
        int looks = fake_platform.time_looks;
        step_frame(&state);
        // A look at a changed file commits it exactly when it is complete.
        if (fake_platform.time_looks != looks && on_disk.complete) expected_live = on_disk.settings;
        if (std::memcmp(&state.settings, &expected_live, sizeof expected_live) != 0) {
            std::fprintf(stderr, "soak: pass %ld: live settings are not those of the last complete file\n", pass);
            return 1;
        }
        if (stand_in_frame()->wait_count != 1 || stand_in_frame()->protocol_errors != 0 ||
            stand_in_frame()->unknown_natives != 0) {
            std::fprintf(stderr, "soak: pass %ld broke the hook's calling rules\n", pass);
            return 1;
        }
        if (state.settings.toggle_key == kToggleKeyNone && state.hidden_by_player) {
            std::fprintf(stderr, "soak: pass %ld: the marker hidden by the player with toggle_key none\n", pass);
            return 1;
        }
        if (!(state.visibility >= 0.0f && state.visibility <= 1.0f)) {
            std::fprintf(stderr, "soak: pass %ld: visibility %g out of [0, 1]\n", pass, state.visibility);
            return 1;
        }
        if (pass == 1000) heap_after_warm_up = ONDRELLE_HEAP_BYTES();
        // The log grows with every reload; keep the disk use of a long soak flat.
        if (pass % 100000 == 0) std::remove((folder + "/Ondrelle.log").c_str());
    }
    size_t heap_at_end = ONDRELLE_HEAP_BYTES();
    long growth = static_cast<long>(heap_at_end) - static_cast<long>(heap_after_warm_up);
    std::printf("soak: %ld passes, %ld settings rewrites, heap growth %ld bytes\n", passes, rewrites, growth);
    if (passes > 1000 && growth > 64 * 1024) {
        std::fprintf(stderr, "soak: heap grew by %ld bytes\n", growth);
        return 1;
    }
    return 0;
}
