#include "frmMainCode.h"

#include "MainWindowLayout.h"
#include "common/OptionSettings.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "common/SmartSplit.h"
#include "dialogs/frmAbout.h"
#include "engine/PendingDeletions.h"
#include "engine/ShredEngine.h"
#include "platform/CommandRelay.h"
#include "platform/HideProcess.h"
#include "platform/ShellMenuEntries.h"
#include "platform/StartOnWin.h"
#include "shredlist/LstArray.h"
#include "skin/LinkLabel.h"
#include "skin/MyTopButton.h"
#include "skin/SkinColor.h"
#include "skin/cpvProgressBar.h"
#include "skin/ctlSlider.h"
#include "skin/frmPics.h"
#include "skin/modSkinForm.h"
#include "skin/modToolTips.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>

// The main window's construction, its controls, Form_Load, the two layouts with the contracted
// bar, and the window's own events. MainWindowLayout.h names the files with the rest.

using namespace MainWindowLayout;

frmMainCode* frmMainCode::instance()
{
    static frmMainCode* window = new frmMainCode;
    return window;
}

frmMainCode::frmMainCode() : m_LstArray(new LstArray), m_shredList(*this, *m_LstArray)
{
    setObjectName(Module);
    SetSkinnedWindowFlags(this);
    setAcceptDrops(true);
    setMouseTracking(true);
    RefreshTwips(screen());
    BuildControls();
    ConnectButtons();
    connect(&m_Timer1, &QTimer::timeout, this, &frmMainCode::Timer1_Timer);
    m_countRepaint.setSingleShot(true);
    m_countRepaint.setInterval(LstArray::RepaintInterval);
    connect(&m_countRepaint, &QTimer::timeout, this, &frmMainCode::ShowCountCaptions);
}

// ---------------------------------------------------------------------------------------------
// Controls

MyTopButton* frmMainCode::Button(const QString& name)
{
    auto* button = new MyTopButton(this);
    button->setObjectName(name);
    button->SetImages(frmPics::ButtonFor(Module, name));
    connect(button, &MyTopButton::MouseMove, this, [] { SetHandCur(true); });
    if (name != QStringLiteral("btnBall"))
        connect(button, &MyTopButton::OLEDragDrop, this, &frmMainCode::Drop);
    return button;
}

QLabel* frmMainCode::Label(const QString& name, QWidget* parent, int pointSize, bool bold)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColorFromValue(0xFFFFFF));
    label->setPalette(palette);
    label->setMouseTracking(true);
    return label;
}

void frmMainCode::BuildControls()
{
    m_ImgIcon = new QLabel(this);
    m_ImgIcon->setObjectName(QStringLiteral("ImgIcon"));
    m_ImgIcon->setPixmap(frmPics::Picture(QStringLiteral("ImgIcon")));
    m_ImgIcon->adjustSize();
    // Labels that only carry the run state; never shown.
    m_lblstatus = Label(QStringLiteral("lblstatus"), this, 8, false);
    m_lblstatus2 = Label(QStringLiteral("lblstatus2"), this, 8, false);
    m_lblstatus->hide();
    m_lblstatus2->hide();
    m_lblstatus2->setText(RunCaption::Done);
    BuildList();
    BuildPrompt();
    BuildButtonRow();
    BuildHeader();
}

void frmMainCode::BuildHeader()
{
    m_btnShred = Button(QStringLiteral("btnShred"));
    m_lblshred = Label(QStringLiteral("lblshred"), this, 8, true);
    // The painter keeps lblshred's top and places it across the header bar.
    m_lblshred->move(0, 14);
    m_lblshred->installEventFilter(this);
    m_bareditsmall = new cpvProgressBar(this);
    m_bareditsmall->setObjectName(QStringLiteral("bareditsmall"));
    m_bareditsmall->SetBarPictureBack(frmPics::Picture(QStringLiteral("imgBarSmallBack")));
    m_bareditsmall->SetBarPicture(frmPics::Picture(QStringLiteral("imgBarSmallFill")));
    m_bareditsmall->setMouseTracking(true);
    m_bareditsmall->installEventFilter(this);
    m_bareditsmall->hide();
    m_BtnAbout = Button(QStringLiteral("BtnAbout"));
    m_btnExpand = Button(QStringLiteral("btnExpand"));
    m_btnExpand->hide();
    m_btnContract = Button(QStringLiteral("btnContract"));
    m_pic2 = new QLabel(this);
    m_pic2->setObjectName(QStringLiteral("pic2"));
    m_pic2->hide();
    m_pic1 = new QLabel(this);
    m_pic1->setObjectName(QStringLiteral("pic1"));
    m_pic1->setMouseTracking(true);
    m_pic1->installEventFilter(this);
    m_pic1->resize(frmPics::Picture(QStringLiteral("ImgAdGrey")).size());
    m_pic1->hide();
    m_btnBall = Button(QStringLiteral("btnBall"));
    // The ball takes drags itself and drops them, so that they do not reach the window under it.
    m_btnBall->installEventFilter(this);
    m_btnBall->hide();
    m_btnClose = Button(QStringLiteral("btnClose"));
}

void frmMainCode::BuildPrompt()
{
    m_lblPrompt = Label(QStringLiteral("lblPrompt"), this, 8, false);
    m_baredit = new cpvProgressBar(this);
    m_baredit->setObjectName(QStringLiteral("baredit"));
    m_baredit->SetBarPictureBack(frmPics::Picture(QStringLiteral("imgBarBack")));
    m_baredit->SetBarPicture(frmPics::Picture(QStringLiteral("imgBarFill")));
    m_baredit->SetFontColor(0xFFFFFF);
    m_baredit->SetCaptionFormat(5);
    m_baredit->move(30, 72);
    m_baredit->hide();
}

void frmMainCode::BuildList()
{
    m_Picture1 = new QWidget(this);
    m_Picture1->setObjectName(QStringLiteral("Picture1"));
    m_Picture1->setGeometry(24, 80, 437, 22);
    m_Picture1->setMouseTracking(true);
    m_Picture1->installEventFilter(this);
    m_Label2 = Label(QStringLiteral("Label2"), m_Picture1, 8, true);
    m_Label2->setText(QStringLiteral("Shred List:"));
    m_Label2->move(2, 3);
    m_Label1 = Label(QStringLiteral("Label1"), m_Picture1, 8, false);
    m_Label1->setGeometry(74, 3, 70, 16);
    const QStringList commands = {QStringLiteral("Check All"), QStringLiteral("Invert"),
                                  QStringLiteral("Clear Checked"), QStringLiteral("Clear All")};
    int left = 150;
    for (int i = 0; i < commands.size(); ++i) {
        auto* command = new LinkLabel(commands[i], m_Picture1);
        command->setObjectName(QStringLiteral("Selection%1").arg(i));
        command->adjustSize();
        command->move(left, 3);
        left += command->width() + 14;
        LinkNormal(command);
        connect(command, &LinkLabel::Click, this, [this, i] { Selection_Click(i); });
        connect(command, &LinkLabel::MouseMove, this,
                [this, command] { HoverOneLink(m_Selection, command); });
        m_Selection.append(command);
    }

    m_Pictureframe = new QLabel(this);
    m_Pictureframe->setObjectName(QStringLiteral("Pictureframe"));
    m_Pictureframe->setPixmap(frmPics::Picture(QStringLiteral("ImgFrame")).scaled(437, 300));
    m_Pictureframe->setGeometry(24, ListFrameTop, 437, 300);
    m_Pictureframe->setMouseTracking(true);
    m_Pictureframe->installEventFilter(this);
    // The list is as tall as its rows; this frame shows the part the scroller has moved in.
    m_listClip = new QWidget(m_Pictureframe);
    m_listClip->setObjectName(QStringLiteral("listclip"));
    m_listClip->setGeometry(FrameInset, FrameInset, 437 - 2 * FrameInset - 20, 300 - 2 * FrameInset);
    m_LstArray->setParent(m_listClip);
    m_LstArray->setObjectName(QStringLiteral("LstArray"));
    m_LstArray->setGeometry(0, 0, m_listClip->width(), m_listClip->height());
    m_LstArray->setFrameShape(QFrame::NoFrame);
    m_LstArray->viewport()->setAcceptDrops(true);
    m_LstArray->viewport()->installEventFilter(this);

    m_myscroller = new ctlSlider(this);
    m_myscroller->setObjectName(QStringLiteral("myscroller"));
    (void)m_myscroller->SetSliderIcon(frmPics::Picture(QStringLiteral("imgSliderThumb")));
    m_myscroller->SetBackColor(0x4A4A4A);
    m_myscroller->setGeometry(444, ListFrameTop + 5, 13, 290);
    connect(m_myscroller, &ctlSlider::ValueChanged, this,
            [this] { m_shredList.ScrollList(m_myscroller->Max(), m_myscroller->Value()); });
    connect(m_myscroller, &ctlSlider::OLEDragDrop, this, &frmMainCode::Drop);

    m_Label3 = Label(QStringLiteral("Label3"), this, 7, false);
    m_Label3->setText(QStringLiteral("Drop files and folders anywhere on this window to add them."));
    m_Label3->adjustSize();
    m_Label3->move(26, ListFrameTop + 304);
    m_Label3->installEventFilter(this);
}

void frmMainCode::BuildButtonRow()
{
    m_Picture2 = new QWidget(this);
    m_Picture2->setObjectName(QStringLiteral("Picture2"));
    m_Picture2->setMouseTracking(true);
    m_Picture2->installEventFilter(this);
    m_btnOptions = Button(QStringLiteral("btnOptions"));
    m_btnYes = Button(QStringLiteral("btnYes"));
    m_btnNo = Button(QStringLiteral("btnNo"));
    m_btnCancel = Button(QStringLiteral("btnCancel"));
    m_btnShow = Button(QStringLiteral("btnShow"));
    m_btnHide = Button(QStringLiteral("btnHide"));
}

void frmMainCode::OnRelease(MyTopButton* button, void (frmMainCode::*handler)())
{
    connect(button, &MyTopButton::MouseUp, this, [this, button, handler](int b, int, float X, float Y) {
        if (ReleasedOver(button, b, X, Y))
            (this->*handler)();
    });
}

void frmMainCode::ConnectButtons()
{
    OnRelease(m_btnShred, &frmMainCode::btnShred_MouseUp);
    OnRelease(m_btnYes, &frmMainCode::btnYes_MouseUp);
    OnRelease(m_btnNo, &frmMainCode::btnNo_MouseUp);
    OnRelease(m_btnCancel, &frmMainCode::btnCancel_MouseUp);
    OnRelease(m_btnClose, &frmMainCode::btnClose_MouseUp);
    OnRelease(m_btnContract, &frmMainCode::btnContract_MouseUp);
    OnRelease(m_btnExpand, &frmMainCode::btnExpand_MouseUp);
    OnRelease(m_btnShow, &frmMainCode::showList);
    OnRelease(m_btnHide, &frmMainCode::HideList);
    OnRelease(m_btnOptions, &frmMainCode::btnOptions_MouseUp);
    OnRelease(m_btnBall, &frmMainCode::btnBall_MouseUp);
    // The About button acts on Click, which a disabled button raises too.
    connect(m_BtnAbout, &MyTopButton::Click, this, [this] {
        if (m_BtnAbout->Enabled())
            OpenAboutWindow(this);
    });
    for (cpvProgressBar* bar : {m_baredit, m_bareditsmall})
        connect(bar, &cpvProgressBar::MouseDown, this, [this] { DoDrag(this); });
    for (MyTopButton* button : {m_BtnAbout, m_btnClose, m_btnContract, m_btnExpand})
        connect(button, &MyTopButton::MouseMove, this, [this] {
            if (Shown(m_btnBall))
                RestartBall();
        });
}

// ---------------------------------------------------------------------------------------------
// Load

void frmMainCode::Form_Load()
{
    RefreshTwips(screen());
    StartOnWin();
    m_oCommandLine = CommandRelayConnector::commandRelay();
    connect(m_oCommandLine, &CommandRelay::Change, this, &frmMainCode::oCommandLine_Change,
            Qt::UniqueConnection);
    LoadOptionSettings();
    LoadSafeFolders();
    PlaceAtLoad();
    m_btnCancel->hide();
    m_btnYes->show();
    m_lblstatus->setText(RunCaption::Stopped);
    SetShredColor(0xFFFFFF);
    m_lblPrompt->move(PixelsX(PromptLeft), PixelsY(PromptTop));
    ApplyLayout(Shared().ListState);
    InitializeTips();
    CreateTips(this);
    HideProcess();
    SetUpContextMenu();
    QApplication::setApplicationDisplayName(QString());
    m_ballFade = 255;
    m_ballTicks = 0;
    m_ballColour = QStringLiteral("Grey");
    if (m_openAnnouncements) // a build without the online check runs no timer
        m_CheckOnline.start(CheckOnlineInterval);
    // What the last session could not delete is shredded once the event loop runs, so that
    // launches meanwhile are still answered.
    QTimer::singleShot(0, this, &frmMainCode::DeletePendingFiles);
}

// "Delete with Vanisto" in the installed file managers, run through the helper beside vn10.
void frmMainCode::SetUpContextMenu()
{
    const QString helper = QCoreApplication::applicationDirPath() + QStringLiteral("/vanisto-shellmenu");
    if (!QFileInfo(helper).isExecutable())
        return;
    QStringList problems;
    ShellMenuEntries::Install(helper, &problems);
    for (const QString& problem : std::as_const(problems))
        Log(QStringLiteral("Form_Load"), ErrorNumber::PathFileAccessError, problem);
}

void frmMainCode::LoadSafeFolders()
{
    const QString stored = ReadStringSetting(Setting::SafeFiles);
    if (stored.isEmpty())
        return;
    for (const QString& folder : SmartSplit(stored, QStringLiteral(";"))) {
        Shared().SafeFolders.append(folder);
        yield();
    }
}

// The list-hidden size, placed where a window of the list-shown size would be centred.
void frmMainCode::PlaceAtLoad()
{
    resize(PixelsX(HiddenWidth), PixelsY(HiddenHeight));
    const QRect screenArea = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
    const int left = (screenArea.width() * TwipsX() - ShownWidth) / 2;
    const int top = (screenArea.height() * TwipsY() - ShownHeight) / 2;
    move(screenArea.left() + PixelsX(left), screenArea.top() + PixelsY(top));
}

void frmMainCode::DeletePendingFiles()
{
    ShredEngine engine(*this);
    ProcessPendingDeletions(engine);
    // The engine leaves its run captions and bars behind; the window is idle again.
    setCaption(Caption::lblstatus, RunCaption::Stopped);
    setCaption(Caption::lblstatus2, RunCaption::Done);
    setBarVisible(Bar::baredit, false);
    setBarVisible(Bar::bareditsmall, false);
    m_shredList.SetCountCaptions();
}

// ---------------------------------------------------------------------------------------------
// Layouts

void frmMainCode::ApplyLayout(const QString& listState)
{
    if (listState == HideListState)
        HideList();
    else if (listState == ShowListState)
        showList();
}

// Both layouts keep a contracted bar as it is: the layout shows when the bar is expanded.
void frmMainCode::HideList()
{
    Shared().ListState = HideListState;
    if (!Shown(m_btnExpand))
        resize(PixelsX(HiddenWidth), PixelsY(HiddenHeight));
    m_btnHide->hide();
    m_btnShow->show();
    PlaceButtonRow();
    MakeWindow(this, 5);
}

void frmMainCode::showList()
{
    Shared().ListState = ShowListState;
    if (!Shown(m_btnExpand))
        resize(PixelsX(ShownWidth), PixelsY(ShownHeight));
    m_btnHide->show();
    m_btnShow->hide();
    PlaceButtonRow();
    MakeWindow(this, 5);
}

// The Yes/No row sits under the prompt without the list and under the list with it.
void frmMainCode::PlaceButtonRow()
{
    const bool list = Shared().ListState == ShowListState;
    for (QWidget* part : {static_cast<QWidget*>(m_Picture1), static_cast<QWidget*>(m_Pictureframe),
                          static_cast<QWidget*>(m_myscroller), static_cast<QWidget*>(m_Label3)})
        part->setVisible(list);
    const int top = list ? height() - RowBottomMargin : RowTopHidden;
    const int middle = width() / 2;
    m_Picture2->setGeometry(0, top - 4, width(), m_btnYes->height() + 8);
    m_btnOptions->move(list ? 24 : 8, top);
    m_btnYes->move(middle - 76, top);
    m_btnNo->move(middle + 2, top);
    m_btnCancel->move(middle - m_btnCancel->width() / 2, list ? top : 90);
    m_btnShow->move(width() - m_btnShow->width() - 8, top);
    m_btnHide->move(width() - m_btnHide->width() - 24, top);
}

void frmMainCode::btnContract_MouseUp()
{
    m_btnContract->hide();
    m_btnExpand->show();
    if (m_lblstatus2->text() == RunCaption::Shredding)
        m_bareditsmall->show();
    const int fullWidth = Shared().ListState == HideListState ? HiddenWidth : ShownWidth;
    const int leftTwips = x() * TwipsX() + width() * TwipsX() - fullWidth;
    move(PixelsX(leftTwips), y());
    resize(PixelsX(HiddenWidth), ContractedHeightPixels);
    m_lblPrompt->hide();
    if (m_lblstatus->text() == RunCaption::Stopped) {
        const int n = ItemCount();
        setCaption(Caption::lblPrompt, QString::number(n) + QStringLiteral("\r\n") +
                                           (n < 2 ? QStringLiteral("item") : QStringLiteral("items")));
    }
    MakeWindow(this, 5);
    yield();
}

void frmMainCode::btnExpand_MouseUp()
{
    m_btnContract->show();
    m_btnExpand->hide();
    m_bareditsmall->hide();
    m_lblPrompt->show();
    if (m_lblstatus2->text() == RunCaption::Shredding) {
        m_btnCancel->show();
        for (QWidget* idle : {m_btnYes, m_btnNo, m_btnShow, m_btnHide})
            idle->hide();
    } else {
        m_btnCancel->hide();
        m_btnYes->show();
        m_btnNo->show();
    }
    const bool list = Shared().ListState == ShowListState;
    resize(PixelsX(list ? ShownWidth : HiddenWidth), PixelsY(list ? ShownHeight : HiddenHeight));
    const bool idle = m_lblstatus->text() == RunCaption::Stopped;
    m_btnShow->setVisible(idle && !list);
    m_btnHide->setVisible(idle && list);
    if (idle)
        setCaption(Caption::lblPrompt, CountCaptionsFor(qMax<int>(ItemCount(), 1)).lblPrompt);
    PlaceButtonRow();
    MakeWindow(this, 5);
    yield();
}

// ---------------------------------------------------------------------------------------------
// Window events

// Closing the window by other means than btnClose (the window manager's close) unloads it,
// and unloading the main window ends the program; nothing needs saving.
void frmMainCode::closeEvent(QCloseEvent*)
{
    QCoreApplication::quit();
}

void frmMainCode::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        DoDrag(this);
}

void frmMainCode::mouseMoveEvent(QMouseEvent*)
{
    SetHandCur(false);
    for (LinkLabel* command : std::as_const(m_Selection))
        LinkNormal(command);
    if (Shown(m_btnBall))
        RestartBall();
}

bool frmMainCode::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == m_LstArray->viewport()) {
        if (type == QEvent::DragEnter || type == QEvent::DragMove) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData()->hasUrls())
                drag->acceptProposedAction();
            return true;
        }
        if (type == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            drop->acceptProposedAction();
            Drop(drop->mimeData());
            return true;
        }
        // Empty space of the list moves the window; rows keep their clicks and check boxes.
        if (type == QEvent::MouseButtonPress) {
            auto* press = static_cast<QMouseEvent*>(event);
            if (press->button() == Qt::LeftButton &&
                !m_LstArray->indexAt(press->position().toPoint()).isValid()) {
                DoDrag(this);
                return true;
            }
        }
        return false;
    }
    if (watched == m_btnBall &&
        (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)) {
        auto* drag = static_cast<QDropEvent*>(event);
        drag->setDropAction(Qt::IgnoreAction);
        drag->accept();
        return true;
    }
    if (type == QEvent::MouseMove) {
        if (watched == m_pic1) {
            // Not passed on: the window surface under it would start the animation again.
            pic1_MouseMove();
            return true;
        } else if (watched == m_lblshred || watched == m_bareditsmall) {
            if (Shown(m_btnBall))
                RestartBall();
        } else if (watched == m_Label3 || watched == m_Picture1 || watched == m_Picture2 ||
                   watched == m_Pictureframe) {
            for (LinkLabel* command : std::as_const(m_Selection))
                LinkNormal(command);
        }
    }
    return false;
}
