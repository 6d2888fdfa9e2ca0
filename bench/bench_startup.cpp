// The game's start-up as a process: a headless run of one frame (the strap screen's), from
// the program's start to its exit, beside the program that only loads and prints its usage
// (--help). Each iteration's time is the child process's CPU time (user and system, every
// thread), which other programs on the machine do not inflate; its wall time is a counter.
#include "support/comparison_main.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct ChildRun {
    bool bSucceeded;
    double cpuSeconds;
    double wallSeconds;
};

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

// Runs the program with its output sent nowhere and waits for it to end.
ChildRun RunChild(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int error = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (error != 0 || wait4(child, &status, 0, &usage) != child) {
        return {false, 0, 0};
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0,
            Seconds(usage.ru_utime) + Seconds(usage.ru_stime), wall.count()};
}

void MeasureRuns(benchmark::State& state, const std::vector<std::string>& arguments) {
    double wallSeconds = 0;
    for (auto _ : state) {
        const ChildRun run = RunChild(arguments);
        if (!run.bSucceeded) {
            state.SkipWithError("the program failed");
            return;
        }
        state.SetIterationTime(run.cpuSeconds);
        wallSeconds += run.wallSeconds;
    }
    state.counters["wall_ms"] = wallSeconds * 1e3 / static_cast<double>(state.iterations());
}

void BM_OneFrameRun(benchmark::State& state) {
    const std::filesystem::path nand =
        std::filesystem::temp_directory_path() / ("bench_startup_nand_" + std::to_string(getpid()));
    std::filesystem::create_directories(nand);
    MeasureRuns(state, {PUZZLES_GAME, "--headless", "--frames", "1", "--disc", PUZZLES_DISC_DIR,
                        "--nand", nand.string()});
    std::filesystem::remove_all(nand);
}

void BM_ProgramAlone(benchmark::State& state) {
    MeasureRuns(state, {PUZZLES_GAME, "--help"});
}

BENCHMARK(BM_OneFrameRun)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgramAlone)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparisons(
        argc, argv,
        {{"start-up to the first frame and exit", "BM_OneFrameRun/manual_time", "one-frame run",
          "BM_ProgramAlone/manual_time", "program alone (--help)"}},
        bench::Clock::kManual);
}
