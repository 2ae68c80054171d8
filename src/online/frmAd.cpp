#include "frmAd.h"

#include "common/LogError.h"
#include "common/Settings.h"
#include "modGetConnect.h"
#include "modVersion.h"
#include "platform/Identity.h"
#include "shredlist/frmMainCode.h"
#include "skin/MyTopButton.h"
#include "skin/frmPics.h"
#include "skin/modSkinForm.h"
#include "skin/modToolTips.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStringConverter>
#include <QTextBrowser>

namespace {
const QString WindowName = QStringLiteral("frmAd");
constexpr int PageTimeLimitMs = 20000;

// Designed in twips; at 96 DPI a pixel is 15 twips.
constexpr int WindowWidth = 6750;
constexpr int WindowHeight = 5430;
constexpr int CaptionLeft = 960;
constexpr int CaptionTop = 240;
constexpr int FrameLeft = 225;
constexpr int FrameTop = 690;
// The page's place inside the frame picture, clear of its rounded border.
constexpr int InnerLeft = 90;
constexpr int InnerTop = 120;
constexpr int InnerRight = 90;
constexpr int InnerBottom = 120;
// The browser overlaps the inner area, so that its own border is cut off by the frame.
constexpr int BrowserOverlap = 60;
constexpr int BrowserGrowth = 100;
constexpr int PageMargin = 150;

void Log(const QString& procedure, const QString& description)
{
    LogError(WindowName, procedure, ErrorNumber::PathFileAccessError, description);
}

// A page viewer that fetches nothing by itself: whatever the page names (images, style
// sheets, other pages) stays where it is. An image takes no room rather than showing a
// broken-picture sign.
class PageView : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl&) override
    {
        if (type != QTextDocument::ImageResource)
            return {};
        QImage nothing(1, 1, QImage::Format_ARGB32);
        nothing.fill(Qt::transparent);
        return nothing;
    }
};

QString Decode(const QByteArray& page)
{
    QStringDecoder decoder(QStringConverter::encodingForHtml(page).value_or(QStringConverter::Utf8));
    return decoder(page);
}
} // namespace

frmAd::frmAd(frmMainCode& mainWindow, const OnlineState& state)
    : QDialog(&mainWindow), m_mainWindow(mainWindow), m_announcementsDate(state.announcementsDate)
{
    setObjectName(WindowName);
    SetSkinnedWindowFlags(this);
    RefreshTwips(screen());
    setMouseTracking(true);
    resize(PixelsX(WindowWidth), PixelsY(WindowHeight));

    auto* icon = SurfaceLabel(this, QStringLiteral("ImgIcon"), this, 9, false);
    icon->setPixmap(frmPics::Picture(QStringLiteral("ImgIcon")));
    icon->adjustSize();
    m_lblCaption = SurfaceLabel(this, QStringLiteral("lblCaption"), this, 10, true);
    m_lblCaption->move(PixelsX(CaptionLeft), PixelsY(CaptionTop));

    m_AdFrame = SurfaceLabel(this, QStringLiteral("AdFrame"), this, 9, false);
    m_AdFrame->move(PixelsX(FrameLeft), PixelsY(FrameTop));
    auto* border = new QWidget(m_AdFrame);
    border->setObjectName(QStringLiteral("BorderFrame"));
    m_WebBrowser1 = new PageView(border);
    m_WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    m_WebBrowser1->setOpenLinks(false);
    m_WebBrowser1->setAccessibleName(QStringLiteral("Announcements"));
    m_WebBrowser1->document()->setDocumentMargin(PixelsX(PageMargin));
    m_WebBrowser1->hide();
    connect(m_WebBrowser1, &QTextBrowser::anchorClicked, this, &frmAd::NewWindow);

    auto* close = new MyTopButton(this);
    close->setObjectName(QStringLiteral("btnClose"));
    close->SetImages(frmPics::ButtonFor(WindowName, QStringLiteral("btnClose")));
    connect(close, &MyTopButton::MouseMove, this, [] { SetHandCur(true); });
    connect(close, &MyTopButton::MouseUp, this, [this, close](int button, int, float X, float Y) {
        if (ReleasedOver(close, button, X, Y))
            btnClose_MouseUp();
    });
}

void frmAd::Form_Load()
{
    CreateTips(this);
    const QString caption = QStringLiteral("%1 %2.%3 Announcements")
                                .arg(QLatin1String(Identity::ProductName))
                                .arg(Identity::VersionMajor)
                                .arg(Identity::VersionMinor);
    m_lblCaption->setText(caption);
    m_lblCaption->adjustSize();
    setWindowTitle(caption);

    const QPixmap frame = frmPics::Picture(QStringLiteral("imgAdFrame"));
    m_AdFrame->setPixmap(frame);
    m_AdFrame->resize(frame.size());
    const QRect inner(PixelsX(InnerLeft), PixelsY(InnerTop),
                      frame.width() - PixelsX(InnerLeft) - PixelsX(InnerRight),
                      frame.height() - PixelsY(InnerTop) - PixelsY(InnerBottom));
    auto* border = m_AdFrame->findChild<QWidget*>(QStringLiteral("BorderFrame"));
    border->setGeometry(inner);
    m_WebBrowser1->setGeometry(-PixelsX(BrowserOverlap), -PixelsY(BrowserOverlap),
                               inner.width() + PixelsX(BrowserGrowth),
                               inner.height() + PixelsY(BrowserGrowth));

    MakeWindow(this, 5);
    const QWidget* over = m_mainWindow.isVisible() ? static_cast<QWidget*>(&m_mainWindow) : this;
    if (const QScreen* where = over->screen())
        move(where->availableGeometry().center() - rect().center());

    // The window shows at once; the page follows when the site answers.
    ActiveConnection(this, [this](bool connected) { ConnectionAnswered(connected); });
}

void frmAd::ConnectionAnswered(bool connected)
{
    if (!connected) {
        m_WebBrowser1->hide();
        return;
    }
    m_WebBrowser1->show();
    Navigate();
    SaveStringSetting(Setting::NewAnnouncementsDate, m_announcementsDate);
    m_mainWindow.StopBall();
}

void frmAd::Navigate()
{
    m_page = QUrl(modGetConnect::SiteAddress() + QStringLiteral("/announce.htm"));
    modGetConnect::Fetch(m_page, AnnouncementsPageCap, PageTimeLimitMs, this,
                         [this](const modGetConnect::Answer& answer) {
                             if (!answer.ok)
                                 return Log(QStringLiteral("Form_Load"), answer.failure);
                             m_WebBrowser1->setHtml(Decode(answer.body));
                         });
}

// A link asks for a page of its own: the window closes and the default browser shows it.
void frmAd::NewWindow(const QUrl& link)
{
    if (link.scheme().isEmpty() && link.path().isEmpty() && link.hasFragment())
        return m_WebBrowser1->scrollToAnchor(link.fragment());
    const QUrl target = m_page.resolved(link);
    btnClose_MouseUp();
    const QString scheme = target.scheme().toLower();
    if (scheme != QLatin1String("https") && scheme != QLatin1String("http"))
        return Log(QStringLiteral("WebBrowser1_NewWindow2"),
                   QStringLiteral("not a web address: ") + target.toString());
    const QString browser = StandardBrowser();
    if (browser.isEmpty() || !StartBrowser(browser, target.toString(QUrl::FullyEncoded)))
        Log(QStringLiteral("WebBrowser1_NewWindow2"),
            QStringLiteral("no browser opened ") + target.toString());
}

void frmAd::btnClose_MouseUp()
{
    MakeNormal(this);
    done(QDialog::Accepted);
    MakeTopMost(&m_mainWindow);
}

void frmAd::reject()
{
    // Escape and the window manager's close request leave the way the close button does.
    btnClose_MouseUp();
}

void frmAd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        DoDrag(this);
}

void frmAd::mouseMoveEvent(QMouseEvent*)
{
    SetHandCur(false);
}

bool frmAd::eventFilter(QObject* watched, QEvent* event)
{
    // The icon, the caption and the frame are part of the surface.
    if (qobject_cast<QLabel*>(watched) && SurfaceMouseEvent(this, event))
        return true;
    return QDialog::eventFilter(watched, event);
}

void OpenAnnouncementsWindow(frmMainCode& mainWindow, const OnlineState& state)
{
    QCoreApplication::processEvents();
    MakeNormal(&mainWindow);
    frmAd window(mainWindow, state);
    window.Form_Load();
    MakeTopMost(&window);
    window.exec();
    MakeTopMost(&mainWindow);
}
