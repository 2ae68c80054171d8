#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Moves a window with the pointer until the mouse button is released: the way a drag goes
// where the window manager cannot take it over (no system move on this platform).
class WindowDragger : public QObject
{
    Q_OBJECT
public:
    WindowDragger(QWidget* window, const QPoint& pointer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finish();
    QWidget* m_window;
    QPoint m_grabOffset; // the pointer's offset from the window's top-left corner
};
