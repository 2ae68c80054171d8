#include "TestEnvironment.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "options/OptionRules.h"

#include <QDir>
#include <QTest>

// The rules of the options window, with the settings read back after every step: the value the
// engine uses and the stored value must never disagree.
class TestOptionRules : public QObject
{
    Q_OBJECT

    static qint32 storedWipes() { return ReadLongSetting(Setting::NumOverwrite, QString(), QString()); }
    static qint16 storedMethod() { return ReadIntegerSetting(Setting::FastShred, QString(), QString()); }

private Q_SLOTS:
    void init()
    {
        QDir(TestEnvironment::configHome()).removeRecursively();
        Shared() = SharedState();
    }

    void fewerThanEightWipesResetTheMethod_data()
    {
        QTest::addColumn<int>("method");
        QTest::newRow("ULTRA") << 3;
        QTest::newRow("already NORMAL, the notice all the same") << 1;
    }
    void fewerThanEightWipesResetTheMethod()
    {
        QFETCH(int, method);
        Shared().FastShred = qint16(method);
        QString notice;
        QCOMPARE(OptionRules::SetWipes(Shared(), QStringLiteral("7"), &notice), QString());
        QVERIFY(notice.endsWith(QStringLiteral("The shred method has been reset to NORMAL.")));
        QCOMPARE(Shared().NumOverwrite, 7);
        QCOMPARE(Shared().FastShred, qint16(1));
        QCOMPARE(storedWipes(), 7);
        QCOMPARE(storedMethod(), qint16(1));

        QCOMPARE(OptionRules::SetWipes(Shared(), QStringLiteral("12"), &notice), QString());
        QVERIFY(notice.isEmpty());
        QCOMPARE(storedWipes(), 12);
    }

    void theMethodCycleRaisesTheWipes()
    {
        Shared().FastShred = 1;
        Shared().NumOverwrite = 3;
        QString notice;
        OptionRules::CycleMethod(Shared(), &notice);
        QCOMPARE(Shared().FastShred, qint16(2));
        QCOMPARE(notice,
                 QStringLiteral("The ENHANCED shred method requires a minimum of 8 wipes. The number of "
                                "wipes has been reset to 8."));
        QCOMPARE(storedWipes(), 8);
        OptionRules::CycleMethod(Shared(), &notice);
        QCOMPARE(Shared().FastShred, qint16(3));
        QVERIFY(notice.isEmpty());
        OptionRules::CycleMethod(Shared(), &notice);
        QCOMPARE(storedMethod(), qint16(1));
        QCOMPARE(Shared().NumOverwrite, 8);
        QCOMPARE(OptionRules::MethodText(Shared().FastShred), QStringLiteral("Shred Method is: NORMAL"));
    }

    void theWipesBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("applies");
        QTest::newRow("zero") << "0"
                              << "1" << true;
        QTest::newRow("a number") << "25"
                                  << "25" << true;
        QTest::newRow("empty") << ""
                               << "" << false;
        QTest::newRow("too large for 32 bits") << "99999999999"
                                               << "99999999999" << false;
    }
    void theWipesBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, applies);
        Shared().NumOverwrite = 9;
        QCOMPARE(OptionRules::CorrectedWipesBox(typed), shown);
        QString notice;
        QCOMPARE(OptionRules::SetWipes(Shared(), shown, &notice).isEmpty(), applies);
        // A number that cannot be taken changes nothing.
        QCOMPARE(Shared().NumOverwrite, applies ? shown.toInt() : 9);
    }

    void anUnknownStoredMethodIsCorrectedAtLoad()
    {
        Shared().FastShred = 7;
        Shared().NumOverwrite = 3;
        QVERIFY(OptionRules::CorrectAtLoad(Shared()));
        QCOMPARE(storedMethod(), qint16(1));
        QCOMPARE(storedWipes(), 8);
        Shared().FastShred = 3;
        Shared().NumOverwrite = 2;
        QVERIFY(OptionRules::CorrectAtLoad(Shared()));
        QCOMPARE(storedWipes(), 8);
        QVERIFY(!OptionRules::CorrectAtLoad(Shared()));
        QCOMPARE(Shared().FastShred, qint16(3));
    }

    void keyFilter()
    {
        for (const int key : {int(Qt::Key_0), int(Qt::Key_9), int(Qt::Key_Backspace), int(Qt::Key_Return)})
            QVERIFY(OptionRules::KeyPasses(key));
        for (const int key : {int(Qt::Key_A), int(Qt::Key_Minus), int(Qt::Key_Space), int(Qt::Key_Period)})
            QVERIFY(!OptionRules::KeyPasses(key));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestOptionRules)
#include "tst_optionrules.moc"
