#include "SkinTestKit.h"
#include "skin/ListScroll.h"
#include "skin/ProgressGeometry.h"
#include "skin/SliderGeometry.h"

using namespace ProgressGeometry;
using namespace SliderGeometry;
using SkinTestKit::Row;

namespace {
// The filled part of a 200 x 20 bar; a refused value leaves nothing, not even a rectangle.
QVariant Bar(qint32 value, qint32 min, qint32 range, int orientation)
{
    QRect rect(1, 1, 1, 1);
    const bool drawn = FilledRect(value, min, range, orientation, 200, 20, &rect);
    return drawn || !rect.isNull() ? QVariant(rect) : QVariant();
}

QVariant Caption(int format, qint32 value, qint32 min)
{
    return CaptionText(format, value, min, 100, u"custom"_s);
}
} // namespace

class TestControlGeometry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Rounding is half to even throughout, as the controls have always rounded.
    void arithmetic_data()
    {
        SkinTestKit::Columns();
        // The lists: 100 scroller units a row; the scroller at its maximum shows the first row.
        Row("4 rows of 4 scroll one step", ScrollerMaximum(4, 4), 100);
        Row("5 rows of 4 scroll one step", ScrollerMaximum(5, 4), 100);
        Row("6 rows of 4 scroll two", ScrollerMaximum(6, 4), 200);
        Row("5 rows of 4 keep the first shown", ScrollerMovesList(5, 4), false);
        Row("6 rows of 4 move", ScrollerMovesList(6, 4), true);
        Row("maximum shows the first row", ListTop(500, 500, 20), 0);
        Row("zero shows the last rows", ListTop(500, 0, 20), -100);
        Row("part steps round down", ListTop(500, 299, 18), -54);

        Row("bar 0.5 pixel to even", Bar(1, 0, 400, 0), QRect(0, 0, 0, 20));
        Row("bar 1.5 pixels to even", Bar(3, 0, 400, 0), QRect(0, 0, 2, 20));
        Row("bar from Min", Bar(70, 20, 100, 0), QRect(0, 0, 100, 20));
        Row("bar above Max draws past the edge", Bar(150, 0, 100, 0), QRect(0, 0, 300, 20));
        Row("vertical bar a quarter from the bottom", Bar(25, 0, 100, 1), QRect(0, 15, 200, 5));
        Row("vertical bar empty", Bar(0, 0, 100, 1), QRect(0, 20, 200, 0));
        Row("another orientation draws nothing", Bar(50, 0, 100, 2), QRect());
        Row("Value - Min past 32 bits", Bar(2147483647, -2147483647, 1, 0), QVariant());
        Row("bar past a 16-bit width", Bar(1000000, 0, 1, 0), QVariant());

        Row("caption 1: the value", Caption(1, -5, -10), u"-5"_s);
        Row("caption 2: Value, not Value - Min", Caption(2, 70, 20), u"70%"_s);
        Row("caption 3", Caption(3, 50, 0), u"50.0%"_s);
        Row("caption 4", Caption(4, 1, 0), u"1.00%"_s);
        Row("caption 5: Value - Min", Caption(5, 70, 20), u"50%"_s);
        Row("caption 7", Caption(7, 21, 20), u"1.00%"_s);
        Row("caption 99: the custom text", Caption(99, 1, 0), u"custom"_s);
        Row("caption 0: nothing", Caption(0, 50, 0), QString());
        Row("caption 8: nothing", Caption(8, 50, 0), QString());
        Row("caption centred", CaptionPosition(200, 20, 31, 15), QPoint(84, 2));
        Row("caption centred, truncated towards zero", CaptionPosition(30, 10, 41, 15), QPoint(-5, -2));

        // A vertical 13 x 128 slider with a 28-pixel thumb, values 0 to 10: 100 pixels of travel.
        Row("bottom is Min", ValueFromThumb(1, 100, 128, 28, 0, 10), 0);
        Row("top is Max", ValueFromThumb(1, 0, 128, 28, 0, 10), 10);
        Row("round(6.5) = 6", ValueFromThumb(1, 35, 128, 28, 0, 10), 6);
        Row("round(7.5) = 8", ValueFromThumb(1, 25, 128, 28, 0, 10), 8);
        Row("7 stands 30 from the top", ThumbAlong(1, 7, 0, 10, 128, 28), 30);
        Row("horizontal Min at the left", ThumbAlong(0, 15, 10, 20, 120, 20), 25);
        Row("horizontal value", ValueFromThumb(0, 25, 120, 20, 10, 20), 15);
        Row("thumb stops at the top", ClampThumb(5, 10, 128, 28), 0);
        Row("thumb follows its grab", ClampThumb(60, 10, 128, 28), 50);
        Row("thumb stops at the bottom", ClampThumb(500, 10, 128, 28), 100);
        Row("thumb centred across a taller rail", AcrossOffset(0, 99, QSize(200, 20), QSize(10, 8)), 6);
        Row("thumb at 0 on a lower rail", AcrossOffset(0, 99, QSize(200, 6), QSize(10, 8)), 0);
        Row("thumb at 0 without a rail picture", AcrossOffset(0, 0, QSize(200, 20), QSize(10, 8)), 0);
        Row("thumb centred across a wider rail", AcrossOffset(1, 99, QSize(21, 200), QSize(13, 28)), 4);
        Row("horizontal rail", QVariant::fromValue(RailRect(0, QSize(200, 15), QSize(11, 15))),
            QVariant::fromValue(Rail{6, 8, 195, 8}));
        Row("vertical rail", QVariant::fromValue(RailRect(1, QSize(13, 300), QSize(13, 28))),
            QVariant::fromValue(Rail{6, 14, 6, 286}));
        const int edges[] = {10, 5, 2, 4, 0, -1};
        for (int style = 0; style < 6; ++style)
            QTest::addRow("rail style %d", style)
                << QVariant(EdgeForRailStyle(style)) << QVariant(edges[style]);
        Row("tip left of a vertical thumb",
            ValueTipPosition(1, QRect(100, 200, 13, 128), QPoint(0, 30), QSize(13, 28), QSize(14, 15)),
            QPoint(80, 234));
        Row("tip above a horizontal thumb",
            ValueTipPosition(0, QRect(100, 200, 200, 15), QPoint(40, 0), QSize(11, 15), QSize(14, 15)),
            QPoint(136, 180));
        Row("tip around its label", ValueTipSize(QSize(14, 15)), QSize(18, 18));
    }
    void arithmetic() { SKIN_COMPARE_ROW(); }
};

VANISTO_TEST_GUILESS_MAIN(TestControlGeometry)
#include "tst_controlgeometry.moc"
