#include "DiskWaits.h"

#include <QSemaphore>

namespace {
constexpr int PollMs = 2;
} // namespace

DiskWaits::DiskWaits()
{
    m_thread.setMaxThreadCount(1);
    m_thread.setExpiryTimeout(-1);
}

int DiskWaits::run(const std::function<int()>& call, const std::function<void()>& whileWaiting)
{
    QSemaphore finished;
    int result = 0;
    m_thread.start([&] {
        result = call();
        finished.release();
    });
    while (!finished.tryAcquire(1, PollMs))
        whileWaiting();
    return result;
}
