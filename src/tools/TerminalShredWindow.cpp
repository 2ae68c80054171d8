#include "TerminalShredWindow.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int)
{
    g_interrupted = 1;
    std::signal(SIGINT, SIG_DFL);
}

constexpr int BarWidth = 30;
constexpr qint64 DrawEveryMs = 100;
} // namespace

TerminalShredWindow::TerminalShredWindow() : m_terminal(::isatty(STDERR_FILENO) == 1)
{
    m_captions[Caption::lblstatus] = RunCaption::Shredding;
    m_captions[Caption::lblstatus2] = RunCaption::Done;
    m_captions[Caption::lblshred] = RunCaption::Shredding;
    std::signal(SIGINT, onInterrupt);
    m_sinceYield.start();
    m_sinceDraw.start();
}

TerminalShredWindow::~TerminalShredWindow()
{
    clearLine();
    std::signal(SIGINT, SIG_DFL);
}

QString TerminalShredWindow::caption(Caption label) const
{
    return m_captions.value(label);
}

void TerminalShredWindow::setCaption(Caption label, const QString& text)
{
    m_captions[label] = text;
}

void TerminalShredWindow::setBarVisible(Bar, bool) {}

void TerminalShredWindow::setBarMax(Bar bar, qint64 max)
{
    if (bar == Bar::baredit)
        m_max = max;
}

void TerminalShredWindow::setBarValue(Bar bar, qint64 value)
{
    if (bar == Bar::baredit)
        m_value = value;
}

void TerminalShredWindow::yield()
{
    m_longestStretch = qMax(m_longestStretch, m_sinceYield.restart());
    if (g_interrupted && m_captions.value(Caption::lblshred) != RunCaption::Stopping) {
        // Like Cancel: a stop while a file is in progress waits for it; between files it is at once.
        m_captions[Caption::lblshred] = RunCaption::Stopping;
        if (m_captions.value(Caption::lblstatus2) != RunCaption::Shredding)
            m_captions[Caption::lblstatus] = RunCaption::Stopped;
    }
    if (m_terminal && m_sinceDraw.elapsed() >= DrawEveryMs) {
        m_sinceDraw.restart();
        draw();
    }
}

void TerminalShredWindow::draw()
{
    const qint64 percent = m_max > 0 ? m_value * 100 / m_max : 0;
    const int filled = static_cast<int>(percent * BarWidth / 100);
    const QString prompt = m_captions.value(Caption::lblPrompt);
    const QString name = prompt.section(QStringLiteral("\r\n"), -1);
    const QByteArray line = (QStringLiteral("\r[") + QString(filled, QLatin1Char('#')) +
                             QString(BarWidth - filled, QLatin1Char('-')) +
                             QStringLiteral("] %1% ").arg(percent, 3) + name + QStringLiteral("\x1b[K"))
                                .toLocal8Bit();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
    m_lineShown = true;
}

void TerminalShredWindow::clearLine()
{
    if (!m_lineShown)
        return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    m_lineShown = false;
}
