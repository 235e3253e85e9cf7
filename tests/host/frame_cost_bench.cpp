// ondrelle-frame-bench: the frame cost of the shipped Ondrelle.asi where it
// ships. Loads the real plug-in under Wine beside the stand-in hook, with a
// person in focus and the marker drawn, and times its frames against the
// same frame's native calls made bare through the hook's exports, with the
// same hashes and arguments. The two alternate in blocks, so that a machine
// whose speed drifts weighs on both alike; the switch to the script's fiber
// and back, which the game's hook makes too, is timed on its own and taken
// off the plug-in's frame. A measurement, not a test: scripts/bench runs it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/native_hashes.h"
#include "test_game.h"

namespace {

// One native call of the recorded frame, with its arguments pointing into
// the bench's own memory where the plug-in's pointed into its stack.
struct BareCall {
    uint64_t hash;
    int argument_count;
    uint64_t arguments[kStandInMaxArguments];
};

struct HookExports {
    void (*init)(uint64_t);
    void (*push)(uint64_t);
    uint64_t* (*call)();
};

// The texts and out-slots the bare calls hand over, in place of the
// plug-in's own (its out-slots lie on a fiber stack that is not ours).
char g_texts[kStandInMaxCallsPerFrame][kStandInNameCapacity];
uint32_t g_out_slots[kStandInMaxCallsPerFrame][kStandInMaxArguments];

double now_seconds() {
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Whether argument n of a native is an out-slot the game writes.
bool is_out_slot(uint64_t hash, int n) {
    return (hash == native::focus_query && n == 1) || (hash == native::lock_on_query && n == 1) ||
           (hash == native::world_to_screen && (n == 3 || n == 4)) || (hash == native::screen_resolution);
}

std::vector<BareCall> record_frame(const StandInFrame* frame) {
    std::vector<BareCall> calls;
    for (int i = 0; i < frame->call_count; ++i) {
        const StandInCall& recorded = frame->calls[i];
        BareCall call = {recorded.hash, recorded.argument_count, {}};
        for (int n = 0; n < recorded.argument_count; ++n) {
            call.arguments[n] = recorded.arguments[n];
            const char* text = stand_in_call_text(frame, &recorded, n);
            if (text != nullptr) {
                std::snprintf(g_texts[i], kStandInNameCapacity, "%s", text);
                call.arguments[n] = reinterpret_cast<uintptr_t>(g_texts[i]);
            } else if (is_out_slot(recorded.hash, n)) {
                call.arguments[n] = reinterpret_cast<uintptr_t>(&g_out_slots[i][n]);
            }
        }
        calls.push_back(call);
    }
    return calls;
}

bool drew_the_marker(const StandInFrame* frame) {
    for (int i = 0; i < frame->call_count; ++i) {
        if (frame->calls[i].hash == native::draw_sprite) return true;
    }
    return false;
}

// The switch from the driver to a fiber and back, as each game frame makes
// it to run the script until its wait.
void* g_driver_fiber;
void WINAPI idle_fiber_main(void*) {
    for (;;) SwitchToFiber(g_driver_fiber);
}

double fiber_round_trip_ns(int trips) {
    static void* idle = CreateFiber(0, idle_fiber_main, nullptr);
    double start = now_seconds();
    for (int i = 0; i < trips; ++i) SwitchToFiber(idle);
    return (now_seconds() - start) * 1e9 / trips;
}

double plugin_frames_ns(TestGame* game, int frames) {
    double start = now_seconds();
    for (int i = 0; i < frames; ++i) step_frame(game);
    return (now_seconds() - start) * 1e9 / frames;
}

// The same record keeping per frame as the stand-in hook's step makes.
double bare_frames_ns(TestGame* game, const HookExports& hook, const std::vector<BareCall>& calls, int frames) {
    double start = now_seconds();
    for (int i = 0; i < frames; ++i) {
        stand_in_begin_frame(game->frame());
        for (const BareCall& call : calls) {
            hook.init(call.hash);
            for (int n = 0; n < call.argument_count; ++n) hook.push(call.arguments[n]);
            hook.call();
        }
    }
    return (now_seconds() - start) * 1e9 / frames;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Function>
bool find_hook_export(HMODULE hook, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(hook, name)));
    return *function != nullptr;
}

int run(TestGame* game, const std::wstring& folder, int frames) {
    if (!write_bytes(folder + L"\\Ondrelle.ini", default_settings_bytes()) || !load_game(game, folder)) {
        std::fprintf(stderr, "ondrelle-frame-bench: cannot set up the game folder\n");
        return 1;
    }
    HookExports hook;
    if (!find_hook_export(game->hook, "?nativeInit@@YAX_K@Z", &hook.init) ||
        !find_hook_export(game->hook, "?nativePush64@@YAX_K@Z", &hook.push) ||
        !find_hook_export(game->hook, "?nativeCall@@YAPEA_KXZ", &hook.call)) {
        std::fprintf(stderr, "ondrelle-frame-bench: the stand-in hook lacks its native-call exports\n");
        return 1;
    }
    StandInWorld* world = game->world();
    StandInEntity* person = stand_in_add_entity(world, 501, stand_in_human, 3.0f, 4.0f, 5.0f);
    stand_in_add_bone(person, "skel_head", 31086, 3.0f, 4.0f, 6.5f);
    world->focus_target = 501;
    for (int i = 0; i < 120; ++i) step_frame(game);  // grown to full size, dictionary loaded
    if (!drew_the_marker(game->frame())) {
        std::fprintf(stderr, "ondrelle-frame-bench: the plug-in drew no marker\n");
        return 1;
    }
    std::vector<BareCall> calls = record_frame(game->frame());
    g_driver_fiber = GetCurrentFiber();

    const int kRounds = 5;
    const int kBlocks = 20;
    int block_frames = frames / kBlocks > 0 ? frames / kBlocks : 1;
    std::vector<double> ratios, plugin_ns, bare_ns, switch_ns;
    for (int round = 0; round < kRounds; ++round) {
        double plugin = 0, bare = 0, fiber = 0;
        for (int block = 0; block < kBlocks; ++block) {
            plugin += plugin_frames_ns(game, block_frames);
            bare += bare_frames_ns(game, hook, calls, block_frames);
            fiber += fiber_round_trip_ns(block_frames);
        }
        plugin /= kBlocks, bare /= kBlocks, fiber /= kBlocks;
        plugin_ns.push_back(plugin - fiber);
        bare_ns.push_back(bare);
        switch_ns.push_back(fiber);
        ratios.push_back((plugin - fiber) / bare);
    }
    if (!drew_the_marker(game->frame())) {
        std::fprintf(stderr, "ondrelle-frame-bench: the marker was no longer drawn at the end\n");
        return 1;
    }
    std::printf("Ondrelle.asi under Wine, %d frames a round with a person in focus and the marker drawn:\n",
                block_frames * kBlocks);
    std::printf("  plug-in frame              %7.1f ns (fiber switch of %.1f ns taken off)\n", median(plugin_ns),
                median(switch_ns));
    std::printf("  the same %2zu calls made bare %7.1f ns\n", calls.size(), median(bare_ns));
    std::printf("  plug-in frame against the bare calls: %.2f (median of %d rounds; rounds from %.2f to %.2f)\n",
                median(ratios), kRounds, *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::atoi(argv[1]) : 200000;
    if (frames <= 0) {
        std::fprintf(stderr, "usage: ondrelle-frame-bench [FRAMES_PER_ROUND]\n");
        return 2;
    }
    TestGame game;
    std::wstring folder = make_game_folder(L"frame-bench");
    int status = run(&game, folder, frames);
    unload_game(&game);
    remove_folder(folder);
    return status;
}
