#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/ShellMenuEntries.h"

namespace {
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

class TestShellMenuEntries : public QObject
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
    void init()
    {
        QDir(TestEnvironment::dataHome()).removeRecursively();
        QDir(TestEnvironment::configHome()).removeRecursively();
        qputenv("PATH", QFile::encodeName(m_bin.path()));
    }
    void cleanupTestCase() { qputenv("PATH", "/usr/bin:/bin"); }

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

VANISTO_TEST_GUILESS_MAIN(TestShellMenuEntries)
#include "tst_shellmenuentries.moc"
