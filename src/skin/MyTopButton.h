#pragma once

#include "AccessibleControl.h"
#include "frmPics.h"

#include <QAbstractButton>
#include <QPixmap>

class PropertyBag;
class QMimeData;

// The program's push button: a borderless picture that changes as the pointer enters,
// presses, leaves and releases. The windows act on MouseUp (left button, released over the
// button) or on Click. Enabled is the button's own property, not the widget's: a disabled
// button shows its disabled picture and raises no mouse events, but still raises Click,
// DblClick and OLEDragDrop, so a window that acts on Click tests Enabled itself. From the
// keyboard (Space, Enter) and through accessibility an enabled button is pressed and released
// in its middle, which raises MouseDown, MouseUp and Click like a mouse click.
// Mouse positions in the events are in twips; Button and Shift as in MouseArgs.
class MyTopButton : public QAbstractButton, public AccessibleControl
{
    Q_OBJECT
public:
    enum class Picture
    {
        Up,
        Hot,
        Down,
        Disabled
    };

    explicit MyTopButton(QWidget* parent = nullptr);

    QAccessible::Role accessibleRole() const override { return QAccessible::Button; }
    std::optional<bool> ownEnabled() const override { return Enabled(); }
    bool pressable() const override { return true; }
    void accessiblePress() override { click(); }

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    QPixmap ImageUp() const { return m_imUp; }
    void SetImageUp(const QPixmap& picture);
    QPixmap ImageHot() const { return m_imHot; }
    void SetImageHot(const QPixmap& picture) { m_imHot = picture; }
    QPixmap ImageDown() const { return m_imDown; }
    void SetImageDown(const QPixmap& picture) { m_imDown = picture; }
    QPixmap ImageDisabled() const { return m_imDis; }
    void SetImageDisabled(const QPixmap& picture) { m_imDis = picture; }
    // 0 push button, 1 toggle button (each click inside flips Value).
    int Style() const { return m_style; }
    void SetStyle(int style);
    // 0 released, 1 latched down. Setting it from code shows ImageUp for 0 and ImageDown for 1.
    int Value() const { return m_value; }
    void SetValue(int value);
    // With BackStyle 0 the pixels of MaskColor are see-through and do not take the mouse;
    // with 1 the pictures are drawn as they are (their own transparency always holds).
    quint32 MaskColor() const { return m_maskColor; }
    void SetMaskColor(quint32 color);
    int BackStyle() const { return m_backStyle; }
    void SetBackStyle(int backStyle);
    // The control's own window, for the tooltips.
    QWidget* hWnd() { return this; }

    // All four pictures at once, e.g. SetImages(frmPics::ButtonFor("frmDialog", "cmdOK")).
    void SetImages(const ButtonImages& images);
    Picture ShownPicture() const { return m_shown; }

    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    QSize sizeHint() const override { return m_imUp.size(); }

Q_SIGNALS:
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    void Click();
    void DblClick();
    void OLEDragDrop(const QMimeData* Data, int Effect, int Button, int Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Press(int button, int shift, const QPointF& pos);
    void Release(int button, int shift, const QPointF& pos);
    void PressByKey();
    bool Inside(const QPointF& pos) const;
    float ToTwipsX(qreal x) const;
    float ToTwipsY(qreal y) const;
    Picture Resting() const { return m_value != 0 ? Picture::Down : Picture::Up; }
    const QPixmap& PictureFor(Picture picture) const;
    void Show(Picture picture);
    void ApplyMask();

    bool m_enabled = true;
    QPixmap m_imUp;
    QPixmap m_imHot;
    QPixmap m_imDown;
    QPixmap m_imDis;
    int m_style = 0;
    int m_value = 0;
    quint32 m_maskColor = 0xC0C0C0;
    int m_backStyle = 1;

    Picture m_shown = Picture::Up;
    QPixmap m_displayed;   // the shown state's picture
    QPixmap m_maskPicture; // the picture whose MaskColor pixels are cut away
    QPixmap m_drawn;       // what paintEvent draws
    bool m_pressedHere = false;
    bool m_keyboardFocus = false;
};

// The windows act on a MouseUp of the left button released over the button; X and Y are the
// event's twips.
bool ReleasedOver(const MyTopButton* button, int Button, float X, float Y);
