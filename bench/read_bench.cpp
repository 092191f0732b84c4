// Reading designs: records per second, peak heap per record, scaling, and --info end to end.

#include "benchdesigns.h"
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

// Items per second are records when `records` is 0, else that many per read (the design's
// records as DST, for a file of another format whose stitch count leaves out its jumps).
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

struct Move {
    StitchKind kind;
    int dx, dy;
};

// The moves generatedDesign writes as DST: rows of 3.5 mm stitches across 200 x 150 mm, a jump
// to every row and after every 300 stitches, a colour change after every 50,000 stitches.
std::vector<Move> generatedMoves(std::size_t records)
{
    std::vector<Move> moves;
    moves.reserve(records + 16);
    int x = 0, y = 0;
    auto add = [&](StitchKind kind, int dx, int dy) {
        moves.push_back({kind, dx, dy});
        x += dx;
        y += dy;
    };
    std::size_t stitches = 0;
    for (int row = 0; moves.size() < records; ++row) {
        const int rowY = (row * 4) % 1500 - 750;
        const int from = row % 2 ? 1000 : -1000;
        add(StitchKind::Jump, from - x, rowY - y);
        add(StitchKind::Stitch, 0, 0);
        const int step = row % 2 ? -35 : 35;
        for (int at = from; std::abs(at) <= 1000 && moves.size() < records; at += step) {
            add(StitchKind::Stitch, step, (at / 35) % 3 - 1);
            if (++stitches % 300 == 0) {
                add(StitchKind::Jump, 2, 2);
                add(StitchKind::Stitch, 0, 0);
            }
            if (stitches % 50000 == 0) {
                add(StitchKind::ColourChange, 0, 0);
                add(StitchKind::Stitch, 0, 0);
            }
        }
    }
    return moves;
}

void put(Bytes& b, std::initializer_list<int> values)
{
    for (const int v : values)
        b.push_back(static_cast<std::uint8_t>(v));
}

// Cuts a move into pieces of at most `longest` on either axis.
template <typename Emit> void inPieces(int dx, int dy, int longest, Emit emit)
{
    const int pieces = std::max(
        {1, (std::abs(dx) + longest - 1) / longest, (std::abs(dy) + longest - 1) / longest});
    int doneX = 0, doneY = 0;
    for (int k = 1; k <= pieces; ++k) {
        emit(dx * k / pieces - doneX, dy * k / pieces - doneY);
        doneX = dx * k / pieces;
        doneY = dy * k / pieces;
    }
}

// A PEC block: 7-bit stitches, 12-bit jumps, y downwards.
Bytes pecBlock(const std::vector<Move>& moves)
{
    Bytes records;
    auto longValue = [&](int v) { put(records, {0x90 | ((v >> 8) & 0x0F), v & 0xFF}); };
    for (const Move& m : moves) {
        if (m.kind == StitchKind::ColourChange)
            put(records, {0xFE, 0xB0, 2});
        else if (m.kind == StitchKind::Stitch)
            put(records, {m.dx & 0x7F, -m.dy & 0x7F});
        else
            inPieces(m.dx, m.dy, 2047, [&](int dx, int dy) {
                longValue(dx);
                longValue(-dy);
            });
    }
    put(records, {0xFF, 0});
    Bytes b(0x200, ' ');
    std::copy_n("LA:BENCH", 8, b.begin());
    b[0x30] = 0;
    b[0x31] = 5;
    const auto n = static_cast<int>(records.size() + 0x10);
    put(b, {0, 0, n, n >> 8, n >> 16, 0x31, 0xFF, 0xF0, 0, 0, 0, 0, 0xE0, 1, 0xB0, 1});
    b.insert(b.end(), records.begin(), records.end());
    return b;
}

// JEF and EXP: two-byte stitches with y upwards, moves as escapes of at most 127.
Bytes escapeRecords(const std::vector<Move>& moves, int jumpCode)
{
    Bytes b;
    for (const Move& m : moves) {
        if (m.kind == StitchKind::ColourChange)
            put(b, {0x80, 0x01, 0, 0});
        else if (m.kind == StitchKind::Stitch)
            put(b, {m.dx, m.dy});
        else
            inPieces(m.dx, m.dy, 127, [&](int dx, int dy) { put(b, {0x80, jumpCode, dx, dy}); });
    }
    return b;
}

Bytes generatedPec(const std::vector<Move>& moves)
{
    Bytes b = {'#', 'P', 'E', 'C', '0', '0', '0', '1'};
    const Bytes block = pecBlock(moves);
    b.insert(b.end(), block.begin(), block.end());
    return b;
}

Bytes generatedPes(const std::vector<Move>& moves)
{
    Bytes b = {'#', 'P', 'E', 'S', '0', '0', '0', '1', 16, 0, 0, 0, 0, 0, 0, 0};
    const Bytes block = pecBlock(moves);
    b.insert(b.end(), block.begin(), block.end());
    return b;
}

Bytes generatedJef(const std::vector<Move>& moves)
{
    Bytes b(0x74 + 8, 0);
    b[0] = 0x74 + 8;
    b[0x18] = 1;
    b[0x74] = 10;
    const Bytes records = escapeRecords(moves, 0x02);
    b.insert(b.end(), records.begin(), records.end());
    put(b, {0x80, 0x10});
    return b;
}

Bytes generatedExp(const std::vector<Move>& moves)
{
    return escapeRecords(moves, 0x04);
}

// One section per colour, whose start is where the needle is; a jump inside a section is a
// trim and a long stitch, the only longer move VP3 stitch data has.
Bytes generatedVp3(const std::vector<Move>& moves)
{
    auto u32be = [](Bytes& b, std::size_t v) {
        put(b, {static_cast<int>(v >> 24), static_cast<int>(v >> 16), static_cast<int>(v >> 8),
                static_cast<int>(v)});
    };
    auto block = [&](int tag, const Bytes& content) {
        Bytes b = {0, static_cast<std::uint8_t>(tag), 0};
        u32be(b, content.size());
        b.insert(b.end(), content.begin(), content.end());
        return b;
    };
    std::vector<Bytes> sections;
    int x = 0, y = 0;
    std::size_t k = 0;
    while (k < moves.size()) {
        Bytes section;
        u32be(section, static_cast<std::size_t>(x * 100));
        u32be(section, static_cast<std::size_t>(y * 100));
        put(section, {1, 0, 0xFF, 0, 0, 0, 0, 0, 5, 40, 0, 0, 0, 0, 0, 0});
        section.resize(section.size() + 8, 0);
        Bytes stitches = {0x0A, 0xF6, 0};
        for (; k < moves.size() && moves[k].kind != StitchKind::ColourChange; ++k) {
            const Move& m = moves[k];
            if (m.kind == StitchKind::Stitch)
                put(stitches, {m.dx, -m.dy});
            else
                put(stitches,
                    {0x80, 0x03, 0x80, 0x01, m.dx >> 8, m.dx, -m.dy >> 8, -m.dy, 0x80, 2});
            x += m.dx;
            y += m.dy;
        }
        ++k;
        const Bytes stitchBlock = block(1, stitches);
        section.insert(section.end(), stitchBlock.begin(), stitchBlock.end());
        put(section, {0});
        sections.push_back(block(5, section));
    }
    Bytes design(8 + 3 + 24 + 2, 0);
    put(design, {'d', 'd', 0, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0});
    put(design, {'x', 'x', 'P', 'P', 1, 0, 0, 0, static_cast<int>(sections.size()) >> 8,
                 static_cast<int>(sections.size())});
    for (const Bytes& section : sections)
        design.insert(design.end(), section.begin(), section.end());
    Bytes file(2 + 20, 0);
    put(file, {0, static_cast<int>(sections.size()), 0x0C, 0, 1});
    const Bytes designBlock = block(3, design);
    file.insert(file.end(), designBlock.begin(), designBlock.end());
    Bytes b = {'%', 'v', 's', 'm', '%', 0, 0, 0};
    const Bytes fileBlock = block(2, file);
    b.insert(b.end(), fileBlock.begin(), fileBlock.end());
    return b;
}

Bytes generatedXxx(const std::vector<Move>& moves)
{
    Bytes b(0x100, 0);
    b[0x27] = 1;
    for (const Move& m : moves) {
        if (m.kind == StitchKind::ColourChange)
            put(b, {0x7F, 0x08, 0, 0});
        else if (m.kind == StitchKind::Stitch)
            put(b, {m.dx, m.dy});
        else
            put(b, {0x7E, m.dx, m.dx >> 8, m.dy, m.dy >> 8});
    }
    const std::size_t end = b.size();
    for (int i = 0; i < 4; ++i)
        b[0xFC + i] = static_cast<std::uint8_t>(end >> 8 * i);
    put(b, {0x7F, 0x7F, 3, 0x14, 0, 0, 0, 0xED, 0x17, 0x1F});
    return b;
}

const std::vector<Move>& millionMoves()
{
    static const std::vector<Move> moves = generatedMoves(kMillion);
    return moves;
}

void readFormat(benchmark::State& state, CommandRead (*reader)(std::span<const std::uint8_t>),
                const Bytes& bytes)
{
    std::size_t records = 0;
    std::size_t peakPerRecord = 0;
    for (auto _ : state) {
        const std::size_t before = gCurrent;
        gPeak = gCurrent;
        const CommandRead read = reader(bytes);
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
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// Each format's reader alone, then the whole open of its file as the program opens it (read,
// the records as DST would hold them, the blocks), against BM_LoadGeneratedMillion: the same
// design as a DST file.
#define FORMAT_BENCHMARK(Name, reader, generate, extension)                                        \
    void BM_Read##Name##Million(benchmark::State& state)                                           \
    {                                                                                              \
        static const Bytes bytes = generate(millionMoves());                                       \
        readFormat(state, reader, bytes);                                                          \
    }                                                                                              \
    BENCHMARK(BM_Read##Name##Million)->Unit(benchmark::kMillisecond);                             \
    void BM_Open##Name##Million(benchmark::State& state)                                           \
    {                                                                                              \
        static const std::string path = formatFile(extension, generate(millionMoves()));           \
        readFile(state, path, kMillion);                                                           \
    }                                                                                              \
    BENCHMARK(BM_Open##Name##Million)->Unit(benchmark::kMillisecond)

FORMAT_BENCHMARK(Pes, readPes, generatedPes, "pes");
FORMAT_BENCHMARK(Pec, readPec, generatedPec, "pec");
FORMAT_BENCHMARK(Jef, readJef, generatedJef, "jef");
FORMAT_BENCHMARK(Exp, readExp, generatedExp, "exp");
FORMAT_BENCHMARK(Vp3, readVp3, generatedVp3, "vp3");
FORMAT_BENCHMARK(Xxx, readXxx, generatedXxx, "xxx");

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
        const std::string path = std::filesystem::temp_directory_path() / "loomscope-bench-cake.dst";
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
    const CommandRead read = readPes(generatedPes(millionMoves()));
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
