#include "CommandRelay.h"

#include "AppFolder.h"
#include "PathBytes.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QVariant>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcRelay, "vanisto.relay", QtWarningMsg)

namespace {
constexpr char FrameMagic[4] = {'V', 'N', 'R', '2'};
// Every version of the hand-over starts with these three bytes.
constexpr char FamilyMagic[3] = {'V', 'N', 'R'};
constexpr qint64 HeaderBytes = 8;
constexpr char Acknowledgement = 'A';
constexpr char OtherVersion = 'V';
// How long the listener rests when the process has no descriptor left for a new connection.
constexpr int AcceptPauseMs = 100;

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

bool peerIsSameUser(const QLocalSocket* socket)
{
    struct ucred credentials
    {
    };
    socklen_t length = sizeof credentials;
    const int fd = int(socket->socketDescriptor());
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
           credentials.uid == ::getuid();
}

void appendNumber(QByteArray& bytes, quint32 number)
{
    char big[4];
    qToBigEndian<quint32>(number, big);
    bytes.append(big, sizeof big);
}

// The arguments of a payload, or false when the payload is not a list of whole arguments.
bool parsePayload(const QByteArray& payload, QStringList* arguments)
{
    qsizetype at = 0;
    while (at < payload.size()) {
        if (payload.size() - at < 4)
            return false;
        const qsizetype length = qFromBigEndian<quint32>(payload.constData() + at);
        at += 4;
        if (length > payload.size() - at)
            return false;
        const QByteArray argument = payload.mid(at, length);
        // No path holds a NUL; one would end it early and name another item.
        if (argument.contains('\0'))
            return false;
        arguments->append(PathBytes::decode(argument));
        at += length;
    }
    return true;
}

// Refusals of the listener are rare but a flood may bring thousands: one line a second.
void warnAtMostEverySecond(const char* text)
{
    static QElapsedTimer last;
    if (last.isValid() && !last.hasExpired(1000))
        return;
    last.start();
    qCWarning(lcRelay) << text;
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

bool CommandRelay::listen()
{
    if (isListening() || !m_lock || !m_lock->isLocked())
        return isListening();
    const QByteArray path = PathBytes::encode(socketPath());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path) {
        qCWarning(lcRelay) << "the relay's path is too long for a socket:" << socketPath();
        return false;
    }
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // We hold the lock, so a socket still there was left by an instance that died.
    ::unlink(path.constData());
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.constData(), 0600) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        qCWarning(lcRelay) << "cannot listen on" << socketPath() << std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_listenFd = fd;
    m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &CommandRelay::acceptConnections);
    qCInfo(lcRelay).noquote() << "listening on" << socketPath();
    return true;
}

// Takes every waiting connection. A process out of descriptors first gives up its oldest open
// connection, and when it has none, rests a moment: the listening socket itself stays, so
// nothing a client does can close the relay.
void CommandRelay::acceptConnections()
{
    // A bounded number at a time, so that a stream of connections cannot keep the event loop,
    // and with it the time-outs, from running.
    for (int accepted = 0; accepted < MaxOpenConnections; ++accepted) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            adopt(fd);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED || errno == EPROTO)
            continue;
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
            warnAtMostEverySecond("the relay has no descriptor left for a new connection");
            if (!m_connections.isEmpty()) {
                reject(m_connections.first(), QStringLiteral("the oldest of too many connections"));
                continue;
            }
            m_notifier->setEnabled(false);
            m_resumeAccepting.start(AcceptPauseMs);
        }
        return;
    }
}

void CommandRelay::adopt(int fd)
{
    auto* socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(fd, QLocalSocket::ConnectedState, QIODevice::ReadWrite)) {
        ::close(fd);
        delete socket;
        return;
    }
    if (!peerIsSameUser(socket)) {
        reject(socket, QStringLiteral("a process of another user"));
        return;
    }
    if (m_connections.size() >= MaxOpenConnections)
        reject(m_connections.first(), QStringLiteral("the oldest of too many connections"));
    m_connections.append(socket);
    // A client that stops half-way, or never starts, is dropped instead of being waited for.
    auto* timer = new QTimer(socket);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, socket,
            [this, socket] { reject(socket, QStringLiteral("an incomplete hand-over")); });
    timer->start(ConnectionTimeoutMs);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrame(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        forget(socket);
        socket->deleteLater();
    });
    readFrame(socket);
}

void CommandRelay::readFrame(QLocalSocket* socket)
{
    if (!m_connections.contains(socket) || socket->bytesAvailable() < HeaderBytes)
        return;
    const QByteArray header = socket->peek(HeaderBytes);
    if (header.startsWith(QByteArray(FamilyMagic, sizeof FamilyMagic)) &&
        !header.startsWith(QByteArray(FrameMagic, sizeof FrameMagic))) {
        // Another version of the program: said so, so that its launch can tell the user.
        socket->write(&OtherVersion, 1);
        socket->flush();
        return reject(socket, QStringLiteral("a hand-over of another version"));
    }
    if (!header.startsWith(QByteArray(FrameMagic, sizeof FrameMagic)))
        return reject(socket, QStringLiteral("a malformed hand-over"));
    const qint64 length = qFromBigEndian<quint32>(header.constData() + 4);
    if (length > MaxFrameBytes)
        return reject(socket, QStringLiteral("an oversized hand-over"));
    if (socket->bytesAvailable() < HeaderBytes + length)
        return;

    socket->skip(HeaderBytes);
    QStringList arguments;
    if (!parsePayload(socket->read(length), &arguments))
        return reject(socket, QStringLiteral("a malformed hand-over"));
    forget(socket);
    // Acknowledge before Change runs: its handler may start a long shred run, and the
    // launch that sent the arguments must not wait for that. The byte is in the kernel once
    // flushed, so the connection can go at once.
    socket->write(&Acknowledgement, 1);
    socket->flush();
    socket->disconnect(this);
    socket->disconnectFromServer();
    socket->deleteLater();
    // Change runs from the event loop, not from inside this socket's signal: its handler lets
    // events run, and must find no half-finished connection under it.
    QMetaObject::invokeMethod(
        this,
        [this, arguments] {
            m_commandLine = arguments;
            Q_EMIT Change();
        },
        Qt::QueuedConnection);
}

void CommandRelay::forget(QLocalSocket* socket)
{
    m_connections.removeOne(socket);
    if (auto* timer = socket->findChild<QTimer*>())
        timer->stop();
}

void CommandRelay::reject(QLocalSocket* socket, const QString& reason)
{
    // The oldest of many is dropped quietly: a flood must not flood the log too.
    if (reason == QLatin1String("the oldest of too many connections"))
        qCInfo(lcRelay) << "relay connection dropped:" << reason;
    else
        qCWarning(lcRelay) << "relay connection dropped:" << reason;
    forget(socket);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    Q_EMIT connectionRejected(reason);
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
    // The first instance may hold the lock but not listen yet: keep trying for a while.
    const QDeadlineTimer listening(listenTimeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(qMax<qint64>(1, listening.remainingTime())))
            break;
        if (listening.hasExpired()) {
            qCWarning(lcRelay) << "no first instance answers on" << socketPath();
            return Delivery::NoAnswer;
        }
        QThread::msleep(10);
    }
    const QDeadlineTimer deadline(HandOverTimeoutMs);
    socket.write(frame(arguments));
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(qMax<qint64>(1, deadline.remainingTime())))
        ;
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(qMax<qint64>(1, deadline.remainingTime()))) {
            qCWarning(lcRelay) << "the first instance did not acknowledge the hand-over";
            return Delivery::NoAnswer;
        }
    }
    char answer = 0;
    socket.read(&answer, 1);
    if (answer == OtherVersion)
        return Delivery::OtherVersion;
    return answer == Acknowledgement ? Delivery::Delivered : Delivery::NoAnswer;
}

CommandRelay* CommandRelayConnector::commandRelay()
{
    static CommandRelay* relay = new CommandRelay;
    return relay;
}
