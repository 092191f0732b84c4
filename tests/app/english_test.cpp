// Every window in English: no text of the interface left in Chinese, and no caption cut short
// by a window of fixed size. The rest of the suite reads the program's own Chinese texts, as no
// translation is installed there.

#include "animate/tform8.h"
#include "app/mainactions.h"
#include "app/tform2.h"
#include "browser/browserpane.h"
#include "config/configstore.h"
#include "config/interfacelanguage.h"
#include "drawing/programfonts.h"
#include "glsupport.h"
#include "print/tform3.h"
#include "print/tform9.h"
#include "recordingmessages.h"
#include "session/interfacetranslation.h"
#include "settings/tform4.h"
#include "settings/tform5.h"
#include "settings/tform6.h"
#include "testenv.h"
#include "viewer/tloomscope.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

using namespace loomscope;

namespace {

bool hasChinese(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF)
            return true;
    return false;
}

QString nameOf(const QWidget* w)
{
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
}

// The texts of the interface shown by `window` and its children: titles, captions, hints,
// column titles and menu entries. What the user's files put there (design, folder, fabric and
// chart names, which are cell data and list entries) is not among them.
std::vector<std::pair<QString, QString>> interfaceTexts(QWidget* window)
{
    std::vector<std::pair<QString, QString>> texts;
    auto add = [&](const QWidget* w, const QString& text) {
        if (!text.isEmpty())
            texts.emplace_back(nameOf(w), text);
    };
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (w->isWindow())
            add(w, w->windowTitle());
        add(w, w->toolTip());
        if (auto* l = qobject_cast<QLabel*>(w))
            add(w, l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            add(w, b->text());
        if (auto* g = qobject_cast<QGroupBox*>(w))
            add(w, g->title());
        if (auto* e = qobject_cast<QLineEdit*>(w))
            add(w, e->placeholderText());
        if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model())
            for (int c = 0; c < v->model()->columnCount(); ++c)
                add(w, v->model()->headerData(c, Qt::Horizontal).toString());
        for (const QAction* a : w->actions()) {
            add(w, a->text());
            add(w, a->toolTip());
        }
    }
    return texts;
}

// Captions that do not fit the control they are on: a button or one-line label narrower than
// the longest line of its text.
QStringList cutCaptions(QWidget* window)
{
    QStringList cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        QString text;
        int room = w->contentsRect().width();
        if (auto* t = qobject_cast<QToolButton*>(w);
            t && t->toolButtonStyle() == Qt::ToolButtonIconOnly && !t->icon().isNull())
            continue; // its text is only its name; the tooltip says what it does
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = b->text();
            room -= 6; // the frame's margins
            if (!b->icon().isNull())
                room -= b->iconSize().width() + 4;
            if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
                room += 6 - w->style()->pixelMetric(QStyle::PM_IndicatorWidth) -
                        w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        } else if (auto* l = qobject_cast<QLabel*>(w);
                   l && !l->wordWrap() && l->pixmap().isNull()) {
            text = l->text();
        }
        if (text.isEmpty() || text.contains(QLatin1Char('<')))
            continue;
        int needed = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            needed = std::max(needed, w->fontMetrics().horizontalAdvance(line.trimmed()));
        if (needed > room)
            cut << QStringLiteral("%1 \"%2\": %3 pixels for %4")
                       .arg(nameOf(w), text)
                       .arg(room)
                       .arg(needed);
    }
    return cut;
}

class English : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_GL();
        loadProgramFonts();
        useInterfaceLanguage("en");
        std::filesystem::copy_file(std::filesystem::path(LOOMSCOPE_SOURCE_DIR) /
                                       "data/samples/rose-badge.dst",
                                   folder.file("rose-badge.dst"));
    }
    void TearDown() override { useInterfaceLanguage("zh"); }

    // Shows the window, looks at it, and leaves a picture of it for a person when asked.
    void check(QWidget* window, const char* name)
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << name;
        QTest::qWait(50);
        for (const auto& [where, text] : interfaceTexts(window))
            EXPECT_FALSE(hasChinese(text))
                << name << ": " << where.toStdString() << ": \"" << text.toStdString() << '"';
        EXPECT_TRUE(cutCaptions(window).isEmpty())
            << name << ": " << cutCaptions(window).join(QStringLiteral("; ")).toStdString();
        testsupport::snapshot(window->grab().toImage(), name);
    }

    testsupport::TempDir home;
    testsupport::TempDir folder;
    testsupport::RecordingMessages messages;
};

} // namespace

TEST(InterfaceLanguageChoice, TheDesktopsFirstLanguageUnlessForcedOrSet)
{
    const std::vector<std::string> available{"zh", "en", "fr"};
    const struct {
        const char* forced;
        const char* setting;
        std::vector<std::string> preferred;
        const char* language;
    } cases[] = {
        {"", "", {"zh-CN", "en-US"}, "zh"},
        {"", "", {"zh-Hans-CN"}, "zh"},
        {"", "", {"zh_TW.UTF-8"}, "zh"},
        {"", "", {"en-GB", "zh-CN"}, "en"}, // Chinese second: English
        {"", "", {"de-DE", "zh-CN"}, "en"}, // no German: English, not the second language
        {"", "", {"fr-CA"}, "fr"},          // a third language is one more translation
        {"", "", {"C"}, "en"},
        {"", "", {}, "en"},
        {"en", "", {"zh-CN"}, "en"},        // $LOOMSCOPE_LANGUAGE wins
        {"", "zh", {"en-US"}, "zh"},        // then the setting
        {"zh", "en", {"en-US"}, "zh"},      // the environment over the setting
        {"xx", "klingon", {"zh-TW"}, "zh"}, // unknown choices fall through to the desktop
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooseInterfaceLanguage(c.forced, c.setting, c.preferred, available), c.language)
            << c.forced << '/' << c.setting << '/'
            << (c.preferred.empty() ? std::string() : c.preferred.front());
}

TEST_F(English, EveryWindowSpeaksEnglishAndKeepsItsCaptionsWhole)
{
    TForm2 window(QString::fromStdString(home.path().string() + "/"), messages);
    window.resize(1100, 760);
    check(&window, "english-main");
    window.openFromPath(folder.file("rose-badge.dst"));
    window.actions().colourPanel->trigger();
    window.actions().browser->trigger();
    check(&window, "english-main-panels");

    TForm3* print = window.findChild<TForm3*>();
    ASSERT_TRUE(print && print->prepare(folder.file("rose-badge.dst")));
    check(print, "english-print");
    check(print->companyDialog(), "english-company");
    print->companyDialog()->hide();
    print->hide();

    for (QDialog* dialog : {static_cast<QDialog*>(window.findChild<TForm4*>()),
                            static_cast<QDialog*>(window.findChild<TForm5*>()),
                            static_cast<QDialog*>(window.findChild<TForm6*>())}) {
        ASSERT_TRUE(dialog);
        check(dialog, qPrintable(QStringLiteral("english-%1").arg(dialog->objectName())));
        dialog->hide();
    }
    auto* replay = window.findChild<TForm8*>();
    ASSERT_TRUE(replay);
    check(replay, "english-replay");
    replay->hide();
}
