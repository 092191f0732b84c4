// Reading designs: records per second, peak heap per record, scaling, and --info end to end.

#include "benchdesigns.h"
#include "benchformats.h"
#include "model/designfile.h"
#include "model/embroideryformats.h"
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

// Items per second are records when `records` is 0, else that many per read (the commands of
// a design of another format, whose stitch count leaves out its jumps).
void readFile(benchmark::State& state, const std::string& path, std::size_t recordsPerRead = 0)
{
    std::size_t records = 0;
    std::size_t peakPerRecord = 0;
    for (auto _ : state) {
        const std::size_t before = gCurrent;
        gPeak = gCurrent;
        Tembs design;
        design.loadfromfile(path);
        records = recordsPerRead ? recordsPerRead : static_cast<std::size_t>(design.stitchs());
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

// ---- The other formats ----------------------------------------------------------------------
// Each format's reader on a design of a million records made in memory, beside DST's reader on
// the same design as DST bytes in memory: records per second of each.

using Bytes = std::vector<std::uint8_t>;
using bench::generatedMoves;
using bench::Move;
using namespace bench::formats;

const std::vector<Move>& millionMoves()
{
    static const std::vector<Move> moves = generatedMoves(kMillion);
    return moves;
}

void readFormat(benchmark::State& state, DesignFormat format, const Bytes& bytes)
{
    std::size_t records = 0;
    std::size_t peakPerRecord = 0;
    for (auto _ : state) {
        const std::size_t before = gCurrent;
        gPeak = gCurrent;
        const CommandRead read = readDesign(format, bytes);
        if (!read.design) {
            state.SkipWithError(read.reason.c_str());
            break;
        }
        records = read.design->commands.size();
        peakPerRecord = (gPeak - before) / std::max<std::size_t>(records, 1);
        benchmark::DoNotOptimize(read.design->commands.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
    state.counters["records"] = static_cast<double>(records);
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
    state.counters["peak_heap_bytes_per_record"] = static_cast<double>(peakPerRecord);
}

// DST's reader on the same million records, in memory, as the measure for the others.
void BM_ReadDstBytesMillion(benchmark::State& state)
{
    static const Bytes bytes = bench::generatedDesign(kMillion + 2);
    std::size_t records = 0;
    for (auto _ : state) {
        Tembs design;
        design.readdstbytes(bytes);
        records = static_cast<std::size_t>(design.stitchs());
        benchmark::DoNotOptimize(design.Graphlist().Count());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * records));
    state.counters["records"] = static_cast<double>(records);
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_ReadDstBytesMillion)->Unit(benchmark::kMillisecond);

// A file of the format holding the million-record design, written once.
std::string formatFile(const char* extension, const Bytes& bytes)
{
    const std::string path =
        std::filesystem::temp_directory_path() / ("loomscope-bench-1m." + std::string(extension));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

// Each format's reader alone, then the whole open of its file as the program opens it (read,
// the records as DST would hold them, the blocks), against BM_LoadGeneratedMillion: a DST file
// of as many records laid out alike. Items are the design's commands: a million, against the
// DST file's million records, of which its long jumps take several each, so the format's
// design is the larger one.
#define FORMAT_BENCHMARK(Name, generate, extension)                                                \
    void BM_Read##Name##Million(benchmark::State& state)                                           \
    {                                                                                              \
        static const Bytes bytes = generate(millionMoves());                                       \
        readFormat(state, DesignFormat::Name, bytes);                                              \
    }                                                                                              \
    BENCHMARK(BM_Read##Name##Million)->Unit(benchmark::kMillisecond);                              \
    void BM_Open##Name##Million(benchmark::State& state)                                           \
    {                                                                                              \
        static const std::string path = formatFile(extension, generate(millionMoves()));           \
        readFile(state, path, kMillion);                                                           \
    }                                                                                              \
    BENCHMARK(BM_Open##Name##Million)->Unit(benchmark::kMillisecond)

FORMAT_BENCHMARK(Pes, generatedPes, "pes");
FORMAT_BENCHMARK(Pec, generatedPec, "pec");
FORMAT_BENCHMARK(Jef, generatedJef, "jef");
FORMAT_BENCHMARK(Exp, generatedExp, "exp");
FORMAT_BENCHMARK(Vp3, generatedVp3, "vp3");
FORMAT_BENCHMARK(Xxx, generatedXxx, "xxx");

// A real PES design against the DST a converter would write of it, each opened as the
// program opens it: what a thumbnail or a browser row of the design costs beyond its drawing.
void BM_OpenPesAgainstDst(benchmark::State& state)
{
    const auto pes = bench::corpusFormatsFile("embcat__Cake_3.pes");
    if (!pes) {
        state.SkipWithError("no corpus of real files beside the project");
        return;
    }
    static const std::string dst = [&] {
        const std::string path =
            std::filesystem::temp_directory_path() / "loomscope-bench-cake.dst";
        const FileBytes bytes = designAsDstBytes(pes->string(), SIZE_MAX);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.bytes.data()),
                   static_cast<std::streamsize>(bytes.bytes.size()));
        return path;
    }();
    state.SetLabel(state.range(0) ? "pes" : "dst");
    readFile(state, state.range(0) ? pes->string() : dst);
}
BENCHMARK(BM_OpenPesAgainstDst)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Making the DST bytes of the million-record design read from PES.
void BM_ToDstBytesMillion(benchmark::State& state)
{
    const CommandRead read = readDesign(DesignFormat::Pes, generatedPes(millionMoves()));
    if (!read.design) {
        state.SkipWithError(read.reason.c_str());
        return;
    }
    const std::size_t commands = read.design->commands.size();
    for (auto _ : state)
        benchmark::DoNotOptimize(toDstBytes(*read.design).data());
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * commands));
}
BENCHMARK(BM_ToDstBytesMillion)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
