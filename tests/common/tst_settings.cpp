#include "TestEnvironment.h"
#include "common/LogError.h"
#include "common/OptionSettings.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "platform/AppFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

#include <sys/stat.h>

namespace {
QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString productConf()
{
    return TestEnvironment::configHome() + QStringLiteral("/Vanisto/Vanisto.conf");
}
} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void missingKeysGiveTheTableDefaults();
    void loadWritesBackFiveKeysAsText();
    void unusableShredSettingsAreCorrected_data();
    void unusableShredSettingsAreCorrected();
    void unconvertibleValuesGiveDefaultsAndAreLogged_data();
    void unconvertibleValuesGiveDefaultsAndAreLogged();
    void twoKeysLiveUnderTheExecutableName();
    void theValueAlreadyStoredIsNotWrittenAgain();
    void logErrorWritesOneQuotedLine();
    void logErrorIsSilentWhenTheFolderCannotBeWritten();
};

void TestSettings::init()
{
    QDir(TestEnvironment::configHome()).removeRecursively();
    QDir(TestEnvironment::stateHome()).removeRecursively();
    Shared() = SharedState{};
}

void TestSettings::missingKeysGiveTheTableDefaults()
{
    const QString m = QStringLiteral("test");
    QCOMPARE(ReadLongSetting(Setting::NumOverwrite, m, m), 8);
    QCOMPARE(ReadIntegerSetting(Setting::FastShred, m, m), qint16(1));
    QCOMPARE(ReadBooleanSetting(Setting::ShredNow, m, m), false);
    QCOMPARE(ReadBooleanSetting(Setting::FirstStartEver, m, m), true);
    QCOMPARE(ReadBooleanSetting(Setting::PromptSafeFilesQuestion, m, m), true);
    QCOMPARE(ReadIntegerSetting(Setting::PromptSafeFiles, m, m), qint16(1));
    QCOMPARE(ReadStringSetting(Setting::ShowState), QStringLiteral("hidelist"));
    QCOMPARE(ReadStringSetting(Setting::SafeFiles), QString());
    QCOMPARE(ReadStringSetting(Setting::ShowUpgrade), QStringLiteral("1.0"));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4}$"))
                .match(ReadStringSetting(Setting::NewAnnouncementsDate))
                .hasMatch());
    // Reading creates nothing.
    QVERIFY(!QFile::exists(productConf()));
}

void TestSettings::loadWritesBackFiveKeysAsText()
{
    SaveSetting(QStringLiteral("Vanisto"), ConfigSection, Setting::ShredNow, QStringLiteral("true"));
    SaveSetting(QStringLiteral("Vanisto"), ConfigSection, Setting::ShowState, QStringLiteral("showlist"));
    LoadOptionSettings();

    QCOMPARE(Shared().ShredNow, true);
    QCOMPARE(Shared().ListState, QStringLiteral("showlist"));
    const QString conf = readFile(productConf());
    // Booleans as the words True and False, numbers in decimal, the layout as read.
    QVERIFY2(conf.contains(QStringLiteral("ShredNow=True\n")), qPrintable(conf));
    QVERIFY(conf.contains(QStringLiteral("NumOverwrite=8\n")));
    QVERIFY(conf.contains(QStringLiteral("FastShred=1\n")));
    QVERIFY(conf.contains(QStringLiteral("PromptSafeFiles=1\n")));
    QVERIFY(conf.contains(QStringLiteral("ShowState=showlist\n")));
    // Read but never written at load.
    QVERIFY(!conf.contains(QStringLiteral("PromptSafeFilesQuestion")));
    QVERIFY(!conf.contains(QStringLiteral("\nSafeFiles=")));
}

void TestSettings::unusableShredSettingsAreCorrected_data()
{
    QTest::addColumn<QString>("wipes");
    QTest::addColumn<QString>("method");
    QTest::addColumn<int>("wipesAfter");
    QTest::addColumn<int>("methodAfter");
    QTest::newRow("no wipes") << "0"
                              << "1" << 1 << 1;
    QTest::newRow("negative wipes") << "-5"
                                    << "1" << 1 << 1;
    QTest::newRow("unknown method") << "3"
                                    << "7" << 8 << 1;
    QTest::newRow("method zero") << "20"
                                 << "0" << 8 << 1;
    QTest::newRow("usable as stored") << "3"
                                      << "1" << 3 << 1;
}

void TestSettings::unusableShredSettingsAreCorrected()
{
    QFETCH(QString, wipes);
    QFETCH(QString, method);
    QFETCH(int, wipesAfter);
    QFETCH(int, methodAfter);
    SaveSetting(QStringLiteral("Vanisto"), ConfigSection, Setting::NumOverwrite, wipes);
    SaveSetting(QStringLiteral("Vanisto"), ConfigSection, Setting::FastShred, method);
    LoadOptionSettings();
    QCOMPARE(Shared().NumOverwrite, wipesAfter);
    QCOMPARE(Shared().FastShred, qint16(methodAfter));
    // Written back corrected, so the next reader finds usable values too.
    QCOMPARE(ReadLongSetting(Setting::NumOverwrite, QString(), QString()), wipesAfter);
    QCOMPARE(ReadIntegerSetting(Setting::FastShred, QString(), QString()), qint16(methodAfter));
}

void TestSettings::unconvertibleValuesGiveDefaultsAndAreLogged_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::newRow("wipes not a number") << Setting::NumOverwrite << QStringLiteral("abc");
    QTest::newRow("wipes beyond 32 bits") << Setting::NumOverwrite << QStringLiteral("99999999999");
    QTest::newRow("method beyond 16 bits") << Setting::FastShred << QStringLiteral("70000");
    QTest::newRow("instant shred not a Boolean") << Setting::ShredNow << QStringLiteral("maybe");
    QTest::newRow("question flag empty") << Setting::PromptSafeFilesQuestion << QString();
}

void TestSettings::unconvertibleValuesGiveDefaultsAndAreLogged()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    SaveSetting(QStringLiteral("Vanisto"), ConfigSection, key, stored);
    Shared().NumOverwrite = 3;
    Shared().FastShred = 3;
    Shared().ShredNow = true;
    Shared().PromptSafeFilesQuestion = false;

    LoadOptionSettings();

    QCOMPARE(Shared().NumOverwrite, 8);
    QCOMPARE(Shared().FastShred, qint16(1));
    QCOMPARE(Shared().ShredNow, false);
    QCOMPARE(Shared().PromptSafeFilesQuestion, true);
    const QString log = readFile(AppFolder::file(QStringLiteral("errlog.dat")));
    QCOMPARE(log.count(QStringLiteral("\r\n")), 1);
    QVERIFY(log.contains(QStringLiteral("frmMainCode:Form_Load Err Number = 13")));
}

void TestSettings::twoKeysLiveUnderTheExecutableName()
{
    SaveStringSetting(Setting::ShowUpgrade, QStringLiteral("1.5"));
    SaveStringSetting(Setting::NumOverwrite, QStringLiteral("12"));
    QCOMPARE(GetSetting(QStringLiteral("vn10"), ConfigSection, Setting::ShowUpgrade), QStringLiteral("1.5"));
    QCOMPARE(GetSetting(QStringLiteral("Vanisto"), ConfigSection, Setting::ShowUpgrade), QString());
    QVERIFY(readFile(TestEnvironment::configHome() + QStringLiteral("/vn10/vn10.conf"))
                .contains(QStringLiteral("ShowUpgrade=1.5")));
    QVERIFY(readFile(productConf()).contains(QStringLiteral("NumOverwrite=12")));
}

// A write replaces the file (a new inode); writing the stored value again leaves it as it is.
void TestSettings::theValueAlreadyStoredIsNotWrittenAgain()
{
    const auto inode = [] {
        struct stat info
        {
        };
        return ::stat(QFile::encodeName(productConf()).constData(), &info) == 0 ? info.st_ino : ino_t(0);
    };
    SaveBooleanSetting(Setting::FirstStartEver, false);
    const ino_t first = inode();
    QVERIFY(first != 0);
    SaveBooleanSetting(Setting::FirstStartEver, false);
    QCOMPARE(inode(), first);
    SaveBooleanSetting(Setting::FirstStartEver, true);
    QVERIFY(inode() != first);
    QVERIFY(readFile(productConf()).contains(QStringLiteral("FirstStartEver=True")));
}

void TestSettings::logErrorWritesOneQuotedLine()
{
    LogError(QStringLiteral("modShred"), QStringLiteral("ShredFile"), 70,
             QStringLiteral("Permission denied"));
    LogError(QStringLiteral("frmMainCode"), QStringLiteral("Form_Load"), 13, QStringLiteral("Type mismatch"));

    const QString log = readFile(TestEnvironment::stateHome() + QStringLiteral("/Vanisto/errlog.dat"));
    const QStringList lines = log.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.last(), QString());
    const QRegularExpression shape(QStringLiteral("^\"\\S+ .+ Err Source = vn10 modShred:ShredFile Err "
                                                  "Number = 70 Err Desc = Permission denied\\.\"$"));
    QVERIFY2(shape.match(lines.first()).hasMatch(), qPrintable(lines.first()));
    QVERIFY(lines.at(1).endsWith(
        QStringLiteral("frmMainCode:Form_Load Err Number = 13 Err Desc = Type mismatch.\"")));
    QCOMPARE(QFile::permissions(TestEnvironment::stateHome() + QStringLiteral("/Vanisto")) & 0x0077, 0);
}

void TestSettings::logErrorIsSilentWhenTheFolderCannotBeWritten()
{
    // A file where the application folder should be: nothing can be created inside it.
    QDir().mkpath(TestEnvironment::stateHome());
    QFile blocker(TestEnvironment::stateHome() + QStringLiteral("/Vanisto"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    LogError(QStringLiteral("modShred"), QStringLiteral("ShredFile"), 70,
             QStringLiteral("Permission denied"));
    QCOMPARE(QFileInfo(blocker.fileName()).size(), 0);
}

VANISTO_TEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
