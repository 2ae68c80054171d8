#include "TestEnvironment.h"
#include "dialogs/DialogLayout.h"

#include <QtTest>

class TestDialogLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Lefts in twips in a 4785 wide dialog with 1110 wide buttons; a code the dialog does not know
    // gives OK alone, and the input box always OK and Cancel.
    void buttonPlaces_data()
    {
        QTest::addColumn<bool>("withInput");
        QTest::addColumn<qint32>("buttons");
        QTest::addColumn<QString>("expected");
        const QString ok = QStringLiteral("cmdOK 1837.5");
        QTest::newRow("1") << false << 1 << ok;
        QTest::newRow("2") << false << 2 << QStringLiteral("btnYes 1837.5");
        QTest::newRow("3") << false << 3 << QStringLiteral("cmdNo 1837.5");
        QTest::newRow("4") << false << 4 << QStringLiteral("btnYes 1282.5 cmdNo 2392.5");
        QTest::newRow("5") << false << 5 << ok;
        QTest::newRow("6") << false << 6 << QStringLiteral("cmdOK 1282.5 cmdCancel 2392.5");
        QTest::newRow("7") << false << 7 << QStringLiteral("cmdOK 1282.5 cmdSysInfo 2392.5");
        QTest::newRow("0") << false << 0 << ok;
        QTest::newRow("8") << false << 8 << ok;
        QTest::newRow("-1") << false << -1 << ok;
        QTest::newRow("input, 4") << true << 4 << QStringLiteral("cmdOK 1080 cmdCancel 2400");
    }

    void buttonPlaces()
    {
        QFETCH(bool, withInput);
        QFETCH(qint32, buttons);
        QStringList places;
        for (const PlacedButton& place : DialogButtonPlaces(withInput, buttons, 4785, 1110))
            places << place.name << QString::number(place.left);
        QTEST(places.join(u' '), "expected");
    }

    // A line of 13 pixels is 195 twips: 840 + 195 + 200, then 375 + 200 below; the input box
    // takes 560 more.
    void rows()
    {
        const DialogRows one = DialogLayOut(840, 195, 375, false);
        QCOMPARE(QList<int>({one.buttonTop, one.height}), QList<int>({1235, 1810}));
        const DialogRows input = DialogLayOut(840, 195, 375, true);
        QCOMPARE(QList<int>({input.inputTop, input.buttonTop, input.height}), QList<int>({1235, 1795, 2370}));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestDialogLayout)
#include "tst_dialoglayout.moc"
