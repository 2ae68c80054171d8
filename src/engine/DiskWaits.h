#pragma once

#include <QThreadPool>

#include <functional>

// The calls that wait for the disk (a sync, the wait for written data) run on a thread of their
// own, so that a busy disk never holds the window: while one runs, the caller's `whileWaiting`
// (the window's yield) runs every few milliseconds. The caller goes on only once the call has
// returned, so the order of the engine's work on the disk is exactly as if it had waited itself.
class DiskWaits
{
public:
    DiskWaits();

    int run(const std::function<int()>& call, const std::function<void()>& whileWaiting);

private:
    QThreadPool m_thread;
};
