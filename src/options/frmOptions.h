#pragma once

#include <QDialog>
#include <QList>

class LinkLabel;
class MyTopButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class ctlSlider;

// The options window: the number of wipes, the shred method, Instant Shred, the 'Do Not Shred'
// warning prompt and the 'Do Not Shred' folders. There is no OK or Apply: every change is in
// the shared state that the engine and the screening read, and in the settings, the moment it
// is made. Image buttons act when the left button is released over them; the links on a click.
class frmOptions : public QDialog
{
    Q_OBJECT
public:
    explicit frmOptions(QWidget* mainWindow);

    // Reads every setting into the window, correcting what the rules do not allow, and paints
    // the skin. Called once, before the window is shown.
    void Form_Load();

protected:
    void reject() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddBar(const QString& name, const QString& picture);
    MyTopButton* AddButton(const QString& name, void (frmOptions::*handler)());
    void BuildRows();
    void BuildSafeList();
    void PaintFrames();
    void LoadSafeFiles(const QString& stored);

    void btnWipes_MouseUp();
    void SetWipes();
    void txtNumOver_Change();
    void btnFastShred_MouseUp();
    void btnInstant_MouseUp();
    void chkPrompt_Click(bool checked);
    void cmdTutorial_MouseUp();
    void btnClose_MouseUp();

    void btnSafeShred_MouseUp();
    void AddSafeItem(const QString& path);
    void Selection2_Click(int index);
    bool AskToClear(const QString& message);
    void SetSafeScroll();
    void myscroller2_ValueChanged();
    int SafeItemHeight() const;

    void ShowInstant(bool on);
    void ShowReset(const QString& notice);
    void ShowWipes(const QString& box);

    QWidget* m_mainWindow = nullptr;
    QLabel* m_lblCaption = nullptr;
    QLabel* m_OptionFrame = nullptr;
    MyTopButton* m_btnWipes = nullptr;
    MyTopButton* m_btnInstant = nullptr;
    MyTopButton* m_btnFastShred = nullptr;
    MyTopButton* m_btnSafeShred = nullptr;
    MyTopButton* m_cmdTutorial = nullptr;
    MyTopButton* m_btnClose = nullptr;
    QLabel* m_imgWhite1 = nullptr;
    QList<QLabel*> m_ImgBlack; // the bars of the four rows, 1 to 4
    QLineEdit* m_txtNumOver = nullptr;
    QLabel* m_txtNumOverLong = nullptr;
    QLabel* m_txtInstantShred = nullptr;
    QLabel* m_lblWarning = nullptr;
    QLabel* m_txtFastShred = nullptr;
    QLabel* m_LblReset = nullptr;
    QLabel* m_Label1 = nullptr;
    QCheckBox* m_chkPrompt = nullptr;
    QLabel* m_Label2 = nullptr;
    QWidget* m_framesafe = nullptr;
    QListWidget* m_LstSafeFiles = nullptr;
    ctlSlider* m_myscroller2 = nullptr;
    QList<LinkLabel*> m_Selection2;
};

// The options window over the main window, modally; the main window is topmost again when it
// closes.
void OpenOptionsWindow(QWidget* mainWindow);

// The options window beside the main window, not modal, on top; a second call brings the one
// already open to the front. It is deleted when it closes.
void ShowOptionsWindow(QWidget* mainWindow);
