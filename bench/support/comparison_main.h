// A benchmark main that, after the usual report, prints lines comparing pairs of the
// benchmarks by the median of their CPU times per iteration over the repetitions (one run
// without them), e.g. "scene per frame: GX 1.450 ms, pixman 1.230 ms, ratio 1.18"; a side
// named as several benchmarks joined by '+' is their medians' sum. CPU time, the benchmark
// thread's own, stays true on a machine that other programs share; benchmarks that set their
// iterations' times themselves (UseManualTime) are compared by those. The program fails (exit
// status 1) when a benchmark reports an error or, with every benchmark selected, a comparison
// has no figures. Include it once, instead of BENCHMARK_MAIN().
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
    const char* benchmark; // the one measured, e.g. "BM_SceneGX", or a '+'-joined sum
    const char* label;     // how the line names it, e.g. "GX"
    const char* baseline;  // the one compared with, e.g. "BM_ScenePixman", or a sum
    const char* baselineLabel;
    // When not 0, the line ends with whether the measured time keeps within this budget.
    double budgetMilliseconds = 0;
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
            if (run.error_occurred) {
                m_bError = true;
            } else if (run.iterations > 0 && run.run_type == Run::RT_Iteration) {
                m_milliseconds[run.run_name.str()].push_back(milliseconds);
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_reportedMedians[run.run_name.str()] = milliseconds;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    bool AnyError() const { return m_bError; }

    // False, printing nothing, when a side has no figures.
    bool PrintComparison(const Comparison& comparison) const {
        const double measured = Sum(comparison.benchmark);
        const double baseline = Sum(comparison.baseline);
        if (measured < 0 || baseline <= 0) {
            return false;
        }
        // Times under a hundredth of a millisecond are shown in nanoseconds.
        const bool bNanoseconds = std::max(measured, baseline) < 0.01;
        const double scale = bNanoseconds ? 1.0e6 : 1.0;
        const char* unit = bNanoseconds ? "ns" : "ms";
        std::printf("%s: %s %.3f %s, %s %.3f %s, ratio %.3f", comparison.title, comparison.label,
                    measured * scale, unit, comparison.baselineLabel, baseline * scale, unit,
                    measured / baseline);
        if (comparison.budgetMilliseconds > 0) {
            std::printf(", %s the %.1f ms budget",
                        measured <= comparison.budgetMilliseconds ? "within" : "OVER",
                        comparison.budgetMilliseconds);
        }
        std::printf("\n");
        return true;
    }

private:
    // The medians of the '+'-joined benchmarks added up, or -1 when one did not run.
    double Sum(const std::string& names) const {
        double sum = 0;
        for (size_t start = 0; start <= names.size();) {
            const size_t end = std::min(names.find('+', start), names.size());
            const double median = Median(names.substr(start, end - start));
            if (median < 0) {
                return -1;
            }
            sum += median;
            start = end + 1;
        }
        return sum;
    }

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
    bool m_bError = false;
};

// Whether the command line left every benchmark selected.
inline bool EveryBenchmarkSelected() {
    const std::string filter = benchmark::GetBenchmarkFilter();
    return filter.empty() || filter == "." || filter == ".*" || filter == "all";
}

inline int RunWithComparisons(int argc, char** argv, const std::vector<Comparison>& comparisons,
                              Clock clock = Clock::kThreadCpu) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    ComparisonReporter reporter(clock);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bool bComplete = !reporter.AnyError();
    for (const Comparison& comparison : comparisons) {
        if (!reporter.PrintComparison(comparison) && EveryBenchmarkSelected()) {
            std::printf("%s: not measured\n", comparison.title);
            bComplete = false;
        }
    }
    benchmark::Shutdown();
    return bComplete ? 0 : 1;
}

inline int RunWithComparison(int argc, char** argv, const Comparison& comparison) {
    return RunWithComparisons(argc, argv, {comparison});
}

} // namespace bench
