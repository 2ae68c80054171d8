#include "SkinGeometry.h"

#include <cmath>

namespace {
const QString MainWindowName = QStringLiteral("frmMainCode");

constexpr int FillTile = 100;
constexpr int EdgeWidth = 19;
constexpr int EdgeHeight = 30;
constexpr int CornerEllipse = 14;
constexpr int BarWidth = 103;
constexpr int BlackWidth = 150;

SkinOp Draw(const QString& image, int x, int y)
{
    return {SkinOp::Kind::DrawImage, image, QPoint(x, y)};
}

SkinOp Place(const QString& control, int left, int top)
{
    return {SkinOp::Kind::PlaceControl, control, QPoint(left, top)};
}

// The header bar of the main window: its pieces are placed in twips from the window's
// right edge, so the last conversion to pixels happens here, once per position.
void AppendMainHeader(const SkinWindow& w, QList<SkinOp>& ops)
{
    const double tx = w.twipsX;
    const double ty = w.twipsY;
    const double widthTw = w.width * tx;
    const double barTw = BarWidth * tx;
    const double blackTw = BlackWidth * tx;
    const double headerTop = 120 / ty;

    ops << Draw(QStringLiteral("imgBar"), RoundHalfEven((widthTw - barTw - 130) / tx),
                RoundHalfEven(headerTop));
    const double blackLeftTw = widthTw - barTw - blackTw - 130;
    ops << Draw(QStringLiteral("imgblack"), RoundHalfEven(blackLeftTw / tx), RoundHalfEven(headerTop));

    const double shredWidthTw = w.btnShredWidth * tx;
    const double shredLeftTw = blackLeftTw - shredWidthTw;
    ops << Place(QStringLiteral("btnShred"), RoundHalfEven(shredLeftTw / tx), RoundHalfEven(headerTop));

    // The contracted bar (46 pixels high) has no room for the logo.
    const bool logo = w.listState == QStringLiteral("showlist") && w.height != 46;
    ops << Draw(logo ? QStringLiteral("ImgLogo") : QStringLiteral("ImgIcon"), 7, 7);

    ops << Place(QStringLiteral("BtnAbout"), w.width - 62, 11);
    ops << Place(QStringLiteral("btnExpand"), w.width - 85, 11);
    ops << Place(QStringLiteral("btnContract"), w.width - 85, 11);
    ops << Place(QStringLiteral("pic1"), w.width - 108, 11);
    ops << Place(QStringLiteral("btnBall"), w.width - 108, 11);

    const double labelLeftTw = shredLeftTw + shredWidthTw + 200;
    ops << Place(QStringLiteral("lblshred"), RoundHalfEven(labelLeftTw / tx), w.lblshredTop);
    const double labelTopTw = w.lblshredTop * ty;
    ops << Place(QStringLiteral("bareditsmall"), RoundHalfEven((labelLeftTw + 55 * tx) / tx),
                 RoundHalfEven((labelTopTw + 4 * ty) / ty));
}
} // namespace

int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

int TwipsPerPixel(double logicalDpi)
{
    return logicalDpi > 0 ? RoundHalfEven(1440.0 / logicalDpi) : 15;
}

int TileBound(int length, int tile)
{
    return RoundHalfEven(static_cast<double>(length) / tile);
}

QRegion RoundRectRegion(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    // Each pixel row of a corner is cut where the row's middle meets the corner ellipse.
    const double r = CornerEllipse / 2.0;
    const int cornerRows = qMin(static_cast<int>(r), height / 2);
    QRegion region(0, cornerRows, width, height - 2 * cornerRows);
    for (int y = 0; y < cornerRows; ++y) {
        const double dy = r - (y + 0.5);
        const int inset = RoundHalfEven(r - std::sqrt(r * r - dy * dy));
        const int rowWidth = width - 2 * inset;
        if (rowWidth <= 0)
            continue;
        region += QRegion(inset, y, rowWidth, 1);
        region += QRegion(inset, height - 1 - y, rowWidth, 1);
    }
    return region;
}

QString IconImageForKind(int iconKind)
{
    switch (iconKind) {
    case 1:
        return QStringLiteral("imginformation");
    case 2:
        return QStringLiteral("imgquestion");
    case 3:
        return QStringLiteral("imgexclamation");
    case 4:
        return QStringLiteral("imgcritical");
    default:
        return iconKind >= 5 ? QStringLiteral("ImgIcon") : QString();
    }
}

QList<SkinOp> MakeWindowOps(const SkinWindow& w)
{
    QList<SkinOp> ops;
    const bool isMain = w.name == MainWindowName;
    ops << SkinOp{SkinOp::Kind::MakeTopMost, {}, {}};

    if (w.iconKind > 0) {
        ops << SkinOp{SkinOp::Kind::SetIcon, IconImageForKind(w.iconKind), {}};
        const int offset = isMain ? 100 : 200;
        ops << Place(QStringLiteral("ImgIcon"), RoundHalfEven(static_cast<double>(offset) / w.twipsX),
                     RoundHalfEven(static_cast<double>(offset) / w.twipsY));
    }

    ops << SkinOp{SkinOp::Kind::BackColor, {}, {}};
    for (int i = 0; i <= TileBound(w.width, FillTile); ++i)
        for (int j = 0; j <= TileBound(w.height, FillTile); ++j)
            ops << Draw(QStringLiteral("ImgFill"), FillTile * i, FillTile * j);
    for (int k = 0; k <= TileBound(w.width, EdgeWidth); ++k) {
        ops << Draw(QStringLiteral("imgTitle1"), EdgeWidth * k, 0);
        ops << Draw(QStringLiteral("imgWindowBottom"), EdgeWidth * k, w.height - EdgeHeight);
    }
    for (int j = 0; j <= TileBound(w.height, EdgeHeight); ++j) {
        ops << Draw(QStringLiteral("imgWindowLeft"), 0, EdgeHeight * j);
        ops << Draw(QStringLiteral("imgWindowRight"), w.width - EdgeWidth, EdgeHeight * j);
    }
    ops << SkinOp{SkinOp::Kind::Transparency, {}, {}};
    ops << Draw(QStringLiteral("imgTitle0"), 0, 0);
    ops << Draw(QStringLiteral("imgTitle2"), w.width - EdgeWidth, 0);
    ops << Draw(QStringLiteral("imgWindowBottomLeft"), 0, w.height - EdgeHeight);
    ops << Draw(QStringLiteral("imgWindowBottomRight"), w.width - EdgeWidth, w.height - EdgeHeight);
    ops << Place(QStringLiteral("btnClose"), w.width - 39, 11);

    if (isMain)
        AppendMainHeader(w, ops);
    return ops;
}
