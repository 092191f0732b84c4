// The stitch-out replay at its fastest setting (10 records a tick) in a 1920 x 1080 window, run
// under an X server whose screen has that size: ticks per second through the window's own
// 10 ms timer, and what one tick costs (stepping, drawing into the picture and repainting the
// changed part of the window) near the first record and near the millionth.

#include "animate/tform8.h"
#include "benchdesigns.h"
#include "model/palette.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QTest>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

namespace {

using namespace loomscope;

constexpr int kFastest = 10;
constexpr std::size_t kRecords = 1'050'000;

std::string designFile()
{
    const std::string p = std::filesystem::temp_directory_path() / "loomscope-bench-1m.dst";
    if (!std::filesystem::exists(p)) {
        const auto bytes = bench::generatedDesign(kRecords);
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    return p;
}

// The window at the fastest speed, showing the design, after its first tick has read it.
std::unique_ptr<TForm8> openReplay(benchmark::State& state)
{
    auto form = std::make_unique<TForm8>([](int i) { return paletteColor(i); });
    form->findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(kFastest);
    form->showReplay(designFile());
    if (!QTest::qWaitForWindowExposed(form.get())) {
        state.SkipWithError("the window was never shown");
        return nullptr;
    }
    QElapsedTimer waited;
    waited.start();
    while (!form->stepper() && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (!form->stepper()) {
        state.SkipWithError("the design was not read");
        return nullptr;
    }
    state.counters["width"] = form->width();
    state.counters["height"] = form->height();
    state.counters["records"] = form->stepper()->stitches().Fstitchs;
    return form;
}

// The replay as a user sees it: the timer drives it for two seconds.
void BM_TicksPerSecond(benchmark::State& state)
{
    for (auto _ : state) {
        auto form = openReplay(state);
        if (!form)
            return;
        const int from = form->stepper()->ln();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double seconds = clock.nsecsElapsed() * 1e-9;
        const double ticks = double(form->stepper()->ln() - from) / kFastest;
        state.counters["ticks_per_s"] = ticks / seconds;
        form->close();
    }
}

// One tick at a time, each followed by its repaint, starting at record `state.range(0)`.
void BM_TickAt(benchmark::State& state)
{
    auto form = openReplay(state);
    if (!form)
        return;
    form->SpeedButton2Click(); // the benchmark ticks, not the timer
    const int target = static_cast<int>(state.range(0));
    int sinceRepaint = 0;
    while (form->stepper()->ln() < target) {
        form->Timer1Timer();
        if (++sinceRepaint == 100) {
            QCoreApplication::processEvents();
            sinceRepaint = 0;
        }
    }
    QCoreApplication::processEvents();
    state.counters["first_record"] = form->stepper()->ln();
    for (auto _ : state) {
        form->Timer1Timer();
        QCoreApplication::processEvents();
    }
    state.counters["ticks_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_TicksPerSecond)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TickAt)
    ->Arg(0)
    ->Arg(1'000'000)
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "animate_bench needs an X server: run it under xvfb-run\n");
        return 1;
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
