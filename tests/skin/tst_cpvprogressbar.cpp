#include "SkinTestKit.h"
#include "skin/cpvProgressBar.h"

using SkinTestKit::Filled;

namespace {
// A 200 x 20 bar, black behind red, values 0 to 100, whose events are written down.
struct Fixture
{
    cpvProgressBar bar;
    QStringList events;
    Fixture()
    {
        bar.SetBarPictureBack(Filled(Qt::black, QSize(200, 20)));
        bar.SetBarPicture(Filled(Qt::red, QSize(200, 20)));
        SkinTestKit::Record(events, &bar, &cpvProgressBar::ValueChanged, "ValueChanged",
                            &cpvProgressBar::MaxReached, "MaxReached", &cpvProgressBar::MinReached,
                            "MinReached", &cpvProgressBar::MouseDown, "MouseDown", &cpvProgressBar::Click,
                            "Click");
    }
};
} // namespace

class TestCpvProgressBar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RefreshTwips(); }

    // Events only for a new value and at the ends; 380 refuses; a new Min resets the value, a lower Max not.
    void properties()
    {
        Fixture f;
        QCOMPARE(
            SkinTestKit::Set(f.bar, f.events,
                             u"Value=0 Value=100 Value=100 Value=0 Value=40 Value=-1 Value=101 Max=0 Min=100 "
                             "Max=-5 Value=50 Min=10 Value=80 Max=40"_s),
            u"0 0:ValueChanged,MaxReached 0 0:ValueChanged,MinReached 0:ValueChanged 380 380 380 380 380 "
            "0:ValueChanged 0:ValueChanged,MinReached 0:ValueChanged 0 | 10 80 40"_s);
    }

    // The size is the background's; a value above Max is drawn past the end, and clipped.
    void barCaptionAndEvents()
    {
        Fixture f;
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
        Fixture f;
        f.bar.ReadProperties(bag);
        QCOMPARE(QVariantList({f.events.size(), f.bar.Value(), f.bar.Caption()}),
                 QVariantList({0, 150, u"130%"_s}));
        QCOMPARE(f.bar.SetValue(150), ErrorNumber::InvalidPropertyValue);
        PropertyBag saved;
        f.bar.WriteProperties(saved);
        QCOMPARE(saved.ReadProperty(u"Value"_s, 0).toInt(), 150);
        QVERIFY(!saved.Names().contains(u"Orientation"_s));
    }
};

VANISTO_TEST_GUI_MAIN(TestCpvProgressBar)
#include "tst_cpvprogressbar.moc"
