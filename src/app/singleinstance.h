#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace loomscope {

// One running viewer per user. A second start connects to the first over a local socket in the
// abstract namespace (nothing on disk, so a crash leaves nothing behind that could block a
// start), hands over the absolute path of its design (or nothing, to only bring the window to
// the front), waits until the first has dealt with it, and ends.
//
// An abstract socket has no file permissions, and its name can be worked out by anyone on the
// machine: both ends ask the kernel who the other is (SO_PEERCRED) and deal only with their own
// user. The first instance drops connections from other users; a start that finds the name
// held by another user does not hand over to it and runs as a first instance of its own.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    explicit SingleInstance(const QString& serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The channel of this user's session.
    static QString defaultServerName();

    // Second start: true when a running instance of this user took the path (the bytes of an
    // absolute path; empty: only raise it).
    bool handOffToRunning(const QByteArray& absolutePath, int timeoutMs = 5000);
    // First start: listen for later starts. False when the channel cannot be opened.
    bool listen(QString* error = nullptr);
    // How long a connection may stay open before its message is complete.
    void setIdleTimeout(int milliseconds) { idleTimeoutMs_ = milliseconds; }
    static constexpr int kDefaultIdleTimeoutMs = 5000;

signals:
    // In the first instance, for every hand-off, delivered from the event loop (never from
    // inside the socket's own signal); the sender is answered once the receivers return.
    void handOff(const QByteArray& path);

private:
    void readMessage(QLocalSocket* socket);

    QString name_;
    QLocalServer* server_ = nullptr;
    int idleTimeoutMs_ = kDefaultIdleTimeoutMs;
};

// The bytes of one hand-off and their reading back; false for anything malformed. A path is
// carried as the bytes the file system holds, in any encoding.
QByteArray encodeHandOff(const QByteArray& path);
bool decodeHandOff(const QByteArray& message, QByteArray* path);

// The user id of the process at the other end of a connected local socket; -1 when unknown.
long peerUserId(qintptr socketDescriptor);

} // namespace loomscope
