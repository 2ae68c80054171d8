#pragma once

#include <QDialog>

class MyTopButton;
class QLabel;

// The about window: the product's name, company, version, description and legal notice, all
// from the program's identity, with OK, System Info and Tutorial. Its buttons act when the left
// button is released over them.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget* mainWindow);

    // The tips, the skin and the texts; the legal notice carries the year it is opened in.
    void Form_Load();

protected:
    void reject() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddLabel(const QString& name, int left, int top, int width, bool bold);
    MyTopButton* AddButton(const QString& name, int left, void (frmAbout::*handler)());
    void cmdOK_MouseUp();
    void cmdSysInfo_MouseUp();
    void cmdTutorial_MouseUp();

    QWidget* m_mainWindow = nullptr;
    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblVersion = nullptr;
    QLabel* m_lblDescription = nullptr;
    QLabel* m_lblCopyright = nullptr;
};

// The about window over the main window, modally; the main window is topmost again when it
// closes.
void OpenAboutWindow(QWidget* mainWindow);
