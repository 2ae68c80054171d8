#include "frmMainCode.h"

#include "MainWindowLayout.h"
#include "skin/MyTopButton.h"
#include "skin/frmPics.h"

#include <QLabel>
#include <QPainter>

// The announcements ball in the main window's header: the online check starts it when there is
// news; the grey and orange balls fade into each other until the pointer comes over it, when
// the clickable ball replaces the picture.

using namespace MainWindowLayout;

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
