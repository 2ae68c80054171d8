#include "SkinTestKit.h"
#include "skin/SkinGeometry.h"

#include <QRegularExpression>

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

QVariant Matching(const QStringList& steps, const QString& pattern)
{
    return steps.filter(QRegularExpression(pattern));
}

// What follows the last `step`: the outline, corners and close button, then the main window's header.
QVariant After(const SkinWindow& w, const SkinOp& step)
{
    const QList<SkinOp> ops = MakeWindowOps(w);
    return Texts(ops.mid(ops.lastIndexOf(step) + 1)).join(u" | ");
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
        Row("fill tiles", Matching(big, u"^draw ImgFill "_s).toStringList().size(), 7 * 5);
        Row("top tiles", Matching(big, u"^draw imgTitle1 "_s).toStringList().size(), 33);
        Row("left tiles", Matching(big, u"^draw imgWindowLeft "_s).toStringList().size(), 14);
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
            u"draw imgTitle0 0,0 | draw imgTitle2 314,0 | draw imgWindowBottomLeft 0,90 | draw "
            "imgWindowBottomRight 314,90 | place btnClose 294,11 | draw imgBar 221,8 | draw imgblack 71,8 | "
            "place "
            "btnShred 41,8 | draw ImgIcon 7,7 | place BtnAbout 271,11 | place btnExpand 248,11 | place "
            "btnContract 248,11 | place pic1 225,11 | place btnBall 225,11 | place lblshred 85,14 | place "
            "bareditsmall 140,18"_s);
        // The logo shows with the list, except on the 46-pixel contracted bar; else the icon.
        const QString topLeft = u"^draw Img(Logo|Icon) "_s;
        Row("list shown", Matching(Steps(MainWindow(494, u"showlist"_s)), topLeft),
            QStringList{u"draw ImgLogo 7,7"_s});
        Row("contracted bar", Matching(Steps(MainWindow(46, u"showlist"_s)), topLeft),
            QStringList{u"draw ImgIcon 7,7"_s});
        Row("47 is not the bar", Matching(Steps(MainWindow(47, u"showlist"_s)), topLeft),
            QStringList{u"draw ImgLogo 7,7"_s});
        Row("list hidden", Matching(Steps(MainWindow(120, u"hidelist"_s)), topLeft),
            QStringList{u"draw ImgIcon 7,7"_s});
        Row("state compared exactly", Matching(Steps(MainWindow(494, u"ShowList"_s)), topLeft),
            QStringList{u"draw ImgIcon 7,7"_s});
    }
    void frame() { SKIN_COMPARE_ROW(); }

    // Points as "in" or "out", along the edges and into the corners.
    void roundedOutline()
    {
        const QRegion region = RoundRectRegion(100, 60);
        QCOMPARE(region.boundingRect(), QRect(0, 0, 100, 60));
        QString seen;
        for (const QPoint at :
             {QPoint(50, 30), QPoint(50, 0), QPoint(0, 30), QPoint(7, 0), QPoint(92, 59), QPoint(0, 7),
              QPoint(99, 52), QPoint(0, 0), QPoint(99, 0), QPoint(0, 59), QPoint(99, 59), QPoint(1, 1)})
            seen += region.contains(at) ? u'+' : u'-';
        QCOMPARE(seen, u"+++++++-----"_s);
    }
};

VANISTO_TEST_GUILESS_MAIN(TestSkinGeometry)
#include "tst_skingeometry.moc"
