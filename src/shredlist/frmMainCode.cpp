#include "frmMainCode.h"

#include "common/LogError.h"
#include "common/OptionSettings.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "common/SmartSplit.h"
#include "dialogs/TutorialOpener.h"
#include "dialogs/frmAbout.h"
#include "dialogs/modDialog.h"
#include "engine/PendingDeletions.h"
#include "engine/ShredEngine.h"
#include "engine/modShred.h"
#include "options/frmOptions.h"
#include "platform/CommandRelay.h"
#include "platform/HideProcess.h"
#include "platform/Identity.h"
#include "platform/SentinelSentence.h"
#include "platform/ShellMenu.h"
#include "platform/ShellMenuEntries.h"
#include "platform/StartOnWin.h"
#include "shredlist/LstArray.h"
#include "shredlist/modGeneral.h"
#include "skin/LinkLabel.h"
#include "skin/MyTopButton.h"
#include "skin/SkinColor.h"
#include "skin/cToolTip.h"
#include "skin/cpvProgressBar.h"
#include "skin/ctlSlider.h"
#include "skin/frmPics.h"
#include "skin/modSkinForm.h"
#include "skin/modToolTips.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMimeData>
#include <QPainter>
#include <QScreen>

Q_LOGGING_CATEGORY(lcMain, "vanisto.main", QtWarningMsg)

namespace {
const QString Module = QStringLiteral("frmMainCode");
const QString HideListState = QStringLiteral("hidelist");
const QString ShowListState = QStringLiteral("showlist");

// Layout sizes in twips; the contracted bar is 46 screen pixels high.
constexpr int HiddenWidth = 5000;
constexpr int HiddenHeight = 1800;
constexpr int ShownWidth = 7275;
constexpr int ShownHeight = 7410;
constexpr int ContractedHeightPixels = 46;
constexpr int PromptLeft = 450;
constexpr int PromptTop = 660;

constexpr int CheckOnlineInterval = 5000;
constexpr int BallTicksPerColour = 40;
constexpr int BallFadeStep = 10;

// Pixel positions of the controls the skin painter does not place.
constexpr int RowTopHidden = 86;
constexpr int RowBottomMargin = 58;
constexpr int ListFrameTop = 106;
constexpr int FrameInset = 8;

void Log(const QString& procedure, long number, const QString& description)
{
    LogError(Module, procedure, number, description);
}

bool Shown(const QWidget* control)
{
    return !control->isHidden();
}
} // namespace

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
        connect(command, &LinkLabel::MouseMove, this, [this, command] { SelectionHover(command); });
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
// Command line

void frmMainCode::oCommandLine_Change()
{
    const QStringList arguments = m_oCommandLine->CommandLine();
    if (arguments.isEmpty())
        return;
    if (arguments == QStringList{SentinelSentence}) {
        qCInfo(lcMain).noquote() << "sentinel received";
        AnswerSentinel();
        return;
    }
    // A file manager's "Delete with Vanisto": screened as it is added, like a drop.
    if (arguments.first() == ShellMenu::ClickMarker) {
        const QStringList selection = arguments.mid(1);
        for (const QString& path : selection)
            qCInfo(lcMain).noquote() << "selected:" << path;
        ContextMenu_Click(*this, selection);
        ReportListed();
        return;
    }
    // Each argument is one path, in order, every byte of it as the launch received it.
    for (const QString& path : arguments) {
        qCInfo(lcMain).noquote() << "path received:" << path;
        m_shredList.AddPathFromShell(path);
        yield();
    }
    m_shredList.SetScroll();
    ReportListed();
    MakeTopMost(this);
    RunNowQuery(*this);
}

void frmMainCode::ReportListed() const
{
    if (lcMain().isInfoEnabled())
        for (int i = 0; i < ListCount(); ++i)
            qCInfo(lcMain).noquote() << "listed:" << ListText(i);
}

// A launch without paths: the first one ever asks whether to run the tutorial (No opens the
// options instead); every later one opens the options window beside the main window.
void frmMainCode::AnswerSentinel()
{
    SharedState& state = Shared();
    if (!state.FirstStartEver) {
        yield();
        ShowOptionsWindow(this);
        return;
    }
    state.FirstStartEver = false;
    yield();
    const QString product = QLatin1String(Identity::ProductName);
    const bool tutorial =
        ShowDialog(
            this,
            QStringLiteral("This appears to be the first time you have run %1 %2.%3. Would you like to run "
                           "the tutorial?")
                .arg(product)
                .arg(Identity::VersionMajor)
                .arg(Identity::VersionMinor),
            QStringLiteral("Welcome to ") + product, false, DialogButtons::YesNo, DialogIcon::Question, true)
            .toString() == QStringLiteral("2");
    MakeNormal(this);
    if (tutorial)
        OpenTutorialWindow(this);
    else
        OpenOptionsWindow(this);
    MakeTopMost(this);
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
// Buttons of the run

void frmMainCode::btnShred_MouseUp()
{
    yield();
    if (m_lblstatus->text() == RunCaption::Stopped)
        StartShred(*this);
    else
        StopShred(*this);
}

void frmMainCode::btnYes_MouseUp()
{
    StartShred(*this);
}

void frmMainCode::btnNo_MouseUp()
{
    ClearAll(true);
}

void frmMainCode::btnCancel_MouseUp()
{
    StopShred(*this);
}

void frmMainCode::btnClose_MouseUp()
{
    if (m_lblstatus2->text() == RunCaption::Shredding) {
        setCaption(Caption::lblshred, RunCaption::Stopping);
        setCaption(Caption::lblPrompt, StoppingPrompt(ListCount() > 0 ? ListSubItem(0, 2) : QString()));
        return;
    }
    StopShred(*this);
    yield();
    ClearAll(true);
}

void frmMainCode::btnOptions_MouseUp()
{
    OpenOptionsWindow(this);
}

// ---------------------------------------------------------------------------------------------
// Selection commands

void frmMainCode::Selection_Click(int index)
{
    LstArray& list = *m_LstArray;
    switch (index) {
    case 0:
        for (int i = 0; i < list.Count(); ++i)
            list.SetChecked(i, true);
        break;
    case 1:
        for (int i = 0; i < list.Count(); ++i)
            list.SetChecked(i, !list.Checked(i));
        break;
    case 2:
        if (list.Count() > 0 &&
            AskYesNo(this,
                     QStringLiteral("Are you sure you want to clear the selected items from Shred list?"),
                     QStringLiteral("Clear the Shred List?")))
            m_shredList.ClearCheckedItems();
        break;
    case 3:
        if (list.Count() > 0 &&
            AskYesNo(this, QStringLiteral("Are you sure you want to clear the Shred list?"),
                     QStringLiteral("Clear the Shred List?")))
            ClearAll(false);
        break;
    default:
        break;
    }
    RefreshCountLabels();
}

void frmMainCode::RefreshCountLabels()
{
    SetCountCaptions(CountCaptionsFor(ItemCount()));
    m_shredList.SetScroll();
}

// ---------------------------------------------------------------------------------------------
// Hover, drag and drop

void frmMainCode::SelectionHover(LinkLabel* hovered)
{
    SetHandCur(true);
    for (LinkLabel* command : std::as_const(m_Selection)) {
        if (command == hovered)
            LinkHover(command, 1, 1);
        else
            LinkNormal(command);
    }
}

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

void frmMainCode::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmMainCode::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void frmMainCode::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    Drop(event->mimeData());
}

void frmMainCode::Drop(const QMimeData* data)
{
    DropOnMe(*this, data);
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

// ---------------------------------------------------------------------------------------------
// Announcements ball

void frmMainCode::SetOnlineCheck(std::function<void()> tick, std::function<void()> openAnnouncements)
{
    disconnect(&m_CheckOnline, &QTimer::timeout, this, nullptr);
    connect(&m_CheckOnline, &QTimer::timeout, this, std::move(tick));
    m_openAnnouncements = std::move(openAnnouncements);
}

void frmMainCode::btnBall_MouseUp()
{
    if (m_openAnnouncements)
        m_openAnnouncements();
}

void frmMainCode::StartBall()
{
    m_ballColour = QStringLiteral("Grey");
    m_ballFade = 255;
    m_ballTicks = 0;
    LoadBallPictures();
    m_pic1->show();
    m_btnBall->hide();
    m_Timer1.start(20);
}

void frmMainCode::StopBall()
{
    m_Timer1.stop();
    m_pic1->hide();
    m_btnBall->hide();
}

// Towards orange the grey ball fades into the orange one, towards grey the reverse.
void frmMainCode::LoadBallPictures()
{
    const QPixmap grey = frmPics::Picture(QStringLiteral("ImgAdGrey"));
    const QPixmap orange = frmPics::Picture(QStringLiteral("ImgAdOrange"));
    const bool towardsOrange = m_ballColour == QStringLiteral("Orange");
    m_pic1Picture = towardsOrange ? grey : orange;
    m_pic2Picture = towardsOrange ? orange : grey;
    m_pic1->setPixmap(m_pic1Picture);
    m_pic2->setPixmap(m_pic2Picture);
}

void frmMainCode::Timer1_Timer()
{
    ++m_ballTicks;
    if (m_ballTicks >= BallTicksPerColour) {
        m_ballColour =
            m_ballColour == QStringLiteral("Grey") ? QStringLiteral("Orange") : QStringLiteral("Grey");
        m_ballFade = 255;
        m_ballTicks = 0;
        LoadBallPictures();
    }
    if (m_ballFade < BallFadeStep)
        return;
    m_ballFade -= BallFadeStep;
    QPixmap blended = m_pic1Picture;
    QPainter painter(&blended);
    painter.setOpacity((255 - m_ballFade) / 255.0);
    painter.drawPixmap(0, 0, m_pic2Picture);
    painter.end();
    m_pic1->setPixmap(blended);
}

void frmMainCode::RestartBall()
{
    m_ballColour = QStringLiteral("Orange");
    m_ballFade = 255;
    m_ballTicks = 0;
    const QPixmap orange = frmPics::Picture(QStringLiteral("ImgAdOrange"));
    m_pic1Picture = orange;
    m_pic2Picture = frmPics::Picture(QStringLiteral("ImgAdGrey"));
    m_pic1->setPixmap(orange);
    m_pic2->setPixmap(m_pic2Picture);
    m_pic1->show();
    m_btnBall->hide();
}

void frmMainCode::pic1_MouseMove()
{
    m_pic1->hide();
    m_btnBall->show();
}

// ---------------------------------------------------------------------------------------------
// What the Shred List sees

void frmMainCode::ShowForm()
{
    MakeTopMost(this);
    if (isMinimized())
        showNormal();
    show();
}

void frmMainCode::HideForm()
{
    hide();
}

// A burst of additions lays out and repaints the count captions at most every 100 ms, as the
// list does its rows: sizing and repainting them (over the skin) after every item was most of
// a large drop's time. Their texts are always the latest, for whoever reads them.
void frmMainCode::SetCountCaptions(const CountCaptions& captions)
{
    if (!m_countRepaint.isActive()) {
        for (QLabel* label : {m_Label1, m_lblPrompt, m_lblshred})
            label->setUpdatesEnabled(false);
        m_countRepaint.start();
    }
    m_Label1->setText(captions.Label1);
    m_lblPrompt->setText(captions.lblPrompt);
    m_lblshred->setText(captions.lblshred);
}

void frmMainCode::ShowCountCaptions()
{
    for (QLabel* label : {m_Label1, m_lblPrompt, m_lblshred}) {
        label->adjustSize();
        label->setUpdatesEnabled(true);
    }
}

void frmMainCode::SetScroller(int min, int max, int value)
{
    for (long error : {m_myscroller->SetMin(min), m_myscroller->SetMax(max), m_myscroller->SetValue(value)})
        if (error != 0)
            Log(QStringLiteral("SetScroller"), error, QStringLiteral("Invalid property value"));
}

// ---------------------------------------------------------------------------------------------
// What the engine and the run see

QString frmMainCode::caption(Caption label) const
{
    switch (label) {
    case Caption::lblstatus:
        return m_lblstatus->text();
    case Caption::lblstatus2:
        return m_lblstatus2->text();
    case Caption::lblshred:
        return m_lblshred->text();
    case Caption::lblPrompt:
        return m_lblPrompt->text();
    case Caption::Label1:
        return m_Label1->text();
    }
    return {};
}

void frmMainCode::setCaption(Caption label, const QString& text)
{
    switch (label) {
    case Caption::lblstatus:
        m_lblstatus->setText(text);
        break;
    case Caption::lblstatus2:
        m_lblstatus2->setText(text);
        break;
    case Caption::lblshred:
        m_lblshred->setText(text);
        m_lblshred->adjustSize();
        break;
    case Caption::lblPrompt:
        m_lblPrompt->setText(text);
        m_lblPrompt->adjustSize();
        break;
    case Caption::Label1:
        m_Label1->setText(text);
        m_Label1->adjustSize();
        break;
    }
}

void frmMainCode::setBarVisible(Bar bar, bool visible)
{
    (bar == Bar::baredit ? m_baredit : m_bareditsmall)->setVisible(visible);
}

void frmMainCode::setBarMax(Bar bar, qint64 max)
{
    cpvProgressBar* target = bar == Bar::baredit ? m_baredit : m_bareditsmall;
    if (const long error = target->SetMax(qint32(qMin<qint64>(max, INT32_MAX))); error != 0)
        Log(QStringLiteral("setBarMax"), error, QStringLiteral("Invalid property value"));
}

void frmMainCode::setBarValue(Bar bar, qint64 value)
{
    cpvProgressBar* target = bar == Bar::baredit ? m_baredit : m_bareditsmall;
    if (const long error = target->SetValue(qint32(qMin<qint64>(value, INT32_MAX))); error != 0)
        Log(QStringLiteral("setBarValue"), error, QStringLiteral("Invalid property value"));
}

bool frmMainCode::expandVisible() const
{
    return Shown(m_btnExpand);
}

void frmMainCode::yield()
{
    QCoreApplication::processEvents();
}

int frmMainCode::ListCount() const
{
    return m_LstArray->Count();
}

QString frmMainCode::ListText(int index) const
{
    return m_LstArray->Text(index);
}

QString frmMainCode::ListSubItem(int index, int column) const
{
    return m_LstArray->SubItem(index, column);
}

bool frmMainCode::ListChecked(int index) const
{
    return m_LstArray->Checked(index);
}

void frmMainCode::RemoveListItem(int index)
{
    m_LstArray->RemoveItem(index);
}

qint16 frmMainCode::ItemCount() const
{
    return m_shredList.ItemCount();
}

void frmMainCode::SetScroll()
{
    m_shredList.SetScroll();
}

void frmMainCode::FixDups()
{
    m_shredList.FixDups();
}

void frmMainCode::ClearAll(bool hideWindow)
{
    m_shredList.ClearAll(hideWindow);
}

namespace {
QWidget* ControlOf(const frmMainCode& w, RunControl control)
{
    static const char* const names[] = {"btnCancel",  "btnYes",    "btnNo", "btnShow", "btnHide",
                                        "btnOptions", "btnExpand", "pic1",  "btnBall"};
    return w.findChild<QWidget*>(QLatin1String(names[int(control)]));
}
} // namespace

bool frmMainCode::ControlVisible(RunControl control) const
{
    return Shown(ControlOf(*this, control));
}

void frmMainCode::SetControlVisible(RunControl control, bool visible)
{
    ControlOf(*this, control)->setVisible(visible);
}

void frmMainCode::SetShredColor(quint32 color)
{
    QPalette palette = m_lblshred->palette();
    palette.setColor(QPalette::WindowText, ColorFromValue(color));
    m_lblshred->setPalette(palette);
}

// A second registration replaces the first: the tip always names what the button does now.
void frmMainCode::SetShredTip(const QString& text)
{
    ControlTips().DelToolTip(m_btnShred);
    ControlTips().SetToolTipObj(m_btnShred, text);
    m_btnShred->setAccessibleName(text);
}

int frmMainCode::TimerInterval(RunTimer timer) const
{
    const QTimer& t = timer == RunTimer::Timer1 ? m_Timer1 : m_CheckOnline;
    return t.isActive() ? t.interval() : 0;
}

void frmMainCode::SetTimerInterval(RunTimer timer, int milliseconds)
{
    QTimer& t = timer == RunTimer::Timer1 ? m_Timer1 : m_CheckOnline;
    if (milliseconds == 0)
        t.stop();
    else
        t.start(milliseconds);
}

void frmMainCode::ShrinkToHiddenSize()
{
    resize(PixelsX(HiddenWidth), PixelsY(HiddenHeight));
    PlaceButtonRow();
    MakeWindow(this, 5);
}

bool frmMainCode::DoNotShredWarning()
{
    return DoNotShredWarningSequence(this, DoNotShredMoment::Run);
}

void frmMainCode::LockedFilesWarning()
{
    ShowLockedFilesWarning(this);
}

void frmMainCode::CopyOnWriteWarning()
{
    ShowCopyOnWriteWarning(this);
}
