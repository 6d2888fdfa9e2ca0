// A benchmark main that, after the usual report, prints one line comparing two of the
// benchmarks by real time per iteration, e.g. "scene per frame: GX 1.450 ms, pixman
// 1.230 ms, ratio 1.18". Include it once, instead of BENCHMARK_MAIN().
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

struct Comparison {
    const char* title;     // "scene per frame"
    const char* benchmark; // the one measured, e.g. "BM_SceneGX"
    const char* label;     // how the line names it, e.g. "GX"
    const char* baseline;  // the one compared with, e.g. "BM_ScenePixman"
    const char* baselineLabel;
};

// Keeps each benchmark's real time per iteration, in milliseconds.
class ComparisonReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.iterations > 0 && run.run_type == Run::RT_Iteration) {
                m_milliseconds[run.benchmark_name()] =
                    run.GetAdjustedRealTime() *
                    benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                    benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintComparison(const Comparison& comparison) const {
        const auto measured = m_milliseconds.find(comparison.benchmark);
        const auto baseline = m_milliseconds.find(comparison.baseline);
        if (measured == m_milliseconds.end() || baseline == m_milliseconds.end()) {
            return;
        }
        std::printf("%s: %s %.3f ms, %s %.3f ms, ratio %.3f\n", comparison.title, comparison.label,
                    measured->second, comparison.baselineLabel, baseline->second,
                    measured->second / baseline->second);
    }

private:
    std::map<std::string, double> m_milliseconds;
};

inline int RunWithComparison(int argc, char** argv, const Comparison& comparison) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    ComparisonReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintComparison(comparison);
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
