#include "TestEnvironment.h"
#include "platform/AppFolder.h"
#include "platform/CommandRelay.h"
#include "platform/PathBytes.h"
#include "platform/RawCommandLine.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <thread>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QByteArray frame(const QByteArray& payload, quint32 declaredLength)
{
    char length[4];
    qToBigEndian<quint32>(declaredLength, length);
    return QByteArray("VNR1") + QByteArray(length, 4) + payload;
}

QByteArray frame(const QString& text)
{
    const QByteArray payload = text.toUtf8();
    return frame(payload, quint32(payload.size()));
}

// In a child process that has become `uid`, connects to the relay, sends a valid frame
// and reports through its exit code: 0 no answer, 1 acknowledged, 2 could not connect.
pid_t handOverAsUser(uid_t uid)
{
    const QByteArray path = QFile::encodeName(CommandRelay::socketPath());
    const QByteArray message = frame(QStringLiteral("/tmp/from-another-user"));
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    if (::setgid(uid) != 0 || ::setuid(uid) != 0)
        ::_exit(3);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        ::_exit(2);
    if (::write(fd, message.constData(), size_t(message.size())) < 0)
        ::_exit(0);
    char answer = 0;
    ::_exit(::read(fd, &answer, 1) == 1 ? 1 : 0);
}

int waitForChild(pid_t pid)
{
    int status = 0;
    for (QDeadlineTimer deadline(10000); !deadline.hasExpired();) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -2;
}
} // namespace

class TestCommandRelay : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void ownWriteRaisesChangeAtOnce();
    void handOverFromAnotherProcessIsAcknowledged();
    void malformedAndOversizedFramesAreDropped();
    void truncatedFrameDoesNotWedgeTheRelay();
    void anotherUserIsNeverHeard();
    void rawCommandLineSurvivesTheSplit();
    void namesThatAreNotTextKeepTheirBytes();

private:
    QByteArray handOver(const QByteArray& bytes);
    CommandRelay* m_relay = nullptr;
};

void TestCommandRelay::initTestCase()
{
    // A socket left behind by a crashed instance must not stop the next one.
    QFile stale(CommandRelay::socketPath());
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();

    m_relay = new CommandRelay(this);
    QVERIFY(!m_relay->otherInstanceRunning());
    QVERIFY(m_relay->listen());
    QCOMPARE(QFileInfo(CommandRelay::socketPath()).permissions() & 0x0077, 0);
}

void TestCommandRelay::ownWriteRaisesChangeAtOnce()
{
    QSignalSpy change(m_relay, &CommandRelay::Change);
    QVERIFY(m_relay->setCommandLine(QStringLiteral("/tmp/own")));
    QCOMPARE(change.count(), 1);
    QCOMPARE(m_relay->CommandLine(), QStringLiteral("/tmp/own"));
}

// Sends raw bytes as another client would and returns what came back before the relay
// closed the connection.
QByteArray TestCommandRelay::handOver(const QByteArray& bytes)
{
    QLocalSocket client;
    client.connectToServer(CommandRelay::socketPath());
    if (!client.waitForConnected(2000))
        return "not connected";
    client.write(bytes);
    client.flush();
    QByteArray answer;
    QDeadlineTimer deadline(8000);
    while (client.state() != QLocalSocket::UnconnectedState && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        answer += client.readAll();
    }
    if (client.state() != QLocalSocket::UnconnectedState)
        return "still connected";
    return answer + client.readAll();
}

void TestCommandRelay::handOverFromAnotherProcessIsAcknowledged()
{
    QSignalSpy change(m_relay, &CommandRelay::Change);
    const QString text = QStringLiteral("\"/tmp/Grüße an alle\" /tmp/b");
    QCOMPARE(handOver(frame(text)), QByteArray("A"));
    QCOMPARE(change.count(), 1);
    QCOMPARE(m_relay->CommandLine(), text);
}

void TestCommandRelay::malformedAndOversizedFramesAreDropped()
{
    QSignalSpy change(m_relay, &CommandRelay::Change);
    QSignalSpy rejected(m_relay, &CommandRelay::connectionRejected);
    QCOMPARE(handOver("GET / HTTP/1.0\r\n\r\n"), QByteArray());
    QCOMPARE(handOver(frame("x", quint32(CommandRelay::MaxFrameBytes + 1))), QByteArray());
    QCOMPARE(change.count(), 0);
    QCOMPARE(rejected.count(), 2);

    QCOMPARE(handOver(frame(QStringLiteral("/tmp/after"))), QByteArray("A"));
    QCOMPARE(m_relay->CommandLine(), QStringLiteral("/tmp/after"));
}

void TestCommandRelay::truncatedFrameDoesNotWedgeTheRelay()
{
    QSignalSpy change(m_relay, &CommandRelay::Change);
    QLocalSocket stalled;
    stalled.connectToServer(CommandRelay::socketPath());
    QVERIFY(stalled.waitForConnected(2000));
    stalled.write(frame("/tmp/only-a-part", 100));
    stalled.flush();

    // Others are heard while the stalled client waits ...
    QCOMPARE(handOver(frame(QStringLiteral("/tmp/meanwhile"))), QByteArray("A"));
    QCOMPARE(change.count(), 1);
    // ... and the stalled one is dropped without a Change.
    QTRY_COMPARE_WITH_TIMEOUT(stalled.state(), QLocalSocket::UnconnectedState,
                              CommandRelay::ConnectionTimeoutMs + 3000);
    QCOMPARE(change.count(), 1);
    QCOMPARE(m_relay->CommandLine(), QStringLiteral("/tmp/meanwhile"));
}

void TestCommandRelay::anotherUserIsNeverHeard()
{
    if (::getuid() != 0)
        QSKIP("changing to another user needs root (CI runs as root)");
    const uid_t nobody = 65534;
    QSignalSpy change(m_relay, &CommandRelay::Change);

    // The private runtime folder keeps other users away from the socket ...
    QCOMPARE(waitForChild(handOverAsUser(nobody)), 2);

    // ... and with the folder and the socket opened to everyone, the relay itself refuses them.
    const QByteArray folder = QFile::encodeName(RuntimeFolder::path());
    const QByteArray socket = QFile::encodeName(CommandRelay::socketPath());
    const QByteArray parent = QFile::encodeName(TestEnvironment::runtimeDir());
    const QByteArray root = QFile::encodeName(TestEnvironment::root());
    QCOMPARE(::chmod(root.constData(), 0711), 0);
    QCOMPARE(::chmod(parent.constData(), 0711), 0);
    QCOMPARE(::chmod(folder.constData(), 0777), 0);
    QCOMPARE(::chmod(socket.constData(), 0777), 0);
    QSignalSpy rejected(m_relay, &CommandRelay::connectionRejected);
    const int answer = waitForChild(handOverAsUser(nobody));
    ::chmod(folder.constData(), 0700);
    ::chmod(socket.constData(), 0600);
    ::chmod(parent.constData(), 0700);
    ::chmod(root.constData(), 0700);

    QCOMPARE(answer, 0);
    QCOMPARE(change.count(), 0);
    QCOMPARE(rejected.count(), 1);
}

void TestCommandRelay::rawCommandLineSurvivesTheSplit()
{
    const QStringList arguments{QStringLiteral("My Files/a.txt"), QStringLiteral("/abs/b"),
                                QStringLiteral("../c")};
    QCOMPARE(RawCommandLine(arguments, QStringLiteral("/home/u")),
             QStringLiteral("\"/home/u/My Files/a.txt\" /abs/b /home/u/../c"));
    QCOMPARE(RawCommandLine({}, QStringLiteral("/home/u")), QString());
}

void TestCommandRelay::namesThatAreNotTextKeepTheirBytes()
{
    // A launch in a folder with a Latin-1 name, given a Latin-1 name.
    QTemporaryDir work;
    const QByteArray folder = QFile::encodeName(work.path()) + "/d\xE9j\xE0";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    const QByteArray previous = QFile::encodeName(QDir::currentPath());
    QCOMPARE(::chdir(folder.constData()), 0);
    const char* const argv[] = {"vn10", "caf\xE9 au lait.txt", "/tmp/\xFF"};
    const QString text = RawCommandLine(PathArguments(3, argv), WorkingFolder());
    QCOMPARE(::chdir(previous.constData()), 0);
    QCOMPARE(::rmdir(folder.constData()), 0);
    QCOMPARE(PathBytes::encode(text), "\"" + folder + "/caf\xE9 au lait.txt\" /tmp/\xFF");

    // A later instance hands the text over; it waits for the answer, so it runs beside the
    // first instance's event loop.
    QSignalSpy change(m_relay, &CommandRelay::Change);
    bool delivered = false;
    std::thread later([&] { delivered = CommandRelay().setCommandLine(text); });
    QTRY_COMPARE(change.count(), 1);
    later.join();
    QVERIFY(delivered);
    QCOMPARE(PathBytes::encode(m_relay->CommandLine()), PathBytes::encode(text));
    QCOMPARE(m_relay->CommandLine(), text);
}

VANISTO_TEST_GUILESS_MAIN(TestCommandRelay)
#include "tst_commandrelay.moc"
