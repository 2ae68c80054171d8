#include "SkinTestKit.h"
#include "TestEnvironment.h"
#include "common/LogError.h"
#include "skin/PropertyBag.h"
#include "skin/ctlSlider.h"
#include "skin/frmValueTip.h"
#include "skin/modSkinForm.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>

using SkinTestKit::Play;
using SkinTestKit::Record;

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
        Record(events, &slider, &ctlSlider::ValueChanged, "ValueChanged", &ctlSlider::MinReached,
               "MinReached", &ctlSlider::MaxReached, "MaxReached", &ctlSlider::Click, "Click",
               &ctlSlider::DragStart, "DragStart", &ctlSlider::DragEnd, "DragEnd");
    }
    // The value and the thumb's top, e.g. "7@30".
    QString look() const { return u"%1@%2"_s.arg(slider.Value()).arg(slider.ThumbPos().y()); }
};
} // namespace

class TestCtlSlider : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RefreshTwips(); }
    void cleanup() { SetHandCur(false); }

    // The top is Max; the thumb snaps to whole steps and stays on the rail.
    void dragMovesInWholeSteps()
    {
        Fixture f;
        MouseEvents::Send(&f.slider, QEvent::MouseButtonPress, {6, 5}, Qt::LeftButton, Qt::LeftButton,
                          Qt::ShiftModifier);
        QCOMPARE(Play(&f.slider, u"d6,55 d6,38 d6,-40 d6,400 r60,400"_s, [&] { return f.look(); }),
                 u"5@50 7@30 10@0 0@100 0@100"_s);
        QCOMPARE(f.events,
                 QStringList({u"DragStart 1"_s, u"ValueChanged"_s, u"ValueChanged"_s, u"ValueChanged"_s,
                              u"MaxReached"_s, u"ValueChanged"_s, u"MinReached"_s, u"DragEnd 0"_s}));
        QVERIFY(!f.slider.Dragging());
    }

    // Centred under the pointer: top 86, value round(1.4) = 1, snapped to top 90; released
    // there, it is a click.
    void pressOnTheRailCentresTheThumb()
    {
        Fixture f;
        QCOMPARE(Play(&f.slider, u"p6,100 r6,100"_s, [&] { return f.look(); }), u"1@90 1@90"_s);
        QCOMPARE(f.events, QStringList({u"ValueChanged"_s, u"DragStart 0"_s, u"Click"_s, u"DragEnd 0"_s}));
        f.slider.resize(13, 200); // a new size puts a vertical thumb at the top, whatever the value
        QCOMPARE(f.look(), u"1@0"_s);
    }

    void disabledSliderOnlyShowsTheHand()
    {
        Fixture f;
        f.slider.SetEnabled(false);
        Play(&f.slider, u"p6,100 d6,50"_s, [] { return QString(); });
        QVERIFY(f.events.isEmpty());
        QVERIFY(!f.slider.Dragging());
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    }

    // Every value set raises its events; a thumb set from code goes to the top, as a reset list
    // shows it; refused values (380) change nothing; a lower Max leaves the value.
    void valueFromCode()
    {
        Fixture f;
        QCOMPARE(
            SkinTestKit::Set(f.slider, f.events, u"Value=0 Value=11 Max=0 Min=10 Value=8 Max=5 Min=2"_s),
            u"0:ValueChanged,MinReached 380 380 380 0:ValueChanged 0 0:ValueChanged,MinReached | 2 2 5"_s);
        QCOMPARE(f.slider.ThumbPos(), QPoint(0, 0));
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

    // Left of the thumb, centred on it, showing the value at the press until the release.
    void valueTipShowsTheValueAtThePress()
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
    }

    // Only what differs from a new slider is written; loading raises nothing.
    void savedProperties()
    {
        Fixture f(true);
        QCOMPARE(f.slider.SetMax(500), 0L);
        QCOMPARE(f.slider.SetValue(300), 0L);
        PropertyBag bag;
        f.slider.WriteProperties(bag);
        QCOMPARE(bag.Names(), QStringList({u"SliderIcon"_s, u"Max"_s, u"Value"_s}));
        ctlSlider loaded;
        QSignalSpy changed(&loaded, &ctlSlider::ValueChanged);
        loaded.ReadProperties(bag);
        QCOMPARE(u"%1 %2 %3"_s.arg(loaded.Max()).arg(loaded.Value()).arg(loaded.Orientation()),
                 u"500 300 1"_s);
        QCOMPARE(changed.count(), 0);
    }

    void accessibleValue()
    {
        Fixture f;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&f.slider);
        QCOMPARE(iface->role(), QAccessible::Slider);
        QAccessibleValueInterface* value = iface->valueInterface();
        value->setCurrentValue(4);
        value->setCurrentValue(40); // past Max: refused
        QCOMPARE(f.slider.Value(), 4);
        QCOMPARE(value->maximumValue().toInt(), 10);
    }
};

VANISTO_TEST_GUI_MAIN(TestCtlSlider)
#include "tst_ctlslider.moc"
