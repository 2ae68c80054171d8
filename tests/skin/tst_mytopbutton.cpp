#include "MouseEvents.h"
#include "TestEnvironment.h"
#include "skin/MyTopButton.h"
#include "skin/PropertyBag.h"
#include "skin/modSkinForm.h"

#include <QAccessible>
#include <QApplication>
#include <QMimeData>
#include <QPainter>
#include <QtTest>

using namespace MouseEvents;
using Picture = MyTopButton::Picture;

namespace {
QPixmap Filled(const QColor& color, QSize size = QSize(20, 10))
{
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

struct Fixture
{
    MyTopButton button;
    QStringList events;

    explicit Fixture(int style = 0)
    {
        button.SetImages(
            {Filled(Qt::gray), Filled(Qt::yellow), Filled(Qt::darkYellow), Filled(Qt::darkGray)});
        button.SetStyle(style);
        auto record = [this](const char* name) {
            return [this, name](int b, int, float x, float y) {
                events << QStringLiteral("%1(%2,%3,%4)").arg(QLatin1String(name)).arg(b).arg(x).arg(y);
            };
        };
        QObject::connect(&button, &MyTopButton::MouseDown, record("MouseDown"));
        QObject::connect(&button, &MyTopButton::MouseMove, record("MouseMove"));
        QObject::connect(&button, &MyTopButton::MouseUp, record("MouseUp"));
        QObject::connect(&button, &MyTopButton::Click, [this] { events << QStringLiteral("Click"); });
        QObject::connect(&button, &MyTopButton::DblClick, [this] { events << QStringLiteral("DblClick"); });
    }
};
} // namespace

class TestMyTopButton : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RefreshTwips(); }

    void pushButtonPictures()
    {
        Fixture f;
        QCOMPARE(f.button.ShownPicture(), Picture::Up);
        Hover(&f.button, {5, 5});
        QCOMPARE(f.button.ShownPicture(), Picture::Hot);
        Hover(&f.button, {0, 5}); // the left pixel counts as outside
        QCOMPARE(f.button.ShownPicture(), Picture::Up);
        Hover(&f.button, {5, 5});
        Press(&f.button, {5, 5});
        QCOMPARE(f.button.ShownPicture(), Picture::Down);
        Drag(&f.button, {25, 5}); // dragged off
        QCOMPARE(f.button.ShownPicture(), Picture::Up);
        Drag(&f.button, {6, 5}); // and back on
        QCOMPARE(f.button.ShownPicture(), Picture::Down);
        Release(&f.button, {6, 5});
        QCOMPARE(f.button.ShownPicture(), Picture::Up); // up even though the pointer is still over it
        Hover(&f.button, {7, 5});
        QCOMPARE(f.button.ShownPicture(), Picture::Hot);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&f.button, &leave);
        QCOMPARE(f.button.ShownPicture(), Picture::Up);
    }

    void eventsOfAClickInTwips()
    {
        Fixture f;
        Press(&f.button, {5, 4});
        Drag(&f.button, {6, 4});
        Release(&f.button, {6, 4});
        const QStringList expected = {QStringLiteral("MouseDown(1,75,60)"),
                                      QStringLiteral("MouseMove(1,90,60)"),
                                      QStringLiteral("MouseUp(1,90,60)"), QStringLiteral("Click")};
        QCOMPARE(f.events, expected);
    }

    void releaseOutsideRaisesMouseUpButNoClick()
    {
        Fixture f(1);
        Press(&f.button, {5, 5});
        Drag(&f.button, {30, 5});
        Release(&f.button, {30, 5});
        QCOMPARE(f.events.last(), QStringLiteral("MouseUp(1,450,75)"));
        QCOMPARE(f.button.Value(), 0); // no toggle
        QCOMPARE(f.button.ShownPicture(), Picture::Up);
    }

    void toggleButton()
    {
        Fixture f(1);
        Press(&f.button, {5, 5});
        QCOMPARE(f.button.ShownPicture(), Picture::Down);
        Release(&f.button, {5, 5});
        QCOMPARE(f.button.Value(), 1);
        QCOMPARE(f.button.ShownPicture(), Picture::Down);
        Hover(&f.button, {6, 5});
        QCOMPARE(f.button.ShownPicture(), Picture::Down); // latched: hover changes nothing
        Press(&f.button, {6, 5});
        QCOMPARE(f.button.ShownPicture(), Picture::Hot);
        Drag(&f.button, {40, 5});
        QCOMPARE(f.button.ShownPicture(), Picture::Down);
        Drag(&f.button, {6, 5});
        Release(&f.button, {6, 5});
        QCOMPARE(f.button.Value(), 0);
        QCOMPARE(f.button.ShownPicture(), Picture::Hot); // until the pointer leaves
        Hover(&f.button, {20, 5});
        QCOMPARE(f.button.ShownPicture(), Picture::Up);
    }

    void disabledButtonRaisesOnlyClicks()
    {
        Fixture f;
        f.button.SetEnabled(false);
        QCOMPARE(f.button.ShownPicture(), Picture::Disabled);
        Hover(&f.button, {5, 5});
        Press(&f.button, {5, 5});
        Release(&f.button, {5, 5});
        QTest::keyClick(&f.button, Qt::Key_Space);
        Send(&f.button, QEvent::MouseButtonDblClick, {5, 5}, Qt::LeftButton, Qt::LeftButton);
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a"))});
        QDropEvent drop(QPointF(4, 2), Qt::CopyAction, &files, Qt::NoButton, Qt::NoModifier);
        QObject::connect(
            &f.button, &MyTopButton::OLEDragDrop,
            [&](const QMimeData* data, int, int, int, float x, float y) {
                f.events << QStringLiteral("OLEDragDrop %1 %2 %3").arg(data->urls().size()).arg(x).arg(y);
            });
        QDragEnterEvent enter(QPoint(4, 2), Qt::CopyAction, &files, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&f.button, &enter);
        QCoreApplication::sendEvent(&f.button, &drop);
        QCOMPARE(f.events, (QStringList{QStringLiteral("Click"), QStringLiteral("DblClick"),
                                        QStringLiteral("OLEDragDrop 1 60 30")}));
        QCOMPARE(f.button.ShownPicture(), Picture::Disabled);
    }

    void enablingShowsTheRestingPicture()
    {
        Fixture f;
        f.button.SetEnabled(false);
        f.button.SetValue(1);
        f.button.SetEnabled(true);
        QCOMPARE(f.button.ShownPicture(), Picture::Down);
        f.button.SetEnabled(false);
        f.button.SetValue(2);
        f.button.SetEnabled(true);
        QCOMPARE(f.button.ShownPicture(), Picture::Disabled); // 2 leaves whatever was shown
        f.button.SetStyle(1);
        QCOMPARE(f.button.ShownPicture(), Picture::Up);
        QCOMPARE(f.button.Value(), 0);
    }

    void sizeFollowsImageUp()
    {
        MyTopButton button;
        button.resize(80, 80);
        button.SetImageUp(Filled(Qt::red, QSize(19, 19)));
        QCOMPARE(button.size(), QSize(19, 19));
        button.resize(50, 40);
        QCOMPARE(button.size(), QSize(19, 19));
    }

    void maskColourIsSeeThroughOnlyWithBackStyleZero()
    {
        QPixmap picture = Filled(Qt::blue);
        {
            QPainter painter(&picture);
            painter.fillRect(0, 0, 5, 10, QColor(192, 192, 192));
        }
        MyTopButton button;
        button.SetImageUp(picture);
        QVERIFY(button.mask().isEmpty());
        button.SetBackStyle(0);
        QVERIFY(!button.mask().contains(QPoint(2, 2)));
        QVERIFY(button.mask().contains(QPoint(10, 2)));
        const QImage drawn = button.grab().toImage();
        QCOMPARE(QColor(drawn.pixel(10, 2)), QColor(Qt::blue));
    }

    void savedProperties()
    {
        Fixture f;
        PropertyBag defaults;
        MyTopButton fresh;
        fresh.WriteProperties(defaults);
        QVERIFY(defaults.Names().isEmpty());

        f.button.SetStyle(1);
        f.button.SetValue(1);
        f.button.SetEnabled(false);
        f.button.SetMaskColor(0xFF00FF);
        PropertyBag bag;
        f.button.WriteProperties(bag);
        const QStringList written = {QStringLiteral("Enabled"),  QStringLiteral("ImageDown"),
                                     QStringLiteral("ImageHot"), QStringLiteral("ImageDisabled"),
                                     QStringLiteral("ImageUp"),  QStringLiteral("Style"),
                                     QStringLiteral("Value"),    QStringLiteral("MaskColor")};
        QCOMPARE(bag.Names(), written);

        MyTopButton loaded;
        loaded.ReadProperties(bag);
        QCOMPARE(loaded.Enabled(), false);
        QCOMPARE(loaded.Style(), 1);
        QCOMPARE(loaded.Value(), 1);
        QCOMPARE(loaded.MaskColor(), 0xFF00FFu);
        QCOMPARE(loaded.BackStyle(), 1);
        QCOMPARE(loaded.size(), QSize(20, 10));
        QCOMPARE(loaded.ShownPicture(), Picture::Disabled);
    }

    void keyboardPressesInTheMiddle()
    {
        Fixture f;
        QTest::keyClick(&f.button, Qt::Key_Space);
        QTest::keyClick(&f.button, Qt::Key_Return);
        const QStringList once = {QStringLiteral("MouseDown(1,150,75)"), QStringLiteral("MouseUp(1,150,75)"),
                                  QStringLiteral("Click")};
        QCOMPARE(f.events, once + once);
    }

    void accessibleAsAPushButton()
    {
        Fixture f;
        f.button.setAccessibleName(QStringLiteral("Shred now"));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&f.button);
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Shred now"));
        QAccessibleActionInterface* actions = iface->actionInterface();
        QVERIFY(actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(f.events.contains(QStringLiteral("MouseUp(1,150,75)")));
        f.button.SetEnabled(false);
        QVERIFY(iface->state().disabled);
    }
};

VANISTO_TEST_GUI_MAIN(TestMyTopButton)
#include "tst_mytopbutton.moc"
