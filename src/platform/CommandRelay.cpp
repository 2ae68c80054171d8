#include "CommandRelay.h"

#include "AppFolder.h"
#include "PathBytes.h"
#include "RelaySender.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

// The lock, the frame and the later launch's side of the relay. Nothing here needs Qt Network:
// a later launch is over in a few milliseconds, less than loading that library and the ten it
// brings would take, so the hand-over speaks to the socket directly (RelaySender).

Q_LOGGING_CATEGORY(lcRelay, "vanisto.relay", QtWarningMsg)

namespace {
// The runtime folder must be a real folder of ours that nobody else can enter:
// otherwise another user could put a socket of their own in our place.
bool runtimeFolderIsPrivate()
{
    struct stat st
    {
    };
    const QByteArray folder = PathBytes::encode(RuntimeFolder::path());
    return ::lstat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}
} // namespace

QByteArray CommandRelay::frame(const QStringList& arguments)
{
    std::vector<std::string> bytes;
    bytes.reserve(size_t(arguments.size()));
    for (const QString& argument : arguments)
        bytes.push_back(PathBytes::encode(argument).toStdString());
    return QByteArray::fromStdString(RelaySender::frame(bytes));
}

CommandRelay::CommandRelay(QObject* parent) : QObject(parent)
{
    m_resumeAccepting.setSingleShot(true);
    connect(&m_resumeAccepting, &QTimer::timeout, this, [this] {
        if (m_notifier)
            m_notifier->setEnabled(true);
    });
}

CommandRelay::~CommandRelay()
{
    if (m_listenFd >= 0) {
        m_notifier.reset();
        ::close(m_listenFd);
        ::unlink(PathBytes::encode(socketPath()).constData());
    }
}
QString CommandRelay::socketPath()
{
    return RuntimeFolder::path() + QStringLiteral("/relay");
}

QString CommandRelay::lockPath()
{
    return RuntimeFolder::path() + QStringLiteral("/instance.lock");
}

bool CommandRelay::otherInstanceRunning()
{
    if (m_decided < 0)
        m_decided = decideFirstInstance() ? 0 : 1;
    return m_decided == 1;
}

bool CommandRelay::decideFirstInstance()
{
    if (!runtimeFolderIsPrivate()) {
        qCWarning(lcRelay) << "the runtime folder is not private, the relay stays closed:"
                           << RuntimeFolder::path();
        return true;
    }
    m_lock = std::make_unique<QLockFile>(lockPath());
    // The lock is held for the whole life of the first instance: only a dead owner makes it stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError)
            return false;
        // A lock that cannot even be made must not keep the user from a working program.
        qCWarning(lcRelay) << "cannot create the instance lock" << lockPath();
        return true;
    }
    return true;
}

CommandRelay::Delivery CommandRelay::setCommandLine(const QStringList& arguments)
{
    if (!otherInstanceRunning()) {
        m_commandLine = arguments;
        Q_EMIT Change();
        return Delivery::Delivered;
    }
    return handOver(arguments);
}

CommandRelay::Delivery CommandRelay::handOver(const QStringList& arguments, int listenTimeoutMs)
{
    const std::string path = PathBytes::encode(socketPath()).toStdString();
    // The first instance may hold the lock but not listen yet, or have a full backlog: keep
    // trying for a while.
    const QDeadlineTimer listening(listenTimeoutMs);
    int connection = -1;
    while ((connection = RelaySender::connectNow(path)) < 0) {
        if (errno == ENAMETOOLONG) {
            qCWarning(lcRelay) << "the relay's path is too long for a socket:" << socketPath();
            return Delivery::NoAnswer;
        }
        if (listening.hasExpired()) {
            qCWarning(lcRelay) << "no first instance answers on" << socketPath();
            return Delivery::NoAnswer;
        }
        QThread::msleep(10);
    }

    // Connected: the arguments are on their way, and the answer gets the whole time.
    switch (RelaySender::deliver(connection, frame(arguments).toStdString(), HandOverTimeoutMs)) {
    case RelaySender::Answer::Taken:
        return Delivery::Delivered;
    case RelaySender::Answer::OtherVersion:
        return Delivery::OtherVersion;
    case RelaySender::Answer::NoAnswer:
        break;
    }
    qCWarning(lcRelay) << "the first instance did not acknowledge the hand-over";
    return Delivery::NoAnswer;
}

CommandRelay* CommandRelayConnector::commandRelay()
{
    static CommandRelay* relay = new CommandRelay;
    return relay;
}
