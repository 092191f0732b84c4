#include "interfacetranslation.h"

#include "config/configstore.h"
#include "config/interfacelanguage.h"
#include "config/programhome.h"
#include "model/uitext.h"
#include "pathstrings.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>
#include <memory>
#include <string>
#include <unordered_map>

namespace loomscope {

namespace {

std::unique_ptr<QTranslator>& installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// Texts that Qt-free code composes, looked up once each: they are asked for with the same few
// patterns over and over (the stitch-out counters at every step).
std::string translateText(const char* context, const char* text)
{
    thread_local std::unordered_map<std::string, std::string> known;
    const std::string key = std::string(context) + '\x1f' + text;
    if (const auto found = known.find(key); found != known.end())
        return found->second;
    const std::string translated = QCoreApplication::translate(context, text).toStdString();
    known.emplace(key, translated);
    return translated;
}

} // namespace

void useInterfaceLanguage(const std::string& language)
{
    if (installed()) {
        QCoreApplication::removeTranslator(installed().get());
        installed().reset();
    }
    setTextTranslator(nullptr);
    if (language == "zh")
        return; // the program's own texts
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(
            QStringLiteral(":/translations/loomscope_%1.qm").arg(QString::fromStdString(language))))
        return;
    QCoreApplication::installTranslator(translator.get());
    installed() = std::move(translator);
    setTextTranslator(&translateText);
}

std::string installInterfaceLanguage(const QString& programHome)
{
    const ConfigStore config(configFilePath(pathBytes(programHome)));
    std::vector<std::string> preferred;
    for (const QString& name : QLocale::system().uiLanguages())
        preferred.push_back(name.toStdString());
    // The program's own texts, and each translation it carries.
    std::vector<std::string> available{"zh"};
    for (const QString& file : QDir(QStringLiteral(":/translations")).entryList())
        if (file.startsWith(QLatin1String("loomscope_")) && file.endsWith(QLatin1String(".qm")))
            available.push_back(file.mid(10, file.size() - 13).toStdString());
    const std::string language = chooseInterfaceLanguage(
        qEnvironmentVariable("LOOMSCOPE_LANGUAGE").toStdString(),
        config.ini().value("general", "language").value_or(""), preferred, available);
    useInterfaceLanguage(language);
    return language;
}

} // namespace loomscope
