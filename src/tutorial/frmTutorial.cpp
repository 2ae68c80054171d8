#include "frmTutorial.h"

#include "TutorialPages.h"
#include "options/frmOptions.h"
#include "platform/Identity.h"
#include "skin/LinkLabel.h"
#include "skin/MyTopButton.h"
#include "skin/frmPics.h"
#include "skin/modSkinForm.h"
#include "skin/modToolTips.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScreen>

namespace {
const QString WindowName = QStringLiteral("frmTutorial");

// Designed in twips; at 96 DPI a pixel is 15 twips.
constexpr int WindowWidth = 7530;
constexpr int WindowHeight = 6015;
constexpr QPoint ListFramePlace(360, 1020);
constexpr QPoint SlideFramePlace(600, 1140);
constexpr int ChapterLeft = 360;
constexpr int ChapterTop = 420;
constexpr int ChapterStep = 300;
constexpr QPoint TitlePlace(600, 480);
constexpr QPoint PicturePlace(600, 1080);
constexpr int BackLeft = 4200;
constexpr int NextLeft = 5280;
constexpr int ButtonsTop = 3900;
constexpr QPoint ChapterListPlace(600, 3960);
constexpr QPoint OptionsPlace(6000, 600);

QPoint Pixels(QPoint twips)
{
    return QPoint(PixelsX(twips.x()), PixelsY(twips.y()));
}

QString Product()
{
    return QLatin1String(Identity::ProductName);
}
} // namespace

frmTutorial::frmTutorial(QWidget* mainWindow) : QDialog(mainWindow), m_mainWindow(mainWindow)
{
    setObjectName(WindowName);
    SetSkinnedWindowFlags(this);
    RefreshTwips(screen());
    setMouseTracking(true);
    resize(PixelsX(WindowWidth), PixelsY(WindowHeight));

    QLabel* icon = SurfaceLabel(this, QStringLiteral("ImgIcon"), this, 8, false);
    icon->setPixmap(frmPics::Picture(QStringLiteral("ImgIcon")));
    icon->adjustSize();
    m_lblCaption = SurfaceLabel(this, QStringLiteral("lblCaption"), this, 9, true);
    m_lblCaption->move(64, 9);
    BuildChapterList();
    BuildSlide();
    m_lblidx = SurfaceLabel(this, QStringLiteral("lblidx"), this, 8, false);
    m_lblidx->hide();
    m_btnOptions = AddButton(QStringLiteral("btnOptions"), this);
    m_btnOptions->move(Pixels(OptionsPlace));
    connect(m_btnOptions, &MyTopButton::MouseUp, this, [this](int Button, int, float X, float Y) {
        if (ReleasedOver(m_btnOptions, Button, X, Y))
            btnOptions_MouseUp();
    });
    m_btnClose = AddButton(QStringLiteral("btnClose"), this);
    connect(m_btnClose, &MyTopButton::MouseUp, this, [this](int Button, int, float X, float Y) {
        if (ReleasedOver(m_btnClose, Button, X, Y))
            btnClose_MouseUp();
    });
}

MyTopButton* frmTutorial::AddButton(const QString& name, QWidget* parent)
{
    auto* button = new MyTopButton(parent);
    button->setObjectName(name);
    button->SetImages(frmPics::ButtonFor(WindowName, name));
    button->resize(button->sizeHint());
    connect(button, &MyTopButton::MouseMove, this, [] { SetHandCur(true); });
    return button;
}

LinkLabel* frmTutorial::AddLink(const QString& name, const QString& text, QWidget* parent)
{
    auto* link = new LinkLabel(text, parent);
    link->setObjectName(name);
    LinkNormal(link);
    connect(link, &LinkLabel::MouseMove, this, [this, link] {
        SetHandCur(true);
        NormalLinks();
        LinkHover(link, 1, 1);
    });
    return link;
}

void frmTutorial::BuildChapterList()
{
    m_tutorialFrame = SurfaceLabel(this, QStringLiteral("tutorialFrame"), this, 8, false);
    m_tutorialFrame->move(Pixels(ListFramePlace));
    for (int i = 0; i < TutorialPages::ChapterCount; ++i) {
        LinkLabel* link = AddLink(QStringLiteral("Label1_%1").arg(i),
                                  TutorialPages::ChapterTitle(i, Product()), m_tutorialFrame);
        link->move(PixelsX(ChapterLeft), PixelsY(ChapterTop + ChapterStep * i));
        connect(link, &LinkLabel::Click, this, [this, i] { Label1_Click(i); });
        m_Label1.append(link);
    }
}

void frmTutorial::BuildSlide()
{
    m_slideframe = SurfaceLabel(this, QStringLiteral("slideframe"), this, 8, false);
    m_slideframe->move(Pixels(SlideFramePlace));
    m_tutlabel = SurfaceLabel(this, QStringLiteral("tutlabel"), m_slideframe, 9, true);
    m_tutlabel->move(Pixels(TitlePlace));
    m_imgSlide = SurfaceLabel(this, QStringLiteral("imgSlide"), m_slideframe, 8, false);
    m_imgSlide->move(Pixels(PicturePlace));
    m_tuttxt = SurfaceLabel(this, QStringLiteral("tuttxt"), m_slideframe, 8, false);
    m_tuttxt->setWordWrap(true);
    m_tuttxt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Screen readers read the page through its text; the keyboard reaches it too.
    m_tuttxt->setFocusPolicy(Qt::StrongFocus);

    m_btnBack = AddButton(QStringLiteral("btnBack"), m_slideframe);
    m_btnNext = AddButton(QStringLiteral("btnNext"), m_slideframe);
    m_btnYes = AddButton(QStringLiteral("btnYes"), m_slideframe);
    m_btnNo = AddButton(QStringLiteral("btnNo"), m_slideframe);
    for (MyTopButton* button : {m_btnBack, m_btnYes})
        button->move(PixelsX(BackLeft), PixelsY(ButtonsTop));
    for (MyTopButton* button : {m_btnNext, m_btnNo})
        button->move(PixelsX(NextLeft), PixelsY(ButtonsTop));
    for (MyTopButton* button : {m_btnBack, m_btnNext}) {
        connect(button, &MyTopButton::MouseUp, this, [this, button](int Button, int, float X, float Y) {
            if (ReleasedOver(button, Button, X, Y))
                btnBackNext_MouseUp(button);
        });
    }
    m_Label2 = AddLink(QStringLiteral("Label2"), QStringLiteral("Chapter List"), m_slideframe);
    m_Label2->move(Pixels(ChapterListPlace));
    connect(m_Label2, &LinkLabel::Click, this, &frmTutorial::ShowChapterList);
}

void frmTutorial::Form_Load()
{
    CreateTips(this);
    m_lblCaption->setText(QStringLiteral("%1 %2.%3 Tutorial")
                              .arg(Product())
                              .arg(Identity::VersionMajor)
                              .arg(Identity::VersionMinor));
    m_lblCaption->adjustSize();
    setWindowTitle(m_lblCaption->text());
    m_Label1[5]->setText(TutorialPages::ChapterTitle(5, Product()));
    m_Label1[5]->adjustSize();
    ShowChapterList();
    for (QLabel* frame : {m_tutorialFrame, m_slideframe}) {
        frame->setPixmap(frmPics::Picture(QStringLiteral("ImgFrame")));
        frame->adjustSize();
    }
    MakeWindow(this, 5);

    const QWidget* over = m_mainWindow && m_mainWindow->isVisible() ? m_mainWindow : this;
    if (const QScreen* where = over->screen())
        move(where->availableGeometry().center() - rect().center());
}

void frmTutorial::ShowChapterList()
{
    m_tutorialFrame->show();
    m_slideframe->hide();
}

void frmTutorial::NormalLinks()
{
    for (LinkLabel* link : std::as_const(m_Label1))
        LinkNormal(link);
    LinkNormal(m_Label2);
}

void frmTutorial::Label1_Click(int index)
{
    SetHandCur(false);
    NormalLinks();
    m_lblidx->setText(QString::number(index));
    ChangeSlide(qint16(index), 0);
}

void frmTutorial::btnBackNext_MouseUp(const MyTopButton* button)
{
    ChangeSlide(m_lblidx->text().toShort(), button->property("tag").toString().toShort());
}

void frmTutorial::btnOptions_MouseUp()
{
    QCoreApplication::processEvents();
    MakeNormal(this);
    done(QDialog::Accepted);
    OpenOptionsWindow(m_mainWindow);
}

void frmTutorial::btnClose_MouseUp()
{
    MakeNormal(this);
    done(QDialog::Accepted);
    if (m_mainWindow)
        MakeTopMost(m_mainWindow);
}

void frmTutorial::reject()
{
    // Escape and the window manager's close request leave the way the close button does.
    btnClose_MouseUp();
}

void frmTutorial::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        DoDrag(this);
}

void frmTutorial::mouseMoveEvent(QMouseEvent*)
{
    SetHandCur(false);
    NormalLinks();
}

bool frmTutorial::eventFilter(QObject* watched, QEvent* event)
{
    // The frames, the icon, the title, the picture and the text are the window's surface.
    if (qobject_cast<QLabel*>(watched) && !qobject_cast<LinkLabel*>(watched)) {
        if (event->type() == QEvent::MouseMove)
            NormalLinks();
        if (SurfaceMouseEvent(this, event))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void OpenTutorial(QWidget* mainWindow)
{
    MakeNormal(mainWindow);
    frmTutorial window(mainWindow);
    window.Form_Load();
    MakeTopMost(&window);
    window.exec();
    MakeTopMost(mainWindow);
}
