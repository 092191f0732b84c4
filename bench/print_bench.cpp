// The print page of a 100,000-stitch design: composing the 595 x 840 preview with plain and
// with shaded thread lines, and writing the page as a PDF (time and file size).

#include "benchdesigns.h"
#include "drawing/programfonts.h"
#include "model/tembs.h"
#include "print/composepage.h"
#include "print/pagefiles.h"
#include "print/printpage.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <fstream>

namespace {

// The design as the print window holds it, fitted to the paper as the window would place it.
struct Fixture {
    Fixture()
    {
        path = std::filesystem::temp_directory_path() / "loomscope-bench-print-100k.dst";
        const auto bytes = loomscope::bench::generatedDesign(100'000);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        design.loadfromfile(path);
        page.candraw = true;
        page.placement = loomscope::initialPlacement(design);
        page.falsestitches = design.stitchs();
        home = std::filesystem::temp_directory_path().string() + "/loomscope-bench-print-home/";
        std::filesystem::create_directories(home);
        sources.readcolorlist = [](int) { return loomscope::TColor{0x3366CC}; };
        sources.programHome = home;
    }
    std::string path;
    std::string home;
    loomscope::Tembs design;
    loomscope::PrintPage page;
    loomscope::PageSources sources;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void composePreview(benchmark::State& state, bool shaded)
{
    Fixture& f = fixture();
    f.page.options.truetype = shaded;
    QImage preview(595, 840, QImage::Format_RGB32);
    preview.setDotsPerMeterX(3780);
    preview.setDotsPerMeterY(3780);
    for (auto _ : state) {
        QPainter painter(&preview);
        loomscope::composepage(painter, 7, 1, f.design, f.page, f.sources);
    }
    state.counters["stitches"] = f.design.stitchs();
}

void BM_PreviewPlain(benchmark::State& state)
{
    composePreview(state, false);
}
BENCHMARK(BM_PreviewPlain)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_PreviewShaded(benchmark::State& state)
{
    composePreview(state, true);
}
BENCHMARK(BM_PreviewShaded)->Unit(benchmark::kMillisecond)->Iterations(3);

void writePdf(benchmark::State& state, bool shaded)
{
    Fixture& f = fixture();
    f.page.options.truetype = shaded;
    const std::string out = std::filesystem::temp_directory_path() / "loomscope-bench-print.pdf";
    for (auto _ : state) {
        const QString error = loomscope::writePagePdf(out, f.design, f.page, f.sources, {});
        if (!error.isEmpty()) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
    }
    state.counters["pdf_MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
}

void BM_PdfPlain(benchmark::State& state)
{
    writePdf(state, false);
}
BENCHMARK(BM_PdfPlain)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PdfShaded(benchmark::State& state)
{
    writePdf(state, true);
}
BENCHMARK(BM_PdfShaded)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    // Pages are drawn into pictures and files: no display needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    loomscope::loadProgramFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
