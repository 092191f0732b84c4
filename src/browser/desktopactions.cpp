#include "desktopactions.h"

#include "model/fileio.h"
#include "session/processlaunch.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace loomscope {

QString fileUrlOf(const std::string& path)
{
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    return QStringLiteral("file://") + QString::fromLatin1(bytes.toPercentEncoding("/"));
}

SystemDesktop::SystemDesktop(QObject* parent) : QObject(parent) {}

void SystemDesktop::showInFileManager(const std::string& path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openWithDesktop(folderPart(path));
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
            [folder = folderPart(path)](QDBusPendingCallWatcher* w) {
                if (w->isError())
                    openWithDesktop(folder);
                w->deleteLater();
            });
}

std::string SystemDesktop::openFile(const std::string& path)
{
    return openWithDesktop(path);
}

std::string SystemDesktop::startProgram(const std::string& program,
                                        const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return startDetached(argv);
}

} // namespace loomscope
