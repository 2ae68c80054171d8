#pragma once

#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>

class QWidget;
class TipWindow;

// One tooltip facility: it watches the controls and window areas registered with it and,
// once the pointer has rested DelayTime milliseconds on one, shows that tool's text for
// VisibleTime milliseconds in its own colours, width and style (1 rectangle, 2 balloon).
// Registered controls also take the text as their accessible name when they have none.
class cToolTip : public QObject
{
    Q_OBJECT
public:
    explicit cToolTip(QObject* parent = nullptr);
    ~cToolTip() override;

    int Style() const { return m_style; }
    void SetStyle(int style);
    int TipWidth() const { return m_tipWidth; }
    void SetTipWidth(int width);
    quint32 BkColor() const { return m_bkColor; }
    void SetBkColor(quint32 color);
    quint32 TxtColor() const { return m_txtColor; }
    void SetTxtColor(quint32 color);
    int DelayTime() const { return m_delay->interval(); }
    void SetDelayTime(int milliseconds);
    int VisibleTime() const { return m_visible->interval(); }
    void SetVisibleTime(int milliseconds);
    QFont Font() const { return m_font; }
    void SetFont(const QFont& font);

    // A tip for the whole control; centred below it instead of at the pointer with `centre`.
    void SetToolTipObj(QWidget* control, const QString& text, bool centre = false);
    // A tip for a rectangle (pixels, right and bottom exclusive) of a window, as item `item`.
    void SetToolTipItem(QWidget* window, int item, int left, int top, int right, int bottom,
                        const QString& text, bool centre = false);
    void DelToolTip(QWidget* window, int item = 0);
    void AjustItemRect(QWidget* window, int item, int left, int top, int right, int bottom);

    // The text registered first for the control or area item, empty when there is none.
    QString ToolText(QWidget* window, int item = 0) const;
    // The tip being shown, or null.
    TipWindow* Shown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tool
    {
        QPointer<QWidget> window;
        int item; // -1 for a whole control
        QRect rect;
        QString text;
        bool centre;
    };

    // The index of the tool under pos in window, or -1.
    qsizetype ToolAt(QWidget* window, const QPoint& pos) const;
    void Arm(qsizetype tool);
    void ShowPending();
    void Hide();

    int m_style = 1;
    int m_tipWidth = 300;
    quint32 m_bkColor = 0xEEFFFF;
    quint32 m_txtColor = 0;
    QFont m_font;
    QList<Tool> m_tools;
    QTimer* m_delay;
    QTimer* m_visible;
    qsizetype m_pending = -1;
    TipWindow* m_tip = nullptr;
};
