#include "frmDialog.h"

#include "DialogAnswer.h"
#include "DialogLayout.h"
#include "skin/MyTopButton.h"
#include "skin/frmPics.h"
#include "skin/modSkinForm.h"
#include "skin/modToolTips.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>

namespace {
const QString WindowName = QStringLiteral("frmDialog");

void SetTextColor(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}
} // namespace

frmDialog::frmDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(WindowName);
    SetSkinnedWindowFlags(this);
    RefreshTwips(screen());
    setMouseTracking(true);
    resize(PixelsX(DialogDesign::Width), PixelsY(DialogDesign::MessageTop));

    // Kind 0 leaves the icon as designed: the application's.
    m_ImgIcon = AddLabel(QStringLiteral("ImgIcon"));
    m_ImgIcon->setPixmap(frmPics::Picture(QStringLiteral("ImgIcon")));
    m_ImgIcon->adjustSize();
    m_ImgIcon->move(PixelsX(DialogDesign::Icon), PixelsY(DialogDesign::Icon));

    m_lblTitle = AddLabel(QStringLiteral("lblTitle"));
    QFont titleFont(QStringLiteral("Arial"), 9);
    titleFont.setBold(true);
    m_lblTitle->setFont(titleFont);
    m_lblTitle->move(PixelsX(DialogDesign::TitleLeft), PixelsY(DialogDesign::TitleTop));

    m_lblMessage = AddLabel(QStringLiteral("lblMessage"));
    m_lblMessage->setWordWrap(true);
    m_lblMessage->setGeometry(PixelsX(DialogDesign::MessageLeft), PixelsY(DialogDesign::MessageTop),
                              PixelsX(DialogDesign::MessageWidth), 0);

    // Made before the buttons, so that it is first to take the focus when it is shown.
    m_txtDialogInput = new QLineEdit(this);
    m_txtDialogInput->setObjectName(QStringLiteral("txtDialogInput"));
    SetTextColor(m_txtDialogInput, QPalette::Base, Qt::white);
    SetTextColor(m_txtDialogInput, QPalette::Text, Qt::black);
    m_txtDialogInput->resize(PixelsX(DialogDesign::InputWidth), PixelsY(DialogDesign::InputHeight));
    m_txtDialogInput->hide();
    connect(m_txtDialogInput, &QLineEdit::returnPressed, this, &frmDialog::cmdOK_Click);

    m_cmdOK = AddButton(QStringLiteral("cmdOK"));
    m_btnYes = AddButton(QStringLiteral("btnYes"));
    m_cmdNo = AddButton(QStringLiteral("cmdNo"));
    m_cmdCancel = AddButton(QStringLiteral("cmdCancel"));
    m_cmdSysInfo = AddButton(QStringLiteral("cmdSysInfo"));
    m_btnClose = AddButton(QStringLiteral("btnClose")); // the painter puts it in the corner
    for (MyTopButton* button : {m_cmdOK, m_btnYes})
        button->move(PixelsX(DialogDesign::LeftButton), 0);
    for (MyTopButton* button : {m_cmdNo, m_cmdCancel, m_cmdSysInfo})
        button->move(PixelsX(DialogDesign::RightButton), 0);

    connect(m_cmdOK, &MyTopButton::Click, this, &frmDialog::cmdOK_Click);
    connect(m_cmdSysInfo, &MyTopButton::Click, this, &frmDialog::cmdSysInfo_Click);
    const std::pair<MyTopButton*, qint16> releases[] = {{m_btnYes, DialogAnswerCode::Yes},
                                                        {m_cmdNo, DialogAnswerCode::No},
                                                        {m_cmdCancel, DialogAnswerCode::Cancel},
                                                        {m_btnClose, DialogAnswerCode::Cancel}};
    for (const auto& [button, answer] : releases) {
        connect(button, &MyTopButton::MouseUp, this,
                [this, button, answer](int Button, int, float X, float Y) {
                    if (ReleasedOver(button, Button, X, Y))
                        Answer(QVariant::fromValue(answer));
                });
    }
    // Cancel keeps whatever cursor the pointer brings along.
    for (MyTopButton* button : {m_cmdOK, m_btnYes, m_cmdNo, m_cmdSysInfo, m_btnClose})
        connect(button, &MyTopButton::MouseMove, this, [] { SetHandCur(true); });

    CreateTips(this);
}

void frmDialog::SetTexts(const QString& message, const QString& title, bool closeEnabled)
{
    m_txtDialogInput->hide();
    QString lines = message;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_lblMessage->setText(lines);
    m_lblMessage->resize(m_lblMessage->width(), m_lblMessage->heightForWidth(m_lblMessage->width()));
    m_lblTitle->setText(title);
    m_lblTitle->adjustSize();
    setWindowTitle(title); // what screen readers and window lists name the dialog by
    m_btnClose->SetEnabled(closeEnabled);
}

void frmDialog::SetButtons(bool withInput, qint32 buttons)
{
    for (MyTopButton* button : {m_btnYes, m_cmdNo, m_cmdOK, m_cmdCancel, m_cmdSysInfo})
        button->hide();
    const float innerWidth = float(width() * TwipsX());
    const float buttonWidth = float(m_cmdOK->width() * TwipsX());
    for (const PlacedButton& place : DialogButtonPlaces(withInput, buttons, innerWidth, buttonWidth)) {
        MyTopButton* button = Button(place.name);
        button->move(PixelsX(place.left), button->y());
        button->show();
    }
    m_txtDialogInput->setVisible(withInput);
}

void frmDialog::LayOut()
{
    const DialogRows rows = DialogLayOut(DialogDesign::MessageTop, m_lblMessage->height() * TwipsY(),
                                         m_cmdOK->height() * TwipsY(), !m_txtDialogInput->isHidden());
    m_txtDialogInput->move(PixelsX(DialogDesign::InputLeft), PixelsY(rows.inputTop));
    for (MyTopButton* button : {m_btnYes, m_cmdNo, m_cmdOK, m_cmdCancel, m_cmdSysInfo})
        button->move(button->x(), PixelsY(rows.buttonTop));
    resize(width(), PixelsY(rows.height));

    // Centred on the asking window's screen, where the user is looking.
    const QScreen* where = parentWidget() ? parentWidget()->screen() : screen();
    if (where)
        move(where->availableGeometry().center() - rect().center());
}

void frmDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A question takes the keyboard, even as a tool window that window managers may leave inactive.
    activateWindow();
}

void frmDialog::reject()
{
    // Escape and the window manager's close request: only the buttons answer.
}

void frmDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        DoDrag(this);
}

void frmDialog::mouseMoveEvent(QMouseEvent*)
{
    SetHandCur(false);
}

bool frmDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The icon and the labels are part of the surface: the arrow over them, and a press drags.
    if ((watched == m_ImgIcon || watched == m_lblTitle || watched == m_lblMessage) &&
        SurfaceMouseEvent(this, event))
        return true;
    return QDialog::eventFilter(watched, event);
}

QLabel* frmDialog::AddLabel(const QString& name)
{
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    SetTextColor(label, QPalette::WindowText, Qt::white);
    label->setMouseTracking(true);
    label->installEventFilter(this);
    return label;
}

MyTopButton* frmDialog::AddButton(const QString& name)
{
    auto* button = new MyTopButton(this);
    button->setObjectName(name);
    button->SetImages(frmPics::ButtonFor(WindowName, name));
    return button;
}

MyTopButton* frmDialog::Button(const QString& name) const
{
    return findChild<MyTopButton*>(name, Qt::FindDirectChildrenOnly);
}

void frmDialog::cmdOK_Click()
{
    if (m_txtDialogInput->isHidden())
        Answer(QVariant::fromValue(DialogAnswerCode::OK));
    else
        Answer(QStringLiteral("0;") + m_txtDialogInput->text());
}

void frmDialog::cmdSysInfo_Click()
{
    Q_EMIT SystemInfoRequested();
    Answer(QVariant::fromValue(DialogAnswerCode::OK));
}

void frmDialog::Answer(const QVariant& answer)
{
    DialogAnswer() = answer;
    CloseDialog();
}

void frmDialog::CloseDialog()
{
    MakeNormal(this);
    done(QDialog::Accepted);
    if (QWidget* main = DialogMainWindow())
        MakeTopMost(main);
}
