#pragma once

#include "frmValueTip.h"

#include "AccessibleControl.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class PropertyBag;
class QMimeData;

// A slider made of a thumb picture (SliderIcon) on a drawn groove (RailStyle 0..4) or on a
// rail picture (RailStyle 99). Dragging the thumb moves it in whole steps of the value;
// a vertical slider has Max at the top. While a drag runs, the value at the press is shown
// in a tip beside the thumb (ShowValueTip). Positions in the events are the control's
// pixels. Setters that would break Min <= Value <= Max or Min < Max return 380 (invalid
// property value) and change nothing; 0 means success, 9 a rail style without an edge.
class ctlSlider : public QWidget, public AccessibleControl
{
    Q_OBJECT
public:
    explicit ctlSlider(QWidget* parent = nullptr);
    ~ctlSlider() override;

    QAccessible::Role accessibleRole() const override { return QAccessible::Slider; }
    std::optional<bool> ownEnabled() const override { return Enabled(); }
    bool hasValue() const override { return true; }
    int accessibleValue() const override { return Value(); }
    int accessibleMinimum() const override { return Min(); }
    int accessibleMaximum() const override { return Max(); }
    // Only the slider is the user's to set, and only while it is enabled.
    void setAccessibleValue(int value) override
    {
        if (Enabled())
            (void)SetValue(value);
    }

    qint32 Value() const { return m_value; }
    // Places the thumb (horizontal: for the value; vertical: at the top, the end a list is
    // shown from) unless a drag runs, and raises ValueChanged even for the same value.
    [[nodiscard]] long SetValue(qint32 value);
    qint32 Min() const { return m_min; }
    [[nodiscard]] long SetMin(qint32 min);
    qint32 Max() const { return m_max; }
    [[nodiscard]] long SetMax(qint32 max);
    int Orientation() const { return m_orientation; }
    [[nodiscard]] long SetOrientation(int orientation);
    int RailStyle() const { return m_railStyle; }
    [[nodiscard]] long SetRailStyle(int railStyle);
    QPixmap RailPicture() const { return m_railPicture; }
    [[nodiscard]] long SetRailPicture(const QPixmap& picture);
    QPixmap SliderIcon() const { return m_sliderIcon; }
    [[nodiscard]] long SetSliderIcon(const QPixmap& picture);
    bool ShowValueTip() const { return m_showValueTip; }
    void SetShowValueTip(bool show) { m_showValueTip = show; }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    quint32 BackColor() const { return m_backColor; }
    void SetBackColor(quint32 color);

    QPoint ThumbPos() const { return m_thumb; }
    bool Dragging() const { return m_dragging; }
    frmValueTip* ValueTip() const { return m_tip; }

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

Q_SIGNALS:
    void Click();
    void MinReached();
    void MaxReached();
    void ValueChanged();
    void DragStart(int Shift);
    void DragEnd(int Shift);
    void OLEDragDrop(const QMimeData* Data, int Effect, int Button, int Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    long Resize();
    long Redraw();
    void PlaceThumbAcross();
    void MoveStep(const QPoint& pointer);
    void ShowTip();
    void CloseTip();
    int Length() const;
    int ThumbLength() const;

    qint32 m_value = 0;
    qint32 m_min = 0;
    qint32 m_max = 10;
    qint32 m_range = 10;
    int m_orientation = 1;
    int m_railStyle = 0;
    QPixmap m_railPicture;
    QPixmap m_sliderIcon;
    bool m_showValueTip = true;
    bool m_enabled = true;
    quint32 m_backColor = 0x8000000F;

    QPoint m_thumb;
    QPoint m_grab;
    bool m_dragging = false;
    QPointer<frmValueTip> m_tip;
};
