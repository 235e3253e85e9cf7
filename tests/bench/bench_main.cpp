// The benchmarks' main: Google Benchmark's console output, then the ratio of
// a marker pass to the bare native calls it makes.
#include <benchmark/benchmark.h>

#include <cstdio>
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

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.pass_ns > 0 && reporter.bare_ns > 0) {
        std::printf(
            "\nMarker pass %.1f ns, bare native calls %.1f ns: the script's own cost is %.0f%% above the calls\n",
            reporter.pass_ns, reporter.bare_ns, (reporter.pass_ns / reporter.bare_ns - 1.0) * 100.0);
    }
    benchmark::Shutdown();
    return 0;
}
