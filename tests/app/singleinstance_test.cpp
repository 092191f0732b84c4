// The hand-off channel between a second start and the running viewer: its messages, and that
// only the same user's processes are listened to.
#include "app/singleinstance.h"
#include "glsupport.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace loomscope;

namespace {

QString uniqueName(const char* what)
{
    return QStringLiteral("loomscope-test-%1-%2")
        .arg(QLatin1String(what))
        .arg(QCoreApplication::applicationPid());
}

// A plain socket on the abstract name, as any process on the machine can make one.
int abstractSocket(const QString& name, sockaddr_un* address, socklen_t* length)
{
    const QByteArray bytes = name.toUtf8();
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path + 1, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bytes.size());
    return ::socket(AF_UNIX, SOCK_STREAM, 0);
}

} // namespace

TEST(SingleInstance, MessagesCarryAnyBytesAndMalformedOnesAreRefused)
{
    QByteArray path;
    const QByteArray gbk("/tmp/\xC3\xB5\xB9\xE5 1.DST");
    EXPECT_TRUE(decodeHandOff(encodeHandOff(gbk), &path));
    EXPECT_EQ(path, gbk);
    EXPECT_TRUE(decodeHandOff(encodeHandOff(QByteArray()), &path));
    EXPECT_EQ(path, QByteArray());
    QByteArray cut = encodeHandOff("/x.dst");
    cut.chop(1);
    EXPECT_FALSE(decodeHandOff(cut, &path));
    EXPECT_FALSE(decodeHandOff(QByteArray("\0\0\0\4junk", 8), &path));
    EXPECT_FALSE(decodeHandOff(QByteArray("\xff\xff\xff\xff", 4), &path));
    EXPECT_FALSE(decodeHandOff(encodeHandOff(QByteArray("/a\0b", 4)), &path));
    EXPECT_FALSE(decodeHandOff(encodeHandOff("relative.dst"), &path));
}

TEST(SingleInstance, IgnoresGarbageAndServesTheNextStart)
{
    const QString name = uniqueName("serve");
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QList<QByteArray> received;
    QObject::connect(&first, &SingleInstance::handOff, [&](const QByteArray& p) { received << p; });

    QLocalSocket rogue;
    rogue.setServerName(name);
    rogue.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    rogue.connectToServer();
    ASSERT_TRUE(rogue.waitForConnected(2000));
    rogue.write(QByteArray("\0\0\0\x09not a path", 13));
    rogue.flush();
    QTest::qWait(100);
    EXPECT_TRUE(received.isEmpty());

    // The second start blocks until the first has dealt with the path; serve it meanwhile.
    SingleInstance client(name);
    QTimer::singleShot(0, [&] { client.handOffToRunning("/tmp/x.dst", 100); });
    ASSERT_TRUE(testsupport::waitUntil([&] { return !received.isEmpty(); }, 3000));
    EXPECT_EQ(received, QList<QByteArray>{"/tmp/x.dst"});
    SingleInstance nobody(name + QStringLiteral("-none"));
    EXPECT_FALSE(nobody.handOffToRunning("/tmp/x.dst", 200));
}

TEST(SingleInstance, APeerThatSaysNothingIsLetGo)
{
    const QString name = uniqueName("idle");
    SingleInstance first(name);
    first.setIdleTimeout(300);
    ASSERT_TRUE(first.listen());
    for (const QByteArray& sent : {QByteArray(), QByteArray("\0\0\0\x20/half", 9)}) {
        QLocalSocket idle;
        idle.setServerName(name);
        idle.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        idle.connectToServer();
        ASSERT_TRUE(idle.waitForConnected(2000));
        idle.write(sent);
        idle.flush();
        EXPECT_TRUE(testsupport::waitUntil(
            [&] { return idle.state() == QLocalSocket::UnconnectedState; }, 3000))
            << "an idle peer is still held after its time";
    }
    // The channel still serves a real start.
    QList<QByteArray> received;
    QObject::connect(&first, &SingleInstance::handOff, [&](const QByteArray& p) { received << p; });
    SingleInstance client(name);
    QTimer::singleShot(0, [&] { client.handOffToRunning("/tmp/y.dst", 100); });
    ASSERT_TRUE(testsupport::waitUntil([&] { return !received.isEmpty(); }, 3000));
}

TEST(SingleInstance, AnotherUserCannotMakeTheViewerOpenAFile)
{
    const QString name = uniqueName("other-client");
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QList<QByteArray> received;
    QObject::connect(&first, &SingleInstance::handOff, [&](const QByteArray& p) { received << p; });
    // The other user's process connects and sends a well-formed hand-off.
    const QByteArray message = encodeHandOff("/etc/secret.dst");
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody)
        GTEST_SKIP() << "needs root to act as another user";
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    // The child must not wait on this process's event loop: fork, then serve while it runs.
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(99);
        sockaddr_un address;
        socklen_t length = 0;
        const int fd = abstractSocket(name, &address, &length);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), length) != 0)
            ::_exit(98);
        (void)!::write(fd, message.constData(), static_cast<std::size_t>(message.size()));
        char reply[8];
        const ssize_t n = ::read(fd, reply, sizeof reply); // 0: dropped without an answer
        ::_exit(n > 0 ? 1 : 0);
    }
    int status = -1;
    ASSERT_TRUE(
        testsupport::waitUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, 5000));
    QTest::qWait(50);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(received.isEmpty());
}

TEST(SingleInstance, ANameHeldByAnotherUserGetsNothingAndTheStartRunsOnItsOwn)
{
    const QString name = uniqueName("other-server");
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody)
        GTEST_SKIP() << "needs root to act as another user";
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(99);
        sockaddr_un address;
        socklen_t length = 0;
        const int fd = abstractSocket(name, &address, &length);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 4) != 0)
            ::_exit(98);
        (void)!::write(ready[1], "r", 1);
        // Hold the name until killed; whatever arrives is the owner's path: report it through
        // the exit status.
        for (;;) {
            const int peer = ::accept(fd, nullptr, nullptr);
            char buffer[256];
            if (peer >= 0 && ::read(peer, buffer, sizeof buffer) > 0)
                ::_exit(1);
            if (peer >= 0)
                ::close(peer);
        }
    }
    char r = 0;
    ASSERT_EQ(::read(ready[0], &r, 1), 1);
    SingleInstance start(name);
    EXPECT_FALSE(start.handOffToRunning("/home/owner/private.dst", 1000));
    // The start then goes on as a first instance of its own: it cannot listen on that name,
    // and handing off again gives nothing either.
    EXPECT_FALSE(start.listen());
    EXPECT_FALSE(start.handOffToRunning("/home/owner/private.dst", 1000));
    int status = 0;
    EXPECT_EQ(::waitpid(pid, &status, WNOHANG), 0) << "the path was sent";
    ::kill(pid, SIGTERM);
    ::waitpid(pid, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
}
