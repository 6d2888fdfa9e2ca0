// A benchmark main that, after the usual report, prints lines comparing pairs of the
// benchmarks by the median of their CPU times per iteration over the repetitions (one run
// without them), e.g. "scene per frame: GX 1.450 ms, pixman 1.230 ms, ratio 1.18". CPU
// time, the benchmark thread's own, stays true on a machine that other programs share;
// benchmarks that set their iterations' times themselves (UseManualTime) are compared by
// those. Include it once, instead of BENCHMARK_MAIN().
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
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

// What the comparison lines compare: the benchmark thread's CPU time, or the times the
// benchmarks set themselves.
enum class Clock { kThreadCpu, kManual };

// Keeps each benchmark's CPU (or manual) times per iteration, one per repetition, in milliseconds.
class ComparisonReporter : public benchmark::ConsoleReporter {
public:
    explicit ComparisonReporter(Clock clock) : m_clock(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const double time =
                m_clock == Clock::kManual ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
            const double milliseconds = time *
                                        benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                                        benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.iterations > 0 && run.run_type == Run::RT_Iteration) {
                m_milliseconds[run.run_name.str()].push_back(milliseconds);
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_reportedMedians[run.run_name.str()] = milliseconds;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintComparison(const Comparison& comparison) const {
        const double measured = Median(comparison.benchmark);
        const double baseline = Median(comparison.baseline);
        if (measured < 0 || baseline <= 0) {
            return;
        }
        // Times under a hundredth of a millisecond are shown in nanoseconds.
        const bool bNanoseconds = std::max(measured, baseline) < 0.01;
        const double scale = bNanoseconds ? 1.0e6 : 1.0;
        const char* unit = bNanoseconds ? "ns" : "ms";
        std::printf("%s: %s %.3f %s, %s %.3f %s, ratio %.3f\n", comparison.title, comparison.label,
                    measured * scale, unit, comparison.baselineLabel, baseline * scale, unit,
                    measured / baseline);
    }

private:
    // The median of the benchmark's times (the library's own over repetitions, which
    // it may report without the runs), or -1 when it did not run.
    double Median(const std::string& name) const {
        const auto reported = m_reportedMedians.find(name);
        if (reported != m_reportedMedians.end()) {
            return reported->second;
        }
        const auto found = m_milliseconds.find(name);
        if (found == m_milliseconds.end()) {
            return -1;
        }
        std::vector<double> times = found->second;
        std::sort(times.begin(), times.end());
        const size_t middle = times.size() / 2;
        return times.size() % 2 != 0 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    }

    const Clock m_clock;
    std::map<std::string, std::vector<double>> m_milliseconds;
    std::map<std::string, double> m_reportedMedians;
};

inline int RunWithComparisons(int argc, char** argv, const std::vector<Comparison>& comparisons,
                              Clock clock = Clock::kThreadCpu) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    ComparisonReporter reporter(clock);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const Comparison& comparison : comparisons) {
        reporter.PrintComparison(comparison);
    }
    benchmark::Shutdown();
    return 0;
}

inline int RunWithComparison(int argc, char** argv, const Comparison& comparison) {
    return RunWithComparisons(argc, argv, {comparison});
}

} // namespace bench
