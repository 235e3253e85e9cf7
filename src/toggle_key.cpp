// The toggle key's link between the keyboard handler and the script; see
// toggle_key.h. Relies on the platform layer for the state of Ctrl and Shift.
//
// Every value shared is a lock-free atomic, read and written relaxed: none
// of them publishes other data, so each only needs to be read whole.
#include "toggle_key.h"

#include <atomic>

#include "key_names.h"
#include "platform/platform.h"

namespace {

std::atomic<int32_t> g_armed_key{kToggleKeyNone};
std::atomic<bool> g_press_recorded{false};
std::atomic<bool> g_handler_registered{false};
std::atomic<bool> g_told_of_missing_handler{false};

static_assert(std::atomic<int32_t>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the keyboard handler takes no lock");

const std::memory_order kRelaxed = std::memory_order_relaxed;

}  // namespace

void start_toggle_key_link(bool handler_registered) {
    g_armed_key.store(kToggleKeyNone, kRelaxed);
    g_press_recorded.store(false, kRelaxed);
    g_handler_registered.store(handler_registered, kRelaxed);
    g_told_of_missing_handler.store(false, kRelaxed);
}

// The modifiers are asked only for the armed key going down: every other
// message costs two comparisons.
void toggle_key_handler(uint32_t key, uint16_t /*repeats*/, uint8_t /*scan_code*/, int32_t /*is_extended*/,
                        int32_t is_with_alt, int32_t was_down_before, int32_t is_up_now) {
    if (was_down_before || is_up_now) return;
    int32_t armed = g_armed_key.load(kRelaxed);
    if (armed == kToggleKeyNone || key != static_cast<uint32_t>(armed & kVirtualKeyMask)) return;
    int32_t held = (platform_ctrl_held() ? kModifierCtrl : 0) | (platform_shift_held() ? kModifierShift : 0) |
                   (is_with_alt ? kModifierAlt : 0);
    if (held != (armed & kModifierMask)) return;
    g_press_recorded.store(true, kRelaxed);
}

void arm_toggle_key(int32_t toggle_key) { g_armed_key.store(toggle_key, kRelaxed); }

bool take_toggle_press() {
    if (!g_press_recorded.load(kRelaxed)) return false;
    return g_press_recorded.exchange(false, kRelaxed);
}

void drop_toggle_press() { static_cast<void>(take_toggle_press()); }

bool keyboard_handler_registered() { return g_handler_registered.load(kRelaxed); }

bool first_word_on_missing_handler() { return !g_told_of_missing_handler.exchange(true, kRelaxed); }
