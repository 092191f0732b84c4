// The colour panel beside a real view, in a window of its own: what a user sees and does.
#include "colour/colourpanel.h"
#include "colour/swatchgrid.h"
#include "dstbuilder.h"
#include "glsupport.h"
#include "model/colorsequencefile.h"
#include "model/palette.h"
#include "recordingmessages.h"
#include "session/mainstate.h"
#include "session/usermessages.h"
#include "testenv.h"
#include "viewer/tloomscope.h"
#include "widgets/colourswatch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace loomscope;
using loomscope::testsupport::RecordingMessages;
using loomscope::tools::DstBuilder;

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kBlue = 0xFF0000;

std::vector<std::uint8_t> bytesOf(std::string_view text)
{
    return {text.begin(), text.end()};
}

// A design of one block a step.
std::vector<std::uint8_t> designOf(int steps)
{
    DstBuilder b;
    for (int i = 0; i < steps; ++i) {
        if (i > 0)
            b.colourChange();
        b.stitch(0, 0).stitchTo(200 + 10 * i, 40 * i).stitchTo(0, 200);
    }
    return b.fullyReadFile();
}

class ColourPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_GL();
        std::filesystem::create_directory(homeDir());
        std::filesystem::create_directory(designDir());
        // Charts: listed in name order whatever their letter case.
        testsupport::writeFile(homeDir() + "beta.tch", bytesOf("B1,,,,0,0,200\nB2,,,,0,0,100\n"));
        testsupport::writeFile(homeDir() + "Alpha.tch", bytesOf("S10,Near red,,,12,0,0\r\n"
                                                                "G3,Grey,,,3,3,3\r\n"
                                                                "S100,Black,,,0,0,0\r\n"
                                                                "A7,,,,0,10,0\r\n"
                                                                "B70,,,,200,0,0\r\n"
                                                                "7,,,,1,1,1\r\n"));

        host.resize(900, 640);
        viewer = new Tloomscope(&host);
        panel = new ColourPanel(viewer, state, QString::fromStdString(homeDir()), messages, &host);
        viewer->setGeometry(0, 0, 900 - ColourPanel::kWidth, 640);
        panel->setGeometry(900 - ColourPanel::kWidth, 0, ColourPanel::kWidth, 640);
        QObject::connect(&state, &MainState::openRequested, viewer,
                         [this](const std::string& p) { viewer->loaddstfile(p, true); });
        ColourPanelDialogs dialogs;
        dialogs.confirm = [this](QWidget*, const QString& question) {
            questions << question;
            return answer;
        };
        dialogs.chooseColour = [this](QWidget*, TColor initial) {
            dialogInitial = initial;
            return chosenColour;
        };
        dialogs.chooseEmbirdFile = [this](QWidget*, const QString&) { return embirdFile; };
        panel->setDialogs(dialogs);
        visibility = std::make_unique<QSignalSpy>(panel, &ColourPanel::visibilityChanged);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    std::string homeDir() const { return dir.file("home") + "/"; }
    std::string designDir() const { return dir.file("designs") + "/"; }

    // Writes a design of `colours.size()` steps with a side file of those colours and names,
    // and opens it.
    std::string open(const std::string& fileName, const std::vector<TColor>& colours,
                     const std::vector<std::string>& names = {}, const std::string& sideName = "")
    {
        const std::string path = designDir() + fileName;
        testsupport::writeFile(path, designOf(static_cast<int>(colours.size())));
        const std::string side = sideName.empty() ? sideFilePath(path) : designDir() + sideName;
        testsupport::writeFile(side, encodeColorSequence("Card", colours, names));
        state.openPath(path);
        return path;
    }

    std::vector<TColor> stepColours() const
    {
        std::vector<TColor> out;
        for (int row = 1; row < panel->StringGrid2->gridRowCount(); ++row)
            out.push_back(panel->StringGrid2->swatchColour(row).value_or(0xDEAD));
        return out;
    }
    TColor paletteColour(int row) const
    {
        return panel->StringGrid1->swatchColour(row).value_or(0xDEAD);
    }
    QStringList chartCodes() const
    {
        QStringList codes;
        for (int row = 1; row < panel->ValueListEditor1->gridRowCount(); ++row)
            codes << panel->ValueListEditor1->cell(1, row);
        return codes;
    }

    static QPoint cellCentre(SwatchGrid* grid, int row, int column = 1)
    {
        return grid->visualRect(grid->model()->index(row - 1, column)).center();
    }
    static void doubleClick(SwatchGrid* grid, int row, int column = 1)
    {
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, row, column));
    }
    static void click(SwatchGrid* grid, int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(grid->viewport(), button, {}, cellCentre(grid, row));
    }

    testsupport::TempDir dir;
    RecordingMessages messages;
    MainState state;
    QWidget host;
    Tloomscope* viewer = nullptr;
    ColourPanel* panel = nullptr;
    std::unique_ptr<QSignalSpy> visibility;

    QStringList questions;
    bool answer = true;
    std::optional<TColor> chosenColour;
    std::optional<TColor> dialogInitial;
    QString embirdFile;
};

} // namespace

TEST_F(ColourPanelTest, OpenFillsTheGridsAndLoadsTheFirstChart)
{
    EXPECT_TRUE(panel->isHidden()); // hidden until asked for
    open("rose.dst", {kRed, kGreen, kRed, kBlue, kGreen}, {"R1", "G1", "R2", "B1", "G2"});
    panel->open();
    EXPECT_TRUE(panel->isVisible());
    ASSERT_EQ(visibility->count(), 1);
    EXPECT_TRUE(visibility->at(0).at(0).toBool());

    SwatchGrid* steps = panel->StringGrid2;
    ASSERT_EQ(steps->gridRowCount(), 6);
    EXPECT_EQ(stepColours(), (std::vector<TColor>{kRed, kGreen, kRed, kBlue, kGreen}));
    EXPECT_EQ(steps->cell(0, 1), QStringLiteral("255")); // colours are decimal text
    EXPECT_EQ(steps->cell(1, 4), QStringLiteral("B1"));
    EXPECT_EQ(steps->cell(2, 4), QString());
    // The palette: red, green, blue once each, then empty white entries.
    EXPECT_EQ(paletteColour(1), kRed);
    EXPECT_EQ(panel->StringGrid1->cell(1, 1), QStringLiteral("R1"));
    EXPECT_EQ(paletteColour(2), kGreen);
    EXPECT_EQ(paletteColour(3), kBlue);
    EXPECT_EQ(paletteColour(4), 16777215u);
    EXPECT_EQ(panel->StringGrid1->cell(1, 4), QString());
    EXPECT_EQ(panel->StringGrid1->gridRowCount(), 26);

    // Geometry of the grids as shops know it.
    const QList<int> widths2 = {25, 57, 33};
    const QList<int> widths1 = {25, 37};
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(steps->columnWidth(c), widths2[c]);
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ(panel->StringGrid1->columnWidth(c), widths1[c]);
    EXPECT_EQ(steps->rowHeight(0), 16);
    EXPECT_EQ(panel->ValueListEditor1->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("颜色"));
    EXPECT_EQ(panel->ValueListEditor1->model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("色号"));
    EXPECT_EQ(panel->width(), 218);
    EXPECT_EQ(panel->Panel10->size(), QSize(49, 42));
    EXPECT_EQ(panel->Panel11->size(), QSize(48, 42));
    EXPECT_EQ(panel->ToolButton29->text(), QStringLiteral("保存lsc色序"));
    EXPECT_EQ(panel->ToolButton36->width(), 76);

    // Charts in name order, the first loaded.
    ASSERT_EQ(panel->ComboBox1->count(), 2);
    EXPECT_EQ(panel->ComboBox1->itemText(0), QStringLiteral("Alpha"));
    EXPECT_EQ(panel->ComboBox1->itemText(1), QStringLiteral("beta"));
    EXPECT_EQ(panel->ComboBox1->currentText(), QStringLiteral("Alpha"));
    EXPECT_EQ(chartCodes(), (QStringList{"S10", "G3", "S100", "A7", "B70", "7"}));
    EXPECT_EQ(panel->ValueListEditor1->swatchColour(1), rgb(12, 0, 0));

    // What is on the screen: row 1 of the sequence is a red swatch with its number in cyan.
    QTest::qWait(50);
    const QImage shot = host.grab().toImage().convertToFormat(QImage::Format_RGB32);
    testsupport::snapshot(shot, "colour-panel");
    const QRect swatch = steps->visualRect(steps->model()->index(0, 0))
                             .translated(steps->viewport()->mapTo(&host, QPoint(0, 0)));
    EXPECT_TRUE(testsupport::containsColour(shot, swatch, qRgb(255, 0, 0), 4));
    EXPECT_TRUE(testsupport::containsColour(shot, swatch, qRgb(0, 255, 255), 60));
    const QRect chartKey =
        panel->ValueListEditor1->visualRect(panel->ValueListEditor1->model()->index(3, 0))
            .translated(panel->ValueListEditor1->viewport()->mapTo(&host, QPoint(0, 0)));
    EXPECT_EQ(testsupport::pixelsUnlike(shot, chartKey.adjusted(1, 1, -1, -1), qRgb(0, 10, 0), 4),
              0); // a chart key is all colour, no number
}

TEST_F(ColourPanelTest, AssigningAPaletteEntryNeedsASelectedStep)
{
    open("rose.dst", {kRed, kGreen, kRed, kBlue, kGreen}, {"R1", "G1", "R2", "B1", "G2"});
    panel->open();
    QSignalSpy recoloured(viewer, &Tloomscope::colourChanged);

    // No step selected: a double-click on the palette changes nothing.
    ASSERT_EQ(panel->StringGrid2->currentGridRow(), 0);
    doubleClick(panel->StringGrid1, 3);
    EXPECT_EQ(stepColours(), (std::vector<TColor>{kRed, kGreen, kRed, kBlue, kGreen}));
    EXPECT_EQ(recoloured.count(), 0);

    panel->selectSequenceRow(2);
    panel->selectSequenceRow(0);  // the title row is no step
    panel->selectSequenceRow(99); // beyond the design
    EXPECT_EQ(panel->StringGrid2->currentGridRow(), 2);
    doubleClick(panel->StringGrid1, 3);
    EXPECT_EQ(panel->StringGrid1->currentGridRow(), 3);
    EXPECT_EQ(stepColours(), (std::vector<TColor>{kRed, kBlue, kRed, kBlue, kGreen}));
    EXPECT_EQ(panel->StringGrid2->cell(1, 2), QStringLiteral("B1"));
    EXPECT_EQ(viewer->readcolorlist(1), kBlue);
    ASSERT_EQ(recoloured.count(), 1);
    EXPECT_EQ(recoloured.at(0).at(0).toInt(), 1);

    // Closed and opened again on the same design, the panel still shows what the view shows.
    panel->SpeedButton4->click();
    EXPECT_TRUE(panel->isHidden());
    ASSERT_EQ(visibility->count(), 2);
    EXPECT_FALSE(visibility->at(1).at(0).toBool());
    panel->open();
    EXPECT_EQ(stepColours(), (std::vector<TColor>{kRed, kBlue, kRed, kBlue, kGreen}));
    EXPECT_EQ(panel->StringGrid2->cell(1, 2), QStringLiteral("B1"));
}

TEST_F(ColourPanelTest, ChartRowsPickedColoursAndTheColourDialogFillThePalette)
{
    open("rose.dst", {kRed, kGreen}, {"R1", "G1"});
    panel->open();
    EXPECT_EQ(panel->StringGrid1->currentGridRow(), 1); // a grid starts on its first row

    // Choosing a chart row shows its colour; a double-click puts colour and code in the palette.
    click(panel->StringGrid1, 4);
    click(panel->ValueListEditor1, 5);
    EXPECT_EQ(panel->Panel11->colour(), rgb(200, 0, 0));
    doubleClick(panel->ValueListEditor1, 5);
    EXPECT_EQ(paletteColour(4), rgb(200, 0, 0));
    EXPECT_EQ(panel->StringGrid1->cell(1, 4), QStringLiteral("B70"));

    // The picked colour goes into column 0 of the current entry; its name stays.
    click(panel->StringGrid1, 1);
    panel->Panel10->setColour(rgb(1, 2, 3));
    QTest::mouseDClick(panel->Panel10, Qt::LeftButton);
    EXPECT_EQ(paletteColour(1), rgb(1, 2, 3));
    EXPECT_EQ(panel->StringGrid1->cell(1, 1), QStringLiteral("R1"));

    // The right button opens the colour dialog on the entry under the pointer.
    chosenColour = rgb(9, 8, 7);
    click(panel->StringGrid1, 2, Qt::RightButton);
    EXPECT_EQ(dialogInitial, kGreen);
    EXPECT_EQ(paletteColour(2), rgb(9, 8, 7));
    EXPECT_EQ(panel->StringGrid1->cell(1, 2), QStringLiteral("G1"));
    chosenColour.reset(); // cancelled
    click(panel->StringGrid1, 2, Qt::RightButton);
    EXPECT_EQ(paletteColour(2), rgb(9, 8, 7));

    // The background swatch sets the view's background and shows its caption in contrast.
    chosenColour = rgb(10, 20, 30);
    QTest::mouseDClick(panel->Panel7, Qt::LeftButton);
    EXPECT_EQ(viewer->backcolor(), rgb(10, 20, 30));
    EXPECT_EQ(panel->Panel7->colour(), rgb(10, 20, 30));
    EXPECT_EQ(panel->Panel7->captionColour(), rgb(245, 235, 225));
}

TEST_F(ColourPanelTest, RefilledOnEveryOpenWhileShown)
{
    open("one.dst", {kRed, kGreen});
    panel->open();
    open("two.dst", {kBlue, kBlue, kGreen}, {"x", "y", "z"});
    EXPECT_EQ(stepColours(), (std::vector<TColor>{kBlue, kBlue, kGreen}));
    EXPECT_EQ(paletteColour(1), kBlue);
    EXPECT_EQ(paletteColour(2), kGreen);
    EXPECT_EQ(paletteColour(3), 16777215u);

    panel->SpeedButton4->click();
    open("three.dst", {kGreen});
    EXPECT_EQ(stepColours(), (std::vector<TColor>{kBlue, kBlue, kGreen})); // kept while hidden
    panel->open();
    EXPECT_EQ(stepColours(), (std::vector<TColor>{kGreen}));
}

TEST_F(ColourPanelTest, SavesTheSideFileByteForByte)
{
    // A design with a Chinese name whose side file is spelt in capitals.
    const std::string design =
        open("玫瑰.DST", {kRed, kGreen, kBlue}, {"\xE4\xB8\x80", "金线", "红色"}, "玫瑰.LSC");
    panel->open();
    const std::string side = designDir() + "玫瑰.LSC";
    const auto before = testsupport::readFile(side);

    // A card name of 21 bytes in code page 936 and a thread name of 32.
    panel->ComboBox1->setEditText(QStringLiteral("A伊莎卡德聚酯线色卡片"));
    panel->StringGrid1->setCell(1, 1, QStringLiteral("一二三四五六七八九十百千万亿兆京"));
    panel->selectSequenceRow(3);
    doubleClick(panel->StringGrid1, 1);

    answer = false;
    panel->ToolButton29->click();
    EXPECT_EQ(questions, QStringList{QStringLiteral("文件对应的色序文件已存在，是否替换？")});
    EXPECT_EQ(testsupport::readFile(side), before); // No: untouched
    EXPECT_TRUE(messages.notices.isEmpty());

    answer = true;
    panel->ToolButton29->click();
    EXPECT_EQ(messages.notices, QStringList{QStringLiteral(
                                    "色序文件已经保存在DST文档同一文件夹下，重新载入DST档便可")});
    EXPECT_FALSE(std::filesystem::exists(designDir() + "玫瑰.lsc")); // the spelling is kept

    // The file as built by hand: header, then 80-byte records.
    const std::string card = "\x41\xD2\xC1\xC9\xAF\xBF\xA8\xB5\xC2\xBE\xDB\xF5\xA5\xCF\xDF\xC9"
                             "\xAB\xBF\xA8"; // 伊莎卡德聚酯线色卡: 19 bytes, 片 would split
    const std::string one = "\xD2\xBB";
    const std::string gold = "\xBD\xF0\xCF\xDF";
    const std::string fifteen = "\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4\xCE\xE5\xC1\xF9\xC6\xDF\xB0\xCB"
                                "\xBE\xC5\xCA\xAE\xB0\xD9\xC7\xA7\xCD\xF2\xD2\xDA\xD5\xD7";
    std::vector<std::uint8_t> expected = {'L', 'S', 'C', '.', '.', 3, 0};
    auto record = [&](char number, TColor colour, const std::string& name) {
        std::vector<std::uint8_t> r(80, 0);
        r[0] = static_cast<std::uint8_t>(card.size());
        std::copy(card.begin(), card.end(), r.begin() + 1);
        r[21] = 1;
        r[22] = static_cast<std::uint8_t>(number);
        for (int b = 0; b < 4; ++b)
            r[44 + b] = static_cast<std::uint8_t>(colour >> (8 * b));
        r[48] = static_cast<std::uint8_t>(name.size());
        std::copy(name.begin(), name.end(), r.begin() + 49);
        expected.insert(expected.end(), r.begin(), r.end());
    };
    record('1', kRed, one);
    record('2', kGreen, gold);
    record('3', kRed, fifteen);
    EXPECT_EQ(testsupport::readFile(side), expected);

    // Opened again, the design shows the saved colours.
    state.openPath(design);
    EXPECT_EQ(viewer->readcolorlist(2), kRed);
    EXPECT_EQ(panel->StringGrid2->cell(1, 3), QStringLiteral("一二三四五六七八九十百千万亿兆"));
}

TEST_F(ColourPanelTest, ADesignOpenedDuringTheQuestionIsNotSavedIntoTheOldSideFile)
{
    // While "replace?" waits, another design arrives (a second start, a key): its colours
    // and names must not end up in the first design's side file.
    open("a.dst", {kRed, kGreen}, {"red", "green"});
    panel->open();
    const std::string sideA = designDir() + "a.lsc";
    const auto before = testsupport::readFile(sideA);
    const std::string b = designDir() + "b.dst";
    testsupport::writeFile(b, designOf(3));
    ColourPanelDialogs dialogs;
    dialogs.confirm = [&](QWidget*, const QString&) {
        state.openPath(b);
        return true;
    };
    panel->setDialogs(dialogs);
    panel->ToolButton29->click();
    EXPECT_EQ(testsupport::readFile(sideA), before);
    EXPECT_FALSE(std::filesystem::exists(designDir() + "b.lsc"));
    ASSERT_EQ(messages.notices.size(), 1);
    EXPECT_TRUE(messages.notices[0].contains(QStringLiteral("not saved")));
}

TEST_F(ColourPanelTest, AFailedSaveLeavesTheOldSideFile)
{
    open("rose.dst", {kRed, kGreen, kBlue}, {"a", "b", "c"});
    panel->open();
    const std::string side = designDir() + "rose.lsc";
    const auto before = testsupport::readFile(side);
    panel->selectSequenceRow(1);
    doubleClick(panel->StringGrid1, 3);

    // The disk fills up after 100 bytes (a file size limit holds for root as well).
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    panel->ToolButton29->click();
    setrlimit(RLIMIT_FSIZE, &old);

    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].startsWith(QStringLiteral("Cannot create file \"")));
    EXPECT_TRUE(messages.errors[0].contains(QStringLiteral("rose.lsc")));
    EXPECT_TRUE(messages.notices.isEmpty());
    EXPECT_EQ(testsupport::readFile(side), before);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(designDir()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2); // no temporary file left behind

    // Without a design there is nothing to save.
    ColourPanel empty(viewer, *new MainState(&host), QString::fromStdString(homeDir()), messages);
    empty.ToolButton29->click();
    EXPECT_EQ(messages.notices.size(), 1);
}

TEST_F(ColourPanelTest, EmbirdColoursUpToAShortFileThenStreamReadError)
{
    open("rose.dst", {kRed, kGreen, kBlue, kRed, kGreen}, {"a", "b", "c", "d", "e"});
    panel->open();
    const auto paletteBefore = std::vector{paletteColour(1), paletteColour(2), paletteColour(3)};
    // Three entries, all the same colour (red 10, green 20, blue 30; the fourth byte unused
    // and the last one's missing), in a file named in code page 936 as Windows archives are.
    const std::string named = dir.file("\xC3\xB5\xB9\xE5.edr");
    embirdFile = QFile::decodeName(QByteArray::fromStdString(named));
    testsupport::writeFile(named, {10, 20, 30, 99, 10, 20, 30, 99, 10, 20, 30});
    panel->ToolButton36->click();

    const TColor c = rgb(10, 20, 30);
    EXPECT_EQ(stepColours(), (std::vector<TColor>{c, c, c, kRed, kGreen}));
    EXPECT_EQ(panel->StringGrid2->cell(1, 1), QString());
    EXPECT_EQ(panel->StringGrid2->cell(1, 4), QStringLiteral("d"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(viewer->readcolorlist(i), c);
    for (const TGraphObject* block : viewer->dstfile().Graphlist()) {
        if (block->FColorindex < 3) {
            EXPECT_EQ(block->FColor, c);
            EXPECT_TRUE(block->FColorname.empty());
        }
    }
    ASSERT_EQ(messages.errors.size(), 1) << messages.errors.join('\n').toStdString();
    EXPECT_TRUE(messages.errors[0].startsWith(QStringLiteral("Stream read error")));
    EXPECT_TRUE(messages.errors[0].contains(QStringLiteral("holds 3 colours")));
    // The error ended the operation before the palette was rebuilt.
    EXPECT_EQ((std::vector{paletteColour(1), paletteColour(2), paletteColour(3)}), paletteBefore);

    // A cancelled dialog does nothing; a whole file brings no error.
    embirdFile.clear();
    panel->ToolButton36->click();
    embirdFile = QString::fromStdString(dir.file("five.edr"));
    std::vector<std::uint8_t> five;
    for (int i = 0; i < 5; ++i)
        five.insert(five.end(), {static_cast<std::uint8_t>(i), 0, 0, 0});
    testsupport::writeFile(embirdFile.toStdString(), five);
    panel->ToolButton36->click();
    EXPECT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(viewer->readcolorlist(4), rgb(4, 0, 0));
    // A whole file rebuilds the palette from the sequence: its five colours.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(paletteColour(i + 1), rgb(static_cast<std::uint8_t>(i), 0, 0));
}

TEST_F(ColourPanelTest, FindMatchAndChooseCharts)
{
    open("rose.dst", {kRed});
    panel->open();

    QTest::keyClicks(panel->Edit1, QStringLiteral(" s10 "));
    EXPECT_EQ(chartCodes(), (QStringList{"S10", "S100"}));
    panel->Edit1->clear();
    QTest::keyClicks(panel->Edit1, QStringLiteral("7"));
    EXPECT_EQ(chartCodes(), (QStringList{"A7", "B70", "7"}));
    panel->Edit1->clear();
    EXPECT_EQ(chartCodes().size(), 6);

    // Closest to black first: exact, then 10 off in one channel (both 4, by code), ….
    panel->Panel10->setColour(0);
    panel->Button11->click();
    EXPECT_EQ(chartCodes(), (QStringList{"A7", "S100", "7", "S10", "G3", "B70"}));
    EXPECT_EQ(panel->Panel11->colour(), rgb(0, 10, 0));
    EXPECT_EQ(panel->chart().front().code, "S10"); // the chart itself keeps its order
    panel->MatchOrderingBox->setCurrentIndex(1);
    panel->Button11->click();
    EXPECT_EQ(chartCodes().front(), QStringLiteral("S100"));
    EXPECT_EQ(panel->Panel11->colour(), 0u);

    // Another chart by choice; a name without a file changes nothing.
    panel->ComboBox1->setCurrentIndex(1);
    EXPECT_EQ(chartCodes(), (QStringList{"B1", "B2"}));
    panel->ComboBox1->setEditText(QStringLiteral("gam"));
    EXPECT_EQ(chartCodes(), (QStringList{"B1", "B2"}));

    // A chart with a bad colour: the message names it, and no half chart is left to match.
    testsupport::writeFile(homeDir() + "gamma.tch", bytesOf("C1,,,,1,2,3\nC2,,,,1,abc,3\n"));
    panel->ComboBox1->setEditText(QStringLiteral("gamma"));
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(
        messages.errors[0].startsWith(QStringLiteral("'abc' is not a valid integer value")));
    EXPECT_TRUE(messages.errors[0].contains(QStringLiteral("gamma.tch\", line 2")));
    EXPECT_TRUE(chartCodes().isEmpty());
    const TColor before = panel->Panel11->colour();
    panel->Button11->click();
    EXPECT_TRUE(chartCodes().isEmpty());
    EXPECT_EQ(panel->Panel11->colour(), before);

    // Opened again, the panel lists the charts anew and keeps the one chosen.
    panel->ComboBox1->setCurrentIndex(panel->ComboBox1->findText(QStringLiteral("beta")));
    panel->open();
    EXPECT_EQ(panel->ComboBox1->count(), 3);
    EXPECT_EQ(panel->ComboBox1->currentText(), QStringLiteral("beta"));
    EXPECT_EQ(chartCodes(), (QStringList{"B1", "B2"}));
    // Keys typed into the panel's fields are the panel's, not the window's shortcuts.
    EXPECT_TRUE(panel->takesTyping(panel->Edit1));
    EXPECT_TRUE(panel->takesTyping(panel->ComboBox1));
    EXPECT_TRUE(panel->takesTyping(panel->StringGrid1));
    panel->StringGrid1->editItem(panel->StringGrid1->item(0, 1));
    const auto* editor = panel->StringGrid1->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(panel->takesTyping(editor));
    EXPECT_FALSE(panel->takesTyping(panel->StringGrid2));
    EXPECT_FALSE(panel->takesTyping(viewer));

    // So does a card name typed without a chart of that name.
    panel->ComboBox1->setEditText(QStringLiteral("Madeira Classic"));
    panel->open();
    EXPECT_EQ(panel->ComboBox1->currentText(), QStringLiteral("Madeira Classic"));
}

// The whole round on a real design: threads from a shipped chart, one matched to a picked
// colour, the side file saved, and the design opened again in the view and by --info.
TEST_F(ColourPanelTest, ARealDesignKeepsTheThreadsGivenToItsSteps)
{
    const auto corpus = testsupport::corpusDir();
    if (!corpus)
        GTEST_SKIP() << "no corpus";
    const std::filesystem::path shipped =
        std::filesystem::path(LOOMSCOPE_SOURCE_DIR) / "data/charts";
    for (const auto& entry : std::filesystem::directory_iterator(shipped))
        if (entry.path().extension() == ".tch")
            std::filesystem::copy_file(entry.path(), homeDir() + entry.path().filename().string());
    const std::string design = designDir() + "Cake 3.DST";
    std::filesystem::copy_file(*corpus / "embcat__Cake_3.dst", design);
    state.openPath(design);
    panel->open();
    ASSERT_EQ(panel->StringGrid2->gridRowCount(), 20);
    EXPECT_NE(panel->ComboBox1->findText(QStringLiteral("LoomScope Default")), -1);

    panel->ComboBox1->setCurrentIndex(panel->ComboBox1->findText(QStringLiteral("Sulky Rayon")));
    ASSERT_EQ(panel->chart().size(), 333u);
    // Steps 1 to 5 get chart threads 1 to 5 through palette entry 1.
    for (int step = 1; step <= 5; ++step) {
        click(panel->StringGrid1, 1);
        doubleClick(panel->ValueListEditor1, step);
        panel->selectSequenceRow(step);
        doubleClick(panel->StringGrid1, 1);
    }
    // Step 6 gets the thread closest to a picked colour.
    panel->Panel10->setColour(rgb(250, 95, 128));
    panel->Button11->click();
    EXPECT_EQ(panel->ValueListEditor1->cell(1, 1), QStringLiteral("1303")); // Watermelon
    click(panel->StringGrid1, 2);
    doubleClick(panel->ValueListEditor1, 1);
    panel->selectSequenceRow(6);
    doubleClick(panel->StringGrid1, 2);

    std::vector<ChartEntry> given(panel->chart().begin(), panel->chart().begin() + 5);
    given.push_back({rgb(0xFA, 0x5F, 0x7F), "1303"});
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(viewer->readcolorlist(i), given[static_cast<std::size_t>(i)].colour) << i;
    panel->ToolButton29->click();
    EXPECT_TRUE(questions.isEmpty()); // a new side file
    ASSERT_EQ(messages.notices.size(), 1);
    EXPECT_TRUE(std::filesystem::exists(designDir() + "Cake 3.lsc"));

    // Opened again: the view and the grid show the threads.
    state.openPath(design);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(viewer->readcolorlist(i), given[static_cast<std::size_t>(i)].colour) << i;
        EXPECT_EQ(panel->StringGrid2->cell(1, i + 1).toStdString(),
                  given[static_cast<std::size_t>(i)].code);
    }
    EXPECT_EQ(viewer->dstfile().colorcard(), "Sulky Rayon");
    viewer->Setdstshowtype(tdstshow::dsturetype);
    QTest::qWait(100);
    testsupport::snapshot(host.grab().toImage(), "colour-panel-real-design");

    // And so does --info, as a script or the thumbnailer reads the design.
    QProcess info;
    info.start(QStringLiteral(LOOMSCOPE_BINARY),
               {QStringLiteral("--info"), QString::fromStdString(design)});
    ASSERT_TRUE(info.waitForFinished(20000));
    const QString json = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(json.contains(QStringLiteral("\"colorcard\":\"Sulky Rayon\"")));
    EXPECT_TRUE(json.contains(QStringLiteral("\"color\":\"#FA5F7F\",\"colorname\":\"1303\"")))
        << json.left(400).toStdString();

    // A real Embird file of fewer colours than the design: 13 applied, then the stream error.
    embirdFile = QString::fromStdString((*corpus / "embcat__Cake_3_1.edr").string());
    panel->ToolButton36->click();
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].startsWith(QStringLiteral("Stream read error")));
    EXPECT_EQ(viewer->readcolorlist(0), rgb(229, 229, 229));
    const auto edr = testsupport::readFile(embirdFile.toStdString());
    EXPECT_EQ(viewer->readcolorlist(12), rgb(edr[48], edr[49], edr[50]));
    EXPECT_EQ(viewer->readcolorlist(13), paletteColor(13)); // beyond the file: as it was
}
