#include "SkinTestKit.h"
#include "skin/ListScroll.h"
#include "skin/ProgressGeometry.h"
#include "skin/SkinGeometry.h"
#include "skin/SliderGeometry.h"
#include "skin/frmPics.h"

using namespace ProgressGeometry;
using namespace SliderGeometry;
using SkinTestKit::Row;

namespace {
// The painting steps as text: "place btnClose 56,11", "draw ImgFill 0,0", "outline".
QStringList Texts(const QList<SkinOp>& ops)
{
    static const char* const kinds[] = {"top", "icon", "place", "back", "draw", "outline"};
    QStringList steps;
    for (const SkinOp& op : ops) {
        QString step = QLatin1String(kinds[int(op.kind)]);
        if (!op.name.isEmpty())
            step += u' ' + op.name;
        if (op.kind == SkinOp::Kind::PlaceControl || op.kind == SkinOp::Kind::DrawImage)
            step += u" %1,%2"_s.arg(op.pos.x()).arg(op.pos.y());
        steps << step;
    }
    return steps;
}

QStringList Steps(const SkinWindow& w)
{
    return Texts(MakeWindowOps(w));
}

SkinWindow Window(int width, int height, const QString& name = QString(), int iconKind = 0)
{
    return {.width = width, .height = height, .name = name, .iconKind = iconKind};
}

SkinWindow MainWindow(int height, const QString& listState, int width = 485)
{
    SkinWindow w = Window(width, height, u"frmMainCode"_s, 5);
    w.listState = listState;
    w.btnShredWidth = 30;
    w.lblshredTop = 14;
    return w;
}

QStringList Matching(const QStringList& steps, const QString& pattern)
{
    return steps.filter(QRegularExpression(pattern));
}

// What follows the last `step`: the outline, corners and close button, then the main window's header.
QVariant After(const SkinWindow& w, const SkinOp& step)
{
    const QList<SkinOp> ops = MakeWindowOps(w);
    return Texts(ops.mid(ops.lastIndexOf(step) + 1)).join(u" | ");
}

// The filled part of a 200 x 20 bar; a refused value leaves nothing, not even a rectangle.
QVariant Bar(qint32 value, qint32 min, qint32 range, int orientation)
{
    QRect rect(1, 1, 1, 1);
    const bool drawn = FilledRect(value, min, range, orientation, 200, 20, &rect);
    return drawn || !rect.isNull() ? QVariant(rect) : QVariant();
}

void Rows(const char* what, const char* names, const std::function<QVariant(const QString&)>& got,
          const QVariant& want)
{
    for (const QString& name : QString::fromLatin1(names).split(u' '))
        QTest::addRow("%s %s", what, qPrintable(name)) << got(name) << want;
}

// A button has its four pictures, all of one size, and the hot one differs from the resting one.
QVariant Complete(const QString& windowDotControl)
{
    const QStringList parts = windowDotControl.split(u'.');
    const ButtonImages b = frmPics::ButtonFor(parts.at(0), parts.at(1));
    const QSize size = b.up.size();
    return !b.up.isNull() && b.hot.size() == size && b.down.size() == size && b.disabled.size() == size &&
           b.up.toImage() != b.hot.toImage();
}
} // namespace

class TestSkinGeometry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void frame_data()
    {
        SkinTestKit::Columns();
        Row("95 wide, 19-pixel tiles: the last at 95 lies outside", TileBound(95, 19), 5);
        Row("round(2.5) = 2", TileBound(250, 100), 2);
        Row("round(3.5) = 4", TileBound(350, 100), 4);
        Row("96 DPI", TwipsPerPixel(96), 15);
        Row("110 DPI rounds 13.09", TwipsPerPixel(110), 13);
        Row("no DPI known", TwipsPerPixel(0), 15);
        const char* const icons[] = {
            "", "imginformation", "imgquestion", "imgexclamation", "imgcritical", "ImgIcon", "ImgIcon"};
        for (int kind = -1; kind <= 6; ++kind)
            QTest::addRow("icon kind %d", kind)
                << QVariant(IconImageForKind(kind)) << QVariant(QLatin1String(icons[qMax(kind, 0)]));

        // Tiles from 0 to the rounded bound inclusive; the last ones reach past the window.
        const QStringList big = Steps(Window(600, 400, u"frmOptions"_s));
        Row("fill tiles", Matching(big, u"^draw ImgFill "_s).size(), 7 * 5);
        Row("top tiles", Matching(big, u"^draw imgTitle1 "_s).size(), 33);
        Row("left tiles", Matching(big, u"^draw imgWindowLeft "_s).size(), 14);
        Row("last tiles", Matching(big, u" (600,400|608,0|608,370|581,390)$"_s),
            QStringList{u"draw ImgFill 600,400"_s, u"draw imgTitle1 608,0"_s,
                        u"draw imgWindowBottom 608,370"_s, u"draw imgWindowRight 581,390"_s});
        const QStringList small = Steps(Window(95, 60));
        Row("top-most first, the icon left alone", small.mid(0, 3),
            QStringList{u"top"_s, u"back"_s, u"draw ImgFill 0,0"_s});
        Row("corners and close come last",
            After(Window(95, 60), {SkinOp::Kind::DrawImage, u"imgWindowRight"_s, QPoint(76, 60)}),
            u"outline | draw imgTitle0 0,0 | draw imgTitle2 76,0 | draw imgWindowBottomLeft 0,30 | "
            "draw imgWindowBottomRight 76,30 | place btnClose 56,11"_s);

        // The icon is set before anything is drawn, 200 twips in (100 on the main window).
        Row("dialog icon", Steps(Window(300, 150, u"frmDialog"_s, 4)).mid(1, 3),
            QStringList{u"icon imgcritical"_s, u"place ImgIcon 13,13"_s, u"back"_s});
        Row("main window icon", Steps(MainWindow(494, u"showlist"_s)).at(2), u"place ImgIcon 7,7"_s);
        Row("window name compared exactly", Steps(Window(300, 150, u"frmmaincode"_s, 5)).at(2),
            u"place ImgIcon 13,13"_s);

        // The header from the right edge: imgBar at (4995 - 1545 - 130) twips, then imgblack and btnShred.
        Row("main window header",
            After(MainWindow(120, u"hidelist"_s, 333), {SkinOp::Kind::Transparency, {}, {}}),
            u"draw imgTitle0 0,0 | draw imgTitle2 314,0 | draw imgWindowBottomLeft 0,90 | "
            "draw imgWindowBottomRight 314,90 | place btnClose 294,11 | draw imgBar 221,8 | "
            "draw imgblack 71,8 | place btnShred 41,8 | draw ImgIcon 7,7 | place BtnAbout 271,11 | "
            "place btnExpand 248,11 | place btnContract 248,11 | place pic1 225,11 | "
            "place btnBall 225,11 | place lblshred 85,14 | place bareditsmall 140,18"_s);
        // The logo shows with the list, except on the 46-pixel contracted bar; else the icon.
        const auto topLeft = [](int height, const QString& state) {
            return Matching(Steps(MainWindow(height, state)), u"^draw Img(Logo|Icon) "_s).join(u'|');
        };
        Row("list shown", topLeft(494, u"showlist"_s), u"draw ImgLogo 7,7"_s);
        Row("contracted bar", topLeft(46, u"showlist"_s), u"draw ImgIcon 7,7"_s);
        Row("47 is not the bar", topLeft(47, u"showlist"_s), u"draw ImgLogo 7,7"_s);
        Row("list hidden", topLeft(120, u"hidelist"_s), u"draw ImgIcon 7,7"_s);
        Row("state compared exactly", topLeft(494, u"ShowList"_s), u"draw ImgIcon 7,7"_s);

        // The frame's arithmetic counts on these sizes.
        const auto size = [](const QString& name) { return QVariant(frmPics::Picture(name).size()); };
        Rows("size", "ImgFill", size, QSize(100, 100));
        Rows("size", "imgTitle0 imgTitle1 imgTitle2 imgWindowBottom imgWindowLeft imgWindowRight", size,
             QSize(19, 30));
        Rows("size", "imgWindowBottomLeft imgWindowBottomRight", size, QSize(19, 30));
        Rows("size", "imgBar", size, QSize(103, 30));
        Rows("size", "imgblack", size, QSize(150, 30));
        Rows("size", "ImgLogo", size, QSize(160, 35));
        Rows("size", "ImgIcon imginformation imgquestion imgexclamation imgcritical", size, QSize(32, 32));
        const auto exists = [](const QString& name) { return QVariant(!frmPics::Picture(name).isNull()); };
        Rows("exists",
             "ImgOptionBar ImgOptionBarWhite ImgFrame imgFileFrame ImgDoNotShred imgShredNormal "
             "imgShredEnhanced imgShredUltra ImgInstant imgwipes ImgContext imgContainer imgAdFrame "
             "ImgAdOrange ImgAdGrey ImgIconOLD",
             exists, true);
        Rows("exists", "imgTitle", exists, false);
        const auto shape = [](const QString& name) {
            const QImage icon = frmPics::Picture(name).toImage();
            return QVariant(QVariantList{qAlpha(icon.pixel(0, 0)), qAlpha(icon.pixel(16, 16))});
        };
        Rows("see-through outside", "ImgIcon imginformation imgexclamation", shape, QVariantList{0, 255});

        Rows("complete",
             "frmMainCode.btnClose frmMainCode.BtnAbout frmMainCode.btnBall frmMainCode.btnCancel "
             "frmMainCode.btnContract frmMainCode.btnExpand frmMainCode.btnHide frmMainCode.btnNo "
             "frmMainCode.btnOptions frmMainCode.btnShow frmMainCode.btnShred frmMainCode.btnYes "
             "frmOptions.btnClose frmOptions.btnFastShred frmOptions.btnInstant frmOptions.btnSafeShred "
             "frmOptions.btnWipes frmOptions.cmdTutorial frmDialog.btnClose frmDialog.btnYes "
             "frmDialog.cmdOK frmDialog.cmdNo frmDialog.cmdCancel frmDialog.cmdSysInfo frmAbout.btnClose "
             "frmAbout.cmdOK frmAbout.cmdSysInfo frmAbout.cmdTutorial frmTutorial.btnClose "
             "frmTutorial.btnBack frmTutorial.btnNext frmTutorial.btnNo frmTutorial.btnOptions "
             "frmTutorial.btnYes frmAd.btnClose",
             Complete, true);
        Rows("complete", "frmAd.cmdOK", Complete, false);
        // The dialog's buttons are 1110 x 375 twips.
        const auto up = [](const QString& control) {
            return QVariant(frmPics::ButtonFor(u"frmDialog"_s, control).up.size());
        };
        Rows("frmDialog size", "cmdOK btnYes cmdNo cmdCancel cmdSysInfo", up, QSize(74, 25));
        Row("frmOptions size btnWipes", frmPics::ButtonFor(u"frmOptions"_s, u"btnWipes"_s).up.size(),
            QSize(32, 35));
    }
    void frame() { SKIN_COMPARE_ROW(); }

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

        Row("caption 1: the value", CaptionText(1, -5, -10, 100, u"custom"_s), u"-5"_s);
        Row("caption 2: Value, not Value - Min", CaptionText(2, 70, 20, 100, u"custom"_s), u"70%"_s);
        Row("caption 3", CaptionText(3, 50, 0, 100, u"custom"_s), u"50.0%"_s);
        Row("caption 4", CaptionText(4, 1, 0, 100, u"custom"_s), u"1.00%"_s);
        Row("caption 5: Value - Min", CaptionText(5, 70, 20, 100, u"custom"_s), u"50%"_s);
        Row("caption 7", CaptionText(7, 21, 20, 100, u"custom"_s), u"1.00%"_s);
        Row("caption 99: the custom text", CaptionText(99, 1, 0, 100, u"custom"_s), u"custom"_s);
        Row("caption 0: nothing", CaptionText(0, 50, 0, 100, u"custom"_s), QString());
        Row("caption 8: nothing", CaptionText(8, 50, 0, 100, u"custom"_s), QString());
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

VANISTO_TEST_GUI_MAIN(TestSkinGeometry)
#include "tst_skingeometry.moc"
