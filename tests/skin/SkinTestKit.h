#pragma once

#include "MouseEvents.h"
#include "TestEnvironment.h"
#include "skin/PropertyBag.h"
#include "skin/modSkinForm.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>

#include <functional>

// What the skin's tests share: scripted mouse steps and tables.
namespace SkinTestKit {
// Plays mouse steps on a control and says what `look` sees after each. A step is a letter and x or x,y (y
// defaults to 5): h hovers, p presses, d drags, r releases the left button; l makes the pointer leave.
inline QString Play(QWidget* w, const QString& steps, const std::function<QString()>& look = {})
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
inline void Columns()
{
    QTest::addColumn<QVariant>("got");
    QTest::addColumn<QVariant>("want");
}

inline void Row(const char* name, const QVariant& got, const QVariant& want)
{
    QTest::newRow(name) << got << want;
}
} // namespace SkinTestKit

// The body of a test whose _data called SkinTestKit::Columns().
#define SKIN_COMPARE_ROW()                                                                                   \
    QFETCH(QVariant, got);                                                                                   \
    QFETCH(QVariant, want);                                                                                  \
    QCOMPARE(got, want)
