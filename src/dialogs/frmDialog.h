#pragma once

#include <QDialog>

class MyTopButton;
class QLabel;
class QLineEdit;

// The skinned message dialog that ShowDialog fills and shows. Each action button writes
// DialogAnswer and closes the dialog: Yes, No, Cancel and the frame's close button when the
// mouse button is released over them, OK and System on a click, Enter in the input box as OK.
// Nothing else closes it: Escape and the window manager's close request do nothing, so that
// a dialog whose close button is disabled can only be left by its action buttons.
class frmDialog : public QDialog
{
    Q_OBJECT
public:
    explicit frmDialog(QWidget* owner);

    // Steps of ShowDialog: the texts and the close button, then the buttons for the set
    // (or the input box with OK and Cancel), then the height from the wrapped message.
    void SetTexts(const QString& message, const QString& title, bool closeEnabled);
    void SetButtons(bool withInput, qint32 buttons);
    void LayOut();

Q_SIGNALS:
    // The System button: raised before the dialog closes with OK (ShowDialog starts the tool).
    void SystemInfoRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddLabel(const QString& name);
    MyTopButton* AddButton(const QString& name);
    MyTopButton* Button(const QString& name) const;

    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Answer(const QVariant& answer);
    void CloseDialog();

    QLabel* m_lblTitle;
    QLabel* m_lblMessage;
    QLabel* m_ImgIcon;
    QLineEdit* m_txtDialogInput;
    MyTopButton* m_cmdOK;
    MyTopButton* m_btnYes;
    MyTopButton* m_cmdNo;
    MyTopButton* m_cmdCancel;
    MyTopButton* m_cmdSysInfo;
    MyTopButton* m_btnClose;
};
