#pragma once

#include <QWidget>

class QLabel;

// The small window that shows a slider's value beside the thumb while it is dragged: one
// label, lblTip, in a 1-pixel raised border, above every other window.
class frmValueTip : public QWidget
{
    Q_OBJECT
public:
    explicit frmValueTip(QWidget* parent = nullptr);
    QLabel* lblTip() const { return m_lblTip; }
    // Shows `text` beside the thumb at `thumb` (in the control) of a slider whose rectangle
    // on the screen is `control`.
    void ShowValue(const QString& text, int orientation, const QRect& control, const QPoint& thumb,
                   const QSize& thumbSize);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_lblTip;
};
