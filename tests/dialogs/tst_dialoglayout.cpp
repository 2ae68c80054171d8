#include "TestEnvironment.h"
#include "dialogs/DialogLayout.h"

#include <QtTest>

Q_DECLARE_METATYPE(QList<PlacedButton>)

namespace {
constexpr float Inner = 4785;
constexpr float ButtonWidth = 1110;
} // namespace

class TestDialogLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void buttonPlaces_data()
    {
        QTest::addColumn<bool>("withInput");
        QTest::addColumn<qint32>("buttons");
        QTest::addColumn<QList<PlacedButton>>("expected");
        // (4785 - 1110) / 2 and (4785 - 2220) / 2 keep their halves.
        const QList<PlacedButton> ok = {{QStringLiteral("cmdOK"), 1837.5f}};
        QTest::newRow("1 OK") << false << 1 << ok;
        QTest::newRow("2 Yes") << false << 2 << QList<PlacedButton>{{QStringLiteral("btnYes"), 1837.5f}};
        QTest::newRow("3 No") << false << 3 << QList<PlacedButton>{{QStringLiteral("cmdNo"), 1837.5f}};
        QTest::newRow("4 Yes No") << false << 4
                                  << QList<PlacedButton>{{QStringLiteral("btnYes"), 1282.5f},
                                                         {QStringLiteral("cmdNo"), 2392.5f}};
        QTest::newRow("5 OK") << false << 5 << ok;
        QTest::newRow("6 OK Cancel") << false << 6
                                     << QList<PlacedButton>{{QStringLiteral("cmdOK"), 1282.5f},
                                                            {QStringLiteral("cmdCancel"), 2392.5f}};
        QTest::newRow("7 OK System") << false << 7
                                     << QList<PlacedButton>{{QStringLiteral("cmdOK"), 1282.5f},
                                                            {QStringLiteral("cmdSysInfo"), 2392.5f}};
        QTest::newRow("0 OK") << false << 0 << ok;
        QTest::newRow("8 OK") << false << 8 << ok;
        QTest::newRow("99 OK") << false << 99 << ok;
        QTest::newRow("-1 OK") << false << -1 << ok;
        const QList<PlacedButton> input = {{QStringLiteral("cmdOK"), 1080.0f},
                                           {QStringLiteral("cmdCancel"), 2400.0f}};
        QTest::newRow("input ignores 4") << true << 4 << input;
        QTest::newRow("input ignores 1") << true << 1 << input;
    }

    void buttonPlaces()
    {
        QFETCH(bool, withInput);
        QFETCH(qint32, buttons);
        QFETCH(QList<PlacedButton>, expected);
        const QList<PlacedButton> places = DialogButtonPlaces(withInput, buttons, Inner, ButtonWidth);
        QCOMPARE(places.size(), expected.size());
        for (qsizetype i = 0; i < places.size(); ++i) {
            QCOMPARE(places[i].name, expected[i].name);
            QCOMPARE(places[i].left, expected[i].left);
        }
    }

    void rows_data()
    {
        QTest::addColumn<int>("messageHeight");
        QTest::addColumn<bool>("withInput");
        QTest::addColumn<int>("inputTop");
        QTest::addColumn<int>("buttonTop");
        QTest::addColumn<int>("height");
        // A line of 13 pixels is 195 twips: 840 + 195 + 200, then 375 + 200 below.
        QTest::newRow("one line") << 195 << false << 1235 << 1235 << 1810;
        QTest::newRow("four lines") << 780 << false << 1820 << 1820 << 2395;
        QTest::newRow("one line, input box") << 195 << true << 1235 << 1795 << 2370;
    }

    void rows()
    {
        QFETCH(int, messageHeight);
        QFETCH(bool, withInput);
        const DialogRows rows = DialogLayOut(840, messageHeight, 375, withInput);
        if (withInput)
            QTEST(rows.inputTop, "inputTop");
        QTEST(rows.buttonTop, "buttonTop");
        QTEST(rows.height, "height");
    }
};

VANISTO_TEST_GUILESS_MAIN(TestDialogLayout)
#include "tst_dialoglayout.moc"
