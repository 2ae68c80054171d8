#pragma once

#include "AccessibleControl.h"

#include <QPixmap>
#include <QWidget>

class PropertyBag;

// A progress bar made of two pictures: the background (BarPictureBack), which also fixes
// the control's size, and the full bar (BarPicture), of which the part up to Value is
// shown, from the left (Orientation 0) or from the bottom (1), with an optional centred
// caption. Setters that would break Min <= Value <= Max or Min < Max return 380 (invalid
// property value) and change nothing; they return 0 on success and 6 (overflow) when the
// value lies too far from Min to draw.
class cpvProgressBar : public QWidget, public AccessibleControl
{
    Q_OBJECT
public:
    explicit cpvProgressBar(QWidget* parent = nullptr);

    QAccessible::Role accessibleRole() const override { return QAccessible::ProgressBar; }
    bool hasValue() const override { return true; }
    int accessibleValue() const override { return Value(); }
    int accessibleMinimum() const override { return Min(); }
    int accessibleMaximum() const override { return Max(); }

    qint32 Value() const { return m_value; }
    [[nodiscard]] long SetValue(qint32 value);
    qint32 Min() const { return m_min; }
    [[nodiscard]] long SetMin(qint32 min);
    qint32 Max() const { return m_max; }
    [[nodiscard]] long SetMax(qint32 max);
    int Orientation() const { return m_orientation; }
    void SetOrientation(int orientation) { m_orientation = orientation; }
    int CaptionFormat() const { return m_captionFormat; }
    void SetCaptionFormat(int format);
    QString CaptionCustom() const { return m_captionCustom; }
    void SetCaptionCustom(const QString& text);
    QPixmap BarPicture() const { return m_barPicture; }
    void SetBarPicture(const QPixmap& picture);
    QPixmap BarPictureBack() const { return m_barPictureBack; }
    void SetBarPictureBack(const QPixmap& picture);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool enabled) { setEnabled(enabled); }
    quint32 FontColor() const { return m_fontColor; }
    void SetFontColor(quint32 color);
    QFont Font() const { return font(); }
    void SetFont(const QFont& font);
    // 0 the default pointer, 99 MouseIcon, otherwise one of the standard shapes.
    int MousePointer() const { return m_mousePointer; }
    void SetMousePointer(int pointer);
    QPixmap MouseIcon() const { return m_mouseIcon; }
    void SetMouseIcon(const QPixmap& icon);
    [[nodiscard]] long Refresh() { return Redraw(); }

    // What the last redraw showed: the part of BarPicture and the caption.
    QRect FilledRect() const { return m_filled; }
    QString Caption() const { return m_caption; }

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

Q_SIGNALS:
    void Click();
    void MinReached();
    void MaxReached();
    void ValueChanged();
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ResizeToPicture();
    long Redraw();
    void ApplyPointer();
    float ToTwipsX(qreal x) const;
    float ToTwipsY(qreal y) const;

    qint32 m_value = 0;
    qint32 m_min = 0;
    qint32 m_max = 100;
    qint32 m_range = 100;
    qint32 m_lastValue = 0;
    int m_orientation = 0;
    int m_captionFormat = 0;
    QString m_captionCustom;
    QPixmap m_barPicture;
    QPixmap m_barPictureBack;
    QPixmap m_surfacePicture; // the background the control shows; its size is the control's
    quint32 m_fontColor = 0x80000012;
    int m_mousePointer = 0;
    QPixmap m_mouseIcon;

    QRect m_filled;
    QString m_caption;
    bool m_pressed = false;
};
