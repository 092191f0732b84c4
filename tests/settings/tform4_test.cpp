// The settings dialog as a user meets it: what a showing loads, the editor test, saving, the
// association button, and how it looks.
#include "config/configstore.h"
#include "glsupport.h"
#include "recordingmessages.h"
#include "session/usermessages.h"
#include "settings/desktopfiles.h"
#include "settings/desktopsetup.h"
#include "settings/tform4.h"
#include "testenv.h"
#include "widgets/colourswatch.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace loomscope;
using loomscope::testsupport::RecordingMessages;

namespace {

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(home.path() / "Fabrics");
        QImage weave(16, 16, QImage::Format_RGB888);
        weave.fill(QColor(128, 128, 128));
        for (const char* name : {"canvas", "denim", "twill"})
            ASSERT_TRUE(weave.save(QString::fromStdString(home.file("Fabrics/") + name + ".bmp")));
        dialog = std::make_unique<TForm4>(
            config, QString::fromStdString(home.path().string() + "/"), messages);
    }
    void writeConfig(const std::string& text)
    {
        testsupport::writeFile(home.file("config.ini"), {text.begin(), text.end()});
        config.reload(); // as if the program had started with it
    }
    template <typename T> T* child(const char* name) const
    {
        return dialog->findChild<T*>(QLatin1String(name));
    }
    void showDialog()
    {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    testsupport::TempDir home;
    ConfigStore config{home.file("config.ini")};
    RecordingMessages messages;
    std::unique_ptr<TForm4> dialog;
};

} // namespace

TEST_F(SettingsDialog, ShowingListsTheFabricsAndLoadsTheConfiguration)
{
    writeConfig("[general]\nfabricname=denim\nisfabric=1\neditor=/usr/bin/true\n"
                "fabriccolor=0000FF\nbackcolor=\n[sequin]\nsize1=4.5\nsequincolor=00FF00\n");
    showDialog();
    EXPECT_EQ(dialog->size(), QSize(462, 299));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("设置"));
    auto* combo = child<QComboBox>("ComboBox1");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), QStringLiteral("denim"));
    EXPECT_TRUE(child<QCheckBox>("CheckBox4")->isChecked());
    EXPECT_EQ(dialog->editorPath(), QStringLiteral("/usr/bin/true"));
    EXPECT_EQ(child<ColourSwatch>("Panel3")->colour(), 0x0000FFu);
    EXPECT_EQ(child<ColourSwatch>("Panel2")->colour(), 15658734u); // empty: left as it was
    EXPECT_EQ(child<ColourSwatch>("Panel1")->colour(), 0x00FF00u);
    EXPECT_EQ(child<QLineEdit>("Edit1")->text(), QStringLiteral("4.5"));
    EXPECT_EQ(child<QLineEdit>("Edit2")->text(), QStringLiteral("1.5"));
    // The swatch shows the colour red-low: 0000FF is pure red on screen.
    const QImage swatch = child<ColourSwatch>("Panel3")->grab().toImage();
    EXPECT_EQ(QColor(swatch.pixel(swatch.width() / 2, swatch.height() / 2)), QColor(255, 0, 0));
    EXPECT_TRUE(messages.errors.isEmpty());
    testsupport::snapshot(dialog->grab().toImage(), "settings-dialog");

    // A fabric whose picture was deleted is not taken; a colour that is not hexadecimal stops
    // the loading with the conversion message, after the keys before it.
    dialog->hide();
    std::filesystem::remove(home.file("Fabrics/denim.bmp"));
    writeConfig("[general]\nfabricname=denim\neditor=/bin/ed\nfabriccolor=FFFFFF\nbackcolor=light\n"
                "[sequin]\nsequincolor=000000\n");
    showDialog();
    EXPECT_EQ(combo->currentText(), QStringLiteral("canvas"));
    EXPECT_EQ(dialog->editorPath(), QStringLiteral("/bin/ed"));
    EXPECT_EQ(child<ColourSwatch>("Panel3")->colour(), 0xFFFFFFu);
    EXPECT_EQ(child<ColourSwatch>("Panel1")->colour(), 0x00FF00u); // not reached
    EXPECT_EQ(messages.errors,
              QStringList{QStringLiteral("'$light' is not a valid integer value")});
}

TEST_F(SettingsDialog, TestSaysCorrectOnlyForAProgram)
{
    showDialog();
    auto* test = child<QToolButton>("SpeedButton2");
    for (const QString& path : {QString(), QString::fromStdString(home.path().string()),
                                QString::fromStdString(home.file("Fabrics/canvas.bmp"))}) {
        dialog->setEditorPath(path);
        test->click();
    }
    EXPECT_TRUE(messages.notices.isEmpty())
        << messages.notices.join(QLatin1Char('|')).toStdString();
    dialog->setEditorPath(QStringLiteral("/bin/sh"));
    test->click();
    EXPECT_EQ(messages.notices, QStringList{QStringLiteral("路径正确")});
}

TEST_F(SettingsDialog, SaveWritesWhatTheControlsShowAndKeepsTheRest)
{
    writeConfig("[printer]\nborder=0\n[general]\nfabricname=twill\n");
    showDialog();
    child<QCheckBox>("CheckBox4")->setChecked(true);
    child<ColourSwatch>("Panel2")->setColour(0x0000FF); // RGB (255, 0, 0)
    child<QLineEdit>("Edit2")->setText(QStringLiteral("2"));
    dialog->setEditorPath(QStringLiteral("/usr/bin/编辑器"));
    child<QPushButton>("Button1")->click();
    EXPECT_TRUE(dialog->isVisible()); // the dialog stays open
    IniFile ini;
    ASSERT_TRUE(ini.load(home.file("config.ini")));
    EXPECT_EQ(ini.value("printer", "border"), "0");
    EXPECT_EQ(ini.value("general", "isfabric"), "-1");
    EXPECT_EQ(ini.value("general", "backcolor"), "0000FF");
    EXPECT_EQ(ini.value("general", "fabricname"), "twill");
    EXPECT_EQ(ini.value("general", "fabriccolor"), "FFFFFF");
    EXPECT_EQ(ini.value("general", "editor"), "/usr/bin/编辑器");
    EXPECT_EQ(ini.value("sequin", "size1"), "5");
    EXPECT_EQ(ini.value("sequin", "size2"), "2");
    EXPECT_EQ(ini.value("sequin", "sequincolor"), "B4B4B4");
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(SettingsDialog, AssociationButtonWritesTheUsersDesktopFiles)
{
    testsupport::TempDir xdg;
    const std::string data = xdg.file("data");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    setenv("XDG_CONFIG_HOME", xdg.file("config").c_str(), 1);
    setenv("XDG_CACHE_HOME", xdg.file("cache").c_str(), 1);
    showDialog();
    EXPECT_EQ(dialog->desktopProgram(), desktopProgramFile());
    dialog->setDesktopProgram(QStringLiteral(LOOMSCOPE_BINARY));
    child<QPushButton>("Button4")->click();
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_CACHE_HOME");
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(QLatin1Char('|')).toStdString();
    const auto entry = testsupport::readFile(data + "/applications/loomscope.desktop");
    EXPECT_EQ(std::string(entry.begin(), entry.end()), desktopEntryText(LOOMSCOPE_BINARY));
    // The built-in icons went along, all sizes of both.
    EXPECT_EQ(builtInDesktopIcons().size(), 18u);
    EXPECT_TRUE(std::filesystem::exists(data + "/icons/hicolor/16x16/mimetypes/"
                                               "application-x-tajima-dst.png"));
    EXPECT_EQ(applicationWindowIcon().availableSizes().size(), 8);
    EXPECT_FALSE(applicationWindowIcon().pixmap(48, 48).isNull());
}

TEST_F(SettingsDialog, EnterAnywhereNeverAssociatesOrSaves)
{
    // Enter right after opening, in the editor field and in a sequin size: no button runs, so
    // nothing is written to the desktop's files or to config.ini.
    testsupport::TempDir xdg;
    setenv("XDG_DATA_HOME", xdg.file("data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", xdg.file("config").c_str(), 1);
    writeConfig("[general]\neditor=/usr/bin/true\n");
    const auto configBefore = testsupport::readFile(home.file("config.ini"));
    showDialog();
    dialog->setDesktopProgram(QStringLiteral(LOOMSCOPE_BINARY));
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        EXPECT_FALSE(b->isDefault() || b->autoDefault()) << b->objectName().toStdString();
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : dialog.get(), Qt::Key_Return);
    for (const char* field : {"Edit1", "Edit2"}) {
        auto* edit = child<QLineEdit>(field);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Enter);
    }
    // Space on the association button itself still runs it.
    auto* associate = child<QPushButton>("Button4");
    QTest::keyClick(associate, Qt::Key_Return);
    const bool wroteBeforeSpace = std::filesystem::exists(xdg.file("config"));
    associate->setFocus();
    QTest::keyClick(associate, Qt::Key_Space);
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_FALSE(wroteBeforeSpace) << "Enter changed the desktop's file associations";
    EXPECT_EQ(testsupport::readFile(home.file("config.ini")), configBefore);
    EXPECT_TRUE(std::filesystem::exists(xdg.file("config") + "/mimeapps.list"));
}

TEST_F(SettingsDialog, SequinSizesAreTypedInDigitsAndOneDecimalPoint)
{
    showDialog();
    auto* outer = child<QLineEdit>("Edit1");
    outer->clear();
    outer->setFocus();
    QTest::keyClicks(outer, "4x.5.2");
    EXPECT_EQ(outer->text(), "4.52"); // the letter and the second point are refused
}
