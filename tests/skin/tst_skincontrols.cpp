#include "SkinTestKit.h"
#include "common/LogError.h"
#include "skin/MyTopButton.h"
#include "skin/cpvProgressBar.h"
#include "skin/ctlSlider.h"
#include "skin/frmValueTip.h"

#include <QPainter>

namespace {
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
        return SkinTestKit::Play(&button, steps, [this] { return look(); });
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
        return SkinTestKit::Play(
            &slider, steps, [this] { return u"%1@%2"_s.arg(slider.Value()).arg(slider.ThumbPos().y()); });
    }
};
} // namespace

class TestSkinControls : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RefreshTwips(); }
    void cleanup() { SetHandCur(false); }

    void buttonPictures()
    {
        // The left pixel counts as outside; a release shows Up even under the pointer.
        QCOMPARE(Button(0).play(u"h5 h0 h5 p5 d25 d6 r6 h7 l"_s),
                 u"Hot0 Up0 Hot0 Down0 Up0 Down0 Up0 Hot0 Up0"_s);
        // Latched down, hovering changes nothing; released, it stays hot until the pointer leaves.
        QCOMPARE(Button(1).play(u"p5 r5 h6 p6 d40 d6 r6 h20 p5 d30 r30"_s),
                 u"Down0 Down1 Down1 Hot1 Down1 Hot1 Hot0 Up0 Down0 Up0 Up0"_s);
    }

    // Twips; a release off it gives no Click; keyboard and accessibility press in the middle.
    void buttonEvents()
    {
        Button f;
        SkinTestKit::Play(&f.button, u"p5,4 d6,4 r6,4 p5 d30 r30"_s);
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

    // Only what differs from a new button is written; what is read needs no event to show.
    void buttonSavedProperties()
    {
        PropertyBag defaults;
        MyTopButton().WriteProperties(defaults);
        QVERIFY(defaults.Names().isEmpty());
        Button f(1);
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

    // Events only for a new value and at the ends; 380 refuses; a new Min resets the value, a lower Max not.
    void barProperties()
    {
        Bar f;
        QCOMPARE(
            Set(f.bar, f.events,
                u"Value=0 Value=100 Value=100 Value=0 Value=40 Value=-1 Value=101 Max=0 Min=100 "
                "Max=-5 Value=50 Min=10 Value=80 Max=40"_s),
            u"0 0:ValueChanged,MaxReached 0 0:ValueChanged,MinReached 0:ValueChanged 380 380 380 380 380 "
            "0:ValueChanged 0:ValueChanged,MinReached 0:ValueChanged 0 | 10 80 40"_s);
    }

    // The size is the background's; a value above Max is drawn past the end, and clipped.
    void barCaptionAndEvents()
    {
        Bar f;
        f.bar.resize(300, 50);
        QCOMPARE(f.bar.size(), QSize(200, 20));
        QCOMPARE(f.bar.SetValue(50), 0L);
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
    }

    void loadingStoresWithoutChecksOrEvents()
    {
        PropertyBag bag;
        bag.WriteProperty(u"Min"_s, 20, 0);
        bag.WriteProperty(u"Max"_s, 120, 100);
        bag.WriteProperty(u"Value"_s, 150, 0);
        bag.WriteProperty(u"CaptionFormat"_s, 5, 0);
        bag.WriteProperty(u"BarPictureBack"_s, Filled(Qt::black, QSize(200, 20)), QPixmap());
        Bar f;
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
        SkinTestKit::Play(&g.slider, u"p6,100 d6,50"_s);
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
    }

    void horizontalThumbFollowsTheValue()
    {
        ctlSlider slider;
        (void)slider.SetSliderIcon(Filled(Qt::red, QSize(20, 10)));
        QCOMPARE(slider.SetOrientation(0), 0L);
        slider.show();
        slider.resize(120, 50);
        QCOMPARE(slider.size(), QSize(120, 10));
        QCOMPARE(slider.SetValue(5), 0L);
        QCOMPARE(slider.ThumbPos(), QPoint(50, 0));
        QCOMPARE(slider.SetRailStyle(7), ErrorNumber::SubscriptOutOfRange);
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
        SkinTestKit::Play(&f.slider, u"d6,100"_s);
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
};

VANISTO_TEST_GUI_MAIN(TestSkinControls)
#include "tst_skincontrols.moc"
