#include "TestEnvironment.h"
#include "common/LogError.h"
#include "common/OptionSettings.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "platform/AppFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {
QString ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString ProductConf()
{
    return TestEnvironment::configHome() + u"/Vanisto/Vanisto.conf"_s;
}

void Store(const QString& key, const QString& value)
{
    SaveSetting(u"Vanisto"_s, ConfigSection, key, value);
}

// Stored options loaded: "wipes method instant question | as stored | log lines, load errors".
QString Load(const QString& stored)
{
    for (const QString& pair : stored.split(u';'))
        Store(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    SharedState& s = Shared();
    std::tie(s.NumOverwrite, s.FastShred, s.ShredNow, s.PromptSafeFilesQuestion) =
        std::tuple(3, 3, true, false);
    LoadOptionSettings();
    const QString log = ReadFile(AppFolder::file(u"errlog.dat"_s));
    return u"%1 %2 %3 %4 | %5 %6 | %7 %8"_s.arg(s.NumOverwrite)
        .arg(s.FastShred)
        .arg(int(s.ShredNow))
        .arg(int(s.PromptSafeFilesQuestion))
        .arg(ReadLongSetting(Setting::NumOverwrite, QString(), QString()))
        .arg(ReadIntegerSetting(Setting::FastShred, QString(), QString()))
        .arg(log.count(u"\r\n"_s))
        .arg(log.count(u"frmMainCode:Form_Load Err Number = 13 "_s));
}
} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QDir(TestEnvironment::configHome()).removeRecursively();
        QDir(TestEnvironment::stateHome()).removeRecursively();
        Shared() = SharedState{};
    }

    // The shred settings' defaults show in the load table below.
    void missingKeysGiveTheTableDefaults()
    {
        QVERIFY(ReadBooleanSetting(Setting::FirstStartEver, QString(), QString()));
        QCOMPARE(ReadStringSetting(Setting::ShowState) + ReadStringSetting(Setting::ShowUpgrade),
                 u"hidelist1.0"_s);
        QVERIFY(QRegularExpression(u"^\\d\\d/\\d\\d/\\d{4}$"_s)
                    .match(ReadStringSetting(Setting::NewAnnouncementsDate))
                    .hasMatch());
        QVERIFY(!QFile::exists(ProductConf())); // reading creates nothing
    }

    // True/False and decimals written back; the safe files and their question are never written at load.
    void loadWritesBackFiveKeysAsText()
    {
        Store(Setting::ShredNow, u"true"_s);
        Store(Setting::ShowState, u"showlist"_s);
        LoadOptionSettings();
        QCOMPARE(QVariantList({Shared().ShredNow, Shared().ListState}), QVariantList({true, u"showlist"_s}));
        QCOMPARE(ReadFile(ProductConf()).split(u'\n').filter(u"="_s),
                 QStringList({u"FastShred=1"_s, u"NumOverwrite=8"_s, u"PromptSafeFiles=1"_s,
                              u"ShowState=showlist"_s, u"ShredNow=True"_s}));
    }

    // Unusable values are corrected and written back; unconvertible ones give the default and a log line.
    void load_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("no wipes") << u"NumOverwrite=0"_s << u"1 1 0 1 | 1 1 | 0 0"_s;
        QTest::newRow("unknown method") << u"NumOverwrite=3;FastShred=7"_s << u"8 1 0 1 | 8 1 | 0 0"_s;
        QTest::newRow("method zero") << u"NumOverwrite=20;FastShred=0"_s << u"8 1 0 1 | 8 1 | 0 0"_s;
        QTest::newRow("usable as stored")
            << u"NumOverwrite=3;FastShred=2;ShredNow=True"_s << u"3 2 1 1 | 3 2 | 0 0"_s;
        QTest::newRow("wipes not a number") << u"NumOverwrite=abc"_s << u"8 1 0 1 | 8 1 | 1 1"_s;
        QTest::newRow("wipes beyond 32 bits") << u"NumOverwrite=99999999999"_s << u"8 1 0 1 | 8 1 | 1 1"_s;
        QTest::newRow("method beyond 16 bits") << u"FastShred=70000"_s << u"8 1 0 1 | 8 1 | 1 1"_s;
        QTest::newRow("instant shred not a Boolean") << u"ShredNow=maybe"_s << u"8 1 0 1 | 8 1 | 1 1"_s;
        QTest::newRow("question flag empty") << u"PromptSafeFilesQuestion="_s << u"8 1 0 1 | 8 1 | 1 1"_s;
    }
    void load()
    {
        QFETCH(QString, stored);
        QTEST(Load(stored), "loaded");
    }

    void twoKeysLiveUnderTheExecutableName()
    {
        SaveStringSetting(Setting::ShowUpgrade, u"1.5"_s);
        SaveStringSetting(Setting::NumOverwrite, u"12"_s);
        QCOMPARE(GetSetting(u"vn10"_s, ConfigSection, Setting::ShowUpgrade), u"1.5"_s);
        QCOMPARE(GetSetting(u"Vanisto"_s, ConfigSection, Setting::ShowUpgrade), QString());
        QCOMPARE(GetSetting(u"Vanisto"_s, ConfigSection, Setting::NumOverwrite), u"12"_s);
    }

    // A write replaces the file (a new inode); writing the stored value again leaves it as it is.
    void theValueAlreadyStoredIsNotWrittenAgain()
    {
        const auto inode = [] {
            struct stat info = {};
            return ::stat(QFile::encodeName(ProductConf()).constData(), &info) == 0 ? info.st_ino : ino_t(0);
        };
        SaveBooleanSetting(Setting::FirstStartEver, false);
        const ino_t first = inode();
        SaveBooleanSetting(Setting::FirstStartEver, false);
        QVERIFY(first != 0 && inode() == first);
        SaveBooleanSetting(Setting::FirstStartEver, true);
        QVERIFY(inode() != first && ReadFile(ProductConf()).contains(u"FirstStartEver=True"_s));
    }

    // One quoted line each, CR LF ended, in a folder only the user may enter; silent where none can be made.
    void logErrorWritesOneQuotedLine()
    {
        LogError(u"modShred"_s, u"ShredFile"_s, 70, u"Permission denied"_s);
        LogError(u"frmMainCode"_s, u"Form_Load"_s, 13, u"Type mismatch"_s);
        const QStringList lines =
            ReadFile(TestEnvironment::stateHome() + u"/Vanisto/errlog.dat"_s).split(u"\r\n"_s);
        QCOMPARE(QVariantList({lines.size(), lines.last()}), QVariantList({3, QString()}));
        const QRegularExpression shape(u"^\"\\S+ .+ Err Source = vn10 modShred:ShredFile Err "
                                       "Number = 70 Err Desc = Permission denied\\.\"$"_s);
        QVERIFY2(shape.match(lines.first()).hasMatch(), qPrintable(lines.first()));
        QVERIFY(lines.at(1).endsWith(u"frmMainCode:Form_Load Err Number = 13 Err Desc = Type mismatch.\""_s));
        QCOMPARE(QFile::permissions(TestEnvironment::stateHome() + u"/Vanisto"_s) & 0x0077, 0);
        QDir(TestEnvironment::stateHome() + u"/Vanisto"_s).removeRecursively();
        QFile blocker(TestEnvironment::stateHome() + u"/Vanisto"_s); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        LogError(u"modShred"_s, u"ShredFile"_s, 70, u"Permission denied"_s);
        QCOMPARE(QFileInfo(blocker.fileName()).size(), 0);
    }
};

VANISTO_TEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
