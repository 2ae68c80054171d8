#include "TestEnvironment.h"
#include "common/LogError.h"
#include "common/OptionSettings.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "common/SmartSplit.h"
#include "platform/AppFolder.h"

#include <sys/stat.h>

#include <tuple>

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

    // Reading writes nothing; a load writes back five keys; an unchanged value is not written again.
    void storageAndLog()
    {
        QVERIFY(ReadBooleanSetting(Setting::FirstStartEver, QString(), QString()));
        QCOMPARE(ReadStringSetting(Setting::ShowState) + ReadStringSetting(Setting::ShowUpgrade),
                 u"hidelist1.0"_s);
        const QString date = ReadStringSetting(Setting::NewAnnouncementsDate); // a real date, zero-padded
        QCOMPARE(QDate::fromString(date, u"MM/dd/yyyy"_s).toString(u"MM/dd/yyyy"_s), date);
        QVERIFY(!QFile::exists(ProductConf()));

        Store(Setting::ShredNow, u"true"_s);
        Store(Setting::ShowState, u"showlist"_s);
        LoadOptionSettings();
        QCOMPARE(QVariantList({Shared().ShredNow, Shared().ListState}), QVariantList({true, u"showlist"_s}));
        QCOMPARE(ReadFile(ProductConf()).split(u'\n').filter(u"="_s),
                 QStringList({u"FastShred=1"_s, u"NumOverwrite=8"_s, u"PromptSafeFiles=1"_s,
                              u"ShowState=showlist"_s, u"ShredNow=True"_s}));

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

        SaveStringSetting(Setting::ShowUpgrade, u"1.5"_s);
        SaveStringSetting(Setting::NumOverwrite, u"12"_s);
        QCOMPARE(GetSetting(u"vn10"_s, ConfigSection, Setting::ShowUpgrade), u"1.5"_s);
        QCOMPARE(GetSetting(u"Vanisto"_s, ConfigSection, Setting::ShowUpgrade), QString());
        QCOMPARE(GetSetting(u"Vanisto"_s, ConfigSection, Setting::NumOverwrite), u"12"_s);

        // One quoted CR LF line each, in a private folder, none without one; a 101st piece is logged once.
        const QString folder = TestEnvironment::stateHome() + u"/Vanisto"_s;
        QStringList hundred;
        for (int i = 0; i < 100; ++i)
            hundred << QString::number(i);
        QCOMPARE(SmartSplit(hundred.join(u' ') + u' '), hundred);
        QVERIFY(!QFile::exists(folder + u"/errlog.dat"_s));
        QCOMPARE(SmartSplit(hundred.join(u' ') + u" extra1 extra2"_s), hundred);
        LogError(u"modShred"_s, u"ShredFile"_s, 70, u"Permission denied"_s);
        LogError(u"frmMainCode"_s, u"Form_Load"_s, 13, u"Type mismatch"_s);
        const QStringList lines = ReadFile(folder + u"/errlog.dat"_s).split(u"\r\n"_s);
        QCOMPARE(QVariantList({lines.size(), lines.last()}), QVariantList({4, QString()}));
        QVERIFY(lines.first().contains(u"modGeneral:SmartSplit Err Number = 9"_s));
        const QRegularExpression shape(u"^\"\\S+ .+ Err Source = vn10 modShred:ShredFile Err "
                                       "Number = 70 Err Desc = Permission denied\\.\"$"_s);
        QVERIFY2(shape.match(lines.at(1)).hasMatch(), qPrintable(lines.at(1)));
        QVERIFY(lines.at(2).endsWith(u"frmMainCode:Form_Load Err Number = 13 Err Desc = Type mismatch.\""_s));
        QCOMPARE(QFile::permissions(folder) & 0x0077, 0);
        QDir(folder).removeRecursively();
        QFile blocker(folder); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        LogError(u"modShred"_s, u"ShredFile"_s, 70, u"Permission denied"_s);
        QCOMPARE(QFileInfo(blocker.fileName()).size(), 0);
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

    void split_data()
    {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("want");
        Row("quoted path with a space", SmartSplit(u"\"/home/a/My Files\" /tmp/b"_s, u" "_s),
            "[/home/a/My Files][/tmp/b]");
        Row("runs of delimiters give no empty pieces", SmartSplit(u"  a   b "_s, u" "_s), "[a][b]");
        Row("stored folder list", SmartSplit(u"/home/u/Keep;/srv/data files;"_s, u";"_s),
            "[/home/u/Keep][/srv/data files]");
        Row("empty text gives one empty piece", SmartSplit(QString(), u" "_s), "[]");
        Row("only delimiters give one empty piece", SmartSplit(u";;;"_s, u";"_s), "[]");
        Row("only the delimiter's first character counts", SmartSplit(u"a;b c"_s, u";x"_s), "[a][b c]");
        Row("empty delimiter means a space", SmartSplit(u"a b"_s, QString()), "[a][b]");
        Row("quotes inside a piece group and vanish", SmartSplit(u"/tmp/\"a b\"/c d"_s, u" "_s),
            "[/tmp/a b/c][d]");
        Row("an unclosed quote takes the rest", SmartSplit(u"\"a b c"_s, u" "_s), "[a b c]");
        Row("a blank entry does not advance", SmartSplit(u"a; ;b"_s, u";"_s), "[a][ b]");
        Row("SplitString keeps a last empty piece", SplitString(u"/a;"_s), "[/a][]");
        Row("SplitString: quotes are not special", SplitString(u"\"/a;b\""_s), "[\"/a][b\"]");
        Row("SplitString of nothing", SplitString(QString()), "");
    }
    void split()
    {
        QFETCH(QString, got);
        QTEST(got, "want");
    }

private:
    static QString ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    static QString ProductConf() { return TestEnvironment::configHome() + u"/Vanisto/Vanisto.conf"_s; }
    static void Store(const QString& k, const QString& v) { SaveSetting(u"Vanisto"_s, ConfigSection, k, v); }

    // Stored options loaded: "wipes method instant question | as stored | log lines, load errors".
    static QString Load(const QString& stored)
    {
        for (const QString& pair : stored.split(u';'))
            Store(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        SharedState& s = Shared();
        std::tie(s.NumOverwrite, s.FastShred, s.ShredNow, s.PromptSafeFilesQuestion) =
            std::tuple(3, 3, true, false);
        LoadOptionSettings();
        const QString log = ReadFile(AppFolder::file(u"errlog.dat"_s));
        return QString::asprintf(
            "%d %d %d %d | %d %d | %d %d", s.NumOverwrite, s.FastShred, s.ShredNow, s.PromptSafeFilesQuestion,
            ReadLongSetting(Setting::NumOverwrite, QString(), QString()),
            ReadIntegerSetting(Setting::FastShred, QString(), QString()), int(log.count(u"\r\n"_s)),
            int(log.count(u"frmMainCode:Form_Load Err Number = 13 "_s)));
    }

    // Each piece in brackets, so that no piece and one empty piece read differently.
    static void Row(const char* name, const QStringList& got, const char* want)
    {
        QTest::newRow(name) << (got.isEmpty() ? QString() : u'[' + got.join(u"]["_s) + u']')
                            << QString::fromUtf8(want);
    }
};

VANISTO_TEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
