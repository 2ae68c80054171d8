#include "TestEnvironment.h"
#include "platform/AutostartEntry.h"
#include "platform/Registry.h"
#include "platform/StartOnWin.h"
#include "platform/SystemInfoTool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using Registry::Root;

namespace {
QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// desktop-file-validate's verdict on the entry on disk: its output, empty when valid.
QString validatorComplaints()
{
    QProcess validate;
    validate.start(QStringLiteral("desktop-file-validate"), {AutostartEntry::filePath()});
    if (!validate.waitForFinished(20000))
        return QStringLiteral("desktop-file-validate did not run");
    const QString output =
        QString::fromUtf8(validate.readAllStandardOutput() + validate.readAllStandardError());
    return validate.exitCode() == 0 && output.trimmed().isEmpty() ? QString() : output;
}

QString startMenu()
{
    return Registry::ReadValue(Root::HKEY_CURRENT_USER, Registry::ShellFoldersKey,
                               QStringLiteral("Start Menu"), QString())
        .toString();
}
} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QFile::remove(AutostartEntry::filePath());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(TestEnvironment::configHome()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(TestEnvironment::dataHome()));
    }

    void unmappedReadsAreEmpty_data()
    {
        QTest::addColumn<int>("root");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("computer");
        const int user = int(Root::HKEY_CURRENT_USER);
        const int machine = int(Root::HKEY_LOCAL_MACHINE);
        QTest::newRow("unknown key") << user << QStringLiteral("Software\\Nobody") << QStringLiteral("x")
                                     << QString();
        QTest::newRow("unknown value")
            << user << Registry::ShellFoldersKey << QStringLiteral("Desktop") << QString();
        QTest::newRow("wrong root") << machine << Registry::ShellFoldersKey << QStringLiteral("Start Menu")
                                    << QString();
        QTest::newRow("remote computer")
            << user << Registry::ShellFoldersKey << QStringLiteral("Start Menu") << QStringLiteral("far");
        QTest::newRow("run entry not written")
            << machine << Registry::RunKey << QStringLiteral("Vanisto") << QString();
        QTest::newRow("run services")
            << machine << Registry::RunServicesKey << QStringLiteral("Vanisto") << QString();
    }

    void unmappedReadsAreEmpty()
    {
        QFETCH(int, root);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, computer);
        const QVariant data = Registry::ReadValue(Root(root), key, value, computer);
        QCOMPARE(data.typeId(), QMetaType::QString);
        QCOMPARE(data.toString(), QString());
    }

    void startMenuIsTheApplicationsFolder()
    {
        QCOMPARE(startMenu(), TestEnvironment::dataHome() + QStringLiteral("/applications"));
        // Key paths and value names are matched the way the registry matches them.
        QCOMPARE(Registry::ReadValue(Root::HKEY_CURRENT_USER,
                                     QLatin1Char('\\') + Registry::ShellFoldersKey.toUpper(),
                                     QStringLiteral("start menu"), QString())
                     .toString(),
                 startMenu());
        qputenv("XDG_DATA_HOME", "relative/share");
        QCOMPARE(startMenu(), QDir::homePath() + QStringLiteral("/.local/share/applications"));
    }

    void longValuesReadAsMissing()
    {
        const QString base = QStringLiteral("/tmp/") + QString(QStringLiteral("d")).repeated(200);
        // 254 bytes of data fit the buffer with their NUL; 255 do not.
        qputenv("XDG_DATA_HOME", QFile::encodeName(base + QString(QLatin1Char('e')).repeated(254 - 218)));
        QCOMPARE(startMenu().size(), 254);
        qputenv("XDG_DATA_HOME", QFile::encodeName(base + QString(QLatin1Char('e')).repeated(255 - 218)));
        QCOMPARE(startMenu(), QString());
    }

    void startOnWinWritesAValidEntryForTheRunningProgram()
    {
        QVERIFY(IsWinNT());
        StartOnWin();
        QVERIFY(QFileInfo::exists(AutostartEntry::filePath()));
        QCOMPARE(validatorComplaints(), QString());
        const QString program =
            Registry::ReadValue(Root::HKEY_LOCAL_MACHINE, QStringLiteral("\\") + Registry::RunKey,
                                QStringLiteral("Vanisto"), QString())
                .toString();
        // The tests are built beside vn10, so the entry must name the real executable.
        QCOMPARE(program, QCoreApplication::applicationDirPath() + QStringLiteral("/vn10"));
        QCOMPARE(QFileInfo(program).canonicalFilePath(),
                 QFileInfo(TestEnvironment::binDir() + QStringLiteral("/vn10")).canonicalFilePath());
        QVERIFY(QFileInfo(program).isExecutable());
    }

    void startOnWinReplacesAnEarlierEntry()
    {
        QDir().mkpath(AutostartEntry::folder());
        writeFile(AutostartEntry::filePath(),
                  "[Desktop Entry]\nType=Application\nName=Old\nExec = /old/vn10 --x\n[Other]\nExec=/no\n");
        QCOMPARE(AutostartEntry::read(), QStringLiteral("/old/vn10"));
        StartOnWin();
        StartOnWin();
        QCOMPARE(AutostartEntry::read(), ExecutablePath(QCoreApplication::applicationDirPath()));
        QCOMPARE(readAll(AutostartEntry::filePath()), AutostartEntry::text(AutostartEntry::read()));
    }

    void startOnWinIsSilentWhenTheFolderCannotBeMade()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("config")), "a file where a folder should be");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
        QVERIFY(!Registry::CreateKey(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, QString()));
        StartOnWin();
        QCOMPARE(AutostartEntry::read(), QString());
    }

    void unusualPathsSurviveTheExecKey_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("blank") << QStringLiteral("/opt/My Programs/vn10");
        QTest::newRow("percent") << QStringLiteral("/opt/100%u/vn10");
        QTest::newRow("shell characters") << QStringLiteral("/opt/$HOME`x`\"q\"/vn10");
        QTest::newRow("backslash") << QStringLiteral("/opt/back\\slash/vn10");
        QTest::newRow("non-ASCII") << QStringLiteral("/opt/Programme für alle/vn10");
    }

    void unusualPathsSurviveTheExecKey()
    {
        QFETCH(QString, path);
        Registry::WriteValue(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, QStringLiteral("Vanisto"), path,
                             Registry::REG_SZ, QString());
        QCOMPARE(validatorComplaints(), QString());
        QCOMPARE(Registry::ReadValue(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, QStringLiteral("VANISTO"),
                                     QString())
                     .toString(),
                 path);
    }

    void otherWritesChangeNothing()
    {
        Registry::WriteValue(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, QStringLiteral("Other"),
                             QStringLiteral("/x"), Registry::REG_SZ, QString());
        Registry::WriteValue(Root::HKEY_LOCAL_MACHINE, Registry::RunKey, QStringLiteral("Vanisto"),
                             QStringLiteral("/x"), Registry::REG_SZ, QStringLiteral("far"));
        Registry::WriteValue(Root::HKEY_CURRENT_USER, Registry::ShellFoldersKey, QStringLiteral("Start Menu"),
                             QStringLiteral("/x"), Registry::REG_SZ, QString());
        QVERIFY(!QFileInfo::exists(AutostartEntry::filePath()));
        QCOMPARE(startMenu(), TestEnvironment::dataHome() + QStringLiteral("/applications"));
    }

    void executablePathHasOneSlash()
    {
        QCOMPARE(ExecutablePath(QStringLiteral("/")), QStringLiteral("/vn10"));
        QCOMPARE(ExecutablePath(QStringLiteral("/opt/vanisto")), QStringLiteral("/opt/vanisto/vn10"));
    }

    void systemInfoToolFollowsTheDesktop_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("expected");
        const QStringList all{QStringLiteral("kinfocenter"), QStringLiteral("gnome-control-center"),
                              QStringLiteral("hardinfo"), QStringLiteral("xfce4-taskmanager")};
        QTest::newRow("KDE") << QStringLiteral("KDE") << all << QStringLiteral("kinfocenter");
        QTest::newRow("GNOME") << QStringLiteral("ubuntu:GNOME") << all
                               << QStringLiteral("gnome-control-center info-overview");
        QTest::newRow("other desktop") << QStringLiteral("XFCE") << all << QStringLiteral("hardinfo");
        QTest::newRow("KDE without its tool")
            << QStringLiteral("KDE") << QStringList{QStringLiteral("xfce4-taskmanager")}
            << QStringLiteral("xfce4-taskmanager");
        QTest::newRow("none") << QStringLiteral("KDE") << QStringList() << QString();
    }

    void systemInfoToolFollowsTheDesktop()
    {
        QFETCH(QString, desktop);
        QFETCH(QStringList, installed);
        QFETCH(QString, expected);
        QTemporaryDir bin;
        for (const QString& program : installed) {
            writeFile(bin.filePath(program), "#!/bin/sh\n");
            QFile::setPermissions(bin.filePath(program), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        qputenv("XDG_CURRENT_DESKTOP", desktop.toUtf8());
        const QString tool = Registry::ReadValue(Root::HKEY_LOCAL_MACHINE, Registry::MsInfoKey,
                                                 QStringLiteral("PATH"), QString())
                                 .toString();
        qputenv("PATH", path);
        qunsetenv("XDG_CURRENT_DESKTOP");
        QCOMPARE(tool, expected.isEmpty() ? QString() : bin.path() + QLatin1Char('/') + expected);
    }
};

VANISTO_TEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
