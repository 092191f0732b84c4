// The fabric chooser: its lists, the preview, what it saves and what it hands the viewer.
#include "config/configstore.h"
#include "glsupport.h"
#include "recordingmessages.h"
#include "session/usermessages.h"
#include "settings/fabricpreviewbox.h"
#include "settings/tform6.h"
#include "testenv.h"
#include "viewer/tloomscope.h"

#include <QCheckBox>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::testsupport::RecordingMessages;

namespace {

class FabricChooser : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(home.path() / "Fabrics"); }
    void picture(const char* name, QSize size, QColor colour)
    {
        QImage image(size, QImage::Format_RGB888);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString(home.file("Fabrics/") + name + ".bmp")));
    }
    void open(Tloomscope* viewer = nullptr)
    {
        chooser = std::make_unique<TForm6>(
            config, QString::fromStdString(home.path().string() + "/"), viewer, messages);
        chooser->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(chooser.get()));
    }
    template <typename T> T* child(const char* name) const
    {
        return chooser->findChild<T*>(QLatin1String(name));
    }

    testsupport::TempDir home;
    ConfigStore config{home.file("config.ini")};
    RecordingMessages messages;
    std::unique_ptr<TForm6> chooser;
};

} // namespace

TEST_F(FabricChooser, ChoosingOnlyAPictureSavesTheColourOfTheFirstRow)
{
    picture("canvas", {200, 150}, QColor(128, 128, 128));
    picture("linen", {40, 30}, QColor(100, 100, 100)); // smaller: extended to 128 x 128
    open();
    EXPECT_EQ(chooser->size(), QSize(628, 441));
    auto* list = child<QListWidget>("ListView1");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("linen"));
    ASSERT_EQ(chooser->pictures().size(), 2u);
    EXPECT_EQ(chooser->pictures()[1].size(), QSize(128, 128));
    EXPECT_EQ(QColor(chooser->pictures()[1].pixel(127, 127)), QColor(100, 100, 100));

    list->setCurrentRow(1);
    child<QPushButton>("Button2")->click();
    IniFile ini;
    ASSERT_TRUE(ini.load(home.file("config.ini")));
    EXPECT_EQ(ini.value("general", "fabricname"), "linen");
    EXPECT_EQ(ini.value("general", "fabriccolor"), "FEFEFE");
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(FabricChooser, EnterDoesNotSaveTheChoice)
{
    picture("canvas", {200, 150}, QColor(128, 128, 128));
    open();
    auto* list = child<QListWidget>("ListView1");
    list->setCurrentRow(0);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(chooser.get(), Qt::Key_Enter);
    EXPECT_FALSE(std::filesystem::exists(home.file("config.ini")));
}

TEST_F(FabricChooser, ColourRowsTintThePreviewAndTheBoxTilesIt)
{
    picture("canvas", {128, 128}, QColor(128, 128, 128));
    open();
    auto* colours = child<QTableWidget>("ValueListEditor1");
    ASSERT_EQ(colours->rowCount(), 85);
    EXPECT_EQ(colours->horizontalHeaderItem(0)->text(), QStringLiteral("Colors"));
    EXPECT_EQ(colours->horizontalHeaderItem(1)->text(), QStringLiteral("Fabrics"));
    // Row 5 is "EB230A": blue EB, green 23, red 0A; its key cell is painted so.
    EXPECT_EQ(colours->item(4, 0)->background().color(), QColor(0x0A, 0x23, 0xEB));
    EXPECT_EQ(colours->item(4, 1)->text(), QStringLiteral("700"));

    colours->setCurrentCell(4, 1);
    EXPECT_EQ(chooser->selectedColourRow(), 5);
    // The selected row's key cell still shows its colour (the selection is a frame round it).
    const QRect keyCell = colours->visualItemRect(colours->item(4, 0));
    const QImage table = colours->viewport()->grab().toImage();
    EXPECT_EQ(QColor(table.pixel(keyCell.center())), QColor(0x0A, 0x23, 0xEB));
    // Grey 128 tinted: 2 x 128 + t - 255 = t + 1 per channel.
    EXPECT_EQ(QColor(chooser->preview().pixel(3, 3)), QColor(0x0B, 0x24, 0xEC));

    auto* box = child<FabricPreviewBox>("PaintBox1");
    const QColor face = box->palette().color(QPalette::Window);
    QImage shown = box->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(150, 20)), face);
    child<QCheckBox>("CheckBox1")->click();
    shown = box->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(150, 20)), QColor(0x0B, 0x24, 0xEC)); // second tile across
    EXPECT_EQ(QColor(shown.pixel(20, 300)), QColor(0x0B, 0x24, 0xEC)); // third tile down
    testsupport::snapshot(chooser->grab().toImage(), "fabric-chooser");

    child<QPushButton>("Button2")->click();
    IniFile ini;
    ASSERT_TRUE(ini.load(home.file("config.ini")));
    EXPECT_EQ(ini.value("general", "fabriccolor"), "EB230A");
    EXPECT_EQ(ini.value("general", "fabricname"), "canvas");
}

TEST_F(FabricChooser, AnUnreadablePictureStopsTheListWithAMessage)
{
    picture("a-canvas", {64, 64}, QColor(128, 128, 128));
    testsupport::writeFile(home.file("Fabrics/b-broken.bmp"), {'B', 'M', 0, 1, 2});
    picture("c-denim", {64, 64}, QColor(90, 90, 90));
    open();
    EXPECT_EQ(child<QListWidget>("ListView1")->count(), 1);
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains(QStringLiteral("b-broken.bmp")))
        << messages.errors[0].toStdString();
}

TEST_F(FabricChooser, ShowFabricSwitchesTheViewersBackground)
{
    SKIP_WITHOUT_GL();
    picture("canvas", {128, 128}, QColor(128, 128, 128));
    Tloomscope viewer;
    viewer.resize(300, 200);
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    open(&viewer);
    auto* show = child<QCheckBox>("CheckBox1");
    show->click();
    EXPECT_TRUE(viewer.isbackground());
    child<QTableWidget>("ValueListEditor1")->setCurrentCell(4, 0);
    EXPECT_TRUE(viewer.isbackground());
    // The overlay text takes the complement of the fabric colour 0xEB230A.
    const TColorVector text = viewer.view().fontColourInUse();
    EXPECT_NEAR(text.red, (0xFF - 0x0A) / 255.0, 1e-6);
    EXPECT_NEAR(text.blue, (0xFF - 0xEB) / 255.0, 1e-6);
    show->click();
    EXPECT_FALSE(viewer.isbackground());
    child<QPushButton>("Button1")->click();
    EXPECT_FALSE(chooser->isVisible());
}

TEST_F(FabricChooser, TheShippedFabricsAllLoad)
{
    std::filesystem::copy(std::string(LOOMSCOPE_SOURCE_DIR) + "/data/Fabrics",
                          home.path() / "Fabrics", std::filesystem::copy_options::recursive);
    open();
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(chooser->pictures().size(), 7u);
    for (const QImage& picture : chooser->pictures())
        EXPECT_EQ(picture.size(), QSize(128, 128));
    child<QListWidget>("ListView1")->setCurrentRow(1);
    child<QTableWidget>("ValueListEditor1")->setCurrentCell(2, 0); // A52350: a purple fabric
    child<QCheckBox>("CheckBox1")->click();
    testsupport::snapshot(chooser->grab().toImage(), "fabric-chooser-shipped");
}
