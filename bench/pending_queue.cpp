// The pending-deletions queue at scale: 10,000 files queued one by one (as a run that fails on
// every file queues them), then the next start working through 10,000 entries. Prints the time
// of each and the longest stretch without a yield while the queue is worked through, which is
// how long the first instance could leave a launch unanswered. Run by bench/pending-queue.sh.
#include "common/SharedState.h"
#include "engine/PendingDeletions.h"
#include "engine/ShredEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/stat.h>

namespace {
constexpr int Entries = 10000;

// A window that only measures the time between two yields.
class StopwatchWindow : public ShredWindow
{
public:
    qint64 longest = 0;
    QString caption(Caption label) const override { return m_captions.value(label); }
    void setCaption(Caption label, const QString& text) override { m_captions[label] = text; }
    void setBarVisible(Bar, bool) override {}
    void setBarMax(Bar, qint64) override {}
    void setBarValue(Bar, qint64) override {}
    bool expandVisible() const override { return false; }
    void yield() override
    {
        if (m_sinceYield.isValid())
            longest = qMax(longest, m_sinceYield.nsecsElapsed() / 1000);
        m_sinceYield.start();
    }

private:
    QHash<Caption, QString> m_captions{{Caption::lblstatus, RunCaption::Shredding}};
    QElapsedTimer m_sinceYield;
};
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    struct stat info
    {
    };
    ::stat(QFile::encodeName(dir.path()).constData(), &info);
    info.st_mode = S_IFREG | 0600;

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Entries; ++i)
        DeleteAfterReboot(dir.filePath(QStringLiteral("gone-%1").arg(i)), info);
    std::printf("queueing %d files one by one: %lld ms\n", Entries, static_cast<long long>(timer.elapsed()));

    StopwatchWindow window;
    ShredEngine engine(window);
    Shared().NumOverwrite = 1;
    timer.restart();
    ProcessPendingDeletions(engine);
    std::printf("working through %d entries at the next start: %lld ms, longest stretch without a yield: "
                "%.1f ms, %lld entries left\n",
                Entries, static_cast<long long>(timer.elapsed()), window.longest / 1000.0,
                static_cast<long long>(PendingDeletions::load().size()));
}
