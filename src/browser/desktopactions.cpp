#include "desktopactions.h"

#include "model/fileio.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QUrl>

namespace loomscope {

QString fileUrlOf(const std::string& path)
{
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    return QStringLiteral("file://") + QString::fromLatin1(bytes.toPercentEncoding("/"));
}

SystemDesktop::SystemDesktop(QObject* parent) : QObject(parent) {}

void SystemDesktop::showInFileManager(const std::string& path)
{
    const QUrl folder(fileUrlOf(folderPart(path)));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QDesktopServices::openUrl(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{fileUrlOf(path)} << QString();
    // Asynchronous: starting a file manager on demand can take a while, and the window must
    // not wait for it.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [folder](QDBusPendingCallWatcher* w) {
                if (w->isError())
                    QDesktopServices::openUrl(folder);
                w->deleteLater();
            });
}

bool SystemDesktop::openFile(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl(fileUrlOf(path)));
}

bool SystemDesktop::startProgram(const std::string& program, const QStringList& arguments)
{
    return QProcess::startDetached(QFile::decodeName(QByteArray::fromStdString(program)), arguments,
                                   QString());
}

} // namespace loomscope
