// The per-frame path's promises: a marker-mode pass allocates nothing, and
// touches no file and asks the system nothing but at the once-a-second look
// (the settings file's time, the game window's size); nor do the keys the
// toggle key's handler turns away between the passes.
#include <gtest/gtest.h>

#include "script_fixture.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ONDRELLE_COUNTS_ALLOCATIONS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ONDRELLE_COUNTS_ALLOCATIONS 1
#endif

#if defined(ONDRELLE_COUNTS_ALLOCATIONS)
#include <sanitizer/allocator_interface.h>

static volatile long g_allocations;
static void count_allocation(const volatile void*, size_t) { g_allocations = g_allocations + 1; }
static void ignore_free(const volatile void*) {}
#endif

namespace {

using FrameCost = ScriptTest;

TEST_F(FrameCost, TenThousandMarkerPassesAllocateNothingAndLookOnceASecond) {
#if !defined(ONDRELLE_COUNTS_ALLOCATIONS)
    GTEST_SKIP() << "allocation counting needs the sanitizer build";
#else
    world->frame_time = 1.0f / kFramesPerSecond;
    start(complete_settings_file() + "toggle_key = F7\n");
    focus(101);
    for (int i = 0; i < 60; ++i) step();
    ASSERT_EQ(calls_named("draw_sprite").size(), 1u);

    const FileTime frame = kFileTimeSecond / kFramesPerSecond;
    int looks_before = fake_platform.time_looks;
    int window_looks_before = fake_platform.window_looks;
    int clock_reads_before = fake_platform.system_time_reads;
    int opens_before = fake_platform.stream_opens;
    g_allocations = 0;
    __sanitizer_install_malloc_and_free_hooks(count_allocation, ignore_free);
    for (int pass = 0; pass < 10000; ++pass) {
        fake_platform.now += frame;
        press(0x77);  // F8: not the toggle key
        step();
    }
    __sanitizer_install_malloc_and_free_hooks(nullptr, nullptr);

    EXPECT_EQ(g_allocations, 0);
    EXPECT_EQ(fake_platform.modifier_looks, 0) << "Ctrl and Shift asked for a key that is not the toggle key";
    EXPECT_EQ(fake_platform.stream_opens, opens_before);  // no log, no parse
    int looks = fake_platform.time_looks - looks_before;
    // 10,000 frames at 60 a second are 166.7 seconds: one look per second.
    EXPECT_GE(looks, 160);
    EXPECT_LE(looks, 167);
    EXPECT_EQ(fake_platform.window_looks - window_looks_before, looks);  // the game window: with the same look
    // The system time is read only when a second may have passed, not every
    // frame; a frame that finds it a hair short of the second reads it again.
    EXPECT_LE(fake_platform.system_time_reads - clock_reads_before, 2 * looks);
    EXPECT_EQ(calls_named("draw_sprite").size(), 1u);
#endif
}

TEST_F(FrameCost, ManyPassesWithinOneSecondNeverLookAtTheFile) {
    start();
    focus(101);
    int looks_before = fake_platform.time_looks;
    int clock_reads_before = fake_platform.system_time_reads;
    for (int pass = 0; pass < 1000; ++pass) step();  // the clock stands still
    EXPECT_EQ(fake_platform.time_looks, looks_before);
    EXPECT_EQ(fake_platform.system_time_reads, clock_reads_before);
}

}  // namespace
