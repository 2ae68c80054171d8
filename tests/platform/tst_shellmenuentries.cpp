#include "TestEnvironment.h"
#include "platform/ShellMenuEntries.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString Helper = QStringLiteral("/opt/van isto/bin/vanisto-shellmenu");

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QString Data(const QString& relative)
{
    return TestEnvironment::dataHome() + u'/' + relative;
}

QString Config(const QString& relative)
{
    return TestEnvironment::configHome() + u'/' + relative;
}

const QByteArray UserUca =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<actions>\n"
    "<action>\n\t<icon>utilities-terminal</icon>\n\t<name>Open Terminal Here</name>\n"
    "\t<unique-id>1-1</unique-id>\n\t<command>exo-open --launch TerminalEmulator</command>\n"
    "\t<patterns>*</patterns>\n\t<directories/>\n</action>\n"
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
private Q_SLOTS:
    void initTestCase()
    {
        // The file managers "installed" here are empty programs in a folder of their own.
        for (const char* name : {"dolphin", "nautilus", "nemo", "caja", "thunar", "pcmanfm-qt"}) {
            const QString path = m_bin.filePath(QLatin1String(name));
            Write(path, "#!/bin/sh\n");
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_system.path()));
    }
    void init()
    {
        QDir(TestEnvironment::dataHome()).removeRecursively();
        QDir(TestEnvironment::configHome()).removeRecursively();
        qputenv("PATH", QFile::encodeName(m_bin.path()));
    }
    void cleanupTestCase() { qputenv("PATH", "/usr/bin:/bin"); }

    void onlyTheInstalledFileManagersGetAnEntry()
    {
        QFile::remove(m_bin.filePath(QStringLiteral("nautilus")));
        QFile::remove(m_bin.filePath(QStringLiteral("thunar")));
        QStringList problems;
        const QStringList written = ShellMenuEntries::Install(Helper, &problems);
        QVERIFY(problems.isEmpty());
        QCOMPARE(written.size(), 4);
        QVERIFY(!QFileInfo::exists(Data(QStringLiteral("nautilus/scripts/Delete with Vanisto"))));
        QVERIFY(!QFileInfo::exists(Config(QStringLiteral("Thunar/uca.xml"))));
        // Dolphin: a top-level entry, executable, passing the selection as separate arguments.
        const QString dolphin = Data(QStringLiteral("kio/servicemenus/vanisto.desktop"));
        QVERIFY(QFileInfo(dolphin).isExecutable());
        const QByteArray service = Read(dolphin);
        QVERIFY(service.contains("X-KDE-Priority=TopLevel\n"));
        QVERIFY(service.contains("Name=Delete with Vanisto\nIcon=vanisto\n"));
        QVERIFY(service.contains("Exec=\"/opt/van isto/bin/vanisto-shellmenu\" %F\n"));
        // The formats that can ask first ask the helper.
        QVERIFY(
            Read(Data(QStringLiteral("nemo/actions/vanisto.nemo_action")))
                .contains("Conditions=exec \"/opt/van isto/bin/vanisto-shellmenu\" --before-popup %F;\n"));
        QVERIFY(Read(Data(QStringLiteral("file-manager/actions/vanisto.desktop")))
                    .contains("ShowIfTrue=\"/opt/van isto/bin/vanisto-shellmenu\" --before-popup %F\n"));
        // A second start changes nothing.
        QVERIFY(ShellMenuEntries::Install(Helper, &problems).isEmpty());
        Write(m_bin.filePath(QStringLiteral("nautilus")), "#!/bin/sh\n");
        QFile::setPermissions(m_bin.filePath(QStringLiteral("nautilus")), QFile::ReadOwner | QFile::ExeOwner);
        Write(m_bin.filePath(QStringLiteral("thunar")), "#!/bin/sh\n");
        QFile::setPermissions(m_bin.filePath(QStringLiteral("thunar")), QFile::ReadOwner | QFile::ExeOwner);
    }

    // The scripts hand every selected name on as it is, one argument each.
    void scriptsPassTheSelectionByteForByte()
    {
        const QString recorder = m_bin.filePath(QStringLiteral("record"));
        const QString record = m_bin.filePath(QStringLiteral("recorded"));
        Write(recorder, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" +
                            QFile::encodeName(record) + "'\n");
        QFile::setPermissions(recorder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QStringList problems;
        ShellMenuEntries::Install(recorder, &problems);
        for (const QString& script : {Data(QStringLiteral("nautilus/scripts/Delete with Vanisto")),
                                      Config(QStringLiteral("caja/scripts/Delete with Vanisto"))}) {
            QVERIFY(QFileInfo(script).isExecutable());
            QFile::remove(record);
            // The shell passes the names' bytes, as the file manager does.
            QCOMPARE(QProcess::execute(QStringLiteral("/bin/sh"),
                                       {QStringLiteral("-c"),
                                        QStringLiteral("\"$0\" 'a;b' \"$(printf 'caf\\351')\" 'x \"y\"'"),
                                        script}),
                     0);
            QCOMPARE(Read(record), QByteArray("--\0a;b\0caf\xE9\0x \"y\"\0", 18));
        }
    }

    // Thunar keeps the user's actions byte for byte; a missing file starts from the system's;
    // a broken one is left alone; removing restores the user's file.
    void thunarActionJoinsTheUsersOwn()
    {
        Write(Config(QStringLiteral("Thunar/uca.xml")), UserUca);
        QStringList problems;
        ShellMenuEntries::Install(Helper, &problems);
        const QByteArray merged = Read(Config(QStringLiteral("Thunar/uca.xml")));
        QVERIFY(merged.startsWith(UserUca.left(UserUca.lastIndexOf("</actions>"))));
        QVERIFY(merged.contains("<unique-id>vanisto-delete-with</unique-id>"));
        QVERIFY(merged.contains("<command>&apos;/opt/van isto/bin/vanisto-shellmenu&apos; %F</command>") ||
                merged.contains("<command>'/opt/van isto/bin/vanisto-shellmenu' %F</command>"));
        QVERIFY(ShellMenuEntries::Install(Helper, &problems).isEmpty());
        QCOMPARE(Read(Config(QStringLiteral("Thunar/uca.xml"))), merged);
        ShellMenuEntries::Remove();
        QCOMPARE(Read(Config(QStringLiteral("Thunar/uca.xml"))), UserUca);
        QVERIFY(problems.isEmpty());

        QFile::remove(Config(QStringLiteral("Thunar/uca.xml")));
        Write(m_system.filePath(QStringLiteral("Thunar/uca.xml")), UserUca);
        ShellMenuEntries::Install(Helper, &problems);
        QVERIFY(Read(Config(QStringLiteral("Thunar/uca.xml"))).contains("<unique-id>3-3</unique-id>"));
        QFile::remove(m_system.filePath(QStringLiteral("Thunar/uca.xml")));

        const QByteArray broken = "<actions><action><name>half";
        Write(Config(QStringLiteral("Thunar/uca.xml")), broken);
        ShellMenuEntries::Install(Helper, &problems);
        QCOMPARE(Read(Config(QStringLiteral("Thunar/uca.xml"))), broken);
        QCOMPARE(problems.size(), 1);
    }

    void removeTakesOutOnlyWhatInstallWrote()
    {
        const QString mine = Data(QStringLiteral("nautilus/scripts/My own script"));
        Write(mine, "#!/bin/sh\n");
        QStringList problems;
        const QStringList written = ShellMenuEntries::Install(Helper, &problems);
        QCOMPARE(written.size(), 6);
        ShellMenuEntries::Remove();
        for (const QString& file : written)
            if (!file.endsWith(QStringLiteral("uca.xml")))
                QVERIFY2(!QFileInfo::exists(file), qPrintable(file));
        QVERIFY(!Read(Config(QStringLiteral("Thunar/uca.xml"))).contains("vanisto"));
        QVERIFY(QFileInfo::exists(mine));
        // A script of the user's own that happens to have the entry's name stays too.
        const QString namesake = Config(QStringLiteral("caja/scripts/Delete with Vanisto"));
        Write(namesake, "#!/bin/sh\nmy-own-shredder \"$@\"\n");
        ShellMenuEntries::Remove();
        QVERIFY(QFileInfo::exists(namesake));
    }

private:
    QTemporaryDir m_bin;
    QTemporaryDir m_system;
};

VANISTO_TEST_GUILESS_MAIN(TestShellMenuEntries)
#include "tst_shellmenuentries.moc"
