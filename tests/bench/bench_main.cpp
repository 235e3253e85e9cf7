// The benchmarks' main: Google Benchmark's own output in the format asked
// for, then, on the console, the ratio of a marker pass to the bare native
// calls it makes. With --benchmark_format=json or csv the output is that
// format alone, so that a program can read it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Prints as usual and keeps the two times the ratio needs.
struct RatioReporter : benchmark::ConsoleReporter {
    double pass_ns = 0;
    double bare_ns = 0;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            std::string name = run.benchmark_name();
            if (name == "MarkerPass") pass_ns = run.GetAdjustedRealTime();
            if (name == "BareNativeCalls") bare_ns = run.GetAdjustedRealTime();
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
    if (reporter.pass_ns > 0 && reporter.bare_ns > 0) {
        // Within the machine's noise the pass may even come out below its calls.
        double ratio = reporter.pass_ns / reporter.bare_ns;
        std::printf("\nMarker pass %.1f ns, bare native calls %.1f ns: %.2f times the calls\n", reporter.pass_ns,
                    reporter.bare_ns, ratio);
    }
    benchmark::Shutdown();
    return 0;
}
