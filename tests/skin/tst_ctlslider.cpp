#include "MouseEvents.h"
#include "TestEnvironment.h"
#include "common/LogError.h"
#include "skin/PropertyBag.h"
#include "skin/ctlSlider.h"
#include "skin/frmValueTip.h"
#include "skin/modSkinForm.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QtTest>

using namespace MouseEvents;

namespace {
// A vertical scroller whose 13 x 28 thumb travels 100 pixels, values 0 to 10.
struct Fixture
{
    ctlSlider slider;
    QStringList events;
    Fixture()
    {
        QPixmap thumb(13, 28);
        thumb.fill(Qt::red);
        (void)slider.SetSliderIcon(thumb);
        slider.resize(13, 128);
        slider.show(); // a hidden widget hears of its resizes only when shown
        QObject::connect(&slider, &ctlSlider::ValueChanged,
                         [this] { events << QStringLiteral("ValueChanged %1").arg(slider.Value()); });
        QObject::connect(&slider, &ctlSlider::MinReached, [this] { events << QStringLiteral("MinReached"); });
        QObject::connect(&slider, &ctlSlider::MaxReached, [this] { events << QStringLiteral("MaxReached"); });
        QObject::connect(&slider, &ctlSlider::Click, [this] { events << QStringLiteral("Click"); });
        QObject::connect(&slider, &ctlSlider::DragStart,
                         [this](int shift) { events << QStringLiteral("DragStart %1").arg(shift); });
        QObject::connect(&slider, &ctlSlider::DragEnd,
                         [this](int shift) { events << QStringLiteral("DragEnd %1").arg(shift); });
    }
};
} // namespace

class TestCtlSlider : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RefreshTwips(); }
    void cleanup() { SetHandCur(false); }

    void dragMapsTopToMaxInWholeSteps()
    {
        Fixture f;
        f.slider.SetShowValueTip(false);
        QCOMPARE(f.slider.ThumbPos(), QPoint(0, 0));
        Send(&f.slider, QEvent::MouseButtonPress, {6, 5}, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(f.events, QStringList{QStringLiteral("DragStart 1")});
        Drag(&f.slider, {6, 55});
        QCOMPARE(f.slider.Value(), 5);
        QCOMPARE(f.slider.ThumbPos(), QPoint(0, 50));
        Drag(&f.slider, {6, 38});
        QCOMPARE(f.slider.Value(), 7);
        QCOMPARE(f.slider.ThumbPos(), QPoint(0, 30)); // snapped
        Drag(&f.slider, {6, -40});
        QCOMPARE(f.slider.Value(), 10);
        Drag(&f.slider, {6, 400});
        QCOMPARE(f.slider.Value(), 0);
        QCOMPARE(f.slider.ThumbPos(), QPoint(0, 100));
        Release(&f.slider, {60, 400}); // outside: no Click
        const QStringList expected = {QStringLiteral("DragStart 1"),    QStringLiteral("ValueChanged 5"),
                                      QStringLiteral("ValueChanged 7"), QStringLiteral("ValueChanged 10"),
                                      QStringLiteral("MaxReached"),     QStringLiteral("ValueChanged 0"),
                                      QStringLiteral("MinReached"),     QStringLiteral("DragEnd 0")};
        QCOMPARE(f.events, expected);
        QVERIFY(!f.slider.Dragging());
    }

    void pressOnTheRailCentresTheThumb()
    {
        Fixture f;
        f.slider.SetShowValueTip(false);
        Press(&f.slider, {6, 100});
        // Centre under the pointer: top 86, value round(1.4) = 1, snapped to top 90.
        QCOMPARE(f.slider.Value(), 1);
        QCOMPARE(f.slider.ThumbPos(), QPoint(0, 90));
        QCOMPARE(f.events, (QStringList{QStringLiteral("ValueChanged 1"), QStringLiteral("DragStart 0")}));
        Release(&f.slider, {6, 100});
        QCOMPARE(f.events.mid(2), (QStringList{QStringLiteral("Click"), QStringLiteral("DragEnd 0")}));
    }

    void disabledSliderOnlyShowsTheHand()
    {
        Fixture f;
        f.slider.SetEnabled(false);
        Press(&f.slider, {6, 100});
        Drag(&f.slider, {6, 50});
        QVERIFY(f.events.isEmpty());
        QVERIFY(!f.slider.Dragging());
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    }

    void valueFromCode()
    {
        Fixture f;
        QCOMPARE(f.slider.SetValue(0), 0L);
        QCOMPARE(f.events, (QStringList{QStringLiteral("ValueChanged 0"), QStringLiteral("MinReached")}));
        QCOMPARE(f.slider.ThumbPos(), QPoint(0, 0)); // a reset list shows its thumb at the top
        QCOMPARE(f.slider.SetValue(11), ErrorNumber::InvalidPropertyValue);
        QCOMPARE(f.slider.SetMax(0), ErrorNumber::InvalidPropertyValue);
        QCOMPARE(f.slider.SetMin(10), ErrorNumber::InvalidPropertyValue);
        QCOMPARE(f.slider.Value(), 0);
        QCOMPARE(f.slider.SetValue(8), 0L);
        QCOMPARE(f.slider.SetMax(5), 0L); // lowering Max leaves the value
        QCOMPARE(f.slider.Value(), 8);
        f.events.clear();
        QCOMPARE(f.slider.SetMin(2), 0L);
        QCOMPARE(f.events, (QStringList{QStringLiteral("ValueChanged 2"), QStringLiteral("MinReached")}));
    }

    void horizontalThumbFollowsTheValue()
    {
        ctlSlider slider;
        QPixmap thumb(20, 10);
        thumb.fill(Qt::red);
        (void)slider.SetSliderIcon(thumb);
        QCOMPARE(slider.SetOrientation(0), 0L);
        slider.show();
        slider.resize(120, 50);
        QCOMPARE(slider.size(), QSize(120, 10));
        QCOMPARE(slider.SetValue(5), 0L);
        QCOMPARE(slider.ThumbPos(), QPoint(50, 0));
        QCOMPARE(slider.SetRailStyle(7), ErrorNumber::SubscriptOutOfRange);
    }

    void resizePutsAVerticalThumbAtTheTop()
    {
        Fixture f;
        f.slider.SetShowValueTip(false);
        Press(&f.slider, {6, 120});
        Release(&f.slider, {6, 120});
        QVERIFY(f.slider.ThumbPos().y() > 0);
        f.slider.resize(13, 200);
        QCOMPARE(f.slider.ThumbPos(), QPoint(0, 0));
        QCOMPARE(f.slider.Value(), 0);
    }

    void valueTipShowsTheValueAtThePress()
    {
        Fixture f;
        f.slider.move(40, 60);
        Press(&f.slider, {6, 55}); // jumps to value 6 (top 41, snapped 40)
        frmValueTip* tip = f.slider.ValueTip();
        QVERIFY(tip && tip->isVisible());
        QCOMPARE(tip->lblTip()->text(), QStringLiteral("6"));
        const QSize label = tip->lblTip()->size();
        const QPoint origin = f.slider.mapToGlobal(QPoint(0, 0));
        QCOMPARE(tip->pos(), origin + QPoint(-label.width() - 6, 40 + (28 - label.height() - 4) / 2));
        QCOMPARE(tip->size(), label + QSize(4, 3));
        QVERIFY(tip->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        Drag(&f.slider, {6, 100});
        QCOMPARE(tip->lblTip()->text(), QStringLiteral("6"));
        Release(&f.slider, {6, 100});
        QVERIFY(!f.slider.ValueTip() || !f.slider.ValueTip()->isVisible());
    }

    void savedProperties()
    {
        Fixture f;
        QCOMPARE(f.slider.SetMax(500), 0L);
        QCOMPARE(f.slider.SetValue(300), 0L);
        PropertyBag bag;
        f.slider.WriteProperties(bag);
        QCOMPARE(bag.Names(),
                 (QStringList{QStringLiteral("SliderIcon"), QStringLiteral("Max"), QStringLiteral("Value")}));
        ctlSlider loaded;
        QSignalSpy changed(&loaded, &ctlSlider::ValueChanged);
        loaded.ReadProperties(bag);
        QCOMPARE(loaded.Max(), 500);
        QCOMPARE(loaded.Value(), 300);
        QCOMPARE(loaded.Orientation(), 1);
        QCOMPARE(changed.count(), 0);
    }

    void accessibleValue()
    {
        Fixture f;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&f.slider);
        QCOMPARE(iface->role(), QAccessible::Slider);
        QAccessibleValueInterface* value = iface->valueInterface();
        QVERIFY(value);
        value->setCurrentValue(4);
        QCOMPARE(f.slider.Value(), 4);
        QCOMPARE(value->maximumValue().toInt(), 10);
        value->setCurrentValue(40);
        QCOMPARE(f.slider.Value(), 4);
    }
};

VANISTO_TEST_GUI_MAIN(TestCtlSlider)
#include "tst_ctlslider.moc"
