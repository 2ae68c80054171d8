#include "MouseEvents.h"
#include "TestEnvironment.h"
#include "common/LogError.h"
#include "common/SharedState.h"
#include "platform/AppFolder.h"
#include "skin/LinkLabel.h"
#include "skin/ListScroll.h"
#include "skin/MyTopButton.h"
#include "skin/ProgressGeometry.h"
#include "skin/PropertyBag.h"
#include "skin/SkinGeometry.h"
#include "skin/SkinSurface.h"
#include "skin/SliderGeometry.h"
#include "skin/TipWindow.h"
#include "skin/cToolTip.h"
#include "skin/cpvProgressBar.h"
#include "skin/ctlSlider.h"
#include "skin/frmPics.h"
#include "skin/frmValueTip.h"
#include "skin/modSkinForm.h"
#include "skin/modToolTips.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPainter>

#include <functional>
#include <numeric>
#include <optional>

using namespace ProgressGeometry;
using namespace SliderGeometry;

namespace {
// Plays mouse steps on a control and says what `look` sees after each. A step is a letter and x or x,y (y
// defaults to 5): h hovers, p presses, d drags, r releases the left button; l makes the pointer leave.
QString Play(QWidget* w, const QString& steps, const std::function<QString()>& look = {})
{
    QStringList seen;
    for (const QString& step : steps.split(u' ')) {
        const QStringList xy = step.mid(1).split(u',');
        const QPointF at(xy.value(0).toInt(), xy.value(1, u"5"_s).toInt());
        const char action = step.at(0).toLatin1();
        if (action == 'l') {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(w, &leave);
        } else {
            const Qt::MouseButtons held = action == 'p' || action == 'd' ? Qt::LeftButton : Qt::NoButton;
            const QEvent::Type type = action == 'p'   ? QEvent::MouseButtonPress
                                      : action == 'r' ? QEvent::MouseButtonRelease
                                                      : QEvent::MouseMove;
            const Qt::MouseButton button = action == 'p' || action == 'r' ? Qt::LeftButton : Qt::NoButton;
            MouseEvents::Send(w, type, at, button, held);
        }
        if (look)
            seen << look();
    }
    return seen.join(u' ');
}

// The columns of a table whose rows are computed in _data: the test compares "got" with "want".
void Columns()
{
    QTest::addColumn<QVariant>("got");
    QTest::addColumn<QVariant>("want");
}

void Row(const char* name, const QVariant& got, const QVariant& want)
{
    QTest::newRow(name) << got << want;
}

// The painting steps as text ("place btnClose 56,11", "draw ImgFill 0,0", "outline"); given `after`, those
// that follow its last occurrence.
QStringList Steps(const SkinWindow& w, const std::optional<SkinOp>& after = {})
{
    static const char* const kinds[] = {"top", "icon", "place", "back", "draw", "outline"};
    const QList<SkinOp> ops = MakeWindowOps(w);
    QStringList steps;
    for (const SkinOp& op : ops.mid(after ? ops.lastIndexOf(*after) + 1 : 0)) {
        QString step = QLatin1String(kinds[int(op.kind)]);
        if (!op.name.isEmpty())
            step += u' ' + op.name;
        if (op.kind == SkinOp::Kind::PlaceControl || op.kind == SkinOp::Kind::DrawImage)
            step += u" %1,%2"_s.arg(op.pos.x()).arg(op.pos.y());
        steps << step;
    }
    return steps;
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

// The filled part of a 200 x 20 bar; a refused value leaves nothing, not even a rectangle.
QVariant BarFill(qint32 value, qint32 min, qint32 range, int orientation)
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

QPixmap Filled(const QColor& color, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

// Each emission of the signals goes into `log` as its name and arguments ("MouseUp 1 0 90 60").
template <typename T, typename... Args, typename... More>
void Record(QStringList& log, T* sender, void (T::*signal)(Args...), const char* name, More... more)
{
    QObject::connect(sender, signal, sender, [&log, name](Args... args) {
        QStringList line{QLatin1String(name)};
        ((line << QVariant::fromValue(args).toString()), ...);
        log << line.join(u' ');
    });
    if constexpr (sizeof...(More) > 0)
        Record(log, sender, more...);
}

// Runs "Value=40 Max=0": each step's result and events ("0:ValueChanged,MaxReached"), "| Min Value Max".
template <typename Control> QString Set(Control& control, QStringList& events, const QString& steps)
{
    QStringList seen;
    for (const QString& step : steps.split(u' ')) {
        events.clear();
        const QString property = step.section(u'=', 0, 0);
        const int value = step.section(u'=', 1).toInt();
        const long error = property == u"Value" ? control.SetValue(value)
                           : property == u"Max" ? control.SetMax(value)
                                                : control.SetMin(value);
        seen << QString::number(error) + (events.isEmpty() ? QString() : u':' + events.join(u','));
    }
    return seen.join(u' ') + u" | %1 %2 %3"_s.arg(control.Min()).arg(control.Value()).arg(control.Max());
}

// A 20 x 10 button whose events are written down.
struct Button
{
    MyTopButton button;
    QStringList events;

    explicit Button(int style = 0)
    {
        const QSize size(20, 10);
        button.SetImages({Filled(Qt::gray, size), Filled(Qt::yellow, size), Filled(Qt::darkYellow, size),
                          Filled(Qt::darkGray, size)});
        button.SetStyle(style);
        Record(events, &button, &MyTopButton::MouseDown, "MouseDown", &MyTopButton::MouseMove, "MouseMove",
               &MyTopButton::MouseUp, "MouseUp", &MyTopButton::Click, "Click", &MyTopButton::DblClick,
               "DblClick");
    }
    // The picture shown and the value, e.g. "Hot0".
    QString look() const
    {
        static const char* const names[] = {"Up", "Hot", "Down", "Disabled"};
        return QLatin1String(names[int(button.ShownPicture())]) + QString::number(button.Value());
    }
    QString play(const QString& steps)
    {
        return Play(&button, steps, [this] { return look(); });
    }
};

// A 200 x 20 bar, black behind red, values 0 to 100, whose events are written down.
struct Bar
{
    cpvProgressBar bar;
    QStringList events;
    Bar()
    {
        bar.SetBarPictureBack(Filled(Qt::black, QSize(200, 20)));
        bar.SetBarPicture(Filled(Qt::red, QSize(200, 20)));
        Record(events, &bar, &cpvProgressBar::ValueChanged, "ValueChanged", &cpvProgressBar::MaxReached,
               "MaxReached", &cpvProgressBar::MinReached, "MinReached", &cpvProgressBar::MouseDown,
               "MouseDown", &cpvProgressBar::Click, "Click");
    }
};

// A vertical scroller whose 13 x 28 thumb travels 100 pixels, values 0 to 10.
struct Slider
{
    ctlSlider slider;
    QStringList events;
    explicit Slider(bool tip = false)
    {
        (void)slider.SetSliderIcon(Filled(Qt::red, QSize(13, 28)));
        slider.resize(13, 128);
        slider.SetShowValueTip(tip);
        slider.show(); // a hidden widget hears of its resizes only when shown
        Record(events, &slider, &ctlSlider::ValueChanged, "ValueChanged", &ctlSlider::MinReached,
               "MinReached", &ctlSlider::MaxReached, "MaxReached", &ctlSlider::Click, "Click",
               &ctlSlider::DragStart, "DragStart", &ctlSlider::DragEnd, "DragEnd");
    }
    // The value and the thumb's top after each step, e.g. "7@30".
    QString play(const QString& steps)
    {
        return Play(&slider, steps,
                    [this] { return u"%1@%2"_s.arg(slider.Value()).arg(slider.ThumbPos().y()); });
    }
};

QString ErrorLog()
{
    QFile log(AppFolder::file(u"errlog.dat"_s));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

// A window and its controls, each "name[:kind[:x]]": a button unless a label, the ball's label or a hidden
// button; one given an x is moved to (x, 150).
QWidget* Form(const char* name, const QString& controls)
{
    auto* w = new QWidget;
    w->setObjectName(QLatin1String(name));
    for (const QString& control : controls.split(u' ')) {
        const QStringList part = control.split(u':');
        const QString kind = part.value(1);
        auto* button = kind.contains(u"l") ? nullptr : new MyTopButton;
        QWidget* made = button ? static_cast<QWidget*>(button) : new QLabel;
        made->setParent(w); // after construction, so that each keeps a parentless widget's size
        made->setObjectName(part[0]);
        if (button)
            button->SetImages(frmPics::ButtonFor(w->objectName(), part[0]));
        if (kind == u"ball")
            static_cast<QLabel*>(made)->setPixmap(frmPics::Picture(u"ImgAdGrey"_s));
        if (kind == u"hidden")
            made->hide();
        if (part.size() > 2)
            made->move(part[2].toInt(), 150);
    }
    return w;
}

// Runs a tips timer's timeout now: the delays are the tips' settings, not the test's to wait for.
void Fire(cToolTip& tips, const char* timer)
{
    auto* t = tips.findChild<QTimer*>(QLatin1String(timer));
    QVERIFY(t && t->isActive());
    QTimerEvent event(t->timerId());
    QCoreApplication::sendEvent(t, &event);
}

// The tip CreateTips gives `control` of a window that has `buttons`.
QVariant Tip(const char* window, const char* buttons, const char* control)
{
    std::unique_ptr<QWidget> w(Form(window, QString::fromLatin1(buttons)));
    CreateTips(w.get());
    return ControlTips().ToolText(w->findChild<QWidget*>(QLatin1String(control)));
}
} // namespace

// The body of a test whose _data called Columns().
#define SKIN_COMPARE_ROW()                                                                                   \
    QFETCH(QVariant, got);                                                                                   \
    QFETCH(QVariant, want);                                                                                  \
    QCOMPARE(got, want)

class TestSkin : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        RefreshTwips();
        InitializeTips();
    }
    void cleanup() { SetHandCur(false); }

    void frame_data()
    {
        Columns();
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
        Row("fill tiles", big.filter(u"draw ImgFill "_s).size(), 7 * 5);
        Row("top tiles", big.filter(u"draw imgTitle1 "_s).size(), 33);
        Row("left tiles", big.filter(u"draw imgWindowLeft "_s).size(), 14);
        Row("last tiles", big.filter(QRegularExpression(u" (600,400|608,0|608,370|581,390)$"_s)),
            QStringList{u"draw ImgFill 600,400"_s, u"draw imgTitle1 608,0"_s,
                        u"draw imgWindowBottom 608,370"_s, u"draw imgWindowRight 581,390"_s});
        const QStringList small = Steps(Window(95, 60));
        Row("top-most first, the icon left alone", small.mid(0, 3),
            QStringList{u"top"_s, u"back"_s, u"draw ImgFill 0,0"_s});
        Row("corners and close come last",
            Steps(Window(95, 60), SkinOp{SkinOp::Kind::DrawImage, u"imgWindowRight"_s, QPoint(76, 60)})
                .join(u" | "),
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
            Steps(MainWindow(120, u"hidelist"_s, 333), SkinOp{SkinOp::Kind::Transparency, {}, {}})
                .join(u" | "),
            u"draw imgTitle0 0,0 | draw imgTitle2 314,0 | draw imgWindowBottomLeft 0,90 | "
            "draw imgWindowBottomRight 314,90 | place btnClose 294,11 | draw imgBar 221,8 | "
            "draw imgblack 71,8 | place btnShred 41,8 | draw ImgIcon 7,7 | place BtnAbout 271,11 | "
            "place btnExpand 248,11 | place btnContract 248,11 | place pic1 225,11 | "
            "place btnBall 225,11 | place lblshred 85,14 | place bareditsmall 140,18"_s);
        // The logo shows with the list, except on the 46-pixel contracted bar; else the icon.
        const auto topLeft = [](int height, const QString& state) {
            return Steps(MainWindow(height, state))
                .filter(QRegularExpression(u"^draw Img(Logo|Icon) "_s))
                .join(u'|');
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
        Columns();
        // The lists: 100 scroller units a row; the scroller at its maximum shows the first row.
        Row("4 rows of 4 scroll one step", ScrollerMaximum(4, 4), 100);
        Row("5 rows of 4 scroll one step", ScrollerMaximum(5, 4), 100);
        Row("6 rows of 4 scroll two", ScrollerMaximum(6, 4), 200);
        Row("5 rows of 4 keep the first shown", ScrollerMovesList(5, 4), false);
        Row("6 rows of 4 move", ScrollerMovesList(6, 4), true);
        Row("maximum shows the first row", ListTop(500, 500, 20), 0);
        Row("zero shows the last rows", ListTop(500, 0, 20), -100);
        Row("part steps round down", ListTop(500, 299, 18), -54);

        Row("bar 0.5 pixel to even", BarFill(1, 0, 400, 0), QRect(0, 0, 0, 20));
        Row("bar 1.5 pixels to even", BarFill(3, 0, 400, 0), QRect(0, 0, 2, 20));
        Row("bar from Min", BarFill(70, 20, 100, 0), QRect(0, 0, 100, 20));
        Row("bar above Max draws past the edge", BarFill(150, 0, 100, 0), QRect(0, 0, 300, 20));
        Row("vertical bar a quarter from the bottom", BarFill(25, 0, 100, 1), QRect(0, 15, 200, 5));
        Row("vertical bar empty", BarFill(0, 0, 100, 1), QRect(0, 20, 200, 0));
        Row("another orientation draws nothing", BarFill(50, 0, 100, 2), QRect());
        Row("Value - Min past 32 bits", BarFill(2147483647, -2147483647, 1, 0), QVariant());
        Row("bar past a 16-bit width", BarFill(1000000, 0, 1, 0), QVariant());

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

    void buttonPicturesAndSavedProperties()
    {
        // The left pixel counts as outside; a release shows Up even under the pointer.
        QCOMPARE(Button(0).play(u"h5 h0 h5 p5 d25 d6 r6 h7 l"_s),
                 u"Hot0 Up0 Hot0 Down0 Up0 Down0 Up0 Hot0 Up0"_s);
        // Latched down, hovering changes nothing; released, it stays hot until the pointer leaves.
        Button f(1);
        QCOMPARE(f.play(u"p5 r5 h6 p6 d40 d6 r6 h20 p5 d30 r30"_s),
                 u"Down0 Down1 Down1 Hot1 Down1 Hot1 Hot0 Up0 Down0 Up0 Up0"_s);
        // Only what differs from a new button is written; what is read needs no event to show.
        PropertyBag defaults;
        MyTopButton().WriteProperties(defaults);
        QVERIFY(defaults.Names().isEmpty());
        f.button.SetValue(1);
        f.button.SetEnabled(false);
        f.button.SetMaskColor(0xFF00FF);
        PropertyBag bag;
        f.button.WriteProperties(bag);
        QCOMPARE(bag.Names(), QStringList({u"Enabled"_s, u"ImageDown"_s, u"ImageHot"_s, u"ImageDisabled"_s,
                                           u"ImageUp"_s, u"Style"_s, u"Value"_s, u"MaskColor"_s}));
        MyTopButton loaded;
        loaded.ReadProperties(bag);
        loaded.resize(50, 40); // the size is ImageUp's
        f.button.resize(50, 40);
        QCOMPARE(
            QVariantList({loaded.Enabled(), loaded.Style(), loaded.Value(), loaded.MaskColor(),
                          loaded.BackStyle(), loaded.size(), f.button.size(), int(loaded.ShownPicture())}),
            QVariantList({false, 1, 1, 0xFF00FFu, 1, QSize(20, 10), QSize(20, 10),
                          int(MyTopButton::Picture::Disabled)}));
    }

    // Twips; a release off it gives no Click; keyboard and accessibility press in the middle.
    void buttonEvents()
    {
        Button f;
        Play(&f.button, u"p5,4 d6,4 r6,4 p5 d30 r30"_s);
        QTest::keyClick(&f.button, Qt::Key_Space);
        QTest::keyClick(&f.button, Qt::Key_Return);
        f.button.setAccessibleName(u"Shred now"_s);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&f.button);
        QCOMPARE(QVariantList({iface->role(), iface->text(QAccessible::Name)}),
                 QVariantList({QAccessible::Button, u"Shred now"_s}));
        QVERIFY(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        const QStringList middle = {u"MouseDown 1 0 150 75"_s, u"MouseUp 1 0 150 75"_s, u"Click"_s};
        QCOMPARE(f.events, QStringList({u"MouseDown 1 0 75 60"_s, u"MouseMove 1 0 90 60"_s,
                                        u"MouseUp 1 0 90 60"_s, u"Click"_s, u"MouseDown 1 0 75 75"_s,
                                        u"MouseMove 1 0 450 75"_s, u"MouseUp 1 0 450 75"_s}) +
                               middle + middle + middle);
        f.button.SetEnabled(false);
        QVERIFY(iface->state().disabled);
        // Disabled, it raises only clicks, double clicks and drops.
        f.events.clear();
        QCOMPARE(f.play(u"h5 p5 r5"_s), u"Disabled0 Disabled0 Disabled0"_s);
        QTest::keyClick(&f.button, Qt::Key_Space);
        MouseEvents::Send(&f.button, QEvent::MouseButtonDblClick, {5, 5}, Qt::LeftButton, Qt::LeftButton);
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(u"/tmp/a"_s)});
        QObject::connect(&f.button, &MyTopButton::OLEDragDrop,
                         [&](const QMimeData* data, int, int, int, float x, float y) {
                             f.events << u"OLEDragDrop %1 %2 %3"_s.arg(data->urls().size()).arg(x).arg(y);
                         });
        QDragEnterEvent enter(QPoint(4, 2), Qt::CopyAction, &files, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&f.button, &enter);
        QDropEvent drop(QPointF(4, 2), Qt::CopyAction, &files, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&f.button, &drop);
        QCOMPARE(f.events, QStringList({u"Click"_s, u"DblClick"_s, u"OLEDragDrop 1 60 30"_s}));
        QCOMPARE(f.look(), u"Disabled0"_s);
        // Enabling shows the picture of the value; a value other than 0 or 1 leaves what is shown.
        QString seen;
        for (int value : {1, 2}) {
            f.button.SetEnabled(false);
            f.button.SetValue(value);
            f.button.SetEnabled(true);
            seen += f.look() + u' ';
        }
        f.button.SetStyle(1);
        QCOMPARE(seen + f.look(), u"Down1 Disabled2 Up0"_s);
    }

    void maskColourIsSeeThroughOnlyWithBackStyleZero()
    {
        QPixmap picture = Filled(Qt::blue, QSize(20, 10));
        QPainter(&picture).fillRect(0, 0, 5, 10, QColor(192, 192, 192));
        MyTopButton button;
        button.SetImageUp(picture);
        QVERIFY(button.mask().isEmpty());
        button.SetBackStyle(0);
        QCOMPARE(QVariantList({button.mask().contains(QPoint(2, 2)), button.mask().contains(QPoint(10, 2)),
                               QColor(button.grab().toImage().pixel(10, 2))}),
                 QVariantList({false, true, QColor(Qt::blue)}));
    }

    // Events only for a new value and at the ends; 380 refuses; a new Min resets the value, a lower Max not.
    void bar()
    {
        Bar f;
        QCOMPARE(
            Set(f.bar, f.events,
                u"Value=0 Value=100 Value=100 Value=0 Value=40 Value=-1 Value=101 Max=0 Min=100 "
                "Max=-5 Value=50 Min=10 Value=80 Max=40"_s),
            u"0 0:ValueChanged,MaxReached 0 0:ValueChanged,MinReached 0:ValueChanged 380 380 380 380 380 "
            "0:ValueChanged 0:ValueChanged,MinReached 0:ValueChanged 0 | 10 80 40"_s);
        // The size is the background's; a value above Max is drawn past the end, and clipped.
        f.bar.resize(300, 50);
        QCOMPARE(f.bar.size(), QSize(200, 20));
        QCOMPARE(f.bar.SetMin(0) + f.bar.SetMax(100) + f.bar.SetValue(50), 0L);
        QCOMPARE(f.bar.FilledRect(), QRect(0, 0, 100, 20));
        f.bar.SetCaptionFormat(3);
        QCOMPARE(f.bar.Caption(), u"50.0%"_s);
        const QImage drawn = f.bar.grab().toImage();
        QCOMPARE(QVariantList({QColor(drawn.pixel(2, 2)), QColor(drawn.pixel(197, 2))}),
                 QVariantList({QColor(Qt::red), QColor(Qt::black)}));
        QCOMPARE(f.bar.SetMax(25), 0L);
        QCOMPARE(QVariantList({f.bar.FilledRect(), f.bar.Caption()}),
                 QVariantList({QRect(0, 0, 400, 20), u"200.0%"_s}));
        f.bar.SetOrientation(1);
        QCOMPARE(f.bar.SetMax(100) + f.bar.SetValue(30), 0L);
        QCOMPARE(f.bar.FilledRect(), QRect(0, 14, 200, 6));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&f.bar);
        QCOMPARE(iface->role(), QAccessible::ProgressBar);
        QAccessibleValueInterface* value = iface->valueInterface();
        QCOMPARE(QVariantList({value->minimumValue(), value->currentValue(), value->maximumValue()}),
                 QVariantList({0, 30, 100}));
        f.bar.SetBarPictureBack(Filled(Qt::black, QSize(70, 10)));
        QCOMPARE(f.bar.size(), QSize(70, 10));
        f.events.clear();
        MouseEvents::Send(&f.bar, QEvent::MouseButtonPress, {4, 2}, Qt::LeftButton, Qt::LeftButton,
                          Qt::ShiftModifier);
        MouseEvents::Release(&f.bar, {4, 2});
        QCOMPARE(f.events, QStringList({u"MouseDown 1 1 60 30"_s, u"Click"_s})); // in twips
        // Loading stores without checks or events; what the bag lacks goes back to its default.
        PropertyBag bag;
        bag.WriteProperty(u"Min"_s, 20, 0);
        bag.WriteProperty(u"Max"_s, 120, 100);
        bag.WriteProperty(u"Value"_s, 150, 0);
        bag.WriteProperty(u"CaptionFormat"_s, 5, 0);
        bag.WriteProperty(u"BarPictureBack"_s, Filled(Qt::black, QSize(200, 20)), QPixmap());
        f.events.clear();
        f.bar.ReadProperties(bag);
        QCOMPARE(QVariantList({f.events.size(), f.bar.Value(), f.bar.Caption()}),
                 QVariantList({0, 150, u"130%"_s}));
        QCOMPARE(f.bar.SetValue(150), ErrorNumber::InvalidPropertyValue);
        PropertyBag saved;
        f.bar.WriteProperties(saved);
        QCOMPARE(saved.ReadProperty(u"Value"_s, 0).toInt(), 150);
        QVERIFY(!saved.Names().contains(u"Orientation"_s));
    }

    // The top is Max, the thumb snaps to steps; a press on the rail centres it (top 86, round(1.4) = 1).
    void dragAndPress()
    {
        Slider f;
        MouseEvents::Send(&f.slider, QEvent::MouseButtonPress, {6, 5}, Qt::LeftButton, Qt::LeftButton,
                          Qt::ShiftModifier);
        QCOMPARE(f.play(u"d6,55 d6,38 d6,-40 d6,400 r60,400"_s), u"5@50 7@30 10@0 0@100 0@100"_s);
        QCOMPARE(f.events,
                 QStringList({u"DragStart 1"_s, u"ValueChanged"_s, u"ValueChanged"_s, u"ValueChanged"_s,
                              u"MaxReached"_s, u"ValueChanged"_s, u"MinReached"_s, u"DragEnd 0"_s}));
        QVERIFY(!f.slider.Dragging());
        Slider g;
        QCOMPARE(g.play(u"p6,100 r6,100"_s), u"1@90 1@90"_s);
        QCOMPARE(g.events, QStringList({u"ValueChanged"_s, u"DragStart 0"_s, u"Click"_s, u"DragEnd 0"_s}));
        g.slider.resize(13, 200); // a new size puts a vertical thumb at the top, whatever the value
        QCOMPARE(QVariantList({g.slider.Value(), g.slider.ThumbPos()}), QVariantList({1, QPoint(0, 0)}));
        g.slider.SetEnabled(false); // disabled, it only shows the hand
        g.events.clear();
        Play(&g.slider, u"p6,100 d6,50"_s);
        QVERIFY(g.events.isEmpty() && !g.slider.Dragging());
        const QCursor* hand = QGuiApplication::overrideCursor();
        QCOMPARE(hand ? hand->shape() : Qt::ArrowCursor, Qt::PointingHandCursor);
        SetHandCur(false); // one override, however often the hand was asked for
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Each value set raises its events, the thumb goes to the top (as a reset list shows it); 380 refuses.
    void valueFromCode()
    {
        Slider f;
        QCOMPARE(
            Set(f.slider, f.events, u"Value=0 Value=11 Max=0 Min=10 Value=8 Max=5 Min=2"_s),
            u"0:ValueChanged,MinReached 380 380 380 0:ValueChanged 0 0:ValueChanged,MinReached | 2 2 5"_s);
        QCOMPARE(f.slider.ThumbPos(), QPoint(0, 0));
        QAccessibleValueInterface* value = QAccessible::queryAccessibleInterface(&f.slider)->valueInterface();
        value->setCurrentValue(4);
        value->setCurrentValue(40); // past Max: refused
        QCOMPARE(QVariantList({f.slider.Value(), value->maximumValue()}), QVariantList({4, 5}));
        QCOMPARE(QAccessible::queryAccessibleInterface(&f.slider)->role(), QAccessible::Slider);
        ctlSlider horizontal;
        (void)horizontal.SetSliderIcon(Filled(Qt::red, QSize(20, 10)));
        QCOMPARE(horizontal.SetOrientation(0), 0L);
        horizontal.show();
        horizontal.resize(120, 50);
        QCOMPARE(horizontal.size(), QSize(120, 10));
        QCOMPARE(horizontal.SetValue(5), 0L);
        QCOMPARE(horizontal.ThumbPos(), QPoint(50, 0));
        QCOMPARE(horizontal.SetRailStyle(7), ErrorNumber::SubscriptOutOfRange);
    }

    // The tip stands left of the thumb with the value at the press; only changes are saved, loads are silent.
    void valueTipAndSavedProperties()
    {
        Slider f(true);
        f.slider.move(40, 60);
        MouseEvents::Press(&f.slider, {6, 55}); // jumps to value 6 (top 41, snapped 40)
        frmValueTip* tip = f.slider.ValueTip();
        QVERIFY(tip && tip->isVisible());
        QCOMPARE(tip->lblTip()->text(), u"6"_s);
        const QSize label = tip->lblTip()->size();
        const QPoint origin = f.slider.mapToGlobal(QPoint(0, 0));
        QCOMPARE(tip->pos(), origin + QPoint(-label.width() - 6, 40 + (28 - label.height() - 4) / 2));
        QCOMPARE(tip->size(), label + QSize(4, 3));
        QVERIFY(tip->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        Play(&f.slider, u"d6,100"_s);
        QCOMPARE(tip->lblTip()->text(), u"6"_s);
        MouseEvents::Release(&f.slider, {6, 100});
        QVERIFY(!f.slider.ValueTip() || !f.slider.ValueTip()->isVisible());
        QCOMPARE(f.slider.SetMax(500) + f.slider.SetValue(300), 0L);
        PropertyBag bag;
        f.slider.WriteProperties(bag);
        QCOMPARE(bag.Names(), QStringList({u"SliderIcon"_s, u"Max"_s, u"Value"_s}));
        ctlSlider loaded;
        Record(f.events, &loaded, &ctlSlider::ValueChanged, "ValueChanged");
        f.events.clear();
        loaded.ReadProperties(bag);
        QCOMPARE(QVariantList({loaded.Max(), loaded.Value(), loaded.Orientation(), f.events.size()}),
                 QVariantList({500, 300, 1, 0}));
    }

    // The header places the empty labels from btnShred's place and lblshred's own top.
    void mainWindowMatchesItsReference()
    {
        Shared().ListState = u"showlist"_s;
        // The controls the painter places, and no text, so that no font shows in the picture.
        std::unique_ptr<QWidget> w(Form("frmMainCode",
                                        u"ImgIcon:label btnClose BtnAbout btnContract btnExpand:hidden "
                                        "btnBall:hidden pic1:ball btnShred lblshred:label "
                                        "bareditsmall:label btnYes::160 btnNo::250"_s));
        w->resize(485, 200);
        const auto control = [&](const char* name) { return w->findChild<QWidget*>(QLatin1String(name)); };
        control("lblshred")->move(0, 14);
        MakeWindow(w.get(), 5);
        QCOMPARE(QVariantList({control("lblshred")->pos(), control("bareditsmall")->pos()}),
                 QVariantList({QPoint(237, 14), QPoint(292, 18)}));
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        // What the screen shows: the window's picture cut to its outline.
        QImage shot(w->size(), QImage::Format_ARGB32);
        shot.fill(Qt::transparent);
        QPainter painter(&shot);
        painter.setClipRegion(w->mask());
        painter.drawPixmap(0, 0, w->grab());
        painter.end();
        const QString reference = QStringLiteral(SKIN_REFERENCE_DIR "/main-window.png");
        if (qEnvironmentVariableIsSet("VANISTO_UPDATE_REFERENCE"))
            QVERIFY(shot.save(reference));
        const QImage expected = QImage(reference).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(expected.size(), shot.size());
        // No colour or alpha byte may differ by more than a blend's last bit, as graphics builds round apart.
        const int difference = std::transform_reduce(
            shot.constBits(), shot.constBits() + shot.sizeInBytes(), expected.constBits(), 0,
            [](int x, int y) { return std::max(x, y); }, [](uchar x, uchar y) { return std::abs(x - y); });
        QVERIFY2(difference <= 2, "the painted window differs from tests/skin/reference/main-window.png");
    }

    void aWindowWithoutCloseButtonGetsItsFrameAndALogLine()
    {
        std::unique_ptr<QWidget> w(Form("frmMainCode", u"btnShred:label:3"_s));
        w->resize(200, 100);
        MakeWindow(w.get(), 0);
        QVERIFY(ErrorLog().contains(u" Err Source = vn10 modSkinForm:MakeWindow Err Number = 438 "_s));
        // Fill, edges, outline and corners are there; nothing after the failing step is.
        const QImage surface = SkinSurface::of(w.get())->picture().toImage();
        const QImage corner = frmPics::Picture(u"imgWindowBottomRight"_s).toImage();
        QCOMPARE(surface.pixel(181 + 9, 70 + 28), corner.pixel(9, 28));
        QVERIFY(!w->mask().isEmpty() && w->findChild<QWidget*>(u"btnShred"_s)->pos() == QPoint(3, 150));
    }

    // The window follows the pointer until the button is released; a maximised one stays.
    void dragMovesTheWindowWithThePointer()
    {
        QWidget w;
        w.setGeometry(100, 100, 200, 100);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (bool top : {true, false}) {
            top ? MakeTopMost(&w) : MakeNormal(&w);
            QCOMPARE(
                QVariantList({w.windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                              w.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), w.isVisible()}),
                QVariantList({top, top, true}));
        }
        const QPoint start = w.pos();
        const auto moved = [&] { return u"%1,%2"_s.arg(w.x() - start.x()).arg(w.y() - start.y()); };
        QCursor::setPos(w.mapToGlobal(QPoint(20, 10)));
        DoDrag(&w);
        QCOMPARE(Play(&w, u"d55,22 r20,10 h70,70"_s, moved), u"35,12 35,12 35,12"_s);

        w.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint maximised = w.pos();
        DoDrag(&w);
        Play(&w, u"d45,45"_s);
        QCOMPARE(w.pos(), maximised);
    }

    // A 40 x 20 label is 600 x 300 twips, borders included; orange links light up yellow under the pointer.
    void linkLabel()
    {
        QStringList seen;
        for (const QPointF at : {QPointF(600, 300), QPointF(0, 0), QPointF(601, 150), QPointF(300, -1)}) {
            QLabel label; // fresh, so that a hover off it must set the plain colour itself
            label.resize(40, 20);
            LinkHover(&label, float(at.x()), float(at.y()));
            seen << label.palette().color(QPalette::WindowText).name();
            LinkNormal(&label);
            seen << label.palette().color(QPalette::WindowText).name();
        }
        QCOMPARE(seen.join(u' '), u"#ffff80 #ffc080 #ffff80 #ffc080 #ffc080 #ffc080 #ffc080 #ffc080"_s);
        QLabel a, b, c; // a row of links: the one under the pointer is hot, the others plain
        HoverOneLink(QList<QLabel*>{&a, &b, &c}, &b);
        const auto colour = [](const QLabel& label) {
            return label.palette().color(QPalette::WindowText).name();
        };
        QCOMPARE(colour(a) + colour(b) + colour(c), u"#ffc080#ffff80#ffc080"_s);

        LinkLabel link(u"Check All"_s);
        link.resize(60, 16);
        QCOMPARE(link.palette().color(QPalette::WindowText), QColor(255, 192, 128));
        int clicks = 0;
        connect(&link, &LinkLabel::Click, [&] { ++clicks; });
        Play(&link, u"p5 r5 p5 r80"_s); // the second released off it
        QTest::keyClick(&link, Qt::Key_Return);
        QCOMPARE(clicks, 2);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&link);
        QCOMPARE(QVariantList({iface->role(), iface->text(QAccessible::Name)}),
                 QVariantList({QAccessible::Link, u"Check All"_s}));
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks, 3);
    }

    // Each window registers its controls in a fixed order and stops at the first it lacks.
    void tips_data()
    {
        Columns();
        // The program's tips: light yellow, black, after a second, for five; a new one has its own defaults.
        const auto of = [](const cToolTip& t) {
            return QVariantList(
                {t.BkColor(), t.TxtColor(), t.DelayTime(), t.VisibleTime(), t.TipWidth(), t.Style()});
        };
        Row("control tips' settings", of(ControlTips()), QVariantList({0xC0FFFFu, 0u, 1000, 5000, 300, 1}));
        Row("area tips' settings", of(AreaTips()), QVariantList({0xC0FFFFu, 0u, 1000, 5000, 300, 1}));
        Row("a new tip's settings", of(cToolTip()), QVariantList({0xEEFFFFu, 0u, 500, 2000, 300, 1}));
        const QString log = ErrorLog();
        const char* main = "btnClose BtnAbout btnExpand btnContract btnShred btnYes btnNo btnCancel btnShow "
                           "btnHide btnOptions btnBall pic1";
        Row("main window: product name put in", Tip("frmMainCode", main, "btnClose"), u"Close Vanisto"_s);
        Row("main window's last", Tip("frmMainCode", main, "pic1"), u"View Announcements"_s);
        Row("other windows' close", Tip("frmAbout", "btnClose cmdOK cmdSysInfo cmdTutorial", "btnClose"),
            u"Exit and return to Main Screen"_s);
        Row("unknown window", Tip("frmElse", "btnClose", "btnClose"), QString());
        // The table's order is btnClose, btnYes, cmdCancel, cmdNo, cmdOK, cmdSysInfo.
        Row("before the missing one", Tip("frmDialog", "btnClose btnYes cmdNo cmdOK", "btnYes"), u"Yes"_s);
        Row("after the missing one", Tip("frmDialog", "btnClose btnYes cmdNo cmdOK", "cmdOK"), QString());
        // Only a missing control is logged, once for each window that lacks one.
        const QString logged = ErrorLog().mid(log.size());
        Row("logged", QVariantList({logged.count(u'\n'), logged.count(u"CreateTips Err Number = 438"_s)}),
            QVariantList({2, 2}));
    }
    void tips() { SKIN_COMPARE_ROW(); }

    void tipShowsAfterItsDelayAndHidesAgain()
    {
        std::unique_ptr<QWidget> w(Form("frmAd", u"btnClose"_s));
        CreateTips(w.get());
        QWidget* button = w->findChild<QWidget*>(u"btnClose"_s);
        QCOMPARE(button->accessibleName(), u"Exit and return to Main Screen"_s); // the tip names it
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(button, &enter);
        QVERIFY(!ControlTips().Shown());
        Fire(ControlTips(), "tipDelay");
        TipWindow* shown = ControlTips().Shown();
        QVERIFY(shown);
        QCOMPARE(
            QVariantList({shown->Text(), shown->Background(), shown->TextColor(), shown->Style()}),
            QVariantList({u"Exit and return to Main Screen"_s, QColor(255, 255, 192), QColor(Qt::black), 1}));
        Fire(ControlTips(), "tipVisible");
        QVERIFY(!ControlTips().Shown());
        // The toolkit's own tooltip stays out of the way.
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QVERIFY(static_cast<QObject&>(ControlTips()).eventFilter(button, &help));
        ControlTips().SetStyle(2); // balloons from the next tip on
        QCoreApplication::sendEvent(button, &enter);
        Fire(ControlTips(), "tipDelay");
        QVERIFY(ControlTips().Shown());
        QCOMPARE(ControlTips().Shown()->Style(), 2);
        ControlTips().SetStyle(1);
        // Left on the screen: the program must still end cleanly with a tip shown.
    }

    void tutorialChapterLinkIsAnArea()
    {
        std::unique_ptr<QWidget> w(Form("frmTutorial", u"slideframe:label"_s));
        QWidget* frame = w->findChild<QWidget*>(u"slideframe"_s);
        auto* label = new QLabel(frame);
        label->setObjectName(u"Label2"_s);
        label->setGeometry(10, 20, 100, 15);
        CreateTips(w.get());
        QCOMPARE(AreaTips().ToolText(frame, 0), u"Return to Chapter List"_s);
        MouseEvents::Hover(frame, {50, 25});
        Fire(AreaTips(), "tipDelay");
        QVERIFY(AreaTips().Shown());
        MouseEvents::Hover(frame, {150, 25}); // outside the label: no tip
        QVERIFY(!AreaTips().Shown());
    }
};

VANISTO_TEST_GUI_MAIN(TestSkin)
#include "tst_skin.moc"
