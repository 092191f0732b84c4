#include "programfonts.h"

#include "model/numberformat.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QStringList>
#include <QThread>
#include <mutex>

namespace loomscope {

namespace {
// A 16-pixel cell holds ascent and descent: for Tahoma that is an em of about 13 pixels.
constexpr int kOverlayEmPixels = 13;
} // namespace

void loadProgramFonts()
{
    // The font database belongs to the GUI thread; pictures made on workers only use the fonts
    // it already has.
    Q_ASSERT(!qApp || QThread::currentThread() == qApp->thread());
    static std::once_flag once;
    std::call_once(once, [] {
        for (const char* path :
             {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
            QFontDatabase::addApplicationFont(QString::fromLatin1(path));
    });
}

QFont overlayLabelFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(kOverlayEmPixels);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont overlayNameFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(kOverlayEmPixels);
    return font;
}

char localeDecimalSeparator()
{
    // Not QLocale's: it knows every locale by name, installed or not, and the command-line
    // tools would then write other numbers than the window under an uninstalled locale.
    return environmentDecimalSeparator();
}

QFont pictureInfoFont()
{
    QFont font = overlayLabelFont();
    font.setPixelSize(16); // 12 points at 96 dots per inch
    return font;
}

} // namespace loomscope
