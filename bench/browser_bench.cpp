// The browser on a shop's folder of 1,000 designs of about 20,000 stitches each: how soon the
// first rows show, how long the whole list with thumbnails takes, the longest time the event
// loop was kept from running meanwhile (a watchdog timer measures it), and the price report of
// that folder. Then the command-line tools as whole processes: the file manager's thumbnail of
// a 20,000-stitch design and --info of a small one.

#include "benchdesigns.h"
#include "benchformats.h"
#include "browser/browserpane.h"
#include "browser/designlistmodel.h"
#include "browser/designlistview.h"
#include "browser/desktopactions.h"
#include "browser/thumbnailfiller.h"
#include "cli/thumbnailcommand.h"
#include "model/colorsequencefile.h"
#include "model/designfile.h"
#include "session/mainstate.h"
#include "session/usermessages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <system_error>

extern char** environ;

namespace {

using namespace loomscope;
namespace fs = std::filesystem;

constexpr int kFolderDesigns = 1000;

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

fs::path design20k()
{
    const fs::path p = fs::temp_directory_path() / "loomscope-bench-20k.dst";
    if (!fs::exists(p))
        writeBytes(p, bench::generatedDesign(20'000));
    return p;
}

fs::path shopFolder()
{
    const fs::path dir = fs::temp_directory_path() / "loomscope-bench-folder-1000";
    fs::create_directories(dir);
    const auto bytes = bench::generatedDesign(20'000);
    for (int i = 0; i < kFolderDesigns; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "design%04d.dst", i);
        if (!fs::exists(dir / name))
            writeBytes(dir / name, bytes);
    }
    return dir;
}

// A shop's archive: `count` designs of 20,000 stitches in one folder (hard links of one file,
// so that it is quick to make), each with a side file of its own name when asked.
fs::path archiveFolder(int count, bool sideFiles)
{
    const fs::path dir =
        fs::temp_directory_path() /
        ("loomscope-bench-archive-" + std::to_string(count) + (sideFiles ? "-lsc" : ""));
    fs::create_directories(dir);
    const fs::path design = dir / "design00000.dst";
    const fs::path side = dir / "design00000.lsc";
    if (!fs::exists(design))
        writeBytes(design, bench::generatedDesign(20'000));
    if (sideFiles && !fs::exists(side)) {
        const std::vector<TColor> colours(20, 0x2040C0);
        const std::vector<std::string> names(20, "Navy");
        writeBytes(side, encodeColorSequence("Bench", colours, names));
    }
    for (int i = 1; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "design%05d", i);
        std::error_code ec;
        if (!fs::exists(dir / (std::string(name) + ".dst")))
            fs::create_hard_link(design, dir / (std::string(name) + ".dst"), ec);
        if (sideFiles && !fs::exists(dir / (std::string(name) + ".lsc")))
            fs::create_hard_link(side, dir / (std::string(name) + ".lsc"), ec);
    }
    return dir;
}

// The resident memory of this process, in megabytes.
double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    return 0;
}

struct Silent : UserMessages {
    void error(QWidget*, const QString& text) override { errors << text; }
    void information(QWidget*, const QString&) override {}
    QStringList errors;
};

struct NoDesktop : DesktopActions {
    void showInFileManager(const std::string&) override {}
    std::string openFile(const std::string&) override { return {}; }
    std::string startProgram(const std::string&, const std::vector<std::string>&) override
    {
        return {};
    }
};

// Notes the first paint of the list that shows a row.
class FirstPaint : public QObject {
public:
    FirstPaint(const DesignListModel* model, const QElapsedTimer& clock)
        : model_(model), clock_(clock)
    {}
    qint64 at = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && at < 0 && model_->rowCount() > 0)
            at = clock_.nsecsElapsed();
        return false;
    }

private:
    const DesignListModel* model_;
    const QElapsedTimer& clock_;
};

// Arguments: the number of designs (1,000 separate files, or an archive of hard links), and
// whether each has a side file.
void BM_BrowserFolder(benchmark::State& state)
{
    const int designs = static_cast<int>(state.range(0));
    const bool sideFiles = state.range(1) != 0;
    const fs::path folder =
        designs == kFolderDesigns && !sideFiles ? shopFolder() : archiveFolder(designs, sideFiles);
    const fs::path home = fs::temp_directory_path() / "loomscope-bench-home";
    fs::create_directories(home);
    double firstRows = 0, whole = 0, stall = 0, report = 0, resident = 0;
    for (auto _ : state) {
        MainState main;
        Silent messages;
        NoDesktop desktop;
        QWidget window;
        window.resize(1100, 760);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* pane =
            new BrowserPane(main, QString::fromStdString(home.string() + "/"), messages, &window);
        pane->setDesktopActions(&desktop);
        layout->addWidget(pane);
        window.show();
        pane->show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            state.SkipWithError("the window was never shown");
            break;
        }
        auto* list = pane->findChild<DesignListView*>(QStringLiteral("ListView1"));

        QElapsedTimer clock;
        FirstPaint paint(pane->designModel(), clock);
        list->iconView()->viewport()->installEventFilter(&paint);
        // The watchdog: a timer that should fire every 2 ms; the longest gap between two of
        // its ticks is the longest the event loop was kept busy.
        qint64 last = -1;
        qint64 longest = 0;
        QTimer watchdog;
        watchdog.setTimerType(Qt::PreciseTimer);
        watchdog.setInterval(2);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            if (last >= 0)
                longest = std::max(longest, now - last);
            last = now;
        });
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!pane->isFilling() && pane->designModel()->rowCount() == designs)
                loop.quit();
        });
        clock.start();
        watchdog.start();
        poll.start(5);
        // Chosen from inside the event loop, as a click in the folder tree is: the listing
        // of the folder counts towards the longest stall.
        QTimer::singleShot(0, [&] { main.changeFolder(folder.string()); });
        QTimer::singleShot(600'000, &loop, &QEventLoop::quit);
        loop.exec();
        const qint64 done = clock.nsecsElapsed();
        watchdog.stop();
        if (pane->designModel()->rowCount() != designs) {
            state.SkipWithError("the list was not filled within ten minutes");
            break;
        }
        firstRows = std::max(firstRows, paint.at / 1e6);
        whole = std::max(whole, done / 1e6);
        stall = std::max(stall, longest / 1e6);
        state.SetIterationTime(done / 1e9);
        // With the list shown at its end, as a user scrolling through it would leave it.
        list->iconView()->scrollToBottom();
        QTest::qWait(50);
        resident = std::max(resident, residentMegabytes());

        // The report button on the filled list: prices, text, total.txt written.
        pane->findChild<QToolButton*>(QStringLiteral("SpeedButton7"))->click();
        pane->findChild<QLineEdit*>(QStringLiteral("Edit4"))->setText(QStringLiteral("1000"));
        pane->findChild<QLineEdit*>(QStringLiteral("Edit5"))->setText(QStringLiteral("3"));
        pane->findChild<QLineEdit*>(QStringLiteral("Edit7"))->setText(QStringLiteral("50000"));
        pane->findChild<QLineEdit*>(QStringLiteral("Edit8"))->setText(QStringLiteral("0.5"));
        const auto start = std::chrono::steady_clock::now();
        pane->findChild<QToolButton*>(QStringLiteral("SpeedButton6"))->click();
        report = std::max(report, std::chrono::duration<double, std::milli>(
                                      std::chrono::steady_clock::now() - start)
                                      .count());
        if (!messages.errors.isEmpty() || !fs::exists(home / "total.txt")) {
            state.SkipWithError("the report was not written");
            break;
        }
    }
    state.counters["first_rows_ms"] = firstRows;
    state.counters["whole_ms"] = whole;
    state.counters["longest_stall_ms"] = stall;
    state.counters["report_button_ms"] = report;
    state.counters["resident_mb"] = resident;
}
BENCHMARK(BM_BrowserFolder)
    ->Args({kFolderDesigns, 0})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_BrowserFolder)
    ->Args({20'000, 0})
    ->Args({20'000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// A folder of `count` designs of 2,000 stitches (hard links of one file, so a large folder is
// quick to make), none with a side file: the worst case for finding side files.
fs::path linkedFolder(int count)
{
    const fs::path dir =
        fs::temp_directory_path() / ("loomscope-bench-linked-" + std::to_string(count));
    fs::create_directories(dir);
    const fs::path original = dir / "design00000.dst";
    if (!fs::exists(original))
        writeBytes(original, bench::generatedDesign(2'000));
    for (int i = 1; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "design%05d.dst", i);
        std::error_code ec;
        if (!fs::exists(dir / name))
            fs::create_hard_link(original, dir / name, ec);
    }
    return dir;
}

// Every row of a folder made by the browser's filler, list to last row: its time must grow
// in proportion to the folder (per_design_us stays level from 1,000 to 10,000 designs).
void BM_FolderFilling(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::string folder = linkedFolder(count).string() + "/";
    double perDesign = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<DesignEntry> designs = listDesigns(folder);
        ThumbnailFiller filler;
        std::size_t rows = 0;
        QEventLoop loop;
        QObject::connect(&filler, &ThumbnailFiller::rowsReady,
                         [&](std::vector<DesignRow>& r) { rows += r.size(); });
        QObject::connect(&filler, &ThumbnailFiller::finished, &loop, &QEventLoop::quit);
        filler.start(folder, designs, '.');
        if (filler.isRunning())
            loop.exec();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (rows != static_cast<std::size_t>(count)) {
            state.SkipWithError("not every row was made");
            break;
        }
        state.SetIterationTime(seconds);
        perDesign = seconds * 1e6 / count;
    }
    state.counters["per_design_us"] = perDesign;
}
BENCHMARK(BM_FolderFilling)
    ->Arg(1000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(2);

// A whole run of the program with these arguments; its wall time, or a negative value.
double runProgram(const std::vector<std::string>& args)
{
    std::vector<char*> argv = {const_cast<char*>(LOOMSCOPE_BINARY)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid;
    double seconds = -1;
    if (posix_spawn(&pid, LOOMSCOPE_BINARY, &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
            seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    posix_spawn_file_actions_destroy(&actions);
    return seconds;
}

void runCommand(benchmark::State& state, const std::vector<std::string>& args)
{
    for (auto _ : state) {
        const double seconds = runProgram(args);
        if (seconds < 0) {
            state.SkipWithError("the command failed");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_PriceReportCommand1000(benchmark::State& state)
{
    const fs::path out = fs::temp_directory_path() / "loomscope-bench-total.txt";
    runCommand(state, {"--price-report", shopFolder().string(), "--start", "1000", "--fee", "3",
                       "--range", "1000:50000:0.5", "-o", out.string()});
}
BENCHMARK(BM_PriceReportCommand1000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void BM_PriceReportCommand20000(benchmark::State& state)
{
    const fs::path out = fs::temp_directory_path() / "loomscope-bench-total-20000.txt";
    runCommand(state, {"--price-report", archiveFolder(20'000, false).string(), "--start", "1000",
                       "--fee", "3", "--range", "1000:50000:0.5", "-o", out.string()});
}
BENCHMARK(BM_PriceReportCommand20000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

void BM_ThumbnailCommand20k(benchmark::State& state)
{
    const fs::path out = fs::temp_directory_path() / "loomscope-bench-thumbnail.png";
    runCommand(state, {"--thumbnail", design20k().string(), out.string()});
}
BENCHMARK(BM_ThumbnailCommand20k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);

// The same work without starting a process: what the command costs beyond loading the program.
void BM_ThumbnailWork20k(benchmark::State& state)
{
    const std::string in = design20k().string();
    const std::string out = fs::temp_directory_path() / "loomscope-bench-thumbnail-inproc.png";
    for (auto _ : state) {
        std::ostringstream o, e;
        if (runThumbnailCommand({in, out}, o, e) != 0) {
            state.SkipWithError("the thumbnail failed");
            break;
        }
    }
}
BENCHMARK(BM_ThumbnailWork20k)->Unit(benchmark::kMillisecond)->Iterations(30);

// A PES design against the DST a converter would write of it: the thumbnail of the other
// formats costs what a DST one does. The largest real PES of the corpus (15,000 stitches), then
// the generated design of 20,000 records, each against its DST drawn in the same colours. Both
// designs have a side file of those colours, as a shop's designs kept by the program do: the
// two pictures are the same, and so is finding the side file (a design without one has its
// whole folder searched for another spelling of the name). The thumbnails are made in this
// process (the browser's way, beside Qt), then each by a process of its own (the file
// manager's way, without Qt). The two are made in turn, in alternating order, so that the
// machine's drift falls on both alike; the figures are the median time of each and their
// ratio.
void BM_ThumbnailPesAgainstDst(benchmark::State& state)
{
    // In a folder of their own, so that the figures do not depend on what else is in /tmp.
    const fs::path folder = fs::temp_directory_path() / "loomscope-bench-pes-against-dst";
    fs::create_directories(folder);
    const std::string pes = (folder / "design.pes").string();
    std::error_code ignored;
    fs::remove(pes, ignored);
    std::string label;
    if (state.range(0) == 0) {
        const auto found = bench::corpusFormatsFile("embcat__Cake_3.pes");
        if (!found) {
            state.SkipWithError("no corpus of real files beside the project");
            return;
        }
        // Linked, not copied: the corpus is not ours to copy.
        fs::create_symlink(fs::absolute(*found), pes);
        label = "Cake_3.pes";
    } else {
        writeBytes(pes, bench::formats::generatedPes(bench::generatedMoves(20'000)));
        label = "generated 20,000";
    }
    const bool ownProcess = state.range(1) == 1;
    state.SetLabel(label + (ownProcess ? ", a process each" : ", in this process"));
    const std::string dst = (folder / "design-as.dst").string();
    writeBytes(dst, designAsDstBytes(pes, SIZE_MAX).bytes);
    Tembs design;
    if (design.loadfromfile(pes) != DstReadStatus::Read) {
        state.SkipWithError("the PES design could not be read");
        return;
    }
    for (const std::string& path : {pes, dst})
        if (const std::string error =
                writecolorfile(sideFilePath(path), "default", design.threadColours(), {});
            !error.empty()) {
            state.SkipWithError(error.c_str());
            return;
        }
    const std::string out = (folder / "thumbnail.png").string();
    std::vector<double> seconds[2];
    bool failed = false;
    auto thumbnail = [&](int which) {
        const std::string& in = which ? pes : dst;
        double s = -1;
        if (ownProcess) {
            s = runProgram({"--thumbnail", in, out});
        } else {
            std::ostringstream o, e;
            const auto start = std::chrono::steady_clock::now();
            if (runThumbnailCommand({in, out}, o, e) == 0)
                s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
        failed = failed || s < 0;
        seconds[which].push_back(s);
    };
    int turn = 0;
    for (auto _ : state) {
        thumbnail(turn % 2);
        thumbnail(1 - turn % 2);
        ++turn;
        if (failed) {
            state.SkipWithError("the thumbnail failed");
            return;
        }
    }
    auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    const double dstSeconds = median(seconds[0]);
    const double pesSeconds = median(seconds[1]);
    state.counters["dst_ms"] = 1000 * dstSeconds;
    state.counters["pes_ms"] = 1000 * pesSeconds;
    state.counters["pes_over_dst"] = pesSeconds / dstSeconds;
}
BENCHMARK(BM_ThumbnailPesAgainstDst)
    ->ArgsProduct({{0, 1}, {0}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK(BM_ThumbnailPesAgainstDst)
    ->ArgsProduct({{0, 1}, {1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(60);

void BM_InfoCommandSmall(benchmark::State& state)
{
    const fs::path small = fs::temp_directory_path() / "loomscope-bench-500.dst";
    if (!fs::exists(small))
        writeBytes(small, bench::generatedDesign(500, 200, 150));
    runCommand(state, {"--info", small.string()});
}
BENCHMARK(BM_InfoCommandSmall)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", std::getenv("DISPLAY") ? "xcb" : "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
