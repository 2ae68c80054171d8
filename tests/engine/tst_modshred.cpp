#include "TestEnvironment.h"

#include "FakeRunWindow.h"
#include "TestFiles.h"
#include "common/SharedState.h"
#include "engine/ShredRunWindow.h"
#include "engine/modShred.h"

#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

class TestModShred : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void isSafeLocation_data();
    void isSafeLocation();
    void protectedItemsAreWarnedAboutOnce_data();
    void protectedItemsAreWarnedAboutOnce();
    void idleWorkPausesForTheRun();
    void lockedFileIsReportedAndTheListCleared();
    void stopBetweenFilesCompletesAtOnce();
    void noSecondRunWhileTheFirstUnwinds();

private:
    QString file(const QString& name);
    QTemporaryDir m_dir;
};

void TestModShred::init()
{
    SharedState& state = Shared();
    state.NumOverwrite = 1;
    state.FastShred = 1;
    state.PromptSafeFiles = 1;
    state.SafeFolders.clear();
    state.ListState = QStringLiteral("hidelist");
}

QString TestModShred::file(const QString& name)
{
    const QString path = m_dir.path() + QLatin1Char('/') + name;
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    writeFile(path, seededBytes(20000, 7));
    return path;
}

void TestModShred::isSafeLocation_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("safe");
    const QStringList docs{QStringLiteral("/home/ann/Docs")};
    QTest::newRow("below") << docs << QStringLiteral("/home/ann/Docs/a.txt") << true;
    QTest::newRow("the folder itself") << docs << QStringLiteral("/home/ann/Docs") << true;
    QTest::newRow("letter case ignored") << docs << QStringLiteral("/HOME/ANN/docs/x") << true;
    QTest::newRow("a longer name matches too") << docs << QStringLiteral("/home/ann/Docs2/a.txt") << true;
    QTest::newRow("anywhere in the path") << docs << QStringLiteral("/backup/home/ann/Docs/a") << true;
    QTest::newRow("elsewhere") << docs << QStringLiteral("/home/ann/Music/a.ogg") << false;
    QTest::newRow("empty list") << QStringList() << QStringLiteral("/home/ann/Docs/a.txt") << false;
    QTest::newRow("second entry") << QStringList{QStringLiteral("/srv"), QStringLiteral("/tmp/keep")}
                                  << QStringLiteral("/tmp/keep/me") << true;
    QTest::newRow("an empty entry protects nothing")
        << QStringList{QString()} << QStringLiteral("/tmp/a") << false;
}

void TestModShred::isSafeLocation()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, path);
    QFETCH(bool, safe);
    Shared().SafeFolders = folders;
    QCOMPARE(IsSafeLocation(path), safe);
}

void TestModShred::protectedItemsAreWarnedAboutOnce_data()
{
    QTest::addColumn<int>("promptFlag");
    QTest::addColumn<bool>("modify");
    QTest::addColumn<QStringList>("calls");
    const QStringList tips{QStringLiteral("tip Cancel"), QStringLiteral("tip Shred now")};
    QTest::newRow("warning, keep the list")
        << 1 << false
        << tips + QStringList{QStringLiteral("DoNotShredWarning"), QStringLiteral("ClearAll(true)")};
    QTest::newRow("warning, modify the list")
        << 1 << true << tips + QStringList{QStringLiteral("DoNotShredWarning")};
    QTest::newRow("warning switched off")
        << 0 << false << tips + QStringList{QStringLiteral("ClearAll(true)")};
}

void TestModShred::protectedItemsAreWarnedAboutOnce()
{
    QFETCH(int, promptFlag);
    QFETCH(bool, modify);
    QFETCH(QStringList, calls);
    Shared().PromptSafeFiles = qint16(promptFlag);
    Shared().SafeFolders = {m_dir.path() + QStringLiteral("/keep")};
    FakeRunWindow w;
    w.modifyAnswer = modify;
    const QString kept1 = file(QStringLiteral("keep/one"));
    const QString kept2 = file(QStringLiteral("KEEP/two"));
    const QString gone = file(QStringLiteral("plain"));
    w.add(kept1);
    w.add(m_dir.path() + QStringLiteral("/vanished"));
    w.add(gone);
    w.add(kept2);
    StartShred(w);
    QVERIFY(exists(kept1));
    QVERIFY(!exists(gone));
    QCOMPARE(exists(kept2), true);
    QVERIFY(Shared().SafeItemsRemoved);
    QCOMPARE(w.ListCount(), 0);
    QCOMPARE(w.calls.filter(QStringLiteral("shrink")).size(), 1);
    w.calls.removeAll(QStringLiteral("shrink"));
    QCOMPARE(w.calls, calls);
    QCOMPARE(w.caption(Caption::lblstatus), RunCaption::Stopped);
}

void TestModShred::idleWorkPausesForTheRun()
{
    FakeRunWindow w;
    w.shown.insert(RunControl::pic1);
    w.timers = {{RunTimer::Timer1, 20}, {RunTimer::CheckOnline, 5000}};
    w.add(file(QStringLiteral("a")));
    QList<int> during;
    w.onYield = [&] {
        if (during.isEmpty() && w.caption(Caption::lblstatus2) == RunCaption::Shredding)
            during << w.TimerInterval(RunTimer::Timer1) << w.TimerInterval(RunTimer::CheckOnline)
                   << int(w.ControlVisible(RunControl::pic1)) << int(w.ControlVisible(RunControl::btnCancel))
                   << int(w.ControlVisible(RunControl::btnOptions));
    };
    StartShred(w);
    QCOMPARE(during, (QList<int>{0, 0, 0, 1, 0}));
    QCOMPARE(w.TimerInterval(RunTimer::Timer1), 20);
    QCOMPARE(w.TimerInterval(RunTimer::CheckOnline), 30000);
    QVERIFY(w.ControlVisible(RunControl::pic1));
    QVERIFY(!w.ControlVisible(RunControl::btnCancel));
}

void TestModShred::lockedFileIsReportedAndTheListCleared()
{
    FakeRunWindow w;
    const QString locked = file(QStringLiteral("locked"));
    QVERIFY2(TestFiles::setImmutable(locked, true), "cannot make the file immutable (needs root)");
    const QString plain = file(QStringLiteral("plain"));
    w.add(locked);
    w.add(plain);
    StartShred(w);
    QVERIFY(TestFiles::setImmutable(locked, false));
    QVERIFY(exists(locked));
    QVERIFY(!exists(plain));
    QVERIFY(Shared().LockedFilesFound);
    QCOMPARE(w.calls.mid(w.calls.indexOf(QStringLiteral("LockedFilesWarning"))),
             (QStringList{QStringLiteral("LockedFilesWarning"), QStringLiteral("ClearAll(true)")}));
}

void TestModShred::stopBetweenFilesCompletesAtOnce()
{
    FakeRunWindow w;
    const QStringList files{file(QStringLiteral("1")), file(QStringLiteral("2")), file(QStringLiteral("3"))};
    for (const QString& f : files)
        w.add(f);
    // Cancel pressed while no file is in progress, after the first one has finished.
    bool stopped = false;
    w.onYield = [&] {
        if (!stopped && w.caption(Caption::lblstatus) == RunCaption::Done &&
            w.caption(Caption::lblstatus2) == RunCaption::Done) {
            stopped = true;
            StopShred(w);
        }
    };
    StartShred(w);
    QVERIFY(!exists(files[0]));
    QVERIFY(exists(files[1]) && exists(files[2]));
    QCOMPARE(w.ListCount(), 2);
    QCOMPARE(w.ItemCount(), 2);
    QCOMPARE(w.caption(Caption::Label1), QStringLiteral("2 items"));
    QCOMPARE(w.caption(Caption::lblshred), QStringLiteral("Shred :2 items"));
    QVERIFY(w.ControlVisible(RunControl::btnShow));
}

void TestModShred::noSecondRunWhileTheFirstUnwinds()
{
    FakeRunWindow w;
    const QString folder = m_dir.path() + QStringLiteral("/tree");
    const QStringList files{file(QStringLiteral("tree/1")), file(QStringLiteral("tree/2")),
                            file(QStringLiteral("tree/3"))};
    const QString after = file(QStringLiteral("after"));
    w.add(folder, QStringLiteral("DIR"));
    w.add(after);
    // Cancel during the first file of the walk, then Yes as soon as the stop has completed.
    bool cancelled = false;
    bool restarted = false;
    w.onYield = [&] {
        if (!cancelled && w.caption(Caption::lblstatus2) == RunCaption::Shredding) {
            cancelled = true;
            StopShred(w);
        } else if (cancelled && !restarted && w.caption(Caption::lblstatus) == RunCaption::Stopped) {
            restarted = true;
            StartShred(w);
        }
    };
    StartShred(w);
    QVERIFY(restarted);
    QVERIFY(!exists(files[0]));
    QVERIFY(exists(files[1]) && exists(files[2]));
    QVERIFY(exists(after));
    QCOMPARE(w.ListCount(), 1);
    QCOMPARE(w.ListText(0), after);
}

VANISTO_TEST_GUILESS_MAIN(TestModShred)
#include "tst_modshred.moc"
