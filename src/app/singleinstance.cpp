#include "singleinstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QtEndian>
#include <sys/socket.h>
#include <unistd.h>

namespace loomscope {

namespace {
// The lock name the program has always used, plus the user: one instance per user.
const QString kLockName = QStringLiteral("{B3BDA666-076E-4ADD-9A0D-7D65C1EBB08F}");
const QByteArray kMagic = QByteArrayLiteral("LOOMSCOPE-OPEN\n");
const QByteArray kDone = QByteArrayLiteral("done\n");
constexpr int kMaxMessage = 64 * 1024; // far beyond any path

bool isOurs(const QLocalSocket& socket)
{
    return peerUserId(socket.socketDescriptor()) == static_cast<long>(::getuid());
}
} // namespace

long peerUserId(qintptr socketDescriptor)
{
    struct ucred cred {};
    socklen_t length = sizeof cred;
    if (socketDescriptor < 0 || ::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET,
                                             SO_PEERCRED, &cred, &length) != 0)
        return -1;
    return static_cast<long>(cred.uid);
}

QByteArray encodeHandOff(const QByteArray& path)
{
    const QByteArray body = kMagic + path;
    QByteArray message(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(body.size()), message.data());
    return message + body;
}

bool decodeHandOff(const QByteArray& message, QByteArray* path)
{
    if (message.size() < 4)
        return false;
    const quint32 length = qFromBigEndian<quint32>(message.constData());
    if (length > kMaxMessage || static_cast<qsizetype>(length) + 4 != message.size())
        return false;
    const QByteArray body = message.mid(4);
    if (!body.startsWith(kMagic))
        return false;
    const QByteArray bytes = body.mid(kMagic.size());
    if (bytes.contains('\0') || (!bytes.isEmpty() && !bytes.startsWith('/')))
        return false; // a path holds no NUL, and the sender makes it absolute
    *path = bytes;
    return true;
}

SingleInstance::SingleInstance(QObject* parent) : SingleInstance(defaultServerName(), parent) {}

SingleInstance::SingleInstance(const QString& serverName, QObject* parent)
    : QObject(parent), name_(serverName)
{}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultServerName()
{
    // Per user, and per session of that user: a session is known by its runtime folder.
    QString name = kLockName + QLatin1Char('-') + QString::number(::getuid());
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        name += QLatin1Char('-') + QString::number(qChecksum(runtime), 16);
    return name;
}

bool SingleInstance::handOffToRunning(const QByteArray& absolutePath, int timeoutMs)
{
    QLocalSocket socket;
    socket.setServerName(name_);
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer();
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // Whoever holds the name for another user gets nothing from us, not even the path.
    if (!isOurs(socket)) {
        socket.abort();
        return false;
    }
    socket.write(encodeHandOff(absolutePath));
    if (!socket.waitForBytesWritten(timeoutMs))
        return true; // someone is there; a second window would be wrong
    // Like the synchronous send it stands for: wait until the design is open.
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(timeoutMs))
        reply += socket.readAll();
    return true;
}

bool SingleInstance::listen(QString* error)
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!server_->listen(name_)) {
        if (error)
            *error = server_->errorString();
        return false;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (!isOurs(*socket)) {
                socket->abort();
                continue;
            }
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { readMessage(socket); });
            // A peer that connects and then says nothing (or not all of it) is let go after a
            // while: an idle connection must not be held open for ever.
            QTimer::singleShot(idleTimeoutMs_, socket, [socket] {
                if (!socket->property("answered").toBool())
                    socket->abort();
            });
            readMessage(socket);
        }
    });
    return true;
}

void SingleInstance::readMessage(QLocalSocket* socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    if (buffer.size() >= 4) {
        const quint32 length = qFromBigEndian<quint32>(buffer.constData());
        if (length > kMaxMessage) {
            socket->abort();
            return;
        }
        if (buffer.size() >= static_cast<qsizetype>(length) + 4) {
            QByteArray path;
            const bool ok = decodeHandOff(buffer.left(static_cast<qsizetype>(length) + 4), &path);
            socket->setProperty("buffer", QByteArray());
            socket->setProperty("answered", true);
            socket->disconnect(this); // one message per connection
            // Opening the design may show a message box, whose event loop may see the sender
            // give up and the socket go: the hand-off runs later from the event loop, and the
            // socket is only answered if it is still there.
            QPointer<QLocalSocket> guard(socket);
            QMetaObject::invokeMethod(
                this,
                [this, ok, path, guard] {
                    if (ok)
                        emit handOff(path);
                    if (guard && guard->state() == QLocalSocket::ConnectedState) {
                        guard->write(kDone);
                        guard->flush();
                        guard->disconnectFromServer();
                    }
                },
                Qt::QueuedConnection);
            return;
        }
    }
    socket->setProperty("buffer", buffer);
}

} // namespace loomscope
