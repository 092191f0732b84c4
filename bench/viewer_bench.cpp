// The view on this machine's OpenGL (run under an X server): one frame in each show type and
// one zoom step (rescale and rebuild of the vertex arrays), in a 1280 x 1024 view.

#include "benchdesigns.h"
#include "drawing/glformat.h"
#include "viewer/tloomscope.h"

#include <GL/gl.h>
#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>
#include <ctime>
#include <fstream>
#include <memory>

namespace {

using namespace loomscope;

class BenchView : public Tloomscope {
public:
    // One whole frame, finished on the GL side.
    void frame()
    {
        makeCurrent();
        paintGL();
        glFinish();
        doneCurrent();
    }
    void rebuild()
    {
        makeCurrent();
        buildGeometryIfNeeded();
        glFinish();
        doneCurrent();
    }
};

std::string designFile(const std::string& which)
{
    if (which == "corpus") {
        const auto path = bench::largestCorpusDesign();
        return path ? path->string() : std::string();
    }
    const std::string p = std::filesystem::temp_directory_path() / "loomscope-bench-100k.dst";
    if (!std::filesystem::exists(p)) {
        const auto bytes = bench::generatedDesign(100'000);
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    return p;
}

std::unique_ptr<BenchView> openView(benchmark::State& state, const std::string& which,
                                    tdstshow type)
{
    const std::string path = designFile(which);
    if (path.empty()) {
        state.SkipWithError("no corpus of real files beside the project");
        return nullptr;
    }
    auto view = std::make_unique<BenchView>();
    view->resize(1280, 1024);
    view->show();
    (void)QTest::qWaitForWindowExposed(view.get());
    view->loaddstfile(path, true);
    view->Setdstshowtype(type);
    view->frame(); // builds the geometry once
    state.counters["stitches"] = view->dstfile().stitchs();
    state.SetLabel(std::filesystem::path(path).filename().string());
    return view;
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void BM_Frame(benchmark::State& state, const std::string& which, tdstshow type)
{
    auto view = openView(state, which, type);
    if (!view)
        return;
    for (auto _ : state)
        view->frame();
}

// A zoom step as the user makes it: the rescale of every point and the rebuild and upload of
// the vertex arrays; measured in CPU time of this process.
void BM_ZoomStep(benchmark::State& state, const std::string& which, tdstshow type)
{
    auto view = openView(state, which, type);
    if (!view)
        return;
    bool in = true;
    for (auto _ : state) {
        const double start = cpuSeconds();
        view->Setscale(in ? 1.2f : 1 / 1.2f);
        view->rebuild();
        state.SetIterationTime(cpuSeconds() - start);
        in = !in;
    }
}

void BM_FrameParts(benchmark::State& state)
{
    auto view = openView(state, "generated", tdstshow::dsline);
    if (!view)
        return;
    view->Setshowfont(state.range(0));
    view->SetAntialiasing(state.range(1));
    if (state.range(2))
        view->Setscale(0.1f);
    view->frame();
    for (auto _ : state)
        view->frame();
}
// The same without smoothing, for comparison.
void BM_FrameUnsmoothedLines(benchmark::State& state)
{
    auto view = openView(state, "generated", tdstshow::dsline);
    if (!view)
        return;
    view->SetAntialiasing(false);
    view->frame();
    for (auto _ : state)
        view->frame();
}
BENCHMARK(BM_FrameUnsmoothedLines)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_CAPTURE(BM_Frame, lines_100k, std::string("generated"), tdstshow::dsline)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Frame, threads_100k, std::string("generated"), tdstshow::dsturetype)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ZoomStep, lines_100k, std::string("generated"), tdstshow::dsline)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_ZoomStep, threads_100k, std::string("generated"), tdstshow::dsturetype)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_CAPTURE(BM_Frame, lines_corpus, std::string("corpus"), tdstshow::dsline)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Frame, threads_corpus, std::string("corpus"), tdstshow::dsturetype)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ZoomStep, threads_corpus, std::string("corpus"), tdstshow::dsturetype)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "viewer_bench needs an X server: run it under xvfb-run\n");
        return 1;
    }
    setDefaultGlFormat();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
