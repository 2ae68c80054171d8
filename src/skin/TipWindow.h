#pragma once

#include <QWidget>

// The window a tooltip shows its text in: a rectangle with a thin border (style 1) or a
// rounded balloon with a tail pointing at the pointer (style 2), at most maxWidth pixels
// wide; longer texts wrap.
class TipWindow : public QWidget
{
    Q_OBJECT
public:
    TipWindow();
    void SetContent(const QString& text, const QColor& background, const QColor& textColor, int maxWidth,
                    int style, const QFont& font);
    QString Text() const { return m_text; }
    QColor Background() const { return m_background; }
    QColor TextColor() const { return m_textColor; }
    int Style() const { return m_style; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect TextRect() const;
    QString m_text;
    QColor m_background;
    QColor m_textColor;
    int m_style = 1;
};
