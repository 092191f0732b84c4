#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace loomscope {

// One running viewer per user. A second start connects to the first over a local socket in the
// abstract namespace (nothing on disk, so a crash leaves nothing behind that could block a
// start), hands over the absolute path of its design (or nothing, to only bring the window to
// the front), waits until the first has dealt with it, and ends. Anything else that arrives
// on the socket is ignored.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    explicit SingleInstance(const QString& serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The channel of this user's session.
    static QString defaultServerName();

    // Second start: true when a running instance took the path (empty: only raise it).
    bool handOffToRunning(const QString& absolutePath, int timeoutMs = 5000);
    // First start: listen for later starts. False when the channel cannot be opened.
    bool listen(QString* error = nullptr);

signals:
    // In the first instance, for every hand-off; the sender waits until the receivers return.
    void handOff(const QString& path);

private:
    void readMessage(QLocalSocket* socket);

    QString name_;
    QLocalServer* server_ = nullptr;
};

// The bytes of one hand-off and their reading back; nothing for anything malformed.
QByteArray encodeHandOff(const QString& path);
bool decodeHandOff(const QByteArray& message, QString* path);

} // namespace loomscope
