#pragma once

#include <QObject>
#include <QPixmap>

class QWidget;

// The retained picture of a skinned window. The frame is painted only on load and on layout
// changes, so the result is kept here and drawn under the window's children on every paint.
class SkinSurface : public QObject
{
    Q_OBJECT
public:
    // The window's surface, made on first use.
    static SkinSurface* of(QWidget* window);
    const QPixmap& picture() const { return m_picture; }
    void setPicture(const QPixmap& picture);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SkinSurface(QWidget* window);
    QWidget* m_window;
    QPixmap m_picture;
};
