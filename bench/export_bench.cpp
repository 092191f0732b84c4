// The whole high-resolution export as a user's script runs it: `loomscope --export` as a
// process (read, render off screen, read back, brighten, text, JPEG), with its peak memory.

#include "benchdesigns.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

std::string writeDesign(const char* name, std::size_t records, int halfWidth, int halfHeight)
{
    const std::string path = std::filesystem::temp_directory_path() / name;
    if (!std::filesystem::exists(path)) {
        const auto bytes = loomscope::bench::generatedDesign(records, halfWidth, halfHeight);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    return path;
}

void exportDesign(benchmark::State& state, const std::string& design)
{
    if (design.empty()) {
        state.SkipWithError("no corpus of real files beside the project");
        return;
    }
    const std::string out = std::filesystem::temp_directory_path() / "loomscope-bench-export.jpg";
    const std::string home = std::filesystem::temp_directory_path() / "loomscope-bench-home";
    std::filesystem::create_directories(home);
    setenv("LOOMSCOPE_HOME", home.c_str(), 1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    long peakKb = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        char* argv[] = {const_cast<char*>(LOOMSCOPE_BINARY), const_cast<char*>("--export"),
                        const_cast<char*>(design.c_str()), const_cast<char*>(out.c_str()), nullptr};
        pid_t pid;
        if (posix_spawn(&pid, LOOMSCOPE_BINARY, &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start loomscope");
            break;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("loomscope --export failed");
            break;
        }
        peakKb = std::max(peakKb, usage.ru_maxrss);
    }
    posix_spawn_file_actions_destroy(&actions);
    state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024;
    state.SetLabel(std::filesystem::path(design).filename().string());
}

void BM_ExportSquare100k(benchmark::State& state)
{
    exportDesign(state, writeDesign("loomscope-bench-square-100k.dst", 100'000, 1000, 1000));
}
BENCHMARK(BM_ExportSquare100k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_Export200k(benchmark::State& state)
{
    exportDesign(state, writeDesign("loomscope-bench-200k.dst", 200'000, 1000, 750));
}
BENCHMARK(BM_Export200k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_ExportLargestCorpusDesign(benchmark::State& state)
{
    const auto path = loomscope::bench::largestCorpusDesign();
    exportDesign(state, path ? path->string() : std::string());
}
BENCHMARK(BM_ExportLargestCorpusDesign)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

} // namespace

BENCHMARK_MAIN();
