#include "EngineTestKit.h"

class TestModShred : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    FakeRunWindow w;

    QString file(const QString& name)
    {
        return writeTree(m_dir.path(), {name}, seededBytes(20000, 7)) ? m_dir.filePath(name) : QString();
    }

private Q_SLOTS:
    void init()
    {
        w = FakeRunWindow();
        Shared().NumOverwrite = Shared().FastShred = Shared().PromptSafeFiles = 1;
        Shared().SafeFolders.clear();
    }

    // A listed folder protects anywhere in a path, in any case (an empty one nowhere); locked: said last.
    void protectedAndLockedItemsAreWarnedAbout_data()
    {
        QTest::addColumn<int>("promptFlag");
        QTest::addColumn<bool>("modify");
        QTest::addColumn<QStringList>("calls");
        const QStringList tips{u"tip Cancel"_s, u"tip Shred now"_s};
        const QStringList locked{u"LockedFilesWarning"_s, u"ClearAll(true)"_s};
        QTest::newRow("warning, keep the list")
            << 1 << false << tips + QStringList{u"DoNotShredWarning"_s, u"ClearAll(true)"_s} + locked;
        QTest::newRow("warning, modify the list")
            << 1 << true << tips + QStringList{u"DoNotShredWarning"_s} + locked;
        QTest::newRow("warning switched off")
            << 0 << false << tips + QStringList{u"ClearAll(true)"_s} + locked;
    }
    void protectedAndLockedItemsAreWarnedAbout()
    {
        QFETCH(int, promptFlag);
        QFETCH(bool, modify);
        QFETCH(QStringList, calls);
        Shared().PromptSafeFiles = qint16(promptFlag);
        Shared().SafeFolders = {QString(), u"/srv"_s, u"/keep"_s};
        w.modifyAnswer = modify;
        const QStringList items{file(u"keep/one"_s), m_dir.filePath(u"vanished"_s), file(u"plain"_s),
                                file(u"KEEP/two"_s), file(u"keeper/three"_s),       file(u"locked"_s)};
        QVERIFY2(TestFiles::setImmutable(items[5], true), "cannot make the file immutable (needs root)");
        w.add(items);
        StartShred(w);
        QVERIFY(TestFiles::setImmutable(items[5], false));
        QVERIFY(exists(items[0]) && exists(items[3]) && exists(items[4]) && exists(items[5]));
        QVERIFY(!exists(items[2]));
        QVERIFY(Shared().SafeItemsRemoved && Shared().LockedFilesFound);
        QCOMPARE(w.ListCount(), 0);
        QCOMPARE(w.calls.removeAll(u"shrink"_s), 1);
        QCOMPARE(w.calls, calls);
        QCOMPARE(w.caption(Caption::lblstatus), RunCaption::Stopped);
    }

    // A Cancel between files completes at once; the ball and the online check pause for the run.
    void stopBetweenFilesCompletesAtOnce()
    {
        w.shown.insert(RunControl::pic1);
        w.timers = {{RunTimer::Timer1, 20}, {RunTimer::CheckOnline, 5000}};
        const QStringList files{file(u"1"_s), file(u"2"_s), file(u"3"_s)};
        w.add(files);
        QList<int> during;
        bool stopped = false;
        w.onYield = [&] {
            if (during.isEmpty() && w.caption(Caption::lblstatus2) == RunCaption::Shredding)
                during << w.TimerInterval(RunTimer::Timer1) << w.TimerInterval(RunTimer::CheckOnline)
                       << int(w.ControlVisible(RunControl::pic1))
                       << int(w.ControlVisible(RunControl::btnCancel))
                       << int(w.ControlVisible(RunControl::btnOptions));
            if (!stopped && w.caption(Caption::lblstatus) == RunCaption::Done &&
                w.caption(Caption::lblstatus2) == RunCaption::Done) {
                stopped = true;
                StopShred(w);
            }
        };
        StartShred(w);
        QCOMPARE(during, (QList<int>{0, 0, 0, 1, 0}));
        QVERIFY(!exists(files[0]) && exists(files[1]) && exists(files[2]));
        QCOMPARE(w.ListCount(), 2);
        QCOMPARE(w.ItemCount(), 2);
        QCOMPARE(w.caption(Caption::Label1), u"2 items"_s);
        QCOMPARE(w.caption(Caption::lblshred), u"Shred :2 items"_s);
        QVERIFY(w.ControlVisible(RunControl::btnShow));
        QCOMPARE(w.TimerInterval(RunTimer::Timer1), 20);
        QCOMPARE(w.TimerInterval(RunTimer::CheckOnline), 30000);
        QVERIFY(w.ControlVisible(RunControl::pic1) && !w.ControlVisible(RunControl::btnCancel));
    }

    void noSecondRunWhileTheFirstUnwinds()
    {
        const QStringList files{file(u"tree/1"_s), file(u"tree/2"_s), file(u"tree/3"_s)};
        const QString after = file(u"after"_s);
        w.add({m_dir.filePath(u"tree"_s)}, u"DIR"_s);
        w.add({after});
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
        QVERIFY(restarted && !exists(files[0]) && exists(files[1]) && exists(files[2]) && exists(after));
        QCOMPARE(w.ListCount(), 1);
        QCOMPARE(w.ListText(0), after);
    }
};

VANISTO_TEST_GUILESS_MAIN(TestModShred)
#include "tst_modshred.moc"
