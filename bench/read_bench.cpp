// Reading designs: records per second, peak heap per record, scaling, and --info end to end.

#include "benchdesigns.h"
#include "model/tembs.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <new>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

// Heap accounting for the peak-memory figure: every allocation of this program is counted.
namespace {
std::size_t gCurrent = 0;
std::size_t gPeak = 0;
} // namespace

void* operator new(std::size_t n)
{
    auto* p = static_cast<std::size_t*>(std::malloc(n + 16));
    if (!p)
        throw std::bad_alloc();
    *p = n;
    gCurrent += n;
    gPeak = std::max(gPeak, gCurrent);
    return reinterpret_cast<char*>(p) + 16;
}
void* operator new[](std::size_t n)
{
    return operator new(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    try {
        return operator new(n);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept
{
    return operator new(n, t);
}
void operator delete(void* p) noexcept
{
    if (!p)
        return;
    auto* base = reinterpret_cast<std::size_t*>(static_cast<char*>(p) - 16);
    gCurrent -= *base;
    std::free(base);
}
void operator delete[](void* p) noexcept
{
    operator delete(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    operator delete(p);
}

namespace {

using namespace loomscope;

constexpr std::size_t kMillion = 1'000'000;

const std::string& millionRecordFile()
{
    static const std::string path = [] {
        const std::string p = std::filesystem::temp_directory_path() / "loomscope-bench-1m.dst";
        const auto bytes = bench::generatedDesign(kMillion + 2);
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return p;
    }();
    return path;
}

void readFile(benchmark::State& state, const std::string& path)
{
    std::size_t records = 0;
    std::size_t peakPerRecord = 0;
    for (auto _ : state) {
        const std::size_t before = gCurrent;
        gPeak = gCurrent;
        Tembs design;
        design.loadfromfile(path);
        records = static_cast<std::size_t>(design.stitchs());
        peakPerRecord = (gPeak - before) / std::max<std::size_t>(records, 1);
        benchmark::DoNotOptimize(design.Graphlist().Count());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
    state.counters["records"] = static_cast<double>(records);
    state.counters["peak_heap_bytes_per_record"] = static_cast<double>(peakPerRecord);
}

void BM_LoadGeneratedMillion(benchmark::State& state)
{
    readFile(state, millionRecordFile());
}
BENCHMARK(BM_LoadGeneratedMillion)->Unit(benchmark::kMillisecond);

void BM_LoadLargestCorpusDesign(benchmark::State& state)
{
    const auto path = bench::largestCorpusDesign();
    if (!path) {
        state.SkipWithError("no corpus of real files beside the project");
        return;
    }
    state.SetLabel(path->filename().string());
    readFile(state, path->string());
}
BENCHMARK(BM_LoadLargestCorpusDesign)->Unit(benchmark::kMillisecond);

void BM_SetscaleMillionPoints(benchmark::State& state)
{
    Tembs design;
    design.loadfromfile(millionRecordFile());
    std::size_t points = 0;
    for (const TGraphObject* block : design.Graphlist())
        points += block->FPointList.size();
    bool in = true;
    for (auto _ : state) {
        design.Setscale(in ? 1.2f : 1 / 1.2f);
        in = !in;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * points));
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_SetscaleMillionPoints)->Unit(benchmark::kMillisecond);

// `loomscope --info` of the million-record file as a whole process, output discarded.
void BM_InfoProcessMillion(benchmark::State& state)
{
    const std::string& path = millionRecordFile();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid;
        char* argv[] = {const_cast<char*>(LOOMSCOPE_BINARY), const_cast<char*>("--info"),
                        const_cast<char*>(path.c_str()), nullptr};
        if (posix_spawn(&pid, LOOMSCOPE_BINARY, &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start loomscope");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("loomscope --info failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK(BM_InfoProcessMillion)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
