// Benchmarks of the settings: a full parse of the default file, a reload
// call that the throttle turns away, and a look that finds the file unchanged.
// Over the real native platform layer (clock, file times).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "common/bounded_text.h"
#include "config.h"
#include "host/module_paths.h"

static std::string default_settings() {
    std::ifstream file(ONDRELLE_SOURCE_DIR "/src/Ondrelle.ini", std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

static void ParseDefaultFile(benchmark::State& state) {
    std::string text = default_settings();
    for (auto _ : state) {
        FILE* stream = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
        SettingsParse parse;
        parse_settings_stream(stream, &parse);
        std::fclose(stream);
        benchmark::DoNotOptimize(parse.seen_keys);
    }
}
BENCHMARK(ParseDefaultFile);

// The reload state after the first look at the default settings file.
struct ReloadState {
    Settings live{};
    FileTime last_check = 0;
    FileTime last_file = 0;
};

static ReloadState after_first_look() {
    if (!copy_text(config_path, kPathCapacity, L"" ONDRELLE_SOURCE_DIR "/src/Ondrelle.ini")) std::abort();
    ReloadState reload;
    load_settings_if_changed(reload.live, reload.last_check, reload.last_file);
    return reload;
}

static void ThrottledReloadCall(benchmark::State& state) {
    // The look just made turns every call away for a second; the benchmark's
    // run of several seconds then pays one real look a second, as a game does.
    ReloadState reload = after_first_look();
    for (auto _ : state) {
        load_settings_if_changed(reload.live, reload.last_check, reload.last_file);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ThrottledReloadCall);

static void UnchangedFileLook(benchmark::State& state) {
    ReloadState reload = after_first_look();
    for (auto _ : state) {
        reload.last_check = 0;  // a second has passed: look at the file
        load_settings_if_changed(reload.live, reload.last_check, reload.last_file);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(UnchangedFileLook);
