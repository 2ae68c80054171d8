#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

// What the picture galleries share: a throw-away home for everything the windows write
// (settings, logs, autostart and menu entries), and a window's picture saved where asked.
namespace Gallery {
inline void UseThrowAwayHome(const QTemporaryDir& home)
{
    for (const char* folder :
         {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(folder, QFile::encodeName(home.path() + QLatin1Char('/') + QLatin1String(folder)));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline void Save(QWidget& window, const QString& path)
{
    QCoreApplication::processEvents();
    if (window.grab().save(path))
        std::printf("%s\n", qPrintable(path));
    else
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// A left click in the middle of the window's control `name`, as a user makes it.
inline void Click(QWidget& window, const char* name)
{
    auto* control = window.findChild<QWidget*>(QLatin1String(name));
    const QPointF middle(control->width() / 2.0, control->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, middle, control->mapToGlobal(middle), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, middle, control->mapToGlobal(middle), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &release);
}
} // namespace Gallery
