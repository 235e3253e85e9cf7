// One marker-mode pass of the script against a hook whose natives answer at
// once, side by side with a bare loop making the same native calls with the
// same arguments; the ratio is the script's own cost over the calls alone.
// The pass runs over the shipped settings, every gate they ask for included.
// The ratio is taken from the two run in alternating blocks, each timed by
// the thread's own running time, so that a shared machine whose speed drifts
// weighs on both alike; the passes' allocations are counted apart from any
// timing. The same two are also made for counting their instructions under
// callgrind (scripts/bench), a figure no other work of the machine moves.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "allocation_count.h"
#include "common/bounded_text.h"
#include "config.h"
#include "host/module_paths.h"
#include "host/script_hook.h"
#include "instant_host.h"
#include "platform/platform.h"
#include "script_main.h"

static ScriptState g_state;

// A script started over the default settings, its marker fully grown.
static void prepare_script() {
    if (!copy_text(config_path, kPathCapacity, L"" ONDRELLE_SOURCE_DIR "/src/Ondrelle.ini")) std::abort();
    log_path[0] = 0;
    script_start(&g_state);
    for (int i = 0; i < 120; ++i) script_pass(&g_state);
}

// The native calls of one pass, to be made again bare.
struct PassCalls {
    InstantCall calls[128];
    int count;
};

static void record_pass_calls(PassCalls* pass) {
    instant_host_record(true);
    script_pass(&g_state);
    instant_host_record(false);
    pass->count = instant_host_recorded_count();
    std::copy(instant_host_recorded(), instant_host_recorded() + pass->count, pass->calls);
}

static void make_calls_bare(const PassCalls& pass) {
    for (int i = 0; i < pass.count; ++i) {
        nativeInit(pass.calls[i].hash);
        for (int n = 0; n < pass.calls[i].argument_count; ++n) nativePush64(pass.calls[i].arguments[n]);
        benchmark::DoNotOptimize(nativeCall());
    }
    benchmark::ClobberMemory();
}

static void MarkerPass(benchmark::State& state) {
    prepare_script();
    for (auto _ : state) {
        script_pass(&g_state);
        benchmark::ClobberMemory();
    }
    state.SetLabel(config_error_text[0] == 0 && g_state.visibility > 0.99f ? "marker drawn" : "NOT IN MARKER MODE");
}
BENCHMARK(MarkerPass);

static void BareNativeCalls(benchmark::State& state) {
    prepare_script();
    static PassCalls pass;
    record_pass_calls(&pass);
    for (auto _ : state) make_calls_bare(pass);
    state.SetLabel(std::to_string(pass.count) + " calls");
}
BENCHMARK(BareNativeCalls);

// The time this thread has run: on a machine shared with other builds, the
// time the others take from it counts for neither side.
static double thread_nanoseconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// Rounds of blocks, each block the passes and then the same number of bare
// calls; a round's ratio is its passes' time over its bare calls' time.
static const int kRounds = 15;
static const int kBlocksPerRound = 20;
static const int kPassesPerBlock = 2000;

// How long the passes whose allocations are counted run, after the timed
// ones: past a second, so that the once-a-second look at the settings file
// and the game window is among them.
static const uint64_t kCountedMilliseconds = 1100;

// A round's times for one pass and for its calls made bare.
struct Round {
    double pass_ns;
    double bare_ns;
    double ratio() const { return pass_ns / bare_ns; }
};

// One iteration holds every round; the figures are counters, read by the
// benchmarks' main: the round of the median ratio, the rounds' spread, and
// the allocations of the counted passes.
static void MarkerPassAgainstBareCalls(benchmark::State& state) {
    prepare_script();
    static PassCalls pass;
    record_pass_calls(&pass);
    std::vector<Round> rounds;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            double passes = 0, bare = 0;
            for (int block = 0; block < kBlocksPerRound; ++block) {
                double start = thread_nanoseconds();
                for (int i = 0; i < kPassesPerBlock; ++i) {
                    script_pass(&g_state);
                    benchmark::ClobberMemory();
                }
                double middle = thread_nanoseconds();
                for (int i = 0; i < kPassesPerBlock; ++i) make_calls_bare(pass);
                bare += thread_nanoseconds() - middle;
                passes += middle - start;
            }
            rounds.push_back(
                Round{passes / (kBlocksPerRound * kPassesPerBlock), bare / (kBlocksPerRound * kPassesPerBlock)});
        }
    }
    std::sort(rounds.begin(), rounds.end(), [](const Round& a, const Round& b) { return a.ratio() < b.ratio(); });
    const Round& median = rounds[rounds.size() / 2];
    long counted = 0;
    uint64_t start = platform_milliseconds();
    allocation_count_start();
    for (; platform_milliseconds() - start < kCountedMilliseconds; ++counted) script_pass(&g_state);
    state.counters["allocations"] = static_cast<double>(allocation_count_stop());
    state.counters["counted_passes"] = static_cast<double>(counted);
    state.counters["pass_ns"] = median.pass_ns;
    state.counters["bare_ns"] = median.bare_ns;
    state.counters["calls"] = pass.count;
    state.counters["ratio"] = median.ratio();
    state.counters["ratio_min"] = rounds.front().ratio();
    state.counters["ratio_max"] = rounds.back().ratio();
    state.SetLabel(config_error_text[0] == 0 && g_state.visibility > 0.99f ? "marker drawn" : "NOT IN MARKER MODE");
}
BENCHMARK(MarkerPassAgainstBareCalls)->Iterations(1);

// The passes and their bare calls for callgrind to count: each side in a
// function of its own, which the count's report names, over as many runs.
static const int kCountedRuns = 2000;

__attribute__((noinline)) void counted_marker_passes() {
    for (int i = 0; i < kCountedRuns; ++i) {
        script_pass(&g_state);
        benchmark::ClobberMemory();
    }
}

__attribute__((noinline)) void counted_bare_calls(const PassCalls& pass) {
    for (int i = 0; i < kCountedRuns; ++i) make_calls_bare(pass);
}

static void MarkerPassesAndBareCallsToCount(benchmark::State& state) {
    prepare_script();
    static PassCalls pass;
    record_pass_calls(&pass);
    for (auto _ : state) {
        counted_marker_passes();
        counted_bare_calls(pass);
    }
    state.SetLabel(config_error_text[0] == 0 && g_state.visibility > 0.99f ? "marker drawn" : "NOT IN MARKER MODE");
}
BENCHMARK(MarkerPassesAndBareCallsToCount)->Iterations(1);
