#include "CommandRelay.h"

#include "AppFolder.h"
#include "FileDescriptor.h"
#include "PathBytes.h"
#include "RelayProtocol.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QThread>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// The lock, the frame and the later launch's side of the relay. Nothing here needs Qt Network:
// a later launch is over in a few milliseconds, less than loading that library and the ten it
// brings would take, so the hand-over speaks to the socket directly.

using namespace RelayProtocol;

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

void appendNumber(QByteArray& bytes, quint32 number)
{
    char big[4];
    qToBigEndian<quint32>(number, big);
    bytes.append(big, sizeof big);
}

// Waits until `fd` is ready for `events` (or failed, or closed) before the deadline.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline)
{
    for (;;) {
        pollfd watched{fd, events, 0};
        const int ready = ::poll(&watched, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (ready >= 0 || errno != EINTR)
            return ready > 0;
    }
}
} // namespace

QByteArray CommandRelay::frame(const QStringList& arguments)
{
    QByteArray payload;
    for (const QString& argument : arguments) {
        const QByteArray bytes = PathBytes::encode(argument);
        appendNumber(payload, quint32(bytes.size()));
        payload += bytes;
    }
    QByteArray bytes(FrameMagic, sizeof FrameMagic);
    appendNumber(bytes, quint32(payload.size()));
    return bytes + payload;
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
    const QByteArray path = PathBytes::encode(socketPath());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path) {
        qCWarning(lcRelay) << "the relay's path is too long for a socket:" << socketPath();
        return Delivery::NoAnswer;
    }
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));

    // The first instance may hold the lock but not listen yet, or have a full backlog: keep
    // trying for a while. Without blocking, a connect never waits past the deadline.
    const QDeadlineTimer listening(listenTimeoutMs);
    FileDescriptor socket;
    for (;;) {
        socket.reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (socket.isValid() &&
            ::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            break;
        if (listening.hasExpired()) {
            qCWarning(lcRelay) << "no first instance answers on" << socketPath();
            return Delivery::NoAnswer;
        }
        QThread::msleep(10);
    }

    // Connected: the arguments are on their way, and the answer gets the whole time.
    const QDeadlineTimer deadline(HandOverTimeoutMs);
    const QByteArray bytes = frame(arguments);
    for (qsizetype sent = 0; sent < bytes.size();) {
        // MSG_NOSIGNAL: a first instance that closes early must not kill this process.
        const ssize_t written =
            ::send(socket.get(), bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (written > 0)
            sent += written;
        else if (written < 0 && errno == EINTR)
            continue;
        else if (written < 0 && errno == EAGAIN && waitFor(socket.get(), POLLOUT, deadline))
            continue;
        else
            break; // a refusal may already wait to be read
    }

    char answer = 0;
    for (;;) {
        const ssize_t read = ::recv(socket.get(), &answer, 1, 0);
        if (read == 1)
            break;
        if (read < 0 && (errno == EINTR || (errno == EAGAIN && waitFor(socket.get(), POLLIN, deadline))))
            continue;
        qCWarning(lcRelay) << "the first instance did not acknowledge the hand-over";
        return Delivery::NoAnswer;
    }
    if (answer == OtherVersion)
        return Delivery::OtherVersion;
    return answer == Acknowledgement ? Delivery::Delivered : Delivery::NoAnswer;
}

CommandRelay* CommandRelayConnector::commandRelay()
{
    static CommandRelay* relay = new CommandRelay;
    return relay;
}
