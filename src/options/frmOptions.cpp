#include "frmOptions.h"

#include "OptionRules.h"
#include "OptionsLayout.h"
#include "common/LogError.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "dialogs/TutorialOpener.h"
#include "platform/Identity.h"
#include "skin/LinkLabel.h"
#include "skin/MyTopButton.h"
#include "skin/SkinColor.h"
#include "skin/frmPics.h"
#include "skin/modSkinForm.h"
#include "skin/modToolTips.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QScreen>

using namespace OptionsLayout;

namespace {
const QString WipesPrefix = QStringLiteral("Number of wipes: ");

void SetColor(QWidget* widget, QPalette::ColorRole role, quint32 color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, ColorFromValue(color));
    widget->setPalette(palette);
}
} // namespace

frmOptions::frmOptions(QWidget* mainWindow) : QDialog(mainWindow), m_mainWindow(mainWindow)
{
    setObjectName(WindowName);
    SetSkinnedWindowFlags(this);
    RefreshTwips(screen());
    setMouseTracking(true);
    resize(PixelsX(WindowWidth), PixelsY(WindowHeight));

    auto* icon = SurfaceLabel(this, QStringLiteral("ImgIcon"), this, 8, false);
    icon->setPixmap(frmPics::Picture(QStringLiteral("ImgIcon")));
    icon->adjustSize();
    m_lblCaption = SurfaceLabel(this, QStringLiteral("lblCaption"), this, 9, true);
    m_lblCaption->move(64, 9);
    m_OptionFrame = SurfaceLabel(this, QStringLiteral("OptionFrame"), this, 8, false);
    m_OptionFrame->setGeometry(25, PixelsY(RowsTop) + 20, 451, 315);

    BuildRows();
    BuildSafeList();
    m_cmdTutorial = AddButton(QStringLiteral("cmdTutorial"), &frmOptions::cmdTutorial_MouseUp);
    m_cmdTutorial->move(PixelsX(TutorialLeft), PixelsY(TutorialTop));
    m_btnClose = AddButton(QStringLiteral("btnClose"), &frmOptions::btnClose_MouseUp);
}

QLabel* frmOptions::AddBar(const QString& name, const QString& picture)
{
    QLabel* bar = SurfaceLabel(this, name, this, 8, false);
    bar->setProperty("picture", picture);
    return bar;
}

MyTopButton* frmOptions::AddButton(const QString& name, void (frmOptions::*handler)())
{
    auto* button = new MyTopButton(this);
    button->setObjectName(name);
    button->SetImages(frmPics::ButtonFor(WindowName, name));
    button->resize(button->sizeHint());
    connect(button, &MyTopButton::MouseMove, this, [] { SetHandCur(true); });
    connect(button, &MyTopButton::MouseUp, this, [this, button, handler](int Button, int, float X, float Y) {
        if (ReleasedOver(button, Button, X, Y))
            (this->*handler)();
    });
    return button;
}

// The four rows: each image button with its bar beside it and its texts on the bar.
void frmOptions::BuildRows()
{
    m_imgWhite1 = AddBar(QStringLiteral("imgWhite1"), QStringLiteral("ImgOptionBarWhite"));
    const QString barPictures[] = {QStringLiteral("ImgOptionBar"), QStringLiteral("ImgOptionBar"),
                                   QStringLiteral("ImgOptionBar"), QStringLiteral("imgFileFrame")};
    for (int i = 0; i < 4; ++i)
        m_ImgBlack.append(AddBar(QStringLiteral("ImgBlack%1").arg(i + 1), barPictures[i]));

    m_btnWipes = AddButton(QStringLiteral("btnWipes"), &frmOptions::btnWipes_MouseUp);
    m_btnInstant = AddButton(QStringLiteral("btnInstant"), &frmOptions::btnInstant_MouseUp);
    m_btnFastShred = AddButton(QStringLiteral("btnFastShred"), &frmOptions::btnFastShred_MouseUp);
    m_btnSafeShred = AddButton(QStringLiteral("btnSafeShred"), &frmOptions::btnSafeShred_MouseUp);
    MyTopButton* rows[] = {m_btnWipes, m_btnInstant, m_btnFastShred, m_btnSafeShred};
    for (int i = 0; i < 4; ++i)
        rows[i]->move(RowPlace(RowButtonLeft, RowTops[i]));
    // Texts sit on the bars, which start at the buttons' right edge (pixels from here on).
    const int barLeft = m_btnWipes->geometry().right() + 1;
    const auto textTop = [](const MyTopButton* row) { return row->y() + 10; };

    m_txtNumOver = new QLineEdit(this);
    m_txtNumOver->setObjectName(QStringLiteral("txtNumOver"));
    m_txtNumOver->setAccessibleName(QStringLiteral("Number of wipes"));
    m_txtNumOver->setFrame(false);
    m_txtNumOver->setAlignment(Qt::AlignCenter);
    QFont boxFont = m_txtNumOver->font();
    boxFont.setPointSize(9);
    boxFont.setBold(true);
    m_txtNumOver->setFont(boxFont);
    SetColor(m_txtNumOver, QPalette::Base, 0xFFFFFF);
    SetColor(m_txtNumOver, QPalette::Text, 0x202020);
    m_txtNumOver->setGeometry(
        QRect(RowPlace(NumOverLeft, NumOverTop), QSize(PixelsX(NumOverWidth), PixelsY(NumOverHeight))));
    // The greatest number of wipes fits 32 bits: ten digits. A paste of anything but digits
    // is refused whole, like the typed keys the filter discards.
    m_txtNumOver->setMaxLength(10);
    m_txtNumOver->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_txtNumOver));
    m_txtNumOver->installEventFilter(this);
    connect(m_txtNumOver, &QLineEdit::textChanged, this, &frmOptions::txtNumOver_Change);
    connect(m_txtNumOver, &QLineEdit::returnPressed, this, &frmOptions::SetWipes);
    m_txtNumOverLong = SurfaceLabel(this, QStringLiteral("txtNumOverLong"), this, 9, true);
    m_txtNumOverLong->move(barLeft + frmPics::Picture(QStringLiteral("ImgOptionBarWhite")).width() + 12,
                           textTop(m_btnWipes));

    m_txtInstantShred = SurfaceLabel(this, QStringLiteral("txtInstantShred"), this, 9, true);
    m_txtInstantShred->move(barLeft + 12, textTop(m_btnInstant));
    m_lblWarning = SurfaceLabel(this, QStringLiteral("lblWarning"), this, 7, false);
    m_lblWarning->setText(
        QStringLiteral("Warning! Shredding will begin instantly, without a warning prompt."));
    m_lblWarning->setWordWrap(true);
    m_lblWarning->setGeometry(barLeft + 168, m_btnInstant->y() + 2, 158, 31);
    SetColor(m_lblWarning, QPalette::WindowText, 0x80C0FF);
    m_lblWarning->hide();

    m_txtFastShred = SurfaceLabel(this, QStringLiteral("txtFastShred"), this, 9, true);
    m_txtFastShred->move(barLeft + 12, textTop(m_btnFastShred));
    m_LblReset = SurfaceLabel(this, QStringLiteral("LblReset"), this, 7, false);
    m_LblReset->setWordWrap(true);
    m_LblReset->setGeometry(barLeft, m_btnFastShred->geometry().bottom() + 4, 400, 24);
    SetColor(m_LblReset, QPalette::WindowText, 0x80FFFF);
    m_LblReset->hide();

    m_Label1 = SurfaceLabel(this, QStringLiteral("Label1"), this, 9, true);
    m_Label1->setText(QStringLiteral("Do Not Shred Folder Locations:"));
    m_Label1->adjustSize();
    m_Label1->move(barLeft + 12, textTop(m_btnSafeShred));
    m_Label2 = SurfaceLabel(this, QStringLiteral("Label2"), this, 8, false);
    m_Label2->setText(QStringLiteral("Warning Prompt?"));
    m_Label2->adjustSize();
    m_Label2->move(barLeft + 400 - 10 - m_Label2->width(), textTop(m_btnSafeShred) + 1);
    m_chkPrompt = new QCheckBox(this);
    m_chkPrompt->setObjectName(QStringLiteral("chkPrompt"));
    m_chkPrompt->setAccessibleName(m_Label2->text());
    m_chkPrompt->adjustSize();
    m_chkPrompt->move(m_Label2->x() - m_chkPrompt->width() - 2,
                      m_Label2->y() + (m_Label2->height() - m_chkPrompt->height()) / 2);
    connect(m_chkPrompt, &QCheckBox::toggled, this, &frmOptions::chkPrompt_Click);
}

void frmOptions::Form_Load()
{
    SharedState& state = Shared();
    state.SafeFolders.clear();
    CreateTips(this);
    MakeWindow(this, 5);
    PaintFrames();

    m_LstSafeFiles->clear();
    const QString stored = ReadStringSetting(Setting::SafeFiles);
    // Checking the box raises its click, which takes the stored 1 into the shared flag and
    // stores it again; a stored 0 leaves the box as it is and the flag alone.
    if (ReadIntegerSetting(Setting::PromptSafeFiles, WindowName, QStringLiteral("Form_Load")) == 1)
        m_chkPrompt->setChecked(true);
    LoadSafeFiles(stored);

    m_txtNumOver->setText(
        QString::number(ReadLongSetting(Setting::NumOverwrite, WindowName, QStringLiteral("Form_Load"))));
    m_txtNumOverLong->setText(WipesPrefix + m_txtNumOver->text());
    m_txtNumOverLong->adjustSize();
    ShowInstant(ReadBooleanSetting(Setting::ShredNow, WindowName, QStringLiteral("Form_Load")));

    state.FastShred = ReadIntegerSetting(Setting::FastShred, WindowName, QStringLiteral("Form_Load"));
    if (OptionRules::CorrectAtLoad(state))
        ShowWipes(QStringLiteral("8"));
    m_txtFastShred->setText(OptionRules::MethodText(state.FastShred));
    m_txtFastShred->adjustSize();

    m_lblCaption->setText(QStringLiteral("%1 %2.%3 Options")
                              .arg(QLatin1String(Identity::ProductName))
                              .arg(Identity::VersionMajor)
                              .arg(Identity::VersionMinor));
    m_lblCaption->adjustSize();
    setWindowTitle(m_lblCaption->text());

    // Over the main window, where the user is looking.
    const QWidget* over = m_mainWindow && m_mainWindow->isVisible() ? m_mainWindow : nullptr;
    const QScreen* where = over ? over->screen() : screen();
    if (where)
        move(where->availableGeometry().center() - rect().center());
}

// The panel and the row bars, each bar from the right edge of its row's button.
void frmOptions::PaintFrames()
{
    m_OptionFrame->setPixmap(frmPics::Picture(QStringLiteral("ImgFrame")));
    m_OptionFrame->lower();
    const MyTopButton* rows[] = {m_btnWipes, m_btnInstant, m_btnFastShred, m_btnSafeShred};
    QList<QLabel*> bars = m_ImgBlack;
    bars.prepend(m_imgWhite1);
    for (QLabel* bar : std::as_const(bars))
        bar->setPixmap(frmPics::Picture(bar->property("picture").toString()));
    m_imgWhite1->setGeometry(
        QRect(rows[0]->geometry().topRight() + QPoint(1, 0), m_imgWhite1->pixmap().size()));
    m_ImgBlack[0]->setGeometry(
        QRect(m_imgWhite1->geometry().topRight() + QPoint(1, 0), m_ImgBlack[0]->pixmap().size()));
    for (int i = 1; i < 4; ++i)
        m_ImgBlack[i]->setGeometry(
            QRect(rows[i]->geometry().topRight() + QPoint(1, 0), m_ImgBlack[i]->pixmap().size()));
}

// ---------------------------------------------------------------------------------------------
// The option rows

void frmOptions::btnWipes_MouseUp()
{
    m_LblReset->hide();
    SetWipes();
}

void frmOptions::SetWipes()
{
    QString notice;
    const QString box = m_txtNumOver->text();
    const QString error = OptionRules::SetWipes(Shared(), box, &notice);
    if (!error.isEmpty()) {
        LogError(WindowName, QStringLiteral("SetWipes"),
                 box.isEmpty() ? ErrorNumber::TypeMismatch : ErrorNumber::Overflow, error);
        return;
    }
    m_txtNumOverLong->setText(OptionRules::WipesText(Shared().NumOverwrite));
    m_txtNumOverLong->adjustSize();
    if (notice.isEmpty())
        return;
    ShowReset(notice);
    m_txtFastShred->setText(OptionRules::MethodText(Shared().FastShred));
    m_txtFastShred->adjustSize();
}

void frmOptions::txtNumOver_Change()
{
    const QString corrected = OptionRules::CorrectedWipesBox(m_txtNumOver->text());
    if (corrected != m_txtNumOver->text())
        m_txtNumOver->setText(corrected);
}

void frmOptions::btnFastShred_MouseUp()
{
    m_LblReset->hide();
    QString notice;
    OptionRules::CycleMethod(Shared(), &notice);
    m_txtFastShred->setText(OptionRules::MethodText(Shared().FastShred));
    m_txtFastShred->adjustSize();
    if (notice.isEmpty())
        return;
    ShowReset(notice);
    ShowWipes(QStringLiteral("8"));
}

void frmOptions::btnInstant_MouseUp()
{
    ShowInstant(OptionRules::ToggleInstant(Shared()));
}

void frmOptions::chkPrompt_Click(bool checked)
{
    OptionRules::SetPrompt(Shared(), checked);
}

void frmOptions::cmdTutorial_MouseUp()
{
    DoEvents();
    MakeNormal(this);
    done(QDialog::Accepted);
    OpenTutorialWindow(m_mainWindow);
}

void frmOptions::btnClose_MouseUp()
{
    MakeNormal(this);
    done(QDialog::Accepted);
    if (m_mainWindow)
        MakeTopMost(m_mainWindow);
}

void frmOptions::ShowInstant(bool on)
{
    m_txtInstantShred->setText(OptionRules::InstantText(on));
    m_txtInstantShred->adjustSize();
    m_lblWarning->setVisible(on);
}

void frmOptions::ShowReset(const QString& notice)
{
    m_LblReset->setText(notice);
    m_LblReset->show();
}

void frmOptions::ShowWipes(const QString& box)
{
    m_txtNumOver->setText(box);
    m_txtNumOverLong->setText(WipesPrefix + m_txtNumOver->text());
    m_txtNumOverLong->adjustSize();
}

// ---------------------------------------------------------------------------------------------
// The surface: the arrow, the links' normal colour, and a press that drags the window

void frmOptions::reject()
{
    // Escape and the window manager's close request leave the way the close button does.
    btnClose_MouseUp();
}

void frmOptions::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        DoDrag(this);
}

void frmOptions::mouseMoveEvent(QMouseEvent*)
{
    SetHandCur(false);
    for (LinkLabel* link : std::as_const(m_Selection2))
        LinkNormal(link);
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_txtNumOver && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Tab still leaves the box, so that the keyboard can reach the rest of the window.
        return !(OptionRules::KeyPasses(key) || key == Qt::Key_Tab || key == Qt::Key_Backtab);
    }
    if (m_LstSafeFiles && watched == m_LstSafeFiles->viewport()) {
        if (event->type() == QEvent::MouseMove)
            SetHandCur(false);
        return QDialog::eventFilter(watched, event);
    }
    if (qobject_cast<QLabel*>(watched) && watched->parent() == this) {
        if (event->type() == QEvent::MouseMove)
            mouseMoveEvent(static_cast<QMouseEvent*>(event));
        else if (SurfaceMouseEvent(this, event))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------

void OpenOptionsWindow(QWidget* mainWindow)
{
    DoEvents();
    MakeNormal(mainWindow);
    frmOptions window(mainWindow);
    window.Form_Load();
    MakeTopMost(&window);
    window.exec();
    MakeTopMost(mainWindow);
}

void ShowOptionsWindow(QWidget* mainWindow)
{
    static QPointer<frmOptions> open;
    if (!open) {
        open = new frmOptions(mainWindow);
        open->setAttribute(Qt::WA_DeleteOnClose);
        open->Form_Load();
    }
    open->show();
    MakeTopMost(open);
    open->raise();
    open->activateWindow();
}
