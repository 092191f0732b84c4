// The print window and the company dialog as a user meets them: what showing reads, option
// clicks, saving the options, the stitch-count answer, area and text-position picks on the
// preview, saving the page, printing to a PDF printer, the scroll box, and the shop's details.
#include "config/companyinfo.h"
#include "config/configstore.h"
#include "drawing/programfonts.h"
#include "dstbuilder.h"
#include "model/colorsequencefile.h"
#include "print/pagefiles.h"
#include "print/pagepreview.h"
#include "print/tform3.h"
#include "print/tform9.h"
#include "recordingmessages.h"
#include "session/usermessages.h"
#include "testenv.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace loomscope;
using loomscope::testsupport::RecordingMessages;
using loomscope::tools::DstBuilder;

namespace {

// A rectangle outline of `w` x `h` DST units in two colours.
std::vector<std::uint8_t> outline(int w, int h)
{
    DstBuilder b;
    b.stitch(0, 0).stitchTo(w, 0).stitchTo(w, h).colourChange().stitch(0, 0);
    b.stitchTo(0, h).stitchTo(0, 0).jumpBy(0, 0);
    return b.fullyReadFile();
}

std::string text(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> bytesOf(const std::string& s)
{
    return {s.begin(), s.end()};
}

QRgb pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

class PrintWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        loadProgramFonts();
        testsupport::writeFile(design(), outline(283, 142));
        window = std::make_unique<TForm3>(
            config, QString::fromStdString(home()),
            [this](int k) { return colours.value(k, 0xFFFFFF); }, messages);
    }
    std::string home() const { return homeDir.path().string() + "/"; }
    std::string design() const { return dir.file("Badge.DST"); }
    template <typename T> T* child(const char* name) const
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    void writeConfig(const std::string& content)
    {
        testsupport::writeFile(home() + "config.ini", bytesOf(content));
        config.reload(); // as if the program had started with it
    }
    void showWindow()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    // A mouse action on the preview at a point of the page.
    void mouse(QEvent::Type type, QPoint page)
    {
        auto* preview = child<PagePreview>("PaintBox1");
        const QPoint at = page + window->previewOrigin();
        if (type == QEvent::MouseButtonPress)
            QTest::mousePress(preview, Qt::LeftButton, {}, at);
        else if (type == QEvent::MouseButtonRelease)
            QTest::mouseRelease(preview, Qt::LeftButton, {}, at);
        else
            QTest::mouseMove(preview, at);
    }

    testsupport::TempDir dir;
    testsupport::TempDir homeDir;
    ConfigStore config{home() + "config.ini"};
    RecordingMessages messages;
    QMap<int, TColor> colours{{0, 0x0000FF}, {1, 0xFFFFFF}};
    std::unique_ptr<TForm3> window;
};

} // namespace

TEST_F(PrintWindow, ShowingReadsTheDesignSideFileAndSavedOptions)
{
    ASSERT_EQ(
        writecolorfile(sideFilePath(dir.file("Badge.dst")), "card", {{0xFFFFFF, 0x00FF00}}, {}),
        "");
    writeConfig("[printer]\ncominfo=0\ncolor=True\nborder=\nbeginend=1\n");
    ASSERT_TRUE(window->prepare(design()));
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join('\n').toStdString();
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Loomscope v3.0--打印系统[%1]").arg(QString::fromStdString(design())));
    EXPECT_FALSE(child<QCheckBox>("CheckBox7")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("CheckBox9")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("CheckBox6")->isChecked()); // empty: first state
    EXPECT_TRUE(child<QCheckBox>("CheckBox3")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("CheckBox4")->isEnabled());
    EXPECT_TRUE(child<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(child<QPushButton>("Button9")->isEnabled());
    EXPECT_EQ(window->page().falsestitches, window->design().stitchs());
    EXPECT_GT(window->printerScale(), 0);

    const QImage& page = window->preview();
    ASSERT_EQ(page.size(), QSize(595, 840));
    // At actual size on the current printer's paper: the design's 28.3 mm over that many
    // page units, centred on 297. The side file's white thread is drawn EEEEEE on the right
    // edge; the swatches are the view's.
    const int rightEdge = pageRound(297 + 28.3 / 2 / window->page().unitMillimetres);
    EXPECT_NEAR(window->page().unitMillimetres, kPointMillimetres, 0.05);
    EXPECT_EQ(pixel(page, rightEdge, 390), 0xEEEEEEu);
    EXPECT_EQ(pixel(page, rightEdge + 2, 390), 0xFFFFFFu);
    EXPECT_EQ(pixel(page, 59, 735), 0xFF0000u);
    EXPECT_EQ(pixel(page, 73, 735), 0xFFFFFFu);
    EXPECT_EQ(pixel(page, 300, 80), 0x000000u); // the rule

    // A design larger than the frame starts fitted to the paper.
    testsupport::writeFile(dir.file("wide.dst"), outline(2500, 300));
    ASSERT_TRUE(window->prepare(dir.file("wide.dst")));
    EXPECT_TRUE(child<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_NEAR(window->design().dstrect().width(), 555, 0.01);
}

TEST_F(PrintWindow, MissingOrUnreadableDesignsAreNotOffered)
{
    ASSERT_TRUE(window->prepare(design()));
    EXPECT_FALSE(window->prepare(dir.file("gone.dst")));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Loomscope v3.0--打印系统"));
    EXPECT_TRUE(child<QPushButton>("Button1")->isHidden());
    EXPECT_TRUE(child<QPushButton>("pdfButton")->isHidden());
    EXPECT_FALSE(child<QPushButton>("Button2")->isEnabled());
    EXPECT_EQ(window->preview().size(), QSize(1, 1));
    EXPECT_TRUE(messages.errors.isEmpty());

    // A file too short to be a design: said so, and nothing of the design before is left.
    testsupport::writeFile(dir.file("short.dst"), std::vector<std::uint8_t>(300, ' '));
    EXPECT_FALSE(window->prepare(dir.file("short.dst")));
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains(QStringLiteral("short.dst")));
    EXPECT_EQ(window->design().colorcount(), 0);
    EXPECT_TRUE(child<QPushButton>("Button1")->isHidden());
}

TEST_F(PrintWindow, OptionClicksRecomposeAndSavingKeepsThemForTheNextShow)
{
    writeConfig("; kept\n[companyinfo]\ncomname=Shop\n");
    ASSERT_TRUE(window->prepare(design()));
    showWindow();
    EXPECT_EQ(pixel(window->preview(), 59, 735), 0xFF0000u);
    child<QCheckBox>("CheckBox9")->click();
    EXPECT_EQ(pixel(window->preview(), 59, 735), 0xFFFFFFu);
    // Only the start and end marks.
    for (const char* name : {"CheckBox7", "CheckBox8", "CheckBox6"})
        child<QCheckBox>(name)->click();
    child<QCheckBox>("CheckBox3")->click();
    EXPECT_EQ(pixel(window->preview(), 300, 80), 0xFFFFFFu);
    child<QPushButton>("Button8")->click();
    EXPECT_EQ(messages.notices, QStringList{QStringLiteral("保存完毕")});
    EXPECT_EQ(text(testsupport::readFile(home() + "config.ini")),
              "; kept\n[companyinfo]\ncomname=Shop\n\n[printer]\ncominfo=0\ndesigninfo=0\n"
              "color=0\nborder=0\ntruetype=0\nbeginend=-1\npoints=0\nfunction=0\n");

    // A change not saved is gone at the next show.
    child<QCheckBox>("CheckBox1")->click();
    window->hide();
    EXPECT_EQ(window->preview().size(), QSize(1, 1));
    ASSERT_TRUE(window->prepare(design()));
    EXPECT_FALSE(child<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("CheckBox3")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("CheckBox9")->isChecked());
}

TEST_F(PrintWindow, ABadSavedOptionIsReportedAndTheOnesBeforeItApply)
{
    writeConfig("[printer]\ncominfo=0\ndesigninfo=maybe\ncolor=0\n");
    ASSERT_TRUE(window->prepare(design()));
    EXPECT_EQ(messages.errors, QStringList{QStringLiteral("'maybe' is not a valid boolean value")});
    EXPECT_FALSE(child<QCheckBox>("CheckBox7")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("CheckBox8")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("CheckBox9")->isChecked());
    EXPECT_EQ(window->preview().size(), QSize(595, 840)); // the page is still shown
}

TEST_F(PrintWindow, PrintedStitchCountTakesOnlyDigitsThatFit)
{
    ASSERT_TRUE(window->prepare(design()));
    const int real = window->design().stitchs();
    window->applyStitchCountAnswer(QStringLiteral("12a"));
    EXPECT_EQ(messages.notices, QStringList{QStringLiteral("数字中包含非法字符，请重新输入")});
    window->applyStitchCountAnswer(QStringLiteral("99999999999"));
    EXPECT_EQ(messages.errors,
              QStringList{QStringLiteral("'99999999999' is not a valid integer value")});
    window->applyStitchCountAnswer(QString());
    EXPECT_EQ(window->page().falsestitches, real);
    window->applyStitchCountAnswer(QStringLiteral("0"));
    EXPECT_EQ(window->page().falsestitches, 0);
    EXPECT_EQ(window->design().stitchs(), real);
}

TEST_F(PrintWindow, BeforeAnAreaIsDraggedEveryRouteComposesThePreviewsPage)
{
    ASSERT_TRUE(window->prepare(design()));
    showWindow();
    const float shownScale = window->design().scale();
    child<QRadioButton>("RadioButton3")->click();
    child<QCheckBox>("CheckBox9")->click(); // an option changes: the page is composed again
    EXPECT_FLOAT_EQ(window->design().scale(), shownScale);
    EXPECT_EQ(window->page().placement, Placement::ActualSize);
    // Saved now, the page is the one shown, not the design fitted into the whole frame.
    ASSERT_FALSE(window->savePdfAs(QString::fromStdString(dir.file("before.pdf"))).isEmpty());
    EXPECT_EQ(window->page().placement, Placement::ActualSize);
    // At its sewn size on the PDF's paper (not fitted into the frame).
    EXPECT_NEAR(window->design().scale(), actualSizeScale(pdfUnitMillimetres()), 1e-3);

    // The save dialogs know their extension, so "replace?" is asked for the real name.
    QString suffix;
    QTimer::singleShot(0, [&] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            suffix = d->defaultSuffix();
            d->reject();
        }
    });
    child<QPushButton>("Button2")->click();
    EXPECT_EQ(suffix, QStringLiteral("bmp"));
}

TEST_F(PrintWindow, AreaDraggedOnThePreviewPlacesTheDesign)
{
    ASSERT_TRUE(window->prepare(design()));
    showWindow();
    auto* area = child<QPushButton>("Button9");
    child<QRadioButton>("RadioButton3")->click();
    EXPECT_TRUE(area->isEnabled());
    area->click();
    mouse(QEvent::MouseButtonPress, {100, 150});
    mouse(QEvent::MouseMove, {300, 250});
    mouse(QEvent::MouseButtonRelease, {301, 250});
    EXPECT_EQ(window->page().designrect, (PageRect{100, 150, 301, 250}));
    EXPECT_NEAR(window->design().dstrect().height(), 100, 0.01);
    // The outline (scale 1.11, 111 x 56 pixels) now sits around (200, 200): its right edge
    // is near x = 255.
    const QImage& page = window->preview();
    bool drawn = false;
    for (int x = 250; x < 260; ++x)
        drawn = drawn || pixel(page, x, 200) != 0xFFFFFFu;
    EXPECT_TRUE(drawn);
    EXPECT_EQ(pixel(page, 347, 390), 0xFFFFFFu);

    // Dragging up and to the left selects nothing; the area stays.
    area->click();
    mouse(QEvent::MouseButtonPress, {400, 400});
    mouse(QEvent::MouseButtonRelease, {350, 380});
    EXPECT_EQ(window->page().designrect, (PageRect{100, 150, 301, 250}));
    // Without "选择区域" a drag does nothing.
    mouse(QEvent::MouseButtonPress, {10, 10});
    mouse(QEvent::MouseButtonRelease, {500, 500});
    EXPECT_EQ(window->page().designrect, (PageRect{100, 150, 301, 250}));

    child<QRadioButton>("RadioButton1")->click();
    EXPECT_FALSE(area->isEnabled());
    EXPECT_FLOAT_EQ(window->design().scale(), actualSizeScale(window->page().unitMillimetres));
}

TEST_F(PrintWindow, FreeTextAtThePickedPosition)
{
    ASSERT_TRUE(window->prepare(design()));
    showWindow();
    child<QPlainTextEdit>("Memo1")->setPlainText(QStringLiteral("客户：王\nline two"));
    child<QPushButton>("Button5")->click();
    mouse(QEvent::MouseButtonPress, {120, 600});
    EXPECT_EQ(window->page().textpos, (PagePoint{120, 600}));
    EXPECT_EQ(window->page().freeText.size(), 2u);
    auto inked = [&](int top) {
        int n = 0;
        for (int y = top; y < top + 15; ++y)
            for (int x = 120; x < 200; ++x)
                n += pixel(window->preview(), x, y) != 0xFFFFFFu;
        return n;
    };
    EXPECT_GT(inked(600), 10);
    EXPECT_GT(inked(615), 10);
    EXPECT_EQ(inked(630), 0);
    // The pick is one-shot.
    mouse(QEvent::MouseButtonPress, {300, 300});
    EXPECT_EQ(window->page().textpos, (PagePoint{120, 600}));
}

TEST_F(PrintWindow, PageSavedAsBmpAndPdfAndPrinted)
{
    ASSERT_TRUE(window->prepare(design()));
    const QString bmp = window->savePreviewAs(QString::fromStdString(dir.file("page.BMP")));
    EXPECT_EQ(bmp, QString::fromStdString(dir.file("page.BMP")));
    EXPECT_EQ(window->savePreviewAs(QString::fromStdString(dir.file("other"))),
              QString::fromStdString(dir.file("other.bmp")));
    EXPECT_EQ(messages.notices,
              (QStringList{QStringLiteral("保存成功"), QStringLiteral("保存成功")}));
    const std::vector<std::uint8_t> file = testsupport::readFile(dir.file("page.BMP"));
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(file[28], 24);
    const QImage saved(QString::fromStdString(dir.file("page.BMP")));
    EXPECT_EQ(saved.size(), QSize(595, 840));
    EXPECT_EQ(saved.pixel(300, 80), window->preview().pixel(300, 80));

    EXPECT_EQ(window->savePdfAs(QString::fromStdString(dir.file("sheet"))),
              QString::fromStdString(dir.file("sheet.pdf")));
    EXPECT_EQ(text(testsupport::readFile(dir.file("sheet.pdf"))).rfind("%PDF-", 0), 0u);

    // A folder that cannot take the file: said so, nothing claimed.
    messages.notices.clear();
    EXPECT_TRUE(window->savePreviewAs(QString::fromStdString(dir.file("gone/page"))).isEmpty());
    EXPECT_TRUE(messages.notices.isEmpty());
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains(QStringLiteral("gone/page.bmp")));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("printed.pdf")));
    printer.setPageOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(window->printTo(printer));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
    const QRectF paper = printer.pageRect(QPrinter::DevicePixel);
    EXPECT_NEAR(window->printerScale(), std::min(paper.width() / 595, paper.height() / 840), 1e-3);
    EXPECT_GT(testsupport::readFile(dir.file("printed.pdf")).size(), 1000u);
}

TEST_F(PrintWindow, PreviewScrollsInASmallWindowAndIsCentredInALargeOne)
{
    ASSERT_TRUE(window->prepare(design()));
    showWindow();
    auto* box = child<QScrollArea>("ScrollBox1");
    window->resize(1400, 1100);
    QTest::qWait(50);
    QSize client = box->viewport()->size();
    ASSERT_GT(client.width(), 600);
    ASSERT_GT(client.height(), 840);
    EXPECT_EQ(window->previewOrigin(),
              QPoint((client.width() - 595) / 2, (client.height() - 840) / 2));

    window->resize(700, 600);
    QTest::qWait(50);
    client = box->viewport()->size();
    ASSERT_LE(client.width(), 600);
    EXPECT_EQ(window->previewOrigin(), QPoint(30, 30));
    EXPECT_EQ(box->widget()->size(), QSize(660, 900));
}

TEST_F(PrintWindow, CompanyDialogKeepsTextsOnSaveAndTheLogoAtOnce)
{
    writeConfig("[companyinfo]\ncomname=绣坊\ntel=123\n");
    TForm9* dialog = window->companyDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("设置公司信息"));
    dialog->loadFromConfig();
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"));
    ASSERT_TRUE(name);
    EXPECT_EQ(name->text(), QStringLiteral("绣坊"));
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("Edit4"))->text(),
              QStringLiteral("123"));
    EXPECT_TRUE(dialog->findChild<QLineEdit*>(QStringLiteral("Edit2"))->text().isEmpty());

    // A logo picked is written at once, squeezed to 50 x 50; the texts wait for "保存".
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.file("logo.png"))));
    name->setText(QStringLiteral("New name"));
    ASSERT_TRUE(dialog->pickLogo(QString::fromStdString(dir.file("logo.png"))));
    const QImage logo(QString::fromStdString(companyLogoPath(home())));
    EXPECT_EQ(logo.size(), QSize(50, 50));
    EXPECT_EQ(readcompanyinfo(config).info.comname, "绣坊");

    // A picture that cannot be read: said so, the logo stays.
    testsupport::writeFile(dir.file("bad.png"), bytesOf("not a picture"));
    EXPECT_FALSE(dialog->pickLogo(QString::fromStdString(dir.file("bad.png"))));
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains(QStringLiteral("bad.png")));
    EXPECT_EQ(QImage(QString::fromStdString(companyLogoPath(home()))).pixel(25, 25),
              logo.pixel(25, 25));

    ASSERT_TRUE(dialog->saveTexts());
    EXPECT_EQ(readcompanyinfo(config).info.comname, "New name");
    EXPECT_EQ(readcompanyinfo(config).info.tel, "123");
    // The page takes them at its next composition.
    ASSERT_TRUE(window->prepare(design()));
    EXPECT_EQ(pixel(window->preview(), 45, 45), QColor(Qt::darkGreen).rgb() & 0xFFFFFF);
}
