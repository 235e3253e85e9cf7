// The benchmarks' main: Google Benchmark's own output in the format asked
// for, then, on the console, the ratio of a marker pass to the bare native
// calls it makes, as the two measured in alternating blocks, and the
// allocations counted over many marker passes. With
// --benchmark_format=json or csv the output is that format alone, so that a
// program can read it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

// Prints as usual and keeps the figures of the pass against its bare calls.
struct RatioReporter : benchmark::ConsoleReporter {
    bool measured = false;
    std::map<std::string, double> figures;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.benchmark_name().rfind("MarkerPassAgainstBareCalls", 0) != 0) continue;
            measured = true;
            for (const auto& counter : run.counters) figures[counter.first] = counter.second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

// Whether the command line asks for another format than the console's.
bool other_format_asked(int argc, char** argv) {
    const char kFormat[] = "--benchmark_format=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kFormat, sizeof kFormat - 1) == 0 &&
            std::strcmp(argv[i] + sizeof kFormat - 1, "console") != 0)
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    bool plain_format = !other_format_asked(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    if (!plain_format) {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.measured) {
        // Within the machine's noise the pass may even come out below its calls.
        std::map<std::string, double>& f = reporter.figures;
        std::printf(
            "\nMarker pass %.1f ns, its %.0f native calls made bare %.1f ns, in alternating blocks: "
            "%.2f times the calls (rounds from %.2f to %.2f)\n",
            f["pass_ns"], f["calls"], f["bare_ns"], f["ratio"], f["ratio_min"], f["ratio_max"]);
        std::printf("Allocations in %.0f marker passes: %.0f\n", f["counted_passes"], f["allocations"]);
    }
    benchmark::Shutdown();
    return 0;
}
