#pragma once

#include "engine/ShredRunWindow.h"
#include "shredlist/ShredList.h"
#include "shredlist/ShredListWindow.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <functional>

class CommandRelay;
class LinkLabel;
class LstArray;
class MyTopButton;
class QLabel;
class QMimeData;
class cpvProgressBar;
class ctlSlider;

// The program's only main window: a small skinned window that stays on top, carries the
// Shred List and the buttons of a run, and takes files dropped on almost any of its parts.
// It is loaded hidden and shown when items arrive; closing it empties the list and hides it
// while the program runs on. The run state lives in the captions of lblstatus, lblstatus2
// and lblshred, which the engine and the button handlers read and write.
// Its members are defined in frmMainCode.cpp and the files that MainWindowLayout.h lists.
class frmMainCode : public QWidget, public ShredListWindow, public ShredRunWindow
{
    Q_OBJECT
public:
    // The one main window, made on first use (a QApplication must exist).
    static frmMainCode* instance();

    void Form_Load();
    void oCommandLine_Change();

    void HideList() override;
    void showList();

    ShredList& shredList() { return m_shredList; }

    // The announcements ball: the online check starts it when there is news and stops it
    // (ball hidden) when there is none.
    void StartBall();
    void StopBall();
    void Timer1_Timer();

    // The online check, in a build that has one: `tick` runs on each CheckOnline tick from
    // the window's load on, `openAnnouncements` when the ball is clicked.
    void SetOnlineCheck(std::function<void()> tick, std::function<void()> openAnnouncements);

    // ShredListWindow
    void ShowForm() override;
    void HideForm() override;
    void SetCountCaptions(const CountCaptions& captions) override;
    void SetScroller(int min, int max, int value) override;

    // ShredWindow
    QString caption(Caption label) const override;
    void setCaption(Caption label, const QString& text) override;
    void setBarVisible(Bar bar, bool visible) override;
    void setBarMax(Bar bar, qint64 max) override;
    void setBarValue(Bar bar, qint64 value) override;
    bool expandVisible() const override;
    void yield() override;

    // ShredRunWindow
    int ListCount() const override;
    QString ListText(int index) const override;
    QString ListSubItem(int index, int column) const override;
    bool ListChecked(int index) const override;
    void RemoveListItem(int index) override;
    qint16 ItemCount() const override;
    void SetScroll() override;
    void FixDups() override;
    void ClearAll(bool hideWindow) override;
    bool ControlVisible(RunControl control) const override;
    void SetControlVisible(RunControl control, bool visible) override;
    void SetShredColor(quint32 color) override;
    void SetShredTip(const QString& text) override;
    int TimerInterval(RunTimer timer) const override;
    void SetTimerInterval(RunTimer timer, int milliseconds) override;
    void ShrinkToHiddenSize() override;
    bool DoNotShredWarning() override;
    void LockedFilesWarning() override;
    void CopyOnWriteWarning() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AnswerSentinel();
    void SetUpContextMenu();
    void ReportListed() const;
    frmMainCode();

    void BuildControls();
    void BuildHeader();
    void BuildPrompt();
    void BuildList();
    void BuildButtonRow();
    void ConnectButtons();
    MyTopButton* Button(const QString& name);
    QLabel* Label(const QString& name, QWidget* parent, int pointSize, bool bold);
    void OnRelease(MyTopButton* button, void (frmMainCode::*handler)());

    void LoadSafeFolders();
    void PlaceAtLoad();
    void DeletePendingFiles();
    void ApplyLayout(const QString& listState);
    void PlaceButtonRow();

    void btnShred_MouseUp();
    void btnYes_MouseUp();
    void btnNo_MouseUp();
    void btnCancel_MouseUp();
    void btnClose_MouseUp();
    void btnContract_MouseUp();
    void btnExpand_MouseUp();
    void btnOptions_MouseUp();
    void btnBall_MouseUp();
    void Selection_Click(int index);
    void RefreshCountLabels();
    void ShowCountCaptions();

    void RestartBall();
    void LoadBallPictures();
    void pic1_MouseMove();

    void Drop(const QMimeData* data);

    CommandRelay* m_oCommandLine = nullptr;

    QLabel* m_ImgIcon = nullptr;
    MyTopButton* m_btnClose = nullptr;
    MyTopButton* m_BtnAbout = nullptr;
    MyTopButton* m_btnExpand = nullptr;
    MyTopButton* m_btnContract = nullptr;
    MyTopButton* m_btnBall = nullptr;
    QLabel* m_pic1 = nullptr;
    QLabel* m_pic2 = nullptr;
    MyTopButton* m_btnShred = nullptr;
    QLabel* m_lblshred = nullptr;
    cpvProgressBar* m_bareditsmall = nullptr;
    QLabel* m_lblPrompt = nullptr;
    QLabel* m_lblstatus = nullptr;
    QLabel* m_lblstatus2 = nullptr;
    cpvProgressBar* m_baredit = nullptr;
    QWidget* m_Picture1 = nullptr;
    QWidget* m_Picture2 = nullptr;
    QLabel* m_Label1 = nullptr;
    QLabel* m_Label2 = nullptr;
    QLabel* m_Label3 = nullptr;
    QList<LinkLabel*> m_Selection;
    QLabel* m_Pictureframe = nullptr;
    QWidget* m_listClip = nullptr;
    LstArray* m_LstArray = nullptr;
    ctlSlider* m_myscroller = nullptr;
    MyTopButton* m_btnYes = nullptr;
    MyTopButton* m_btnNo = nullptr;
    MyTopButton* m_btnCancel = nullptr;
    MyTopButton* m_btnShow = nullptr;
    MyTopButton* m_btnHide = nullptr;
    MyTopButton* m_btnOptions = nullptr;

    QTimer m_Timer1;
    QTimer m_CheckOnline;
    QTimer m_countRepaint;
    std::function<void()> m_openAnnouncements;
    QString m_ballColour = QStringLiteral("Grey");
    int m_ballFade = 255;
    int m_ballTicks = 0;
    QPixmap m_pic1Picture;
    QPixmap m_pic2Picture;

    ShredList m_shredList;
};
