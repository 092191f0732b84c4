// The main window as a user meets it: layout, routes to a design, keys, mouse, configuration,
// clipboard, drops, and hand-offs from a second start.
#include "app/handoffgate.h"
#include "app/mainactions.h"
#include "app/picturecommand.h"
#include "app/singleinstance.h"
#include "app/tform2.h"
#include "app/windowplacement.h"
#include "browser/browserpane.h"
#include "browser/designlistview.h"
#include "config/inifile.h"
#include "drawing/programfonts.h"
#include "dstbuilder.h"
#include "glsupport.h"
#include "model/fileio.h"
#include "recordingmessages.h"
#include "session/recentdesigns.h"
#include "session/usermessages.h"
#include "settings/tform5.h"
#include "testenv.h"
#include "viewer/tloomscope.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalSocket>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <chrono>
#include <clocale>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace loomscope;
using loomscope::testsupport::RecordingMessages;
using loomscope::tools::DstBuilder;

namespace {

// A design of `width` x `height` units in one colour.
std::vector<std::uint8_t> design(int width, int height)
{
    DstBuilder b;
    b.stitch(0, 0).stitchTo(width, 0).stitchTo(width, height).stitchTo(0, 0).jumpBy(0, 0);
    return b.fullyReadFile();
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_GL();
        for (const char* name : {"a.dst", "b.dst", "c.dst"})
            testsupport::writeFile(folder.file(name), design(300, 200));
    }
    void open()
    {
        window = std::make_unique<TForm2>(
            QString::fromStdString(home.path().string()) + QLatin1Char('/'), messages);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    std::string path(const char* name) const { return folder.file(name); }
    QString title(const char* name) const
    {
        return "LoomScope v4.0 - " + QString::fromStdString(folder.file(name));
    }
    QString designName() const
    {
        return QString::fromStdString(window->state().currentDesignName());
    }
    template <typename T> T* child(const char* name) const
    {
        return window->findChild<T*>(QLatin1String(name));
    }
    float scale() const { return window->viewer()->dstfile().scale(); }
    void wheel(QPoint at, int delta)
    {
        QWheelEvent event(at, window->viewer()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window->viewer(), &event);
    }

    testsupport::TempDir home;
    testsupport::TempDir folder;
    RecordingMessages messages;
    std::unique_ptr<TForm2> window;
};

} // namespace

TEST_F(MainWindow, ToolStripInOrderCentredUnderTheView)
{
    open();
    EXPECT_EQ(window->windowTitle(), "LoomScope v4.0");
    EXPECT_EQ(window->size(), QSize(850, 600));
    EXPECT_EQ(window->viewer()->geometry(), QRect(0, 0, 850, 571));
    auto* panel = child<QWidget>("Panel1");
    EXPECT_EQ(panel->geometry(), QRect(0, 571, 850, 29));
    auto* strip = child<QWidget>("ToolBar1");
    EXPECT_EQ(strip->x(), (850 - strip->width()) / 2);
    QStringList order;
    for (int i = 0; i < strip->layout()->count(); ++i)
        order << strip->layout()->itemAt(i)->widget()->objectName();
    EXPECT_EQ(order, QStringList({"ToolButton1",  "ToolButton2",  "ToolButton3",  "ToolButton4",
                                  "ToolButton28", "ToolButton5",  "ToolButton6",  "ToolButton8",
                                  "ToolButton7",  "ToolButton26", "ToolButton9",  "ToolButton10",
                                  "ToolButton11", "ToolButton12", "ToolButton35", "ToolButton13",
                                  "ToolButton14", "ToolButton15", "ToolButton16", "ToolButton17",
                                  "ToolButton18", "ToolButton24", "ToolButton25", "ToolButton23",
                                  "ToolButton31", "ToolButton32", "ToolButton33"}));
    EXPECT_EQ(child<QToolButton>("ToolButton3")->toolTip(), "上一文件(←)");
    EXPECT_EQ(child<QToolButton>("ToolButton35")->toolTip(), "慢速显示(shift+R)");
    EXPECT_FALSE(child<QToolButton>("ToolButton2")->isEnabled());
    EXPECT_FALSE(child<QToolButton>("ToolButton25")->isEnabled());
    EXPECT_TRUE(child<QToolButton>("ToolButton24")->isEnabled());
    window->resize(400, 300);
    EXPECT_LT(strip->x(), 0); // narrower than the strip: still centred
    EXPECT_EQ(strip->x(), (400 - strip->width()) / 2);
}

TEST_F(MainWindow, OpeningSetsCaptionSummaryAndFolderList)
{
    testsupport::writeFile(folder.file("wide.dst"), design(853, 1000));
    open();
    window->openFromPath(path("wide.dst"));
    EXPECT_EQ(window->windowTitle(), title("wide.dst"));
    EXPECT_EQ(designName(), "wide");
    EXPECT_EQ(window->state().currentFolder(), folder.path().string() + "/");
    EXPECT_EQ(window->state().designs().size(), 4u);
    EXPECT_EQ(child<QLineEdit>("Edit2")->text(), "4");
    const QStringList summary = child<QLabel>("Label2")->text().split(QLatin1Char('\n'));
    ASSERT_EQ(summary.size(), 6);
    EXPECT_EQ(summary[0], "wide");
    EXPECT_EQ(summary[2], "1");
    // With the user's decimal separator (the suite runs under a comma locale too).
    const QChar point = QLatin1Char(localeDecimalSeparator());
    EXPECT_EQ(summary[4], QStringLiteral("85.3 * 100").replace('.', point));
    EXPECT_EQ(summary[5], QStringLiteral("3.358 * 3.937").replace('.', point));
    EXPECT_EQ(child<QLabel>("Label1")->text().split('\n').first(), "花样名：");
    EXPECT_EQ(window->gunrect(), window->viewer()->dstrect());
}

TEST_F(MainWindow, PreviousAndNextOpenTheRealFilesInFileManagerOrder)
{
    // Files copied from Windows keep upper-case names; the folder is shown by name.
    std::filesystem::rename(folder.file("b.dst"), folder.file("B.DST"));
    testsupport::writeFile(folder.file("D.DST"), design(100, 100));
    open();
    window->openFromPath(path("B.DST"));
    QTest::keyClick(window->viewer(), Qt::Key_Left);
    EXPECT_EQ(window->windowTitle(), title("a.dst"));
    QTest::keyClick(window->viewer(), Qt::Key_Left); // the first: nothing
    EXPECT_EQ(designName(), "a");
    child<QToolButton>("ToolButton4")->click();
    EXPECT_EQ(window->windowTitle(), title("B.DST"));
    EXPECT_EQ(child<QLabel>("Label2")->text().split('\n').first(), "B");
    EXPECT_EQ(window->viewer()->dstinfo().Fstitchcount,
              static_cast<int>(design(300, 200).size() - 519) / 3);
    child<QToolButton>("ToolButton4")->click();
    child<QToolButton>("ToolButton4")->click();
    EXPECT_EQ(window->windowTitle(), title("D.DST"));
    QTest::keyClick(window->viewer(), Qt::Key_Right); // the last: nothing
    EXPECT_EQ(designName(), "D");

    // A design that is no longer in the list: next opens the first entry.
    testsupport::writeFile(folder.file("gone.dst"), design(100, 100));
    window->openFromPath(path("gone.dst"));
    std::filesystem::remove(folder.file("gone.dst"));
    window->state().refreshDesigns();
    QTest::keyClick(window->viewer(), Qt::Key_Left);
    EXPECT_EQ(designName(), "gone");
    QTest::keyClick(window->viewer(), Qt::Key_Right);
    EXPECT_EQ(window->windowTitle(), title("a.dst"));
}

TEST_F(MainWindow, KeysActOnTheViewOnlyWhileADesignIsShownAndTheBrowserHidden)
{
    open();
    auto* edit = new QLineEdit(window.get());
    edit->setGeometry(10, 10, 100, 20);
    edit->show();
    edit->setFocus();
    QTest::keyClicks(edit, "12");
    EXPECT_EQ(edit->text(), "12"); // no design yet: keys reach the control

    window->openFromPath(path("a.dst"));
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, "5");
    EXPECT_EQ(edit->text(), ""); // swallowed
    const tdstshow type = window->viewer()->dstshowtype();
    QTest::keyClick(edit, Qt::Key_T);
    EXPECT_NE(window->viewer()->dstshowtype(), type);
    QTest::keyClick(edit, Qt::Key_T);
    EXPECT_EQ(window->viewer()->dstshowtype(), type);
    const float fitted = scale();
    QTest::keyClick(edit, Qt::Key_B);
    EXPECT_NEAR(scale(), fitted * 1.2f, 1e-4);
    QTest::keyClick(edit, Qt::Key_Z); // Z without Shift: nothing
    EXPECT_NEAR(scale(), fitted * 1.2f, 1e-4);
    QTest::keyClick(edit, Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_NEAR(scale(), fitted * 0.96f, 1e-4);
    QTest::keyClick(edit, Qt::Key_1);
    EXPECT_FLOAT_EQ(scale(), 1.0f);
    QTest::keyClick(edit, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_NEAR(scale(), 1.2f, 1e-5);
    QTest::keyClick(edit, Qt::Key_0);
    EXPECT_NEAR(scale(), fitted, 1e-4);
    QTest::keyClick(edit, Qt::Key_Home);
    EXPECT_EQ(window->viewer()->colorindex(), 0);
    QTest::keyClick(edit, Qt::Key_End);
    EXPECT_EQ(window->viewer()->colorindex(), 1);
    QTest::keyClick(edit, Qt::Key_Period);
    EXPECT_TRUE(window->viewer()->showpoint());
    QTest::keyClick(edit, Qt::Key_2);
    EXPECT_TRUE(window->viewer()->showbeginend());

    // With the browser open every key reaches its controls: the start count takes digits.
    window->actions().browser->trigger();
    auto* browser = child<QWidget>("RzGridPanel1");
    ASSERT_TRUE(browser->isVisible());
    browser->findChild<QAbstractButton*>("SpeedButton7")->click(); // the price options
    auto* start = browser->findChild<QLineEdit*>("Edit4");
    start->clear();
    start->setFocus();
    QTest::keyClicks(start, "T12");
    EXPECT_EQ(start->text(), "12"); // its own filter takes the T
    EXPECT_EQ(window->viewer()->dstshowtype(), type);
}

TEST_F(MainWindow, KeysCountByPlaceOnEveryLayout)
{
    // Events as X and Wayland deliver them: the key code is the key's place, the key is what
    // the layout writes on it.
    open();
    window->openFromPath(path("a.dst"));
    auto press = [&](int key, Qt::KeyboardModifiers modifiers, quint32 keycode,
                     const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, keycode, 0, 0, text);
        QApplication::sendEvent(window->viewer(), &event);
    };
    const float fitted = scale();
    press(Qt::Key_Exclam, Qt::ShiftModifier, 10, "!"); // Shift+1
    EXPECT_FLOAT_EQ(scale(), 1.0f);
    press(Qt::Key_ParenRight, Qt::ShiftModifier, 19, ")"); // Shift+0
    EXPECT_NEAR(scale(), fitted, 1e-4);
    press(Qt::Key_At, Qt::ShiftModifier, 11, "@"); // Shift+2
    EXPECT_TRUE(window->viewer()->showbeginend());
    press(Qt::Key_Greater, Qt::ShiftModifier, 60, ">"); // Shift+.
    EXPECT_TRUE(window->viewer()->showpoint());
    press(Qt::Key_Ampersand, Qt::NoModifier, 10, "&"); // AZERTY's unshifted 1
    EXPECT_FLOAT_EQ(scale(), 1.0f);
    // A Cyrillic layout: the keys of T, B and Shift+Z write Е, И and Я.
    const tdstshow type = window->viewer()->dstshowtype();
    press(0x0415, Qt::NoModifier, 28, QStringLiteral("е"));
    EXPECT_NE(window->viewer()->dstshowtype(), type);
    press(0x0418, Qt::NoModifier, 56, QStringLiteral("и"));
    EXPECT_NEAR(scale(), 1.2f, 1e-5);
    press(0x042F, Qt::NoModifier, 52, QStringLiteral("я")); // without Shift: nothing
    EXPECT_NEAR(scale(), 1.2f, 1e-5);
    press(0x042F, Qt::ShiftModifier, 52, QStringLiteral("Я"));
    EXPECT_NEAR(scale(), 0.96f, 1e-5);
    // AZERTY: the key labelled M (QWERTY's ";" place) and the key in M's place (",") measure.
    press(Qt::Key_M, Qt::NoModifier, 47, "m");
    EXPECT_TRUE(window->viewer()->view().armed());
    window->viewer()->Setcl(false);
    press(Qt::Key_Comma, Qt::NoModifier, 58, ",");
    EXPECT_TRUE(window->viewer()->view().armed());
    window->viewer()->Setcl(false);
    // QWERTZ: Shift with the key labelled Z (Y's place) or the key in Z's place (labelled Y).
    const float before = scale();
    press(Qt::Key_Z, Qt::ShiftModifier, 29, "Z");
    EXPECT_NEAR(scale(), before * 0.8f, 1e-5);
    press(Qt::Key_Y, Qt::ShiftModifier, 52, "Y");
    EXPECT_NEAR(scale(), before * 0.64f, 1e-5);
    press(Qt::Key_Y, Qt::NoModifier, 29, "y"); // Y's place, labelled Y: nothing
    EXPECT_NEAR(scale(), before * 0.64f, 1e-5);
}

TEST_F(MainWindow, DragsPanFromInsideTheDesignOnly)
{
    open();
    window->openFromPath(path("a.dst"));
    Tloomscope* view = window->viewer();
    const TRectF start = view->dstrect();
    const QPoint inside(qRound(start.center().x), qRound(start.center().y));
    QTest::mousePress(view, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(view, Qt::LeftButton, {}, inside + QPoint(30, -12));
    EXPECT_NEAR(view->dstrect().left, start.left + 30, 1e-3);
    EXPECT_NEAR(view->dstrect().top, start.top - 12, 1e-3);

    const TRectF moved = view->dstrect();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(2, 2)); // outside the design
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(view->dstrect(), moved);

    // A release beyond the view still pans by the whole drag.
    QTest::mousePress(view, Qt::LeftButton, {}, inside + QPoint(30, -12));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(1200, -50));
    EXPECT_NEAR(view->dstrect().left, moved.left + 1200 - inside.x() - 30, 1e-3);

    // A drag that starts on the second press of a double press pans as well.
    const TRectF before = view->dstrect();
    const QPoint centre(qRound(before.center().x), qRound(before.center().y));
    QTest::mouseClick(view, Qt::LeftButton, {}, centre);
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(centre),
                       view->mapToGlobal(QPointF(centre)), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(view, &second);
    // The double-click takes the design into the browser's preview, fitted there; the drag
    // that began on it still pans.
    EXPECT_TRUE(window->browserVisible());
    const TRectF fitted = view->dstrect();
    QTest::mouseRelease(view, Qt::LeftButton, {}, centre + QPoint(-20, 7));
    EXPECT_NEAR(view->dstrect().left, fitted.left - 20, 1e-3);
}

TEST_F(MainWindow, WheelZoomsOneStepPerNotchOverTheDesign)
{
    open();
    wheel(QPoint(400, 280), 120);
    EXPECT_EQ(scale(), 0.0f); // nothing open yet
    window->openFromPath(path("a.dst"));
    const float fitted = scale();
    const QPoint centre(qRound(window->viewer()->dstrect().center().x),
                        qRound(window->viewer()->dstrect().center().y));
    wheel(centre, 120);
    EXPECT_NEAR(scale(), fitted * 1.2f, 1e-4);
    // A touchpad or a fine wheel sends a notch in parts: one step for the whole notch.
    for (int i = 0; i < 4; ++i)
        wheel(centre, 30);
    EXPECT_NEAR(scale(), fitted * 1.44f, 1e-4);
    wheel(centre, 60);
    wheel(centre, -60); // turned back before the notch was full: nothing
    EXPECT_NEAR(scale(), fitted * 1.44f, 1e-4);
    wheel(centre, -240); // two notches at once
    EXPECT_NEAR(scale(), fitted * 1.44f * 0.64f, 1e-4);
    // Over the design as it is shown now, also after a zoom from the keyboard.
    window->viewer()->yibiyi();
    wheel(QPoint(1, 1), 120);
    EXPECT_FLOAT_EQ(scale(), 1.0f);
    EXPECT_EQ(window->gunrect(), window->viewer()->dstrect());
}

TEST_F(MainWindow, ReadsItsConfigurationWhenShownAndOpensTheDesignFirst)
{
    testsupport::writeFile(home.file("config.ini"),
                           {'[', 'g', 'e',  'n', 'e', 'r', 'a', 'l', ']', '\n', 'b', 'a',
                            'c', 'k', 'c',  'o', 'l', 'o', 'r', '=', '0', '0',  '0', '0',
                            'F', 'F', '\n', '[', 's', 'e', 'q', 'u', 'i', 'n',  ']', '\n',
                            's', 'i', 'z',  'e', '1', '=', 'b', 'i', 'g', '\n'});
    // As the program starts: shown, then the command line's design opened at once.
    window = std::make_unique<TForm2>(
        QString::fromStdString(home.path().string()) + QLatin1Char('/'), messages);
    window->show();
    window->openFromPath(path("a.dst"));
    EXPECT_EQ(window->viewer()->backcolor(), 0x0000FFu);
    EXPECT_FLOAT_EQ(window->viewer()->sequinsizeD(), 5.0f); // the bad value is not applied
    EXPECT_TRUE(messages.errors.isEmpty());                 // not before the design is open
    ASSERT_TRUE(testsupport::waitUntil([&] { return !messages.errors.isEmpty(); }));
    EXPECT_EQ(messages.errors[0], "'big' is not a valid floating point value");
    EXPECT_TRUE(window->viewer()->view().isexist());
}

TEST_F(MainWindow, SequinSizesReadInACommaLocale)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const QByteArray environment = qgetenv("LC_ALL");
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed (tools/setup-debian.sh makes it)";
    qputenv("LC_ALL", "de_DE.UTF-8");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    testsupport::writeFile(home.file("config.ini"),
                           {'[', 's', 'e', 'q', 'u', 'i', 'n', ']', '\n', 's',
                            'i', 'z', 'e', '1', '=', '4', ',', '5', '\n', 's',
                            'i', 'z', 'e', '2', '=', '1', '.', '5', '\n'});
    open();
    QTest::qWait(20);
    EXPECT_FLOAT_EQ(window->viewer()->sequinsizeD(), 4.5f);
    EXPECT_FLOAT_EQ(window->viewer()->sequinsizeX(), 1.5f);
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(' ').toStdString();
    // The summary speaks the user's language of numbers.
    testsupport::writeFile(folder.file("wide.dst"), design(853, 1000));
    window->openFromPath(path("wide.dst"));
    EXPECT_EQ(child<QLabel>("Label2")->text().split('\n')[4], "85,3 * 100");
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, before.c_str());
    if (environment.isNull())
        qunsetenv("LC_ALL");
    else
        qputenv("LC_ALL", environment);
}

TEST_F(MainWindow, CopiesTheViewAtItsSizeToTheClipboard)
{
    open();
    window->openFromPath(path("a.dst"));
    child<QToolButton>("ToolButton24")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), window->viewer()->size());
    EXPECT_EQ(messages.notices, QStringList{"图像已经保存在剪贴板里了，找个地方粘贴一下就行"});
}

TEST_F(MainWindow, DropsOpenTheFirstFileWhenItIsADesign)
{
    open();
    auto drop = [&](const QByteArray& uriList) {
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), uriList);
        // A drop goes to the widget that took the drag's entry.
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent event(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
    };
    auto uri = [&](const std::string& file) {
        return QUrl::fromLocalFile(QString::fromStdString(folder.file(file))).toEncoded() + "\r\n";
    };
    testsupport::writeFile(folder.file("rose.lsc"), {1, 2, 3});
    drop(uri("rose.lsc") + uri("a.dst"));
    EXPECT_EQ(window->windowTitle(), "LoomScope v4.0");
    drop(uri("missing.dst"));
    EXPECT_EQ(window->windowTitle(), "LoomScope v4.0");
    testsupport::writeFile(folder.file("upper.DST"), design(100, 100));
    drop(uri("upper.DST") + uri("a.dst") + uri("b.dst"));
    EXPECT_EQ(window->windowTitle(), title("upper.DST"));
    EXPECT_EQ(designName(), "upper");
    // A name from a Chinese Windows archive, code page 936 bytes, as a file manager sends it.
    const std::string gbk = "\xC3\xB5\xB9\xE5.dst"; // 玫瑰.dst
    testsupport::writeFile(folder.file(gbk), design(100, 100));
    drop("file://" + QUrl::toPercentEncoding(QString::fromStdString(folder.path().string()), "/") +
         "/%C3%B5%B9%E5.dst\r\n");
    EXPECT_EQ(window->windowTitle(), title("玫瑰.dst"));
    EXPECT_EQ(window->state().currentFileName(), gbk);
    EXPECT_TRUE(window->viewer()->view().isexist());
}

TEST_F(MainWindow, NamesFromChineseWindowsArchivesOpenOnEveryRoute)
{
    const std::string gbk = "\xC3\xB5\xB9\xE5.DST"; // 玫瑰.DST in code page 936
    testsupport::writeFile(folder.file(gbk), design(100, 100));
    testsupport::writeFile(folder.file("\xC3\xB5\xB9\xE5.LSC"),
                           {'L', 'S', 'C', '.', '.', 1, 0}); // too short: a card name only
    open();
    window->openFromPath(folder.file(gbk)); // the command line's bytes
    EXPECT_EQ(window->windowTitle(), title("玫瑰.DST"));
    EXPECT_TRUE(window->viewer()->view().isexist());
    EXPECT_EQ(child<QLabel>("Label2")->text().split('\n').first(), "玫瑰");
    // The folder list steps to it and from it.
    QTest::keyClick(window->viewer(), Qt::Key_Left);
    EXPECT_EQ(window->windowTitle(), title("c.dst"));
    QTest::keyClick(window->viewer(), Qt::Key_Right);
    EXPECT_EQ(window->state().currentFileName(), gbk);
    EXPECT_TRUE(window->viewer()->view().isexist());
    // A second start hands over the same bytes.
    window->openFromPath(path("a.dst"));
    window->receiveHandOff(folder.file(gbk));
    EXPECT_EQ(window->state().currentFileName(), gbk);
}

TEST_F(MainWindow, ADesignThatCannotBeReadIsNotShownUnderItsName)
{
    testsupport::writeFile(folder.file("broken.dst"), std::vector<std::uint8_t>(300, 0));
    // A damaged side file beside it must not recolour anything, nor even be read.
    testsupport::writeFile(folder.file("broken.lsc"),
                           {'L', 'S', 'C', '.', '.', 9, 0, 1, 2, 3, 4, 5, 6});
    open();
    window->openFromPath(path("a.dst"));
    child<QToolButton>("ToolButton4")->click(); // a.dst, b.dst, broken.dst: next is b
    child<QToolButton>("ToolButton4")->click();
    EXPECT_EQ(window->windowTitle(), title("broken.dst"));
    EXPECT_EQ(child<QLabel>("Label2")->text(), "broken\n(the file is too short to hold a design)");
    EXPECT_FALSE(window->viewer()->view().isexist());
    EXPECT_EQ(window->viewer()->dstinfo().Fstitchcount, 0);
    EXPECT_TRUE(messages.errors.isEmpty());
    const QImage frame = window->viewer()->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(testsupport::pixelsUnlike(frame, frame.rect(), qRgb(0xEE, 0xEE, 0xEE), 2), 0);
    // Previous and next go on from it, and the recent designs are walked with the keys from
    // wherever the focus is.
    auto* recent = child<QListWidget>("StartRecent");
    ASSERT_TRUE(recent->isVisible());
    ASSERT_GE(recent->count(), 1);
    window->viewer()->setFocus();
    recent->setCurrentRow(0);
    QTest::keyClick(window->viewer(), Qt::Key_Down);
    QTest::keyClick(window->viewer(), Qt::Key_Up);
    EXPECT_EQ(recent->currentRow(), 0);
    QTest::keyClick(window->viewer(), Qt::Key_Right);
    EXPECT_EQ(window->windowTitle(), title("c.dst"));
    EXPECT_TRUE(window->viewer()->view().isexist());

    // A design deleted since the folder was listed: not the old design under its name.
    std::filesystem::remove(folder.file("c.dst"));
    QTest::keyClick(window->viewer(), Qt::Key_Left);
    QTest::keyClick(window->viewer(), Qt::Key_Right);
    EXPECT_EQ(window->windowTitle(), title("c.dst"));
    EXPECT_FALSE(window->viewer()->view().isexist());
    EXPECT_EQ(child<QLabel>("Label2")->text(), "c\n(there is no such file)");
}

TEST_F(MainWindow, HandOffComparesWholePathsAndRestoresTheWindow)
{
    // A design at F/x/F/a.dst, whose path ends with the path of F/a.dst.
    const auto nested = folder.path() / "x" / folder.path().relative_path();
    std::filesystem::create_directories(nested);
    testsupport::writeFile((nested / "a.dst").string(), design(300, 200));
    open();
    window->receiveHandOff((nested / "a.dst").string());
    EXPECT_EQ(window->state().currentDesignPath(), (nested / "a.dst").string());
    const quint64 frames = window->viewer()->redrawRequests();
    window->receiveHandOff((nested / "a.dst").string()); // already shown: no reload
    window->receiveHandOff(std::string());
    window->receiveHandOff(path("missing.dst"));
    EXPECT_EQ(window->viewer()->redrawRequests(), frames);
    window->receiveHandOff(path("a.dst"));
    EXPECT_EQ(window->windowTitle(), title("a.dst"));

    // Minimised from maximised: back to maximised.
    window->showMaximized();
    window->showMinimized();
    window->receiveHandOff(std::string());
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
}

TEST_F(MainWindow, ADesignHandedOverWhileAModalWindowIsOpenWaitsForTheLastToClose)
{
    testsupport::writeFile(path("b.dst"), design(300, 200));
    testsupport::writeFile(path("c.dst"), design(200, 300));
    open();
    const std::string shown = window->state().currentDesignPath();
    // Two modal windows, one over the other, each in its own event loop, as a question asked
    // from a dialog is; designs arrive meanwhile.
    QDialog outer(window.get());
    QDialog inner(&outer);
    std::vector<std::string> seen;
    QTimer::singleShot(0, &outer, [&] {
        QTimer::singleShot(0, &inner, [&] {
            window->receiveHandOff(path("b.dst"));
            window->receiveHandOff(path("c.dst")); // the latest one wins
            seen.push_back(window->state().currentDesignPath());
            inner.accept();
        });
        inner.exec();
        seen.push_back(window->state().currentDesignPath()); // the outer one is still open
        outer.accept();
    });
    outer.exec();
    EXPECT_EQ(seen, (std::vector<std::string>{shown, shown}));
    ASSERT_TRUE(testsupport::waitUntil(
        [&] { return window->state().currentDesignPath() == path("c.dst"); }, 3000));
    EXPECT_FALSE(window->findChild<HandOffGate*>()->pending());
    EXPECT_EQ(window->windowTitle(), title("c.dst"));
}

namespace {
// Message boxes block in an event loop of their own: during that loop anything may happen.
struct BlockingMessages : UserMessages {
    std::function<void()> whileShown;
    QStringList errors;
    void error(QWidget*, const QString& text) override
    {
        errors << text;
        if (whileShown)
            whileShown();
        QEventLoop loop;
        QTimer::singleShot(150, &loop, &QEventLoop::quit);
        loop.exec();
    }
    void information(QWidget*, const QString&) override {}
};
} // namespace

TEST(HandOff, ASenderThatGivesUpWhileAMessageIsShownLeavesNothingDangling)
{
    SKIP_WITHOUT_GL();
    testsupport::TempDir home;
    testsupport::TempDir folder;
    testsupport::writeFile(folder.file("rose.dst"), design(300, 200));
    // A side file whose count claims more than it holds: its error box is shown on open.
    testsupport::writeFile(folder.file("rose.lsc"), {'L', 'S', 'C', '.', '.', 5, 0, 1, 2, 3, 4, 5});
    BlockingMessages messages;
    TForm2 window(QString::fromStdString(home.path().string()) + '/', messages);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QString name =
        QStringLiteral("loomscope-handoff-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QObject::connect(&first, &SingleInstance::handOff, &window,
                     [&](const QByteArray& p) { window.receiveHandOff(p.toStdString()); });

    auto* sender = new QLocalSocket;
    sender->setServerName(name);
    sender->setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    sender->connectToServer();
    ASSERT_TRUE(sender->waitForConnected(2000));
    messages.whileShown = [&] { // the second start gives up and goes
        delete sender;
        sender = nullptr;
    };
    sender->write(encodeHandOff(QByteArray::fromStdString(folder.file("rose.dst"))));
    sender->flush();
    ASSERT_TRUE(testsupport::waitUntil([&] { return !messages.errors.isEmpty(); }, 3000));
    QTest::qWait(300);
    EXPECT_EQ(window.state().currentDesignPath(), folder.file("rose.dst"));
    EXPECT_EQ(messages.errors.size(), 1);
}

TEST_F(MainWindow, SavesTheHighResolutionPictureWhileTheWindowGoesOn)
{
    open();
    auto* save = child<QToolButton>("ToolButton2");
    EXPECT_FALSE(save->isEnabled());
    window->openFromPath(path("a.dst"));
    EXPECT_TRUE(save->isEnabled());

    // The dialog proposes the design's real name in its folder, as a JPEG picture.
    std::filesystem::rename(folder.file("b.dst"), folder.file("ROSE.DST"));
    window->openFromPath(path("ROSE.DST"));
    QString seen;
    QTimer::singleShot(100, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = dialog->nameFilters().join(';') + '|' + dialog->defaultSuffix() + '|' +
               dialog->directory().absolutePath() + '|' +
               QFileInfo(dialog->selectedFiles().value(0)).fileName() + '|' +
               (dialog->acceptMode() == QFileDialog::AcceptSave ? "save" : "open");
        dialog->reject();
    });
    save->click();
    EXPECT_EQ(seen, "JPEG Image File (*.jpg)|jpg|" +
                        QString::fromStdString(folder.path().string()) + "|ROSE.jpg|save");

    // With the view's fabric, made while the window goes on: no event loop is nested inside
    // the command, the command waits its turn, and the view stays where it was.
    QImage weave(128, 128, QImage::Format_RGB888);
    weave.fill(QColor(128, 128, 128));
    window->viewer()->setbackground(true, 0x0000FF, weave);
    window->viewer()->Setscale(1.2f);
    const TRectF before = window->viewer()->dstrect();
    const QString out = QString::fromStdString(home.file("a.jpg"));
    std::vector<bool> finished;
    QObject::connect(window.get(), &TForm2::pictureFinished,
                     [&](bool ok) { finished.push_back(ok); });
    ASSERT_TRUE(window->savePictureTo(out));
    if (window->findChild<PictureCommand*>()->running()) {
        EXPECT_FALSE(save->isEnabled());
        EXPECT_FALSE(window->savePictureTo(out)); // one picture at a time
        EXPECT_TRUE(finished.empty());
    }
    ASSERT_TRUE(testsupport::waitUntil([&] { return !finished.empty(); }, 20000));
    EXPECT_TRUE(finished[0]) << messages.errors.join(' ').toStdString();
    EXPECT_TRUE(save->isEnabled());
    const QImage picture = QImage(out).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width() % 4, 0);
    EXPECT_EQ(testsupport::pixelsUnlike(picture,
                                        QRect(picture.width() - 30, picture.height() - 30, 20, 20),
                                        qRgb(255, 20, 20), 3),
              0);
    EXPECT_EQ(window->viewer()->dstrect(), before);
    EXPECT_FALSE(window->viewer()->grabFramebuffer().isNull()); // its own context still
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A folder that cannot be written: a message, and no file.
    const QString bad = QString::fromStdString(home.file("no/such/folder/a.jpg"));
    finished.clear();
    ASSERT_TRUE(window->savePictureTo(bad));
    ASSERT_TRUE(testsupport::waitUntil([&] { return !finished.empty(); }, 20000));
    EXPECT_FALSE(finished[0]);
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains("a.jpg"));
    EXPECT_FALSE(QFile::exists(bad));
}

TEST_F(MainWindow, TheWebPageButtonOpensTheInstalledManual)
{
    // The program found beside the manual of its build tree, as `loomscope` tells its GUI.
    qputenv("LOOMSCOPE_PROGRAM", LOOMSCOPE_BINARY);
    // The desktop's opener, standing in: it notes what it was asked to open.
    testsupport::TempDir bin;
    const std::string asked = bin.file("asked");
    const std::string opener = "#!/bin/sh\nprintf '%s' \"$1\" > '" + asked + ".part' && mv '" +
                               asked + ".part' '" + asked + "'\n";
    testsupport::writeFile(bin.file("xdg-open"), {opener.begin(), opener.end()});
    ::chmod(bin.file("xdg-open").c_str(), 0755);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.path().string()) + ':' + path);
    open();
    child<QToolButton>("ToolButton32")->click();
    qputenv("PATH", path);
    qunsetenv("LOOMSCOPE_PROGRAM");
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(' ').toStdString();
    ASSERT_TRUE(
        testsupport::waitUntil([&] { return QFile::exists(QString::fromStdString(asked)); }, 5000));
    const auto bytes = testsupport::readFile(asked);
    const std::string manual(bytes.begin(), bytes.end());
    EXPECT_TRUE(manual.ends_with("/manual/index.html")) << manual;
    EXPECT_TRUE(fileExists(manual));
}

TEST_F(MainWindow, StitchOutOpensFromTheStripAndShiftROnlyForAFileThatIsThere)
{
    open();
    window->openFromPath(path("a.dst"));
    QStringList seen;
    auto closeWhenShown = [&] {
        QTimer::singleShot(300, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                seen << modal->windowTitle();
                modal->close();
            }
        });
    };
    closeWhenShown();
    child<QToolButton>("ToolButton35")->click();
    closeWhenShown();
    QTest::keyClick(window->viewer(), Qt::Key_R, Qt::ShiftModifier);
    EXPECT_EQ(seen, QStringList({"走针", "走针"}));
    QTest::keyClick(window->viewer(), Qt::Key_R); // R without Shift: nothing
    std::filesystem::remove(folder.file("a.dst"));
    child<QToolButton>("ToolButton35")->click(); // the file is gone: nothing, at once
    EXPECT_EQ(seen.size(), 2);
}

TEST_F(MainWindow, AnEmptyStartSaysWhatToDoAndOffersTheRecentDesigns)
{
    // Yesterday's designs, one of them gone since.
    testsupport::writeFile(home.file("config.ini"), {'[', 'r', 'e', 'c', 'e', 'n', 't', ']', '\n'});
    IniFile ini;
    ASSERT_TRUE(ini.load(home.file("config.ini")));
    writeRecentDesigns(ini, {path("b.dst"), folder.file("gone.dst"), path("a.dst")});
    ASSERT_EQ(ini.save(home.file("config.ini")), "");
    open();
    auto* hint = child<QLabel>("StartHint");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_TRUE(hint->text().contains("Ctrl+O"));
    auto* recent = child<QListWidget>("StartRecent");
    ASSERT_EQ(recent->count(), 2); // the gone one is left out
    EXPECT_TRUE(recent->item(0)->text().startsWith("b.dst"));
    EXPECT_TRUE(
        recent->item(0)->text().endsWith(QString::fromStdString(folder.path().string()) + "/"));
    // Seen on the screen, in the overlay's colour over the background.
    QTest::qWait(50);
    const QImage shot = window->screen()->grabWindow(window->winId()).toImage();
    testsupport::snapshot(shot, "empty-start");
    const QRect hintArea(hint->mapTo(window.get(), QPoint(0, 0)), hint->size());
    EXPECT_TRUE(testsupport::containsColour(shot, hintArea, qRgb(0x11, 0x11, 0x11), 40));

    // A click on an entry opens it; the panel goes, the design is on the list's top.
    QTest::mouseClick(recent->viewport(), Qt::LeftButton, {},
                      recent->visualItemRect(recent->item(1)).center());
    EXPECT_EQ(window->windowTitle(), title("a.dst"));
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(window->recentDesigns().front(), path("a.dst"));
    // Opening a design does not write config.ini; the list is kept a little later, or when
    // the window closes.
    IniFile kept;
    ASSERT_TRUE(kept.load(home.file("config.ini")));
    EXPECT_EQ(readRecentDesigns(kept).front(), path("b.dst"));
    window->close();
    ASSERT_TRUE(kept.load(home.file("config.ini")));
    EXPECT_EQ(readRecentDesigns(kept).front(), path("a.dst"));
}

TEST_F(MainWindow, EnterOnARecentEntryAndCtrlOOpen)
{
    testsupport::writeFile(home.file("config.ini"), {});
    IniFile ini;
    writeRecentDesigns(ini, {path("c.dst")});
    ASSERT_EQ(ini.save(home.file("config.ini")), "");
    open();
    auto* recent = child<QListWidget>("StartRecent");
    recent->setFocus();
    QTest::keyClick(recent, Qt::Key_Return);
    EXPECT_EQ(window->windowTitle(), title("c.dst"));

    // Ctrl+O, also while a design is shown (when every other key goes to the view).
    QString seen;
    QTimer::singleShot(200, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            seen = dialog->acceptMode() == QFileDialog::AcceptOpen ? "open" : "save";
            dialog->reject();
        }
    });
    QTest::keyClick(window->viewer(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(seen, "open");
    // The open button's arrow lists the same designs.
    auto* menu = window->findChild<QMenu*>("RecentMenu");
    ASSERT_NE(menu, nullptr);
    QTimer::singleShot(100, [menu] { menu->hide(); });
    menu->exec(QPoint(0, 0));
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_TRUE(menu->actions()[0]->text().startsWith("c.dst"));
}

TEST_F(MainWindow, TheWindowComesBackWhereItWasAndOnAScreen)
{
    {
        open();
        EXPECT_EQ(window->size(), QSize(850, 600)); // the first start
        window->setGeometry(120, 90, 700, 500);
        window->close();
        window.reset();
    }
    IniFile ini;
    ASSERT_TRUE(ini.load(home.file("config.ini")));
    EXPECT_EQ(readWindowPlacement(ini), (WindowPlacement{120, 90, 700, 500, false}));
    const auto written = std::filesystem::last_write_time(home.file("config.ini"));

    open();
    EXPECT_EQ(window->geometry(), QRect(120, 90, 700, 500));
    // Closed where it opened: nothing is written.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    window->close();
    window.reset();
    EXPECT_EQ(std::filesystem::last_write_time(home.file("config.ini")), written);

    // Kept on a screen that has gone since: the size stays, the window is centred.
    writeWindowPlacement(ini, {5000, 4000, 640, 480, false});
    ASSERT_EQ(ini.save(home.file("config.ini")), "");
    open();
    EXPECT_EQ(window->size(), QSize(640, 480));
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->geometry().center())) << window->geometry().x();
}

TEST_F(MainWindow, TheColourPanelSitsBesideTheViewAndItsFieldsTakeTyping)
{
    open();
    window->openFromPath(path("a.dst"));
    child<QToolButton>("ToolButton18")->click();
    auto* panel = child<QWidget>("Panel5");
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->geometry(), QRect(850 - 218, 0, 218, 571));
    EXPECT_EQ(window->viewer()->width(), 850 - 218);
    // While a design is shown keys go to the view, but the panel's find field is typed into.
    const tdstshow type = window->viewer()->dstshowtype();
    auto* find = child<QLineEdit>("Edit1");
    find->setFocus();
    QTest::keyClicks(find, "T10");
    EXPECT_EQ(find->text(), "T10");
    EXPECT_EQ(window->viewer()->dstshowtype(), type);
    // The colour steps select the sequence's row (its first row under the header is step 1).
    auto* sequence = panel->findChild<QAbstractItemView*>("StringGrid2");
    ASSERT_NE(sequence, nullptr);
    window->actions().endColour->trigger();
    EXPECT_EQ(sequence->currentIndex().row() + 1, window->viewer()->dstinfo().Fcolorcount);
    window->actions().firstColour->trigger();
    EXPECT_EQ(sequence->currentIndex().row() + 1, 1);
    panel->findChild<QAbstractButton*>("SpeedButton4")->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(window->viewer()->width(), 850);
}

TEST_F(MainWindow, TheBrowserTakesTheViewInAndGivesItBack)
{
    open();
    window->openFromPath(path("a.dst"));
    auto* browser = window->findChild<BrowserPane*>("RzGridPanel1");
    ASSERT_NE(browser, nullptr);
    Tloomscope* view = window->viewer();
    window->actions().browser->trigger();
    EXPECT_TRUE(browser->isVisible());
    EXPECT_FALSE(view->showfont()); // no overlay in the small preview
    EXPECT_EQ(view->parentWidget(), browser->previewHost());
    EXPECT_LE(view->dstrect().width(), view->width() + 1.0f); // fitted into the preview
    ASSERT_TRUE(testsupport::waitUntil([&] { return !browser->isFilling(); }, 10000));
    auto* list = browser->findChild<DesignListView*>("ListView1");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->currentView()->model()->rowCount(), 3);

    // Another folder in the tree: the shown design stays the one the window's commands act on.
    window->state().changeFolder(home.path().string());
    EXPECT_EQ(window->state().currentDesignPath(), path("a.dst"));
    window->state().changeFolder(folder.path().string());

    // "关闭": back to the window's client area at actual size, with the overlay.
    browser->findChild<QAbstractButton*>("SpeedButton1")->click();
    EXPECT_FALSE(browser->isVisible());
    EXPECT_TRUE(view->showfont());
    EXPECT_EQ(view->parentWidget(), window.get());
    EXPECT_EQ(view->geometry(), QRect(0, 0, 850, 571));
    EXPECT_FLOAT_EQ(scale(), 1.0f);

    // A double-click on a row opens that design and leaves with it fitted.
    window->actions().browser->trigger();
    ASSERT_TRUE(testsupport::waitUntil([&] { return !browser->isFilling(); }, 10000));
    QAbstractItemView* rows = list->currentView();
    const QRect third = rows->visualRect(rows->model()->index(2, 0));
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(window->windowTitle(), title("c.dst"));
    EXPECT_FALSE(browser->isVisible());
    EXPECT_EQ(view->parentWidget(), window.get());
    EXPECT_NEAR(view->dstrect().height(), 571, 1.0); // fitted to the client area
}

TEST(AboutBox, NamesTheVersionAndTheManual)
{
    TForm5 about(QStringLiteral("/usr/share/loomscope/manual/index.html"));
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.size(), QSize(439, 279));
    EXPECT_EQ(about.findChild<QLabel*>("Label2")->text(), "当前版本：V4.0;");
    EXPECT_EQ(about.findChild<QLabel*>("Label8")->text(),
              "使用手册：/usr/share/loomscope/manual/index.html");
    EXPECT_FALSE(about.findChild<QLabel*>("Label8")->isEnabled());
    for (QLabel* label : about.findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains(".org")) << label->text().toStdString();
}

namespace {
// Titles of the top-level windows on the display.
QStringList windowTitles()
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
    xwininfo.waitForFinished(5000);
    QStringList titles;
    for (const QString& line : QString::fromUtf8(xwininfo.readAllStandardOutput()).split('\n')) {
        const int open = line.indexOf('"');
        const int close = line.indexOf('"', open + 1);
        if (open >= 0 && close > open)
            titles << line.mid(open + 1, close - open - 1);
    }
    return titles;
}
} // namespace

TEST(SecondStart, HandsItsDesignToTheRunningViewerAndEnds)
{
    SKIP_WITHOUT_GL();
    if (QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty())
        GTEST_SKIP() << "xwininfo (x11-utils) is needed to see the windows";
    testsupport::TempDir dir;
    std::filesystem::create_directories(dir.path() / "runtime");
    std::filesystem::permissions(dir.path() / "runtime", std::filesystem::perms::owner_all);
    for (const char* name : {"first.dst", "second.dst"})
        testsupport::writeFile(dir.file(name), design(300, 200));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LOOMSCOPE_HOME"), QString::fromStdString(dir.file("home")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(dir.file("runtime")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const QString folder = QString::fromStdString(dir.path().string());
    auto ours = [&] {
        QStringList mine;
        for (const QString& t : windowTitles())
            if (t.startsWith(QStringLiteral("LoomScope v4.0 - ") + folder))
                mine << t;
        return mine;
    };

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(QStringLiteral(LOOMSCOPE_BINARY), {QString::fromStdString(dir.file("first.dst"))});
    ASSERT_TRUE(testsupport::waitUntil([&] { return ours().size() == 1; }, 15000)) << "no window";

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(LOOMSCOPE_BINARY),
                 {QString::fromStdString(dir.file("second.dst"))});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    const QStringList expected{"LoomScope v4.0 - " +
                               QString::fromStdString(dir.file("second.dst"))};
    EXPECT_TRUE(testsupport::waitUntil([&] { return ours() == expected; }, 5000))
        << ours().join(", ").toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    first.waitForFinished(5000);
}
