#include "MouseEvents.h"
#include "TestEnvironment.h"
#include "common/LogError.h"
#include "skin/PropertyBag.h"
#include "skin/cpvProgressBar.h"
#include "skin/modSkinForm.h"

#include <QAccessible>
#include <QApplication>
#include <QtTest>

namespace {
QPixmap Filled(const QColor& color, QSize size = QSize(200, 20))
{
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

struct Fixture
{
    cpvProgressBar bar;
    QStringList events;
    Fixture()
    {
        bar.SetBarPictureBack(Filled(Qt::black));
        bar.SetBarPicture(Filled(Qt::red));
        QObject::connect(&bar, &cpvProgressBar::ValueChanged,
                         [this] { events << QStringLiteral("ValueChanged"); });
        QObject::connect(&bar, &cpvProgressBar::MaxReached,
                         [this] { events << QStringLiteral("MaxReached"); });
        QObject::connect(&bar, &cpvProgressBar::MinReached,
                         [this] { events << QStringLiteral("MinReached"); });
    }
};
} // namespace

class TestCpvProgressBar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RefreshTwips(); }

    void valueEvents()
    {
        Fixture f;
        QCOMPARE(f.bar.SetValue(0), 0L);
        QVERIFY(f.events.isEmpty()); // the value it already had
        QCOMPARE(f.bar.SetValue(100), 0L);
        QCOMPARE(f.events, (QStringList{QStringLiteral("ValueChanged"), QStringLiteral("MaxReached")}));
        f.events.clear();
        QCOMPARE(f.bar.SetValue(100), 0L);
        QVERIFY(f.events.isEmpty());
        QCOMPARE(f.bar.SetValue(0), 0L);
        QCOMPARE(f.events, (QStringList{QStringLiteral("ValueChanged"), QStringLiteral("MinReached")}));
    }

    void invalidValuesChangeNothing_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("value");
        QTest::newRow("Value below Min") << "Value" << -1;
        QTest::newRow("Value above Max") << "Value" << 101;
        QTest::newRow("Max equal to Min") << "Max" << 0;
        QTest::newRow("Max below Min") << "Max" << -5;
        QTest::newRow("Min equal to Max") << "Min" << 100;
    }
    void invalidValuesChangeNothing()
    {
        QFETCH(QString, property);
        QFETCH(int, value);
        Fixture f;
        QCOMPARE(f.bar.SetValue(40), 0L);
        f.events.clear();
        long error = 0;
        if (property == QStringLiteral("Value"))
            error = f.bar.SetValue(value);
        else if (property == QStringLiteral("Max"))
            error = f.bar.SetMax(value);
        else
            error = f.bar.SetMin(value);
        QCOMPARE(error, ErrorNumber::InvalidPropertyValue);
        QCOMPARE(f.bar.Value(), 40);
        QCOMPARE(f.bar.Min(), 0);
        QCOMPARE(f.bar.Max(), 100);
        QVERIFY(f.events.isEmpty());
    }

    void minResetsTheValue()
    {
        Fixture f;
        QCOMPARE(f.bar.SetValue(50), 0L);
        f.events.clear();
        QCOMPARE(f.bar.SetMin(10), 0L);
        QCOMPARE(f.bar.Value(), 10);
        QCOMPARE(f.events, (QStringList{QStringLiteral("ValueChanged"), QStringLiteral("MinReached")}));
    }

    void lowerMaxKeepsTheValue()
    {
        Fixture f;
        QCOMPARE(f.bar.SetValue(80), 0L);
        QCOMPARE(f.bar.SetMax(40), 0L);
        QCOMPARE(f.bar.Value(), 80);
        QCOMPARE(f.bar.FilledRect(), QRect(0, 0, 400, 20)); // longer than the control, clipped
        f.bar.SetCaptionFormat(2);
        QCOMPARE(f.bar.Caption(), QStringLiteral("200%"));
    }

    void barAndCaption()
    {
        Fixture f;
        QCOMPARE(f.bar.SetValue(50), 0L);
        QCOMPARE(f.bar.FilledRect(), QRect(0, 0, 100, 20));
        f.bar.SetCaptionFormat(3);
        QCOMPARE(f.bar.Caption(), QStringLiteral("50.0%"));
        const QImage drawn = f.bar.grab().toImage();
        QCOMPARE(QColor(drawn.pixel(2, 2)), QColor(Qt::red));
        QCOMPARE(QColor(drawn.pixel(197, 2)), QColor(Qt::black));
        f.bar.SetOrientation(1);
        QCOMPARE(f.bar.SetValue(25), 0L);
        QCOMPARE(f.bar.FilledRect(), QRect(0, 15, 200, 5));
    }

    void sizeSnapsToTheBackground()
    {
        Fixture f;
        QCOMPARE(f.bar.size(), QSize(200, 20));
        f.bar.resize(300, 50);
        QCOMPARE(f.bar.size(), QSize(200, 20));
        f.bar.SetBarPictureBack(Filled(Qt::black, QSize(70, 10)));
        QCOMPARE(f.bar.size(), QSize(70, 10));
    }

    void mouseEvents()
    {
        Fixture f;
        QStringList raised;
        QObject::connect(&f.bar, &cpvProgressBar::MouseDown, [&](int b, int s, float x, float y) {
            raised << QStringLiteral("MouseDown %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y);
        });
        QObject::connect(&f.bar, &cpvProgressBar::Click, [&] { raised << QStringLiteral("Click"); });
        MouseEvents::Send(&f.bar, QEvent::MouseButtonPress, {4, 2}, Qt::LeftButton, Qt::LeftButton,
                          Qt::ShiftModifier);
        MouseEvents::Release(&f.bar, {4, 2});
        QCOMPARE(raised, (QStringList{QStringLiteral("MouseDown 1 1 60 30"), QStringLiteral("Click")}));
    }

    void loadingStoresWithoutChecksOrEvents()
    {
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("Min"), 20, 0);
        bag.WriteProperty(QStringLiteral("Max"), 120, 100);
        bag.WriteProperty(QStringLiteral("Value"), 150, 0);
        bag.WriteProperty(QStringLiteral("CaptionFormat"), 5, 0);
        bag.WriteProperty(QStringLiteral("BarPictureBack"), Filled(Qt::black), QPixmap());
        Fixture f;
        f.bar.ReadProperties(bag);
        QVERIFY(f.events.isEmpty());
        QCOMPARE(f.bar.Value(), 150);
        QCOMPARE(f.bar.Caption(), QStringLiteral("130%"));
        QCOMPARE(f.bar.SetValue(150), ErrorNumber::InvalidPropertyValue);
        PropertyBag saved;
        f.bar.WriteProperties(saved);
        QCOMPARE(saved.ReadProperty(QStringLiteral("Value"), 0).toInt(), 150);
        QVERIFY(!saved.Names().contains(QStringLiteral("Orientation")));
    }

    void accessibleValue()
    {
        Fixture f;
        QCOMPARE(f.bar.SetValue(30), 0L);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&f.bar);
        QCOMPARE(iface->role(), QAccessible::ProgressBar);
        QAccessibleValueInterface* value = iface->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toInt(), 30);
        QCOMPARE(value->maximumValue().toInt(), 100);
        QCOMPARE(value->minimumValue().toInt(), 0);
    }
};

VANISTO_TEST_GUI_MAIN(TestCpvProgressBar)
#include "tst_cpvprogressbar.moc"
