#include "TestEnvironment.h"
#include "platform/AppFolder.h"
#include "platform/CommandRelay.h"
#include "platform/PathBytes.h"
#include "platform/RawCommandLine.h"

#include <QLocalSocket>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A frame with any magic and any declared length, as a broken or older client sends it.
QByteArray rawFrame(const char* magic, const QByteArray& payload, quint32 declaredLength)
{
    char length[4];
    qToBigEndian<quint32>(declaredLength, length);
    return QByteArray(magic) + QByteArray(length, 4) + payload;
}

constexpr auto frame = &CommandRelay::frame;

// A child as `uid` sends a frame, the relay running here: 0 no answer, 1 acknowledged, 2 no connection.
int handOverAsUser(uid_t uid)
{
    const QByteArray path = QFile::encodeName(CommandRelay::socketPath());
    const QByteArray message = frame({u"/tmp/from-another-user"_s});
    const pid_t pid = ::fork();
    if (pid == 0) {
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
    int status = 0;
    for (QDeadlineTimer deadline(10000); ::waitpid(pid, &status, WNOHANG) != pid; QTest::qWait(5))
        if (deadline.hasExpired())
            ::kill(pid, SIGKILL);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Sends raw bytes as another client would; returns what came back before the relay hung up.
QByteArray handOver(const QByteArray& bytes)
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
    return client.state() == QLocalSocket::UnconnectedState ? answer + client.readAll()
                                                            : QByteArray("still connected");
}
} // namespace

class TestCommandRelay : public QObject
{
    Q_OBJECT
    CommandRelay* m_relay = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        // A socket left behind by a crashed instance must not stop the next one.
        QVERIFY(QFile(CommandRelay::socketPath()).open(QIODevice::WriteOnly));

        m_relay = new CommandRelay(this);
        QVERIFY(!m_relay->otherInstanceRunning());
        QVERIFY(m_relay->listen());
        QCOMPARE(QFileInfo(CommandRelay::socketPath()).permissions() & 0x0077, 0);
    }

    // Hand-overs raise Change; broken frames go without one and never stop the relay.
    void handOversRaiseChangeAndBrokenFramesAreDropped()
    {
        QSignalSpy change(m_relay, &CommandRelay::Change);
        QSignalSpy rejected(m_relay, &CommandRelay::connectionRejected);
        // Every argument one path, whatever it holds: quotes, ";", spaces, a newline, an empty one.
        const QStringList arguments{
            u"/d/my \"notes\" file.txt"_s, u"/d/a\"b"_s, u"/d/x;y z"_s, u"/d/two\nlines"_s, QString(),
            u"/tmp/Grüße an alle"_s};
        // The main window's handler lets events run while it adds the paths.
        const QMetaObject::Connection yielding =
            connect(m_relay, &CommandRelay::Change, this, [] { QCoreApplication::processEvents(); });
        QCOMPARE(handOver(frame(arguments)), QByteArray("A"));
        QCOMPARE(handOver(frame(arguments)), QByteArray("A"));
        disconnect(yielding);
        QCOMPARE(change.count(), 2);
        QCOMPARE(m_relay->CommandLine(), arguments);

        QCOMPARE(handOver("GET / HTTP/1.0\r\n\r\n"), QByteArray());
        QCOMPARE(handOver(rawFrame("VNR2", "x", quint32(CommandRelay::MaxFrameBytes + 1))), QByteArray());
        QCOMPARE(handOver(rawFrame("VNR2", QByteArray("\0\0\0\x09/tmp/x", 10), 10)), QByteArray());
        // An older program's frame is refused with a word of its own, never taken for paths.
        QCOMPARE(handOver(rawFrame("VNR1", "/tmp/old", 8)), QByteArray("V"));
        // A NUL would cut a path short and name another item.
        QCOMPARE(handOver(rawFrame("VNR2", QByteArray("\0\0\0\x0a/tmp/a\0bcd", 14), 14)), QByteArray());
        QCOMPARE(change.count(), 2);
        QCOMPARE(rejected.count(), 5);

        QLocalSocket stalled;
        stalled.connectToServer(CommandRelay::socketPath());
        QVERIFY(stalled.waitForConnected(2000));
        stalled.write(rawFrame("VNR2", "\0\0\0\x0f/tmp/only-a-part", 100));
        stalled.flush();

        // Others are heard while the stalled client waits, and it is dropped without a Change.
        QCOMPARE(handOver(frame({u"/tmp/meanwhile"_s})), QByteArray("A"));
        QCOMPARE(change.count(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(stalled.state(), QLocalSocket::UnconnectedState,
                                  CommandRelay::ConnectionTimeoutMs + 3000);
        QCOMPARE(change.count(), 3);
        QCOMPARE(m_relay->CommandLine(), QStringList{u"/tmp/meanwhile"_s});
        QTRY_COMPARE(m_relay->findChildren<QLocalSocket*>().size(), 0);
    }

    void anotherUserIsNeverHeard()
    {
        if (::getuid() != 0)
            QSKIP("changing to another user needs root (CI runs as root)");
        const uid_t nobody = 65534;
        QSignalSpy change(m_relay, &CommandRelay::Change);

        // The private runtime folder keeps other users away from the socket ...
        QCOMPARE(handOverAsUser(nobody), 2);

        // ... and with the folder and the socket opened to everyone, the relay itself refuses them.
        const QByteArray socket = QFile::encodeName(CommandRelay::socketPath());
        const std::pair<QByteArray, mode_t> opened[] = {
            {QFile::encodeName(TestEnvironment::root()), 0711},
            {QFile::encodeName(TestEnvironment::runtimeDir()), 0711},
            {QFile::encodeName(RuntimeFolder::path()), 0777},
            {socket, 0777}};
        for (const auto& [item, mode] : opened)
            QCOMPARE(::chmod(item.constData(), mode), 0);
        QSignalSpy rejected(m_relay, &CommandRelay::connectionRejected);
        const int answer = handOverAsUser(nobody);
        for (const auto& [item, mode] : opened)
            ::chmod(item.constData(), item == socket ? 0600 : 0700);

        QCOMPARE(answer, 0);
        QCOMPARE(change.count(), 0);
        QCOMPARE(rejected.count(), 1);
    }

    // Typed paths stay, relative to the launch's folder, even where that folder and the names are Latin-1.
    void namesKeepWhatTheUserTyped()
    {
        QCOMPARE(AbsolutePaths({u"My Files/a.txt"_s, u"/abs/b"_s, QString(), u"../c"_s}, u"/home/u"_s),
                 (QStringList{u"/home/u/My Files/a.txt"_s, u"/abs/b"_s, u"/home/u/../c"_s}));
        QTemporaryDir work;
        const QByteArray folder = QFile::encodeName(work.path()) + "/d\xE9j\xE0";
        QCOMPARE(::mkdir(folder.constData(), 0700), 0);
        const QByteArray previous = QFile::encodeName(QDir::currentPath());
        QCOMPARE(::chdir(folder.constData()), 0);
        const char* const argv[] = {"vn10", "caf\xE9 au lait.txt", "/tmp/\xFF"};
        const QStringList paths = AbsolutePaths(PathArguments(3, argv), WorkingFolder());
        QCOMPARE(::chdir(previous.constData()), 0);
        QCOMPARE(::rmdir(folder.constData()), 0);
        QCOMPARE(paths, (QStringList{PathBytes::decode(folder + "/caf\xE9 au lait.txt"),
                                     PathBytes::decode("/tmp/\xFF")}));
    }

    // Silent clients are held MaxOpenConnections at a time for ConnectionTimeoutMs, never at others' cost.
    void idleConnectionsAreCappedAndTimedOut()
    {
        std::vector<std::unique_ptr<QLocalSocket>> idle;
        for (int i = 0; i < CommandRelay::MaxOpenConnections + 20; ++i) {
            idle.push_back(std::make_unique<QLocalSocket>());
            idle.back()->connectToServer(CommandRelay::socketPath());
            QVERIFY(idle.back()->waitForConnected(2000));
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(m_relay->openConnections() == CommandRelay::MaxOpenConnections);
        QSignalSpy rejected(m_relay, &CommandRelay::connectionRejected);
        QCOMPARE(handOver(frame({u"/tmp/heard"_s})), QByteArray("A"));
        QCOMPARE(m_relay->CommandLine(), QStringList{u"/tmp/heard"_s});
        QVERIFY(m_relay->isListening());
        QTRY_COMPARE_WITH_TIMEOUT(m_relay->openConnections(), 0, CommandRelay::ConnectionTimeoutMs + 3000);
        QTest::qWait(1000);
        // The 64 idle ones (one of them dropped for the hand-over's sake), and not the hand-over.
        QCOMPARE(rejected.count(), CommandRelay::MaxOpenConnections);
    }

    void pathBytesSurviveTheRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readable");
        QTest::newRow("ASCII") << QByteArray("/tmp/a b.txt") << QStringLiteral("/tmp/a b.txt");
        QTest::newRow("UTF-8") << QByteArray("na\xC3\xAFve") << QStringLiteral("naïve");
        QTest::newRow("Latin-1") << QByteArray("caf\xE9.txt") << QStringLiteral("caf\uFFFD.txt");
        QTest::newRow("cut sequence") << QByteArray("a\xC3") << QStringLiteral("a\uFFFD");
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << QStringLiteral("\uFFFD\uFFFD");
        QTest::newRow("encoded surrogate")
            << QByteArray("\xED\xB2\x80") << QStringLiteral("\uFFFD\uFFFD\uFFFD");
        // U+10080 is the pair D800 DC80, whose second half looks like the escaped byte 0x80.
        QTest::newRow("four-byte character")
            << QByteArray("\xF0\x90\x82\x80\x80") << QStringLiteral("\U00010080\uFFFD");
    }

    void pathBytesSurviveTheRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, readable);
        const QString path = PathBytes::decode(bytes);
        QCOMPARE(PathBytes::encode(path), bytes);
        QCOMPARE(PathBytes::decode(PathBytes::encode(path)), path);
        QCOMPARE(PathBytes::readable(path), readable);
        // One character for each byte that is not text, U+DC00 + the byte.
        QCOMPARE(path.size(), readable.size());
        QCOMPARE(path.contains(QChar(0xDCE9)), bytes.contains('\xE9'));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestCommandRelay)
#include "tst_commandrelay.moc"
