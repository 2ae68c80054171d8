#pragma once

#include "MouseEvents.h"
#include "TestEnvironment.h"
#include "common/LogError.h"
#include "platform/AppFolder.h"
#include "skin/PropertyBag.h"
#include "skin/modSkinForm.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QTest>
#include <QVariant>

#include <functional>

using namespace Qt::StringLiterals;

// What the skin's tests share: pictures, the error log, signals as text, scripted mouse steps, tables.
namespace SkinTestKit {
inline QPixmap Filled(const QColor& color, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

inline QString ErrorLog()
{
    QFile log(AppFolder::file(u"errlog.dat"_s));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
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
