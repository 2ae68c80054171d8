#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/AutostartEntry.h"
#include "platform/Registry.h"
#include "platform/ShellMenuEntries.h"
#include "platform/StartOnWin.h"
#include "platform/SystemInfoTool.h"

using Registry::Root;

namespace {
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

QString read(Root root, const QString& key, const QString& value)
{
    return Registry::ReadValue(root, key, value, QString()).toString();
}

void write(Root root, const QString& key, const QString& value, const QString& data,
           const QString& computer = {})
{
    Registry::WriteValue(root, key, value, data, Registry::REG_SZ, computer);
}

QString startMenu()
{
    return read(Root::HKEY_CURRENT_USER, Registry::ShellFoldersKey, u"Start Menu"_s);
}
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

class TestRegistry : public QObject
{
    Q_OBJECT
    const QString Uca = Config(u"Thunar/uca.xml"_s);
private Q_SLOTS:
    void initTestCase()
    {
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

    void unmappedReadsAreEmpty_data()
    {
        QTest::addColumn<int>("root");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("computer");
        const int user = int(Root::HKEY_CURRENT_USER);
        const int machine = int(Root::HKEY_LOCAL_MACHINE);
        QTest::newRow("unknown key") << user << u"Software\\Nobody"_s << u"x"_s << QString();
        QTest::newRow("unknown value") << user << Registry::ShellFoldersKey << u"Desktop"_s << QString();
        QTest::newRow("wrong root") << machine << Registry::ShellFoldersKey << u"Start Menu"_s << QString();
        QTest::newRow("remote computer") << user << Registry::ShellFoldersKey << u"Start Menu"_s << u"far"_s;
        QTest::newRow("run entry not written") << machine << Registry::RunKey << u"Vanisto"_s << QString();
        QTest::newRow("run services") << machine << Registry::RunServicesKey << u"Vanisto"_s << QString();
    }

    void unmappedReadsAreEmpty()
    {
        QFETCH(int, root);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, computer);
        QCOMPARE(Registry::ReadValue(Root(root), key, value, computer), QVariant(QString()));
    }

    // Writes to values the program does not map change nothing.
    void startMenuIsTheApplicationsFolderAndFitsItsBuffer()
    {
        write(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, u"Other"_s, u"/x"_s);
        write(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, u"Vanisto"_s, u"/x"_s, u"far"_s);
        write(Root::HKEY_CURRENT_USER, Registry::ShellFoldersKey, u"Start Menu"_s, u"/x"_s);
        QVERIFY(!QFileInfo::exists(AutostartEntry::filePath()));
        QCOMPARE(startMenu(), TestEnvironment::dataHome() + u"/applications"_s);
        // Key paths and value names are matched the way the registry matches them.
        QCOMPARE(read(Root::HKEY_CURRENT_USER, u'\\' + Registry::ShellFoldersKey.toUpper(), u"start menu"_s),
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
        const QString program = read(Root::HKEY_LOCAL_MACHINE, u"\\"_s + Registry::RunKey, u"Vanisto"_s);
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
        write(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, u"Vanisto"_s, path);
        QCOMPARE(validatorComplaints(), QString());
        QCOMPARE(read(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, u"VANISTO"_s), path);
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
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
        const QString tool = read(Root::HKEY_LOCAL_MACHINE, Registry::MsInfoKey, u"PATH"_s);
        qputenv("PATH", path);
        qunsetenv("XDG_CURRENT_DESKTOP");
        QCOMPARE(tool, expected.isEmpty() ? QString() : bin.path() + QLatin1Char('/') + expected);
    }

    // Only the installed file managers get an entry; the scripts pass every selected name on as it is.
    void onlyTheInstalledFileManagersGetAnEntryAndPassTheSelectionByteForByte()
    {
        QFile::remove(m_bin.filePath(u"nautilus"_s));
        QFile::remove(m_bin.filePath(u"thunar"_s));
        QStringList problems;
        const QStringList written = ShellMenuEntries::Install(Helper, &problems);
        QVERIFY(problems.isEmpty());
        QCOMPARE(written.size(), 4);
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
    }

    // Remove takes out only what Install wrote; Thunar: the user's actions kept, the system's a start,
    // a broken file left alone.
    void thunarActionJoinsTheUsersOwn()
    {
        writeFile(Uca, UserUca);
        const QString mine = Data(u"nautilus/scripts/My own script"_s);
        writeFile(mine, "#!/bin/sh\n");
        QStringList problems;
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

VANISTO_TEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
