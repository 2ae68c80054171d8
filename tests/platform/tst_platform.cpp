#include "SessionFiles.h"
#include "TestEnvironment.h"
#include "platform/AppFolder.h"
#include "platform/AutostartEntry.h"
#include "platform/CommandRelay.h"
#include "platform/PathBytes.h"
#include "platform/RawCommandLine.h"
#include "platform/Registry.h"
#include "platform/ShellMenuEntries.h"
#include "platform/StartOnWin.h"
#include "platform/SystemInfoTool.h"

#include <QLocalSocket>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using Registry::Root;

namespace {
// A frame with any magic and any declared length, as a broken or older client sends it.
QByteArray rawFrame(const char* magic, const QByteArray& payload, quint32 declaredLength)
{
    char length[4];
    qToBigEndian<quint32>(declaredLength, length);
    return QByteArray(magic) + QByteArray(length, 4) + payload;
}

constexpr auto frame = &CommandRelay::frame;

// A child as nobody sends a frame, the relay running here: 0 no answer, 1 acknowledged, 2 no connection.
int handOverAsNobody()
{
    const QByteArray path = QFile::encodeName(CommandRelay::socketPath());
    const QByteArray message = frame({u"/tmp/from-another-user"_s});
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
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
// desktop-file-validate's verdict on the entry on disk: its output, empty when valid.
QString validatorComplaints()
{
    QProcess validate;
    validate.start(u"/usr/bin/desktop-file-validate"_s, {AutostartEntry::filePath()});
    if (!validate.waitForFinished(20000))
        return u"desktop-file-validate did not run"_s;
    const QString output =
        QString::fromUtf8(validate.readAllStandardOutput() + validate.readAllStandardError());
    return validate.exitCode() == 0 && output.trimmed().isEmpty() ? QString() : output;
}

const auto readValue = [](Root root, const QString& key, const QString& value) {
    return Registry::ReadValue(root, key, value, QString()).toString();
};

const auto writeValue = [](Root root, const QString& key, const QString& value, const QString& data,
                           const QString& computer = {}) {
    Registry::WriteValue(root, key, value, data, Registry::REG_SZ, computer);
};

const auto startMenu = [] {
    return readValue(Root::HKEY_CURRENT_USER, Registry::ShellFoldersKey, u"Start Menu"_s);
};
const QString Helper = u"/opt/van isto/bin/vanisto-shellmenu"_s;

const auto Data = [](const QString& relative) { return TestEnvironment::dataHome() + u'/' + relative; };
const auto Config = [](const QString& relative) { return TestEnvironment::configHome() + u'/' + relative; };

const QByteArray UserUca =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<actions>\n"
    "<action>\n\t<name>Mine &amp; yours</name>\n\t<unique-id>2-2</unique-id>\n"
    "\t<command>echo  %f</command>\n\t<patterns>*.txt;*.md</patterns>\n\t<text-files/>\n"
    "</action>\n"
    "<action>\n\t<name>Zip</name>\n\t<unique-id>3-3</unique-id>\n\t<command>zip %N</command>\n"
    "\t<patterns>*</patterns>\n\t<other-files/>\n</action>\n"
    "</actions>\n";
} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT
    const QString Uca = Config(u"Thunar/uca.xml"_s);
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
        for (const char* name : {"dolphin", "nautilus", "nemo", "caja", "thunar", "pcmanfm-qt"})
            install(QLatin1String(name));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_system.path()));
    }
    // The file managers on PATH are the test's own: desktop-file-validate is called by its full path.
    void init()
    {
        QDir(TestEnvironment::dataHome()).removeRecursively();
        QDir(TestEnvironment::configHome()).removeRecursively();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(TestEnvironment::configHome()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(TestEnvironment::dataHome()));
        qputenv("PATH", QFile::encodeName(m_bin.path()));
    }
    void cleanupTestCase() { qputenv("PATH", "/usr/bin:/bin"); }

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
        QSignalSpy change(m_relay, &CommandRelay::Change);

        // The private runtime folder keeps other users away from the socket ...
        QCOMPARE(handOverAsNobody(), 2);

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
        const int answer = handOverAsNobody();
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
        QCOMPARE(PathBytes::readable(path), readable);
        // One character for each byte that is not text, U+DC00 + the byte.
        QCOMPARE(path.size(), readable.size());
        QCOMPARE(path.contains(QChar(0xDCE9)), bytes.contains('\xE9'));
    }

    // Writes to values the program does not map change nothing, and what it does not map reads empty.
    void startMenuIsTheApplicationsFolderAndFitsItsBuffer()
    {
        writeValue(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, u"Other"_s, u"/x"_s);
        writeValue(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, u"Vanisto"_s, u"/x"_s, u"far"_s);
        writeValue(Root::HKEY_CURRENT_USER, Registry::ShellFoldersKey, u"Start Menu"_s, u"/x"_s);
        QVERIFY(!QFileInfo::exists(AutostartEntry::filePath()));
        // An unknown key or value, the wrong root, a remote computer, the run entries: all read empty.
        const std::tuple<Root, QString, QString, QString> unmapped[] = {
            {Root::HKEY_CURRENT_USER, u"Software\\Nobody"_s, u"x"_s, {}},
            {Root::HKEY_CURRENT_USER, Registry::ShellFoldersKey, u"Desktop"_s, {}},
            {Root::HKEY_LOCAL_MACHINE, Registry::ShellFoldersKey, u"Start Menu"_s, {}},
            {Root::HKEY_CURRENT_USER, Registry::ShellFoldersKey, u"Start Menu"_s, u"far"_s},
            {Root::HKEY_LOCAL_MACHINE, Registry::RunKey, u"Vanisto"_s, {}},
            {Root::HKEY_LOCAL_MACHINE, Registry::RunServicesKey, u"Vanisto"_s, {}}};
        for (const auto& [root, key, value, computer] : unmapped)
            QCOMPARE(Registry::ReadValue(root, key, value, computer), QVariant(QString()));
        QCOMPARE(startMenu(), TestEnvironment::dataHome() + u"/applications"_s);
        // Key paths and value names are matched the way the registry matches them.
        QCOMPARE(
            readValue(Root::HKEY_CURRENT_USER, u'\\' + Registry::ShellFoldersKey.toUpper(), u"start menu"_s),
            startMenu());
        qputenv("XDG_DATA_HOME", "relative/share");
        QCOMPARE(startMenu(), QDir::homePath() + u"/.local/share/applications"_s);
        // 254 bytes of data fit the buffer with their NUL; 255 do not.
        for (const int size : {254, 255}) {
            const QString data = u"/tmp/"_s + QString(200, u'd') + QString(size - 218, u'e');
            qputenv("XDG_DATA_HOME", QFile::encodeName(data));
            QCOMPARE(startMenu(), size == 254 ? data + u"/applications"_s : QString());
        }
    }

    // Silent where its folder cannot be made; else any earlier entry yields to one valid entry, once.
    void startOnWinWritesOneValidEntryForTheRunningProgram()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(u"config"_s), "a file where a folder should be");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(u"config"_s)));
        QVERIFY(!Registry::CreateKey(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, QString()));
        StartOnWin();
        QCOMPARE(AutostartEntry::read(), QString());
        init();

        QVERIFY(IsWinNT());
        writeFile(AutostartEntry::filePath(),
                  "[Desktop Entry]\nType=Application\nName=Old\nExec = /old/vn10 --x\n[Other]\nExec=/no\n");
        QCOMPARE(AutostartEntry::read(), u"/old/vn10"_s);
        StartOnWin();
        StartOnWin();
        QCOMPARE(validatorComplaints(), QString());
        QCOMPARE(readFile(AutostartEntry::filePath()), AutostartEntry::text(AutostartEntry::read()).toUtf8());
        const QString program = readValue(Root::HKEY_LOCAL_MACHINE, u"\\"_s + Registry::RunKey, u"Vanisto"_s);
        // The tests are built beside vn10, so the entry must name the real executable.
        QCOMPARE(AutostartEntry::read(), program);
        QCOMPARE(program, QCoreApplication::applicationDirPath() + u"/vn10"_s);
        QCOMPARE(QFileInfo(program).canonicalFilePath(),
                 QFileInfo(TestEnvironment::binDir() + u"/vn10"_s).canonicalFilePath());
        QVERIFY(QFileInfo(program).isExecutable());
        QCOMPARE(ExecutablePath(u"/"_s), u"/vn10"_s);
        QCOMPARE(ExecutablePath(u"/opt/vanisto"_s), u"/opt/vanisto/vn10"_s);
    }

    void unusualPathsSurviveTheExecKey_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("blank") << u"/opt/My Programs/vn10"_s;
        QTest::newRow("percent") << u"/opt/100%u/vn10"_s;
        QTest::newRow("shell characters") << u"/opt/$HOME`x`\"q\"/vn10"_s;
        QTest::newRow("backslash") << u"/opt/back\\slash/vn10"_s;
        QTest::newRow("non-ASCII") << u"/opt/Programme für alle/vn10"_s;
    }

    void unusualPathsSurviveTheExecKey()
    {
        QFETCH(QString, path);
        writeValue(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, u"Vanisto"_s, path);
        QCOMPARE(validatorComplaints(), QString());
        QCOMPARE(readValue(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, u"VANISTO"_s), path);
    }

    void systemInfoToolFollowsTheDesktop_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("expected");
        const QStringList all{u"kinfocenter"_s, u"gnome-control-center"_s, u"hardinfo"_s,
                              u"xfce4-taskmanager"_s};
        QTest::newRow("KDE") << u"KDE"_s << all << u"kinfocenter"_s;
        QTest::newRow("GNOME") << u"ubuntu:GNOME"_s << all << u"gnome-control-center info-overview"_s;
        QTest::newRow("other desktop") << u"XFCE"_s << all << u"hardinfo"_s;
        QTest::newRow("KDE without its tool")
            << u"KDE"_s << QStringList{u"xfce4-taskmanager"_s} << u"xfce4-taskmanager"_s;
        QTest::newRow("none") << u"KDE"_s << QStringList() << QString();
    }

    void systemInfoToolFollowsTheDesktop()
    {
        QFETCH(QString, desktop);
        QFETCH(QStringList, installed);
        QFETCH(QString, expected);
        QTemporaryDir bin;
        for (const QString& program : installed)
            writeFile(bin.filePath(program), "#!/bin/sh\n", true);
        qputenv("PATH", QFile::encodeName(bin.path()));
        qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
        const QString tool = readValue(Root::HKEY_LOCAL_MACHINE, Registry::MsInfoKey, u"PATH"_s);
        QCOMPARE(tool, expected.isEmpty() ? QString() : bin.path() + QLatin1Char('/') + expected);
    }

    // Only the installed file managers get an entry; the scripts pass every selected name on as it is.
    void fileManagerEntriesPassTheSelectionByteForByteAndLeaveTheUsersOwn()
    {
        QFile::remove(m_bin.filePath(u"nautilus"_s));
        QFile::remove(m_bin.filePath(u"thunar"_s));
        QStringList problems;
        QCOMPARE(ShellMenuEntries::Install(Helper, &problems).size(), 4);
        QVERIFY(problems.isEmpty());
        QVERIFY(!QFileInfo::exists(Data(u"nautilus/scripts/Delete with Vanisto"_s)) &&
                !QFileInfo::exists(Uca));
        // Dolphin: a top-level entry, executable, passing the selection as separate arguments.
        const QString dolphin = Data(u"kio/servicemenus/vanisto.desktop"_s);
        QVERIFY(QFileInfo(dolphin).isExecutable());
        const QByteArray service = readFile(dolphin);
        QVERIFY(service.contains("X-KDE-Priority=TopLevel\n"));
        QVERIFY(service.contains("Name=Delete with Vanisto\nIcon=vanisto\n"));
        QVERIFY(service.contains("Exec=\"/opt/van isto/bin/vanisto-shellmenu\" %F\n"));
        // The formats that can ask first ask the helper.
        QVERIFY(
            readFile(Data(u"nemo/actions/vanisto.nemo_action"_s))
                .contains("Conditions=exec \"/opt/van isto/bin/vanisto-shellmenu\" --before-popup %F;\n"));
        QVERIFY(readFile(Data(u"file-manager/actions/vanisto.desktop"_s))
                    .contains("ShowIfTrue=\"/opt/van isto/bin/vanisto-shellmenu\" --before-popup %F\n"));
        // A second start changes nothing.
        QVERIFY(ShellMenuEntries::Install(Helper, &problems).isEmpty());
        install(u"nautilus"_s);
        install(u"thunar"_s);

        const QString record = m_bin.filePath(u"recorded"_s);
        const QString recorder =
            install(u"record"_s, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" +
                                     QFile::encodeName(record) + "'\n");
        ShellMenuEntries::Install(recorder, &problems);
        for (const QString& script : {Data(u"nautilus/scripts/Delete with Vanisto"_s),
                                      Config(u"caja/scripts/Delete with Vanisto"_s)}) {
            QVERIFY(QFileInfo(script).isExecutable());
            QFile::remove(record);
            // The shell passes the names' bytes, as the file manager does.
            QCOMPARE(
                QProcess::execute(u"/bin/sh"_s,
                                  {u"-c"_s, u"\"$0\" 'a;b' \"$(printf 'caf\\351')\" 'x \"y\"'"_s, script}),
                0);
            QCOMPARE(readFile(record), QByteArray("--\0a;b\0caf\xE9\0x \"y\"\0", 18));
        }
        QVERIFY(problems.isEmpty());

        // Remove takes out only what Install wrote; Thunar: the user's actions kept, the system's a start,
        // a broken file left alone.
        init();
        writeFile(Uca, UserUca);
        const QString mine = Data(u"nautilus/scripts/My own script"_s);
        writeFile(mine, "#!/bin/sh\n");
        const QStringList written = ShellMenuEntries::Install(Helper, &problems);
        QCOMPARE(written.size(), 6);
        const QByteArray merged = readFile(Uca);
        QVERIFY(merged.startsWith(UserUca.left(UserUca.lastIndexOf("</actions>"))));
        QVERIFY(merged.contains("<unique-id>vanisto-delete-with</unique-id>"));
        QVERIFY(merged.contains("<command>&apos;/opt/van isto/bin/vanisto-shellmenu&apos; %F</command>") ||
                merged.contains("<command>'/opt/van isto/bin/vanisto-shellmenu' %F</command>"));
        QVERIFY(ShellMenuEntries::Install(Helper, &problems).isEmpty());
        QCOMPARE(readFile(Uca), merged);
        ShellMenuEntries::Remove();
        QCOMPARE(readFile(Uca), UserUca);
        for (const QString& file : written)
            if (!file.endsWith(u"uca.xml"_s))
                QVERIFY2(!QFileInfo::exists(file), qPrintable(file));
        QVERIFY(QFileInfo::exists(mine));
        // A script of the user's own that happens to have the entry's name stays too.
        const QString namesake = Config(u"caja/scripts/Delete with Vanisto"_s);
        writeFile(namesake, "#!/bin/sh\nmy-own-shredder \"$@\"\n");
        ShellMenuEntries::Remove();
        QVERIFY(QFileInfo::exists(namesake));
        QVERIFY(problems.isEmpty());

        QFile::remove(Uca);
        writeFile(m_system.filePath(u"Thunar/uca.xml"_s), UserUca);
        ShellMenuEntries::Install(Helper, &problems);
        QVERIFY(readFile(Uca).contains("<unique-id>3-3</unique-id>"));
        QFile::remove(m_system.filePath(u"Thunar/uca.xml"_s));

        const QByteArray broken = "<actions><action><name>half";
        writeFile(Uca, broken);
        ShellMenuEntries::Install(Helper, &problems);
        QCOMPARE(readFile(Uca), broken);
        QCOMPARE(problems.size(), 1);
    }

private:
    // A program on the test's PATH: a file manager "installed" is an empty one.
    QString install(const QString& program, const QByteArray& script = "#!/bin/sh\n")
    {
        writeFile(m_bin.filePath(program), script, true);
        return m_bin.filePath(program);
    }

    QTemporaryDir m_bin;
    QTemporaryDir m_system;
};

VANISTO_TEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
