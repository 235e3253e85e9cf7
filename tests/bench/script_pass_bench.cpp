// One marker-mode pass of the script against a hook whose natives answer at
// once, side by side with a bare loop making the same native calls with the
// same arguments; the ratio is the script's own cost over the calls alone.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "common/bounded_text.h"
#include "config.h"
#include "host/module_paths.h"
#include "host/script_hook.h"
#include "instant_host.h"
#include "script_main.h"

static ScriptState g_state;

// A script started over the default settings, its marker fully grown.
static void prepare_script() {
    if (!copy_text(config_path, kPathCapacity, L"" ONDRELLE_SOURCE_DIR "/src/Ondrelle.ini")) std::abort();
    log_path[0] = 0;
    script_start(&g_state);
    for (int i = 0; i < 120; ++i) script_pass(&g_state);
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
    instant_host_record(true);
    script_pass(&g_state);
    instant_host_record(false);
    const InstantCall* calls = instant_host_recorded();
    int count = instant_host_recorded_count();
    for (auto _ : state) {
        for (int i = 0; i < count; ++i) {
            nativeInit(calls[i].hash);
            for (int n = 0; n < calls[i].argument_count; ++n) nativePush64(calls[i].arguments[n]);
            benchmark::DoNotOptimize(nativeCall());
        }
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(count) + " calls");
}
BENCHMARK(BareNativeCalls);
