#pragma once

#include "AccessibleControl.h"

#include <QLabel>

// A text link of a skinned window (the Shred List's and the Do Not Shred list's selection
// commands, the tutorial's chapters): light-orange text that raises Click when pressed and
// released over it, or when Enter or Space is pressed while it has the focus. The windows
// colour it with LinkHover and LinkNormal from their MouseMove handlers; positions are in twips.
class LinkLabel : public QLabel, public AccessibleControl
{
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text = QString(), QWidget* parent = nullptr);
    // What a click does: raises Click.
    void Press() { Q_EMIT Click(); }

    QAccessible::Role accessibleRole() const override { return QAccessible::Link; }
    QString accessibleCaption() const override { return text(); }
    bool pressable() const override { return true; }
    void accessiblePress() override { Press(); }

Q_SIGNALS:
    void Click();
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_pressed = false;
};
