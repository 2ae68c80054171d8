#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QTextBrowser;
class frmMainCode;
struct OnlineState;

// The announcements window: the product's announcements page from its web site, inside a
// frame. The page is shown as a document, never run: no scripts, and nothing it names
// (images, style sheets) is loaded. A link on it closes the window and opens in the default
// browser. Opening the window while the site answers marks the announcements as seen.
class frmAd : public QDialog
{
    Q_OBJECT
public:
    frmAd(frmMainCode& mainWindow, const OnlineState& state);

    void Form_Load();

protected:
    void reject() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectionAnswered(bool connected);
    void Navigate();
    void NewWindow(const QUrl& link);
    void btnClose_MouseUp();

    frmMainCode& m_mainWindow;
    const QString m_announcementsDate;
    QUrl m_page;
    QLabel* m_lblCaption = nullptr;
    QLabel* m_AdFrame = nullptr;
    QTextBrowser* m_WebBrowser1 = nullptr;
};

// The ball's click: the announcements window, modally over the main window.
void OpenAnnouncementsWindow(frmMainCode& mainWindow, const OnlineState& state);
