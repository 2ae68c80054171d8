#include "TestEnvironment.h"
#include "skin/SkinGeometry.h"

#include <QtTest>

namespace {
int Count(const QList<SkinOp>& ops, const QString& image)
{
    return int(std::count_if(ops.begin(), ops.end(), [&](const SkinOp& op) {
        return op.kind == SkinOp::Kind::DrawImage && op.name == image;
    }));
}

const SkinOp* Find(const QList<SkinOp>& ops, SkinOp::Kind kind, const QString& name)
{
    for (const SkinOp& op : ops)
        if (op.kind == kind && op.name == name)
            return &op;
    return nullptr;
}

qsizetype IndexOf(const QList<SkinOp>& ops, SkinOp::Kind kind, const QString& name = QString())
{
    for (qsizetype i = 0; i < ops.size(); ++i)
        if (ops[i].kind == kind && (name.isEmpty() || ops[i].name == name))
            return i;
    return -1;
}

SkinWindow MainWindow(int width, int height, const QString& listState)
{
    SkinWindow w;
    w.width = width;
    w.height = height;
    w.name = QStringLiteral("frmMainCode");
    w.listState = listState;
    w.iconKind = 5;
    w.btnShredWidth = 30;
    w.lblshredTop = 14;
    return w;
}
} // namespace

class TestSkinGeometry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tileBound_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("tile");
        QTest::addColumn<int>("bound");
        QTest::newRow("95 wide, 19-pixel tiles: the tile at 95 lies outside") << 95 << 19 << 5;
        QTest::newRow("150 wide fill: round(1.5) = 2") << 150 << 100 << 2;
        QTest::newRow("250 wide fill: round(2.5) = 2, halves to even") << 250 << 100 << 2;
        QTest::newRow("350 wide fill: round(3.5) = 4") << 350 << 100 << 4;
        QTest::newRow("not a multiple of 19") << 600 << 19 << 32;
        QTest::newRow("side tiles of a 400-pixel window") << 400 << 30 << 13;
    }
    void tileBound()
    {
        QFETCH(int, length);
        QFETCH(int, tile);
        QFETCH(int, bound);
        QCOMPARE(TileBound(length, tile), bound);
    }

    void twipsPerPixel_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("twips");
        QTest::newRow("96 DPI") << 96.0 << 15;
        QTest::newRow("120 DPI") << 120.0 << 12;
        QTest::newRow("144 DPI") << 144.0 << 10;
        QTest::newRow("110 DPI rounds 13.09") << 110.0 << 13;
    }
    void twipsPerPixel()
    {
        QFETCH(double, dpi);
        QFETCH(int, twips);
        QCOMPARE(TwipsPerPixel(dpi), twips);
    }

    void tileCountsOfA600By400Window()
    {
        SkinWindow w;
        w.width = 600;
        w.height = 400;
        w.name = QStringLiteral("frmOptions");
        const QList<SkinOp> ops = MakeWindowOps(w);
        QCOMPARE(Count(ops, QStringLiteral("ImgFill")), 7 * 5);
        QCOMPARE(Count(ops, QStringLiteral("imgTitle1")), 33);
        QCOMPARE(Count(ops, QStringLiteral("imgWindowBottom")), 33);
        QCOMPARE(Count(ops, QStringLiteral("imgWindowLeft")), 14);
        QCOMPARE(Count(ops, QStringLiteral("imgWindowRight")), 14);
        // The last fill tile and the last edge tiles reach past the window and get clipped.
        QVERIFY(ops.contains(SkinOp{SkinOp::Kind::DrawImage, QStringLiteral("ImgFill"), QPoint(600, 400)}));
        QVERIFY(ops.contains(SkinOp{SkinOp::Kind::DrawImage, QStringLiteral("imgTitle1"), QPoint(608, 0)}));
        QVERIFY(ops.contains(
            SkinOp{SkinOp::Kind::DrawImage, QStringLiteral("imgWindowBottom"), QPoint(608, 370)}));
        QVERIFY(ops.contains(
            SkinOp{SkinOp::Kind::DrawImage, QStringLiteral("imgWindowRight"), QPoint(581, 390)}));
    }

    void cornersAndCloseComeLast()
    {
        SkinWindow w;
        w.width = 95;
        w.height = 60;
        const QList<SkinOp> ops = MakeWindowOps(w);
        QCOMPARE(ops.first().kind, SkinOp::Kind::MakeTopMost);
        const qsizetype fill = IndexOf(ops, SkinOp::Kind::BackColor);
        const qsizetype outline = IndexOf(ops, SkinOp::Kind::Transparency);
        const qsizetype lastSide = ops.lastIndexOf(
            SkinOp{SkinOp::Kind::DrawImage, QStringLiteral("imgWindowRight"), QPoint(76, 60)});
        QVERIFY(fill >= 0 && lastSide > fill);
        QCOMPARE(outline, lastSide + 1);
        const QList<SkinOp> tail = ops.mid(outline + 1);
        const QList<SkinOp> expected = {
            {SkinOp::Kind::DrawImage, QStringLiteral("imgTitle0"), QPoint(0, 0)},
            {SkinOp::Kind::DrawImage, QStringLiteral("imgTitle2"), QPoint(76, 0)},
            {SkinOp::Kind::DrawImage, QStringLiteral("imgWindowBottomLeft"), QPoint(0, 30)},
            {SkinOp::Kind::DrawImage, QStringLiteral("imgWindowBottomRight"), QPoint(76, 30)},
            {SkinOp::Kind::PlaceControl, QStringLiteral("btnClose"), QPoint(56, 11)},
        };
        QCOMPARE(tail, expected);
        QCOMPARE(Count(ops, QStringLiteral("imgTitle1")), 6); // k = 0..5
    }

    void iconKind_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("image");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("0 leaves the icon") << "frmDialog" << 0 << QString() << QPoint();
        QTest::newRow("negative leaves the icon") << "frmDialog" << -3 << QString() << QPoint();
        QTest::newRow("information") << "frmDialog" << 1 << "imginformation" << QPoint(13, 13);
        QTest::newRow("question") << "frmDialog" << 2 << "imgquestion" << QPoint(13, 13);
        QTest::newRow("exclamation") << "frmDialog" << 3 << "imgexclamation" << QPoint(13, 13);
        QTest::newRow("critical") << "frmDialog" << 4 << "imgcritical" << QPoint(13, 13);
        QTest::newRow("application") << "frmAbout" << 5 << "ImgIcon" << QPoint(13, 13);
        QTest::newRow("6 is the application icon too") << "frmAbout" << 6 << "ImgIcon" << QPoint(13, 13);
        QTest::newRow("main window at 100 twips") << "frmMainCode" << 5 << "ImgIcon" << QPoint(7, 7);
        QTest::newRow("name compared exactly") << "frmmaincode" << 5 << "ImgIcon" << QPoint(13, 13);
    }
    void iconKind()
    {
        QFETCH(QString, window);
        QFETCH(int, kind);
        QFETCH(QString, image);
        QFETCH(QPoint, place);
        SkinWindow w;
        w.width = 300;
        w.height = 150;
        w.name = window;
        w.iconKind = kind;
        const QList<SkinOp> ops = MakeWindowOps(w);
        const SkinOp* icon = Find(ops, SkinOp::Kind::SetIcon, image);
        const SkinOp* moved = Find(ops, SkinOp::Kind::PlaceControl, QStringLiteral("ImgIcon"));
        if (image.isEmpty()) {
            QCOMPARE(IndexOf(ops, SkinOp::Kind::SetIcon), -1);
            QVERIFY(!moved);
            return;
        }
        QVERIFY(icon && moved);
        QCOMPARE(moved->pos, place);
        QVERIFY(IndexOf(ops, SkinOp::Kind::SetIcon) < IndexOf(ops, SkinOp::Kind::BackColor));
    }

    void mainWindowHeader()
    {
        const QList<SkinOp> ops = MakeWindowOps(MainWindow(333, 120, QStringLiteral("hidelist")));
        const auto at = [&](SkinOp::Kind kind, const char* name) {
            const SkinOp* op = Find(ops, kind, QLatin1String(name));
            return op ? op->pos : QPoint(-1, -1);
        };
        // imgBar: (4995 - 1545 - 130) twips; imgblack ends where imgBar begins.
        QCOMPARE(at(SkinOp::Kind::DrawImage, "imgBar"), QPoint(221, 8));
        QCOMPARE(at(SkinOp::Kind::DrawImage, "imgblack"), QPoint(71, 8));
        QCOMPARE(at(SkinOp::Kind::PlaceControl, "btnShred"), QPoint(41, 8));
        QCOMPARE(at(SkinOp::Kind::PlaceControl, "btnClose"), QPoint(294, 11));
        QCOMPARE(at(SkinOp::Kind::PlaceControl, "BtnAbout"), QPoint(271, 11));
        QCOMPARE(at(SkinOp::Kind::PlaceControl, "btnExpand"), QPoint(248, 11));
        QCOMPARE(at(SkinOp::Kind::PlaceControl, "btnContract"), QPoint(248, 11));
        QCOMPARE(at(SkinOp::Kind::PlaceControl, "pic1"), QPoint(225, 11));
        QCOMPARE(at(SkinOp::Kind::PlaceControl, "btnBall"), QPoint(225, 11));
        // 200 twips right of the button, its top kept; the small bar 55 and 4 pixels further.
        QCOMPARE(at(SkinOp::Kind::PlaceControl, "lblshred"), QPoint(85, 14));
        QCOMPARE(at(SkinOp::Kind::PlaceControl, "bareditsmall"), QPoint(140, 18));
    }

    void otherWindowsHaveNoHeader()
    {
        SkinWindow w = MainWindow(333, 120, QStringLiteral("showlist"));
        w.name = QStringLiteral("frmAbout");
        const QList<SkinOp> ops = MakeWindowOps(w);
        QCOMPARE(Count(ops, QStringLiteral("imgBar")), 0);
        QCOMPARE(Count(ops, QStringLiteral("ImgLogo")), 0);
        QVERIFY(!Find(ops, SkinOp::Kind::PlaceControl, QStringLiteral("btnShred")));
    }

    void topLeftPicture_data()
    {
        QTest::addColumn<QString>("listState");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("image");
        QTest::newRow("list shown") << "showlist" << 494 << "ImgLogo";
        QTest::newRow("contracted bar, 46 pixels") << "showlist" << 46 << "ImgIcon";
        QTest::newRow("47 pixels is not the bar") << "showlist" << 47 << "ImgLogo";
        QTest::newRow("list hidden") << "hidelist" << 120 << "ImgIcon";
        QTest::newRow("state compared exactly") << "ShowList" << 494 << "ImgIcon";
    }
    void topLeftPicture()
    {
        QFETCH(QString, listState);
        QFETCH(int, height);
        QFETCH(QString, image);
        const QList<SkinOp> ops = MakeWindowOps(MainWindow(485, height, listState));
        const SkinOp* drawn = Find(ops, SkinOp::Kind::DrawImage, image);
        QVERIFY(drawn);
        QCOMPARE(drawn->pos, QPoint(7, 7));
        QCOMPARE(Count(ops, QStringLiteral("ImgLogo")) + Count(ops, QStringLiteral("ImgIcon")), 1);
    }

    void roundedOutline()
    {
        const QRegion region = RoundRectRegion(100, 60);
        QVERIFY(region.contains(QPoint(50, 30)));
        QVERIFY(region.contains(QPoint(50, 0)) && region.contains(QPoint(0, 30)));
        for (const QPoint corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 59), QPoint(99, 59), QPoint(1, 1)})
            QVERIFY2(!region.contains(corner),
                     qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
        QVERIFY(region.contains(QPoint(7, 0)) && region.contains(QPoint(92, 59)));
        QVERIFY(region.contains(QPoint(0, 7)) && region.contains(QPoint(99, 52)));
        QCOMPARE(region.boundingRect(), QRect(0, 0, 100, 60));
    }
};

VANISTO_TEST_GUILESS_MAIN(TestSkinGeometry)
#include "tst_skingeometry.moc"
