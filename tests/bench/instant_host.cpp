// The instant hook: six functions that do as little as a hook can.
#include "instant_host.h"

#include <cstring>

#include "host/script_hook.h"

static uint64_t g_hash;
static uint64_t g_arguments[16];
static int g_argument_count;
static uint64_t g_slots[3];

static bool g_recording;
static InstantCall g_recorded[128];
static int g_recorded_count;

void instant_host_record(bool on) {
    g_recording = on;
    if (on) g_recorded_count = 0;
}
int instant_host_recorded_count() { return g_recorded_count; }
const InstantCall* instant_host_recorded() { return g_recorded; }

void scriptRegister(HookModule, ScriptFunction) {}
void scriptUnregister(HookModule) {}
void scriptWait(unsigned long) {}

void nativeInit(uint64_t hash) {
    g_hash = hash;
    g_argument_count = 0;
}

void nativePush64(uint64_t value) {
    if (g_argument_count < 16) g_arguments[g_argument_count++] = value;
}

static uint64_t float_bits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

static void write_slot(int n, uint32_t bits) {
    std::memcpy(reinterpret_cast<void*>(static_cast<uintptr_t>(g_arguments[n])), &bits, 4);
}

uint64_t* nativeCall() {
    if (g_recording && g_recorded_count < 128) {
        InstantCall* call = &g_recorded[g_recorded_count++];
        call->hash = g_hash;
        call->argument_count = g_argument_count;
        std::memcpy(call->arguments, g_arguments, sizeof g_arguments);
    }
    g_slots[0] = 1;  // yes, valid, a ped, a human, loaded, on screen, ...
    switch (g_hash) {
        case 0x4A123E85D7C4CA0BULL:  // effect_check: no effect runs
        case 0x71B72B478F8189DCULL:  // hud_hidden_check, and the other states that hide the game's HUD: none holds
        case 0x66F35DD9D2B58579ULL:  // radar_hidden_by_script_check
        case 0x535384D6067BA42EULL:  // pause_menu_check
        case 0x25B7A0206BDFAC76ULL:  // ui_app_check
        case 0xBF7C780731AADBF8ULL:  // cinematic_camera_check
            g_slots[0] = 0;
            break;
        case 0x3EE1F7A8C32F24E1ULL:  // focus_query: entity 42
            write_slot(1, 42);
            break;
        case 0x5E72022914CE3C38ULL:  // frame_time
            g_slots[0] = float_bits(1.0f / 60.0f);
            break;
        case 0xA86D5F069399F44DULL:  // entity_position
        case 0x82CFA50E34681CA5ULL:  // bone_position
            g_slots[0] = float_bits(1.0f);
            g_slots[1] = float_bits(2.0f);
            g_slots[2] = float_bits(3.0f);
            break;
        case 0xBACA8FE9C76C124EULL:  // bone_lookup
            g_slots[0] = 7;
            break;
        case 0xCB50D7AFCC8B0EC6ULL:  // world_to_screen
            write_slot(3, static_cast<uint32_t>(float_bits(0.5f)));
            write_slot(4, static_cast<uint32_t>(float_bits(0.4f)));
            break;
        case 0x66773C92835D0909ULL:  // screen_resolution
            write_slot(0, 1920);
            write_slot(1, 1080);
            break;
        case 0x0BADBFA3B172435FULL:  // the two bounce curves
        case 0x134549B388167CBFULL:
            g_slots[0] = float_bits(0.5f);
            break;
        default:
            break;
    }
    return g_slots;
}
