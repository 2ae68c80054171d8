#include "frmAbout.h"

#include "TutorialOpener.h"
#include "modDialog.h"
#include "platform/Identity.h"
#include "skin/MyTopButton.h"
#include "skin/frmPics.h"
#include "skin/modSkinForm.h"
#include "skin/modToolTips.h"

#include <QCoreApplication>
#include <QDate>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

namespace {
const QString WindowName = QStringLiteral("frmAbout");

// Designed in twips; at 96 DPI a pixel is 15 twips.
constexpr int WindowWidth = 6375;
constexpr int WindowHeight = 5100;
constexpr int TextLeft = 960;
constexpr int TextWidth = 4485;
constexpr int DescriptionWidth = 4785;
constexpr int DescriptionHeight = 1530;
constexpr int CopyrightTop = 2880;
constexpr int ButtonsTop = 4380;
} // namespace

frmAbout::frmAbout(QWidget* mainWindow) : QDialog(mainWindow), m_mainWindow(mainWindow)
{
    setObjectName(WindowName);
    SetSkinnedWindowFlags(this);
    RefreshTwips(screen());
    setMouseTracking(true);
    resize(PixelsX(WindowWidth), PixelsY(WindowHeight));

    QLabel* icon = AddLabel(QStringLiteral("ImgIcon"), 0, 0, 0, false);
    icon->setPixmap(frmPics::Picture(QStringLiteral("ImgIcon")));
    icon->adjustSize();
    m_lblTitle = AddLabel(QStringLiteral("lblTitle"), TextLeft, 240, TextWidth, true);
    m_lblVersion = AddLabel(QStringLiteral("lblVersion"), TextLeft, 780, TextWidth, false);
    m_lblDescription = AddLabel(QStringLiteral("lblDescription"), TextLeft, 1140, DescriptionWidth, false);
    m_lblDescription->setWordWrap(true);
    m_lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblDescription->resize(m_lblDescription->width(), PixelsY(DescriptionHeight));
    m_lblCopyright =
        AddLabel(QStringLiteral("lblCopyright"), TextLeft, CopyrightTop, DescriptionWidth, false);

    AddButton(QStringLiteral("cmdOK"), 1440, &frmAbout::cmdOK_MouseUp);
    AddButton(QStringLiteral("cmdSysInfo"), 2640, &frmAbout::cmdSysInfo_MouseUp);
    AddButton(QStringLiteral("cmdTutorial"), 3840, &frmAbout::cmdTutorial_MouseUp);
    AddButton(QStringLiteral("btnClose"), 0, &frmAbout::cmdOK_MouseUp); // the painter puts it in the corner
}

QLabel* frmAbout::AddLabel(const QString& name, int left, int top, int width, bool bold)
{
    QLabel* label = SurfaceLabel(this, name, this, bold ? 10 : 9, bold);
    label->setGeometry(PixelsX(left), PixelsY(top), PixelsX(width), label->sizeHint().height());
    return label;
}

MyTopButton* frmAbout::AddButton(const QString& name, int left, void (frmAbout::*handler)())
{
    auto* button = new MyTopButton(this);
    button->setObjectName(name);
    button->SetImages(frmPics::ButtonFor(WindowName, name));
    button->resize(button->sizeHint());
    button->move(PixelsX(left), PixelsY(ButtonsTop));
    connect(button, &MyTopButton::MouseMove, this, [] { SetHandCur(true); });
    connect(button, &MyTopButton::MouseUp, this, [this, button, handler](int Button, int, float X, float Y) {
        if (ReleasedOver(button, Button, X, Y))
            (this->*handler)();
    });
    return button;
}

void frmAbout::Form_Load()
{
    CreateTips(this);
    MakeWindow(this, 5);
    const QString product = QLatin1String(Identity::ProductName);
    const QString company = QLatin1String(Identity::CompanyName);
    setWindowTitle(QStringLiteral("About ") + product);
    m_lblVersion->setText(
        QStringLiteral("Version %1.%2").arg(Identity::VersionMajor).arg(Identity::VersionMinor));
    m_lblTitle->setText(product + QStringLiteral(" by ") + company);
    m_lblDescription->setText(QLatin1String(Identity::Description));
    m_lblCopyright->setText(
        QStringLiteral("Copyright (C) %1 %2").arg(QDate::currentDate().year()).arg(company));

    const QWidget* over = m_mainWindow && m_mainWindow->isVisible() ? m_mainWindow : this;
    if (const QScreen* where = over->screen())
        move(where->availableGeometry().center() - rect().center());
}

void frmAbout::cmdOK_MouseUp()
{
    MakeNormal(this);
    done(QDialog::Accepted);
    if (m_mainWindow)
        MakeTopMost(m_mainWindow);
}

void frmAbout::cmdSysInfo_MouseUp()
{
    StartSysInfo();
    cmdOK_MouseUp();
}

void frmAbout::cmdTutorial_MouseUp()
{
    QCoreApplication::processEvents();
    MakeNormal(this);
    done(QDialog::Accepted);
    OpenTutorialWindow(m_mainWindow);
}

void frmAbout::reject()
{
    // Escape and the window manager's close request leave the way OK does.
    cmdOK_MouseUp();
}

void frmAbout::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        DoDrag(this);
}

void frmAbout::mouseMoveEvent(QMouseEvent*)
{
    SetHandCur(false);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    // The icon and the labels are part of the surface.
    if (qobject_cast<QLabel*>(watched) && SurfaceMouseEvent(this, event))
        return true;
    return QDialog::eventFilter(watched, event);
}

void OpenAboutWindow(QWidget* mainWindow)
{
    MakeNormal(mainWindow);
    frmAbout window(mainWindow);
    window.Form_Load();
    window.exec();
    MakeTopMost(mainWindow);
}
