#include "SkinTestKit.h"
#include "skin/ctlSlider.h"
#include "skin/frmValueTip.h"

namespace {
// A vertical scroller whose 13 x 28 thumb travels 100 pixels, values 0 to 10.
struct Fixture
{
    ctlSlider slider;
    QStringList events;
    explicit Fixture(bool tip = false)
    {
        (void)slider.SetSliderIcon(SkinTestKit::Filled(Qt::red, QSize(13, 28)));
        slider.resize(13, 128);
        slider.SetShowValueTip(tip);
        slider.show(); // a hidden widget hears of its resizes only when shown
        SkinTestKit::Record(events, &slider, &ctlSlider::ValueChanged, "ValueChanged", &ctlSlider::MinReached,
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

class TestCtlSlider : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RefreshTwips(); }
    void cleanup() { SetHandCur(false); }

    // The top is Max, the thumb snaps to steps; a press on the rail centres it (top 86, round(1.4) = 1).
    void dragAndPress()
    {
        Fixture f;
        MouseEvents::Send(&f.slider, QEvent::MouseButtonPress, {6, 5}, Qt::LeftButton, Qt::LeftButton,
                          Qt::ShiftModifier);
        QCOMPARE(f.play(u"d6,55 d6,38 d6,-40 d6,400 r60,400"_s), u"5@50 7@30 10@0 0@100 0@100"_s);
        QCOMPARE(f.events,
                 QStringList({u"DragStart 1"_s, u"ValueChanged"_s, u"ValueChanged"_s, u"ValueChanged"_s,
                              u"MaxReached"_s, u"ValueChanged"_s, u"MinReached"_s, u"DragEnd 0"_s}));
        QVERIFY(!f.slider.Dragging());
        Fixture g;
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
    }

    // Each value set raises its events, the thumb goes to the top (as a reset list shows it); 380 refuses.
    void valueFromCode()
    {
        Fixture f;
        QCOMPARE(
            SkinTestKit::Set(f.slider, f.events, u"Value=0 Value=11 Max=0 Min=10 Value=8 Max=5 Min=2"_s),
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
        (void)slider.SetSliderIcon(SkinTestKit::Filled(Qt::red, QSize(20, 10)));
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
        Fixture f(true);
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
        MouseEvents::Drag(&f.slider, {6, 100});
        QCOMPARE(tip->lblTip()->text(), u"6"_s);
        MouseEvents::Release(&f.slider, {6, 100});
        QVERIFY(!f.slider.ValueTip() || !f.slider.ValueTip()->isVisible());
        QCOMPARE(f.slider.SetMax(500) + f.slider.SetValue(300), 0L);
        PropertyBag bag;
        f.slider.WriteProperties(bag);
        QCOMPARE(bag.Names(), QStringList({u"SliderIcon"_s, u"Max"_s, u"Value"_s}));
        ctlSlider loaded;
        SkinTestKit::Record(f.events, &loaded, &ctlSlider::ValueChanged, "ValueChanged");
        f.events.clear();
        loaded.ReadProperties(bag);
        QCOMPARE(QVariantList({loaded.Max(), loaded.Value(), loaded.Orientation(), f.events.size()}),
                 QVariantList({500, 300, 1, 0}));
    }
};

VANISTO_TEST_GUI_MAIN(TestCtlSlider)
#include "tst_ctlslider.moc"
