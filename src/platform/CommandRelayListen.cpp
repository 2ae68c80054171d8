#include "CommandRelay.h"

#include "PathBytes.h"
#include "RelayProtocol.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QTimer>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// The first instance's side of the relay. It is the only part that needs Qt Network, and only
// the first instance runs it: a program that links this library only to hand over (vn10 in a
// later launch) never pulls this file in and loads no Qt Network.

using namespace RelayProtocol;

namespace {
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
