#include "TestEnvironment.h"
#include "skin/ListScroll.h"
#include "skin/ProgressGeometry.h"
#include "skin/SliderGeometry.h"

#include <QtTest>

class TestControlGeometry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Both lists: the Shred List shows 15 rows, the 'Do Not Shred' list 4 (and a fifth that
    // never scrolls into view on its own).
    void scrollerMaximum_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<bool>("moves");
        QTest::newRow("15 of 1") << 15 << 1 << 100 << false;
        QTest::newRow("15 of 16") << 15 << 16 << 100 << false;
        QTest::newRow("15 of 17") << 15 << 17 << 200 << true;
        QTest::newRow("15 of 20") << 15 << 20 << 500 << true;
        QTest::newRow("4 of 4") << 4 << 4 << 100 << false;
        QTest::newRow("4 of 5") << 4 << 5 << 100 << false;
        QTest::newRow("4 of 6") << 4 << 6 << 200 << true;
    }

    void scrollerMaximum()
    {
        QFETCH(int, rows);
        QFETCH(int, count);
        QFETCH(int, maximum);
        QFETCH(bool, moves);
        QCOMPARE(ScrollerMaximum(count, rows), maximum);
        QCOMPARE(ScrollerMovesList(count, rows), moves);
    }

    void listTop_data()
    {
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<int>("top");
        QTest::newRow("maximum shows the first row") << 500 << 500 << 20 << 0;
        QTest::newRow("zero shows the last rows") << 500 << 0 << 20 << -100;
        QTest::newRow("part steps round down") << 500 << 299 << 18 << -54;
        QTest::newRow("one step") << 200 << 100 << 17 << -17;
    }

    void listTop()
    {
        QFETCH(int, max);
        QFETCH(int, value);
        QFETCH(int, rowHeight);
        QFETCH(int, top);
        QCOMPARE(ListTop(max, value, rowHeight), top);
    }

    void filledRect_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QRect>("filled");
        QTest::newRow("half of 200 pixels") << 50 << 0 << 100 << 0 << QRect(0, 0, 100, 20);
        QTest::newRow("a third, rounded") << 1 << 0 << 3 << 0 << QRect(0, 0, 67, 20);
        QTest::newRow("half pixel to even: 0.5") << 1 << 0 << 400 << 0 << QRect(0, 0, 0, 20);
        QTest::newRow("half pixel to even: 1.5") << 3 << 0 << 400 << 0 << QRect(0, 0, 2, 20);
        QTest::newRow("with a minimum") << 70 << 20 << 100 << 0 << QRect(0, 0, 100, 20);
        QTest::newRow("above Max draws past the edge") << 150 << 0 << 100 << 0 << QRect(0, 0, 300, 20);
        QTest::newRow("vertical, full") << 100 << 0 << 100 << 1 << QRect(0, 0, 200, 20);
        QTest::newRow("vertical, a quarter from the bottom") << 25 << 0 << 100 << 1 << QRect(0, 15, 200, 5);
        QTest::newRow("vertical, empty") << 0 << 0 << 100 << 1 << QRect(0, 20, 200, 0);
        QTest::newRow("another orientation draws nothing") << 50 << 0 << 100 << 2 << QRect();
    }
    void filledRect()
    {
        QFETCH(int, value);
        QFETCH(int, min);
        QFETCH(int, range);
        QFETCH(int, orientation);
        QFETCH(QRect, filled);
        QRect rect;
        QVERIFY(ProgressGeometry::FilledRect(value, min, range, orientation, 200, 20, &rect));
        QCOMPARE(rect, filled);
    }

    void filledRectOverflows()
    {
        QRect rect;
        QVERIFY(!ProgressGeometry::FilledRect(2147483647, -2147483647, 1, 0, 200, 20, &rect));
        QVERIFY(!ProgressGeometry::FilledRect(1000000, 0, 1, 0, 200, 20, &rect)); // past a 16-bit width
        QVERIFY(rect.isNull());
    }

    void caption_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("min");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1: the value") << 1 << 50 << 0 << "50";
        QTest::newRow("1: negative value") << 1 << -5 << -10 << "-5";
        QTest::newRow("2: 0%") << 2 << 50 << 0 << "50%";
        QTest::newRow("3: 0.0%") << 3 << 50 << 0 << "50.0%";
        QTest::newRow("4: 0.00%") << 4 << 1 << 0 << "1.00%";
        QTest::newRow("2 uses Value, not Value - Min") << 2 << 70 << 20 << "70%";
        QTest::newRow("5 uses Value - Min") << 5 << 70 << 20 << "50%";
        QTest::newRow("6") << 6 << 45 << 20 << "25.0%";
        QTest::newRow("7") << 7 << 21 << 20 << "1.00%";
        QTest::newRow("99: the custom text") << 99 << 1 << 0 << "custom";
        QTest::newRow("0: nothing") << 0 << 50 << 0 << "";
        QTest::newRow("8: nothing") << 8 << 50 << 0 << "";
    }
    void caption()
    {
        QFETCH(int, format);
        QFETCH(int, value);
        QFETCH(int, min);
        QFETCH(QString, caption);
        QCOMPARE(ProgressGeometry::CaptionText(format, value, min, 100, QStringLiteral("custom")), caption);
    }

    void captionIsCentred()
    {
        QCOMPARE(ProgressGeometry::CaptionPosition(200, 20, 31, 15), QPoint(84, 2));
        QCOMPARE(ProgressGeometry::CaptionPosition(30, 10, 41, 15), QPoint(-5, -2)); // truncated towards zero
    }

    void valueFromVerticalThumb_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("snapped");
        QTest::newRow("bottom is Min") << 100 << 0 << 100;
        QTest::newRow("top is Max") << 0 << 10 << 0;
        QTest::newRow("middle") << 50 << 5 << 50;
        QTest::newRow("33 gives round(6.7) = 7") << 33 << 7 << 30;
        QTest::newRow("35 gives round(6.5) = 6, halves to even") << 35 << 6 << 40;
        QTest::newRow("25 gives round(7.5) = 8") << 25 << 8 << 20;
    }
    void valueFromVerticalThumb()
    {
        QFETCH(int, top);
        QFETCH(int, value);
        QFETCH(int, snapped);
        // Control 128 high, thumb 28: the thumb travels 100 pixels.
        QCOMPARE(SliderGeometry::ValueFromThumb(1, top, 128, 28, 0, 10), value);
        QCOMPARE(SliderGeometry::ThumbAlong(1, value, 0, 10, 128, 28), snapped);
    }

    void horizontalThumb()
    {
        QCOMPARE(SliderGeometry::ThumbAlong(0, 15, 10, 20, 120, 20), 25);
        QCOMPARE(SliderGeometry::ValueFromThumb(0, 25, 120, 20, 10, 20), 15);
        QCOMPARE(SliderGeometry::ValueFromThumb(0, 100, 120, 20, 10, 20), 30);
    }

    void thumbStaysOnTheRail()
    {
        QCOMPARE(SliderGeometry::ClampThumb(5, 10, 128, 28), 0);
        QCOMPARE(SliderGeometry::ClampThumb(60, 10, 128, 28), 50);
        QCOMPARE(SliderGeometry::ClampThumb(110, 10, 128, 28), 100);
        QCOMPARE(SliderGeometry::ClampThumb(500, 10, 128, 28), 100);
    }

    void thumbAcrossARailPicture()
    {
        QCOMPARE(SliderGeometry::AcrossOffset(0, 99, QSize(200, 20), QSize(10, 8)), 6);
        QCOMPARE(SliderGeometry::AcrossOffset(0, 99, QSize(200, 6), QSize(10, 8)), 0);
        QCOMPARE(SliderGeometry::AcrossOffset(0, 0, QSize(200, 20), QSize(10, 8)), 0);
        QCOMPARE(SliderGeometry::AcrossOffset(1, 99, QSize(21, 200), QSize(13, 28)), 4);
    }

    void railRect()
    {
        using Rail = SliderGeometry::Rail;
        QCOMPARE(SliderGeometry::RailRect(0, QSize(200, 15), QSize(11, 15)), (Rail{6, 8, 195, 8}));
        QCOMPARE(SliderGeometry::RailRect(1, QSize(13, 300), QSize(13, 28)), (Rail{6, 14, 6, 286}));
    }

    void edges()
    {
        const int expected[] = {10, 5, 2, 4, 0};
        for (int style = 0; style < 5; ++style)
            QCOMPARE(SliderGeometry::EdgeForRailStyle(style), expected[style]);
        QCOMPARE(SliderGeometry::EdgeForRailStyle(5), -1);
        QCOMPARE(SliderGeometry::EdgeForRailStyle(99), -1);
    }

    void valueTip()
    {
        const QRect control(100, 200, 13, 128);
        // Vertical: left of the thumb, centred on its height.
        QCOMPARE(SliderGeometry::ValueTipPosition(1, control, QPoint(0, 30), QSize(13, 28), QSize(14, 15)),
                 QPoint(80, 234));
        // Horizontal: above the thumb, centred on its width.
        QCOMPARE(SliderGeometry::ValueTipPosition(0, QRect(100, 200, 200, 15), QPoint(40, 0), QSize(11, 15),
                                                  QSize(14, 15)),
                 QPoint(136, 180));
        QCOMPARE(SliderGeometry::ValueTipSize(QSize(14, 15)), QSize(18, 18));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestControlGeometry)
#include "tst_controlgeometry.moc"
