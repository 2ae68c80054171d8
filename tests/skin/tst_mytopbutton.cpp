#include "SkinTestKit.h"
#include "skin/MyTopButton.h"

#include <QMimeData>
#include <QPainter>

using SkinTestKit::Filled;

namespace {
// A 20 x 10 button whose events are written down.
struct Fixture
{
    MyTopButton button;
    QStringList events;

    explicit Fixture(int style = 0)
    {
        const QSize size(20, 10);
        button.SetImages({Filled(Qt::gray, size), Filled(Qt::yellow, size), Filled(Qt::darkYellow, size),
                          Filled(Qt::darkGray, size)});
        button.SetStyle(style);
        SkinTestKit::Record(events, &button, &MyTopButton::MouseDown, "MouseDown", &MyTopButton::MouseMove,
                            "MouseMove", &MyTopButton::MouseUp, "MouseUp", &MyTopButton::Click, "Click",
                            &MyTopButton::DblClick, "DblClick");
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
} // namespace

class TestMyTopButton : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { RefreshTwips(); }

    void pictures()
    {
        // The left pixel counts as outside; a release shows Up even under the pointer.
        QCOMPARE(Fixture(0).play(u"h5 h0 h5 p5 d25 d6 r6 h7 l"_s),
                 u"Hot0 Up0 Hot0 Down0 Up0 Down0 Up0 Hot0 Up0"_s);
        // Latched down, hovering changes nothing; released, it stays hot until the pointer leaves.
        QCOMPARE(Fixture(1).play(u"p5 r5 h6 p6 d40 d6 r6 h20 p5 d30 r30"_s),
                 u"Down0 Down1 Down1 Hot1 Down1 Hot1 Hot0 Up0 Down0 Up0 Up0"_s);
    }

    // Twips; a release off it gives no Click; keyboard and accessibility press in the middle.
    void events()
    {
        Fixture f;
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
    }

    void disabledButtonRaisesOnlyClicks()
    {
        Fixture f;
        f.button.SetEnabled(false);
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
    }

    // Enabling shows the picture of the value; a value other than 0 or 1 leaves what is shown.
    void enablingShowsTheRestingPicture()
    {
        Fixture f;
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
    void savedProperties()
    {
        PropertyBag defaults;
        MyTopButton().WriteProperties(defaults);
        QVERIFY(defaults.Names().isEmpty());
        Fixture f(1);
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
};

VANISTO_TEST_GUI_MAIN(TestMyTopButton)
#include "tst_mytopbutton.moc"
