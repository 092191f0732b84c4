// The browser pane as a user meets it: the folder's rows with their thumbnails and formats,
// a folder change in the middle of a filling, the hidden pane, opening rows, the price options
// and the report, the context menu and the design search.
#include "browser/browserpane.h"
#include "browser/designlistmodel.h"
#include "browser/designlistview.h"
#include "browser/desktopactions.h"
#include "browser/foldertreemodel.h"
#include "cli/pricereportcommand.h"
#include "dstbuilder.h"
#include "glsupport.h"
#include "model/palette.h"
#include "model/summarytext.h"
#include "recordingmessages.h"
#include "session/mainstate.h"
#include "session/usermessages.h"
#include "testenv.h"
#include "viewer/tloomscope.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <filesystem>
#include <gtest/gtest.h>
#include <locale.h>
#include <sstream>

using namespace loomscope;
using loomscope::testsupport::RecordingMessages;
using loomscope::tools::DstBuilder;

namespace {

struct RecordingDesktop : DesktopActions {
    void showInFileManager(const std::string& path) override { shown.push_back(path); }
    std::string openFile(const std::string& path) override
    {
        opened.push_back(path);
        return {};
    }
    std::string startProgram(const std::string& program,
                             const std::vector<std::string>& arguments) override
    {
        started.push_back(program);
        startArguments = arguments;
        return {};
    }
    std::vector<std::string> shown;
    std::vector<std::string> opened;
    std::vector<std::string> started;
    std::vector<std::string> startArguments;
};

// An outline of `w` x `h` units (0.1 mm) in `colours` colours.
std::vector<std::uint8_t> outline(int w, int h, int colours = 1)
{
    DstBuilder b;
    b.stitch(0, 0).stitchTo(w, 0).stitchTo(w, h);
    for (int c = 1; c < colours; ++c)
        b.colourChange().stitch(0, 0);
    b.stitchTo(0, h).stitchTo(0, 0).jumpBy(0, 0);
    return b.fullyReadFile();
}

// A fill of about `stitches` stitches, as heavy as a real design.
std::vector<std::uint8_t> fill(int stitches)
{
    DstBuilder b;
    b.stitch(0, 0);
    for (int i = 0, row = 0; i < stitches; ++row)
        for (int k = 0; k < 30 && i < stitches; ++k, ++i)
            b.stitch(row % 2 ? -35 : 35, k % 3 - 1);
    b.jumpBy(0, 0);
    return b.fullyReadFile();
}

// The keyboard focus moving on from a field, as a Tab press does.
void leave(QLineEdit* field)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field, &out);
}

class Browser : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(1100, 760);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        pane = new BrowserPane(state, home(), messages, &window);
        pane->setDesktopActions(&desktop);
        layout->addWidget(pane);
        window.show();
        pane->show();
    }
    QString home() const { return QString::fromStdString(homeDir.path().string()) + '/'; }
    std::string dir() const { return folder.path().string() + '/'; }
    template <typename T> T* child(const char* name) const
    {
        T* found = pane->findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    bool filled()
    {
        return testsupport::waitUntil([this] { return !pane->isFilling(); }, 20000);
    }
    QString cell(int row, int column) const
    {
        return pane->designModel()->index(row, column).data().toString();
    }
    QStringList names() const
    {
        QStringList out;
        for (int r = 0; r < pane->designModel()->rowCount(); ++r)
            out << cell(r, 0);
        return out;
    }

    testsupport::TempDir homeDir;
    testsupport::TempDir folder;
    MainState state;
    RecordingMessages messages;
    RecordingDesktop desktop;
    QWidget window;
    BrowserPane* pane = nullptr;
};

} // namespace

TEST_F(Browser, LaysOutTheGridAndStartsWithTheOptionsHidden)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(child<QTreeView>("RzShellTree1")->width(), 250);
    EXPECT_EQ(child<QWidget>("Panel4")->size(), QSize(250, 200));
    EXPECT_EQ(child<QWidget>("Panel3")->size(), QSize(250, 115));
    EXPECT_EQ(child<QLabel>("Label7")->text(), "  文件目录：");
    EXPECT_EQ(child<QLabel>("Label7")->geometry().height(), 25);
    EXPECT_EQ(pane->previewHost(), child<QWidget>("Panel4"));
    EXPECT_EQ(
        child<QLabel>("Label1")->text().split('\n'),
        QStringList({"花样名：", "针数：", "颜色：", "珠片数：", "尺寸(mm)：", "尺寸(inch)："}));
    EXPECT_EQ(child<QLabel>("Label2")->palette().color(QPalette::WindowText), QColor(0, 128, 128));
    EXPECT_EQ(child<QLabel>("Label2")->font().pixelSize(), 13);
    auto* group = child<QGroupBox>("GroupBox1");
    EXPECT_FALSE(group->isVisible());
    EXPECT_EQ(group->title(), "统计选项");
    for (const char* name : {"Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Edit10",
                             "Edit11", "Edit12", "Edit13", "Edit14"})
        EXPECT_EQ(child<QLineEdit>(name)->text(), "0") << name;
    for (const char* mirror : {"Edit6", "Edit9", "Edit12"})
        EXPECT_FALSE(child<QLineEdit>(mirror)->isEnabled());
    child<QToolButton>("SpeedButton7")->click();
    EXPECT_TRUE(group->isVisible());
    EXPECT_EQ(group->height(), 112);
    child<QToolButton>("SpeedButton8")->click();
    EXPECT_FALSE(group->isVisible());
    child<QAction>("N3")->trigger();
    EXPECT_TRUE(group->isVisible());

    // One model, two views: the report shows the six columns at their widths.
    auto* list = child<DesignListView>("ListView1");
    EXPECT_FALSE(list->showsReport());
    child<QToolButton>("SpeedButton3")->click();
    EXPECT_TRUE(list->showsReport());
    auto* report = list->reportView();
    QStringList captions;
    QList<int> widths;
    for (int c = 0; c < 6; ++c) {
        captions << pane->designModel()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        widths << report->columnWidth(c);
    }
    EXPECT_EQ(captions, QStringList({"Design Name", "Stitches", "Colors", "Size(inch)", "Size(mm)",
                                     "Sequins"}));
    EXPECT_EQ(widths, QList<int>({180, 80, 80, 130, 150, 60}));
    EXPECT_EQ(report->iconSize(), QSize(100, 100));
    child<QToolButton>("SpeedButton2")->click();
    EXPECT_FALSE(list->showsReport());
}

TEST_F(Browser, FillsTheRowsInFolderOrderWithFormatsThumbnailsAndTotals)
{
    testsupport::writeFile(folder.file("wide.dst"), outline(853, 400, 3));
    testsupport::writeFile(folder.file("B2.DST"), outline(2540, 1000));
    testsupport::writeFile(folder.file("rose.spring.dst"), outline(300, 300));
    testsupport::writeFile(folder.file("broken.dst"), std::vector<std::uint8_t>(200, 7));
    state.changeFolder(folder.path().string());
    ASSERT_TRUE(filled());

    EXPECT_EQ(names(), QStringList({"B2", "broken", "rose.spring", "wide"}));
    EXPECT_EQ(child<QLineEdit>("Edit2")->text(), "4");
    EXPECT_EQ(child<QLabel>("Label7")->text(), "文件目录: " + QString::fromStdString(dir()));
    // 254 mm is 10 inches; 85.3 mm is 3.358.
    EXPECT_EQ(cell(0, DesignListModel::InchColumn),
              testsupport::inLocale(QStringLiteral("10 * 3.937")));
    EXPECT_EQ(cell(0, DesignListModel::MillimetreColumn), "254 * 100");
    EXPECT_EQ(cell(3, DesignListModel::MillimetreColumn),
              testsupport::inLocale(QStringLiteral("85.3 * 40")));
    EXPECT_EQ(cell(3, DesignListModel::InchColumn),
              testsupport::inLocale(QStringLiteral("3.358 * 1.575")));
    EXPECT_EQ(cell(3, DesignListModel::ColoursColumn), "3");
    // Unreadable: the row says why and has no facts to add up.
    EXPECT_EQ(cell(1, DesignListModel::StitchesColumn), "the file is too short to hold a design");
    EXPECT_EQ(cell(1, DesignListModel::SequinsColumn), "");
    long long total = 0;
    for (int r = 0; r < 4; ++r)
        total += cell(r, DesignListModel::StitchesColumn).toLongLong();
    EXPECT_GT(total, 0);
    EXPECT_EQ(child<QLineEdit>("Edit3")->text(), QString::number(total));
    EXPECT_FALSE(child<QLabel>("fillProgress")->isVisible());

    // The thumbnail is the row's picture: white with the outline in the palette's colour.
    const QImage picture =
        pane->designModel()->index(2, 0).data(Qt::DecorationRole).value<QPixmap>().toImage();
    ASSERT_EQ(picture.size(), QSize(100, 100));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
    const TColor c = paletteColor(0);
    EXPECT_TRUE(testsupport::containsColour(picture, picture.rect(),
                                            qRgb(redOf(c), greenOf(c), blueOf(c)), 0));
}

TEST_F(Browser, AFolderChangeDuringAFillingLetsNoOldRowIntoTheNewList)
{
    // Heavy enough that the first folder is still being read when the second is chosen, even
    // on a loaded machine.
    const auto heavy = fill(20000);
    testsupport::TempDir big;
    for (int i = 0; i < 500; ++i)
        testsupport::writeFile(big.file("old" + std::to_string(i) + ".dst"), heavy);
    testsupport::writeFile(folder.file("new1.dst"), outline(100, 100));
    testsupport::writeFile(folder.file("new2.dst"), outline(200, 100));

    QStringList arrived;
    QObject::connect(pane->designModel(), &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) {
                         for (int r = first; r <= last; ++r)
                             arrived << cell(r, 0);
                     });
    state.changeFolder(big.path().string());
    ASSERT_TRUE(testsupport::waitUntil([&] { return !arrived.isEmpty(); }));
    ASSERT_TRUE(pane->isFilling());
    EXPECT_EQ(arrived.first(), "old0");
    EXPECT_LT(pane->designModel()->rowCount(), 500);
    EXPECT_TRUE(child<QLabel>("fillProgress")->text().endsWith(" / 500"));
    // A report now would price part of the folder against no total: it waits for the list.
    EXPECT_FALSE(child<QToolButton>("SpeedButton6")->isEnabled());

    arrived.clear();
    state.changeFolder(folder.path().string());
    ASSERT_TRUE(filled());
    // Let any row of the old folder still in flight arrive, too.
    QTest::qWait(300);
    EXPECT_EQ(arrived, QStringList({"new1", "new2"}));
    EXPECT_TRUE(child<QToolButton>("SpeedButton6")->isEnabled());
    EXPECT_EQ(names(), QStringList({"new1", "new2"}));
    EXPECT_EQ(child<QLineEdit>("Edit2")->text(), "2");
    EXPECT_EQ(child<QLineEdit>("Edit3")->text(),
              QString::number(cell(0, 1).toInt() + cell(1, 1).toInt()));
}

TEST_F(Browser, WhileHiddenAListingOnlyEmptiesTheListAndCountsTheDesigns)
{
    for (const char* name : {"a.dst", "b.dst"})
        testsupport::writeFile(folder.file(name), outline(100, 100));
    state.changeFolder(folder.path().string());
    ASSERT_TRUE(filled());
    const QString total = child<QLineEdit>("Edit3")->text();
    ASSERT_EQ(pane->designModel()->rowCount(), 2);

    pane->hide();
    testsupport::writeFile(folder.file("c.dst"), outline(100, 100));
    state.openPath(folder.file("a.dst"));
    EXPECT_FALSE(pane->isFilling());
    EXPECT_EQ(pane->designModel()->rowCount(), 0);
    EXPECT_EQ(child<QLineEdit>("Edit2")->text(), "3");
    EXPECT_EQ(child<QLineEdit>("Edit3")->text(), total);

    // Entering again lists the folder with its thumbnails and selects it in the tree.
    pane->show();
    pane->enter();
    ASSERT_TRUE(filled());
    EXPECT_EQ(names(), QStringList({"a", "b", "c"}));
    auto* tree = child<QTreeView>("RzShellTree1");
    const auto* folders = static_cast<FolderTreeModel*>(tree->model());
    EXPECT_EQ(folders->pathOf(tree->currentIndex()), dir());
}

TEST_F(Browser, ChoosingAFolderInTheTreeListsIt)
{
    testsupport::writeFile(folder.file("x.dst"), outline(100, 100));
    auto* tree = child<QTreeView>("RzShellTree1");
    auto* folders = static_cast<FolderTreeModel*>(tree->model());
    tree->setCurrentIndex(folders->indexOf(folder.path().string()));
    EXPECT_EQ(state.currentFolder(), dir());
    ASSERT_TRUE(filled());
    EXPECT_EQ(names(), QStringList({"x"}));
}

TEST_F(Browser, FoldersWithCodePage936NamesAreInTheTreeShownAndOpened)
{
    // 玫瑰 and 花样 in code page 936: folders from an archive made on Chinese Windows.
    const std::string outer = dir() + "\xBB\xA8\xD1\xF9";
    const std::string inner = outer + "/\xC3\xB5\xB9\xE5";
    std::filesystem::create_directories(inner);
    std::filesystem::create_directories(dir() + ".hidden");
    testsupport::writeFile(inner + "/x.dst", outline(100, 100));
    auto* tree = child<QTreeView>("RzShellTree1");
    auto* folders = static_cast<FolderTreeModel*>(tree->model());

    // Entering the browser on a design in it opens the tree down to it and selects it.
    state.changeFolder(inner);
    pane->enter();
    ASSERT_TRUE(filled());
    EXPECT_EQ(names(), QStringList({"x"}));
    const QModelIndex current = tree->currentIndex();
    EXPECT_EQ(folders->pathOf(current), inner + "/");
    EXPECT_EQ(current.data().toString(), QStringLiteral("玫瑰"));
    EXPECT_EQ(current.parent().data().toString(), QStringLiteral("花样"));
    EXPECT_TRUE(tree->isExpanded(current.parent()));
    // Scrolled into view, not left below the visible part.
    EXPECT_TRUE(tree->viewport()->rect().intersects(tree->visualRect(current)));
    // Hidden folders stay out, as in a file manager.
    const QModelIndex home = folders->indexOf(dir());
    for (int r = 0; r < folders->rowCount(home); ++r)
        EXPECT_NE(folders->index(r, 0, home).data().toString(), QStringLiteral(".hidden"));

    // A folder made since its parent was listed is found, and one removed goes on opening.
    std::filesystem::create_directories(dir() + "later");
    EXPECT_TRUE(folders->indexOf(dir() + "later").isValid());
    std::filesystem::remove(dir() + "later");
    const QModelIndex parentOfLater = folders->indexOf(dir());
    tree->collapse(parentOfLater);
    tree->expand(parentOfLater);
    EXPECT_FALSE(folders->indexOf(dir() + "later").isValid());

    // A folder changed from elsewhere (a design opened from the recent list) moves the tree.
    state.changeFolder(outer);
    ASSERT_TRUE(filled());
    EXPECT_EQ(folders->pathOf(tree->currentIndex()), outer + "/");

    // Chosen in the tree, a folder is listed by its real bytes.
    tree->setCurrentIndex(folders->indexOf(outer));
    EXPECT_EQ(state.currentFolder(), outer + "/");
    ASSERT_TRUE(filled());
    EXPECT_EQ(names(), QStringList());
    tree->setCurrentIndex(folders->indexOf(inner));
    EXPECT_EQ(state.currentFolder(), inner + "/");
    ASSERT_TRUE(filled());
    EXPECT_EQ(names(), QStringList({"x"}));
}

TEST_F(Browser, SelectingARowOpensItsRealFileAndADoubleClickLeaves)
{
    testsupport::writeFile(folder.file("a.dst"), outline(100, 100));
    testsupport::writeFile(folder.file("rose.spring.DST"), outline(100, 100));
    // The folder as a path without its trailing '/': the design's path is still right.
    state.changeFolder(folder.path().string());
    ASSERT_TRUE(filled());
    std::vector<std::string> opened;
    QObject::connect(&state, &MainState::openRequested,
                     [&](const std::string& path) { opened.push_back(path); });
    QSignalSpy left(pane, &BrowserPane::designActivated);
    auto* list = child<DesignListView>("ListView1");
    list->selection()->select(pane->designModel()->index(1, 0),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(opened, std::vector<std::string>{dir() + "rose.spring.DST"});
    EXPECT_EQ(state.currentDesignName(), "rose.spring");
    EXPECT_EQ(left.size(), 0);

    QListView* icons = list->iconView();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect cellRect = icons->visualRect(pane->designModel()->index(0, 0));
    QTest::mouseClick(icons->viewport(), Qt::LeftButton, {}, cellRect.center());
    QTest::mouseDClick(icons->viewport(), Qt::LeftButton, {}, cellRect.center());
    EXPECT_EQ(state.currentFileName(), "a.dst");
    EXPECT_EQ(left.size(), 1);
    QSignalSpy closed(pane, &BrowserPane::closeRequested);
    child<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(closed.size(), 1);
}

TEST_F(Browser, ThePriceNoteIsReadWholeAtTheWindowsFirstSize)
{
    // The main window starts at 850 x 600; the browser's folder tree takes its share.
    window.resize(850, 600);
    child<QToolButton>("SpeedButton7")->click();
    QTest::qWait(50);
    auto* note = child<QLabel>("priceNote");
    auto* group = child<QGroupBox>("GroupBox1");
    ASSERT_TRUE(note->isVisible());
    EXPECT_LE(note->heightForWidth(note->width()), note->height());
    EXPECT_TRUE(group->rect().contains(QRect(note->mapTo(group, QPoint(0, 0)), note->size())));
    EXPECT_LE(note->sizeHint().width(), note->width() + 1);
}

TEST_F(Browser, PriceFieldsFilterKeysAndApplyTheirRulesOnLeaving)
{
    child<QToolButton>("SpeedButton7")->click();
    auto* start = child<QLineEdit>("Edit4");
    auto* fee = child<QLineEdit>("Edit5");
    start->clear();
    QTest::keyClicks(start, "1a2.3,");
    EXPECT_EQ(start->text(), "123");
    fee->clear();
    QTest::keyClicks(fee, "1a2.3");
    EXPECT_EQ(fee->text(), "12.3");

    start->clear();
    leave(start); // empty becomes 0, copied to range 1
    EXPECT_EQ(start->text(), "0");
    EXPECT_EQ(child<QLineEdit>("Edit6")->text(), "0");
    start->setText("500");
    leave(start);
    EXPECT_EQ(child<QLineEdit>("Edit6")->text(), "500");

    // An upper bound left empty is 0, then raised to its lower bound, then copied on.
    auto* upper = child<QLineEdit>("Edit7");
    upper->clear();
    leave(upper);
    EXPECT_EQ(upper->text(), "500");
    EXPECT_EQ(child<QLineEdit>("Edit9")->text(), "500");
    upper->setText("9000");
    leave(upper);
    EXPECT_EQ(child<QLineEdit>("Edit9")->text(), "9000");
    auto* upper2 = child<QLineEdit>("Edit10");
    upper2->setText("100");
    leave(upper2);
    EXPECT_EQ(upper2->text(), "9000");
    EXPECT_EQ(child<QLineEdit>("Edit12")->text(), "9000");
    EXPECT_TRUE(messages.errors.isEmpty());
    // Switching to another window is not leaving the field.
    upper2->setText("");
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(upper2, &away);
    EXPECT_EQ(upper2->text(), "");
    upper2->setText("100");

    // A count too long for a number says so on leaving.
    upper2->setText("99999999999");
    leave(upper2);
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors[0], "'99999999999' is not a valid integer value");
}

TEST_F(Browser, TheReportIsTheCommandLinesTextWrittenToTheProgramHome)
{
    testsupport::writeFile(folder.file("玫瑰.dst"), outline(853, 1000, 2));
    testsupport::writeFile(folder.file("b.dst"), fill(3000));
    testsupport::writeFile(folder.file("c.dst"), outline(100, 100));
    // Too short to be a design: named with the reason in both reports, and billed nowhere.
    testsupport::writeFile(folder.file("d.dst"), std::vector<std::uint8_t>(300, 7));
    state.changeFolder(folder.path().string());
    ASSERT_TRUE(filled());
    child<QToolButton>("SpeedButton7")->click();
    child<QLineEdit>("Edit4")->setText("100");
    child<QLineEdit>("Edit5")->setText("2.5");
    child<QLineEdit>("Edit6")->setText("100");
    child<QLineEdit>("Edit7")->setText("2000");
    child<QLineEdit>("Edit8")->setText("0.8");
    child<QLineEdit>("Edit9")->setText("2000");
    child<QLineEdit>("Edit10")->setText("100000");
    child<QLineEdit>("Edit11")->setText("0.6");
    auto* save = child<QToolButton>("SpeedButton6");
    EXPECT_EQ(save->focusPolicy(), Qt::NoFocus);
    save->click();
    ASSERT_TRUE(messages.errors.isEmpty()) << messages.errors.join('\n').toStdString();
    const std::string total = homeDir.file("total.txt");
    ASSERT_EQ(desktop.opened, std::vector<std::string>{total});
    const auto written = testsupport::readFile(total);

    std::ostringstream out, err;
    ASSERT_EQ(runPriceReportCommand({folder.path().string(), "--start", "100", "--fee", "2.5",
                                     "--range", "100:2000:0.8", "--range", "2000:100000:0.6"},
                                    out, err),
              kSomeDesignsUnreadable)
        << err.str();
    EXPECT_EQ(std::string(written.begin(), written.end()), out.str());
    EXPECT_NE(out.str().find("玫瑰"), std::string::npos);
    EXPECT_NE(out.str().find("3     d" + std::string(29, ' ') +
                             "the file is too short to hold a design\r\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(err.str().find("d.dst: the file is too short to hold a design"), std::string::npos);
}

TEST_F(Browser, WindowAndCommandLineWriteTheSameReportUnderEveryLocale)
{
    testsupport::writeFile(folder.file("a.dst"), outline(853, 1000, 2));
    testsupport::writeFile(folder.file("b.dst"), fill(3000));
    const QByteArray before = qgetenv("LC_ALL");
    // A comma locale, the C locale, and one whose name Qt knows but the system has not
    // installed (the C library then works in C, and so must both reports).
    for (const char* locale : {"C", "de_DE.UTF-8", "es_ES.UTF-8"}) {
        qputenv("LC_ALL", locale);
        QWidget host;
        host.resize(1100, 760);
        auto* layout = new QVBoxLayout(&host);
        MainState localState;
        auto* localPane = new BrowserPane(localState, home(), messages, &host);
        localPane->setDesktopActions(&desktop);
        layout->addWidget(localPane);
        host.show();
        localPane->show();
        localState.changeFolder(folder.path().string());
        ASSERT_TRUE(testsupport::waitUntil(
            [&] { return !localPane->isFilling() && localPane->designModel()->rowCount() == 2; },
            10000));
        localPane->findChild<QToolButton*>("SpeedButton7")->click();
        const std::string comma = environmentDecimalSeparator() == ',' ? "0,1" : "0.1";
        localPane->findChild<QLineEdit*>("Edit5")->setText(QString::fromStdString(comma));
        localPane->findChild<QLineEdit*>("Edit8")->setText("0.8");
        localPane->findChild<QLineEdit*>("Edit7")->setText("100000");
        localPane->findChild<QToolButton*>("SpeedButton6")->click();
        ASSERT_TRUE(messages.errors.isEmpty()) << messages.errors.join('\n').toStdString();
        const auto written = testsupport::readFile(homeDir.file("total.txt"));
        std::ostringstream out, err;
        ASSERT_EQ(
            runPriceReportCommand(
                {folder.path().string(), "--fee", comma, "--range", "0:100000:0.8"}, out, err),
            0)
            << locale << ": " << err.str();
        EXPECT_EQ(std::string(written.begin(), written.end()), out.str()) << locale;
        EXPECT_NE(out.str().find(std::string("2") + environmentDecimalSeparator() + "40"),
                  std::string::npos)
            << locale << '\n'
            << out.str();
        if (const locale_t installed = newlocale(LC_NUMERIC_MASK, locale, locale_t{}))
            freelocale(installed);
        else
            EXPECT_EQ(environmentDecimalSeparator(), '.') << locale << " is not installed";
    }
    if (before.isNull())
        qunsetenv("LC_ALL");
    else
        qputenv("LC_ALL", before);
}

TEST_F(Browser, TheReportReadsTheFieldsAsTheyStandAndStopsOnAConversionError)
{
    testsupport::writeFile(folder.file("a.dst"), outline(100, 100));
    state.changeFolder(folder.path().string());
    ASSERT_TRUE(filled());
    child<QToolButton>("SpeedButton7")->click();
    // A start count typed just before pressing the button is used as it stands, while range
    // 1 still starts at the old value: the button takes no focus, so the field is not left.
    auto* start = child<QLineEdit>("Edit4");
    start->setText("100000");
    child<QToolButton>("SpeedButton6")->click();
    ASSERT_TRUE(messages.errors.isEmpty());
    EXPECT_EQ(child<QLineEdit>("Edit6")->text(), "0");
    const auto bytes = testsupport::readFile(homeDir.file("total.txt"));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("--" + std::string(13, ' ') + testsupport::inLocale("0.00")),
              std::string::npos)
        << text;
    std::filesystem::remove(homeDir.file("total.txt"));
    desktop.opened.clear();

    start->setText("");
    child<QToolButton>("SpeedButton6")->click();
    ASSERT_EQ(messages.errors, QStringList({"'' is not a valid integer value"}));
    EXPECT_FALSE(std::filesystem::exists(homeDir.file("total.txt")));
    EXPECT_TRUE(desktop.opened.empty());

    // A report that cannot be written is said, and nothing is opened.
    start->setText("5");
    // (A folder in the file's place: refused even to a user who may write anywhere.)
    std::filesystem::create_directory(homeDir.file("total.txt"));
    child<QToolButton>("SpeedButton6")->click();
    ASSERT_EQ(messages.errors.size(), 2);
    EXPECT_TRUE(messages.errors[1].startsWith("Cannot create file \"" +
                                              QString::fromStdString(homeDir.file("total.txt"))))
        << messages.errors[1].toStdString();
    EXPECT_TRUE(desktop.opened.empty());
}

TEST_F(Browser, LocateAndDesignSearchActOnlyOnFilesThatExist)
{
    testsupport::writeFile(folder.file("a.dst"), outline(100, 100));
    auto* locate = child<QAction>("N1");
    EXPECT_EQ(locate->text(), "定位文件");
    locate->trigger(); // no design yet
    state.openPath(folder.file("a.dst"));
    locate->trigger();
    EXPECT_EQ(desktop.shown, std::vector<std::string>{folder.file("a.dst")});
    std::filesystem::remove(folder.file("a.dst"));
    locate->trigger();
    EXPECT_EQ(desktop.shown.size(), 1u);

    child<QPushButton>("Button1")->click();
    EXPECT_TRUE(desktop.started.empty());
    testsupport::writeFile(homeDir.file("patfinder"), {'#', '!'});
    child<QPushButton>("Button1")->click();
    ASSERT_EQ(desktop.started, std::vector<std::string>{homeDir.file("patfinder")});
    ASSERT_EQ(desktop.startArguments.size(), 1u);
    EXPECT_TRUE(
        QRegularExpression(
            QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"))
            .match(QString::fromStdString(desktop.startArguments[0]))
            .hasMatch());
    EXPECT_TRUE(fileUrlOf("/tmp/\xC3\xB5 a%.dst").endsWith("/tmp/%C3%B5%20a%25.dst"));
}

TEST(ThumbnailFile, AnImageLibraryReadsTheProgramsThumbnailWithItsTransparency)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("d.dst"), outline(600, 300, 2));
    const QString png = QString::fromStdString(dir.file("t.png"));
    // As the file manager runs it: the program itself, with no display.
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(LOOMSCOPE_BINARY),
            {QStringLiteral("--thumbnail"), QString::fromStdString(dir.file("d.dst")), png});
    ASSERT_TRUE(p.waitForFinished(10000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QImage image;
    ASSERT_TRUE(image.load(png));
    EXPECT_EQ(image.size(), QSize(256, 128));
    EXPECT_TRUE(image.hasAlphaChannel());
    EXPECT_EQ(qAlpha(image.pixel(128, 64)), 0);
    const TColor first = paletteColor(0);
    EXPECT_TRUE(testsupport::containsColour(image, image.rect(),
                                            qRgb(redOf(first), greenOf(first), blueOf(first)), 2));
    testsupport::snapshot(image, "browser-thumbnailer");
}

TEST_F(Browser, ShowsARealFolderWithItsPreviewAndSummary)
{
    SKIP_WITHOUT_GL();
    // The pane as the main window hosts it: the viewer in the preview pane, the summary
    // written by every open.
    auto* viewer = new Tloomscope(pane->previewHost());
    pane->previewHost()->layout()->addWidget(viewer);
    QObject::connect(&state, &MainState::openRequested, viewer, [&](const std::string& path) {
        viewer->Setshowfont(false);
        viewer->loaddstfile(path, true);
        pane->setSummary(
            QString::fromStdString(summaryText(state.currentDesignName(), viewer->dstinfo(), '.')));
    });
    std::string shown = dir();
    if (const auto corpus = testsupport::corpusDir())
        shown = corpus->string();
    else
        for (int i = 0; i < 12; ++i)
            testsupport::writeFile(folder.file("design" + std::to_string(i) + ".dst"),
                                   outline(300 + 100 * i, 400, 1 + i % 4));
    state.changeFolder(shown);
    pane->enter(); // as the main window does: the tree shows the folder, and it is listed
    ASSERT_TRUE(filled());
    ASSERT_GT(pane->designModel()->rowCount(), 2);
    auto* list = child<DesignListView>("ListView1");
    list->selection()->select(pane->designModel()->index(1, 0),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200);
    EXPECT_EQ(child<QLabel>("Label2")->text().split('\n').first(), cell(1, 0));
    const QImage icons = list->grab().toImage();
    const QRect first = list->iconView()->visualRect(pane->designModel()->index(0, 0));
    EXPECT_GT(testsupport::pixelsUnlike(icons, first, qRgb(255, 255, 255), 30), 50);
    testsupport::snapshot(window.grab().toImage(), "browser-icons");
    child<QToolButton>("SpeedButton3")->click();
    child<QToolButton>("SpeedButton7")->click();
    QTest::qWait(200);
    testsupport::snapshot(window.grab().toImage(), "browser-report");
}
