#include "CommandRelay.h"

#include "AppFolder.h"
#include "PathBytes.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QThread>
#include <QTimer>
#include <QVariant>
#include <QtEndian>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcRelay, "vanisto.relay", QtWarningMsg)

namespace {
constexpr char FrameMagic[4] = {'V', 'N', 'R', '1'};
constexpr qint64 HeaderBytes = 8;
constexpr char Acknowledgement = 'A';

// The runtime folder must be a real folder of ours that nobody else can enter:
// otherwise another user could put a socket of their own in our place.
bool runtimeFolderIsPrivate()
{
    struct stat st
    {
    };
    const QByteArray folder = QFile::encodeName(RuntimeFolder::path());
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

// The text is paths, and a path's bytes need not be UTF-8: PathBytes carries them across as they are.
QByteArray frame(const QString& text)
{
    const QByteArray payload = PathBytes::encode(text);
    QByteArray bytes(FrameMagic, sizeof FrameMagic);
    char length[4];
    qToBigEndian<quint32>(quint32(payload.size()), length);
    bytes.append(length, sizeof length);
    return bytes + payload;
}
} // namespace

CommandRelay::CommandRelay(QObject* parent) : QObject(parent) {}

CommandRelay::~CommandRelay() = default;

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
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket still there was left by an instance that died.
    QLocalServer::removeServer(socketPath());
    if (!m_server->listen(socketPath())) {
        qCWarning(lcRelay) << "cannot listen on" << socketPath() << m_server->errorString();
        m_server.reset();
        return false;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &CommandRelay::acceptConnection);
    qCInfo(lcRelay).noquote() << "listening on" << socketPath();
    return true;
}

bool CommandRelay::isListening() const
{
    return m_server && m_server->isListening();
}

void CommandRelay::acceptConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (!peerIsSameUser(socket)) {
            reject(socket, QStringLiteral("a process of another user"));
            continue;
        }
        // A client that stops half-way is dropped instead of being waited for.
        auto* timer = new QTimer(socket);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, socket,
                [this, socket] { reject(socket, QStringLiteral("an incomplete hand-over")); });
        timer->start(ConnectionTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrame(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readFrame(socket);
    }
}

void CommandRelay::readFrame(QLocalSocket* socket)
{
    if (socket->property("done").toBool() || socket->bytesAvailable() < HeaderBytes)
        return;
    const QByteArray header = socket->peek(HeaderBytes);
    if (!header.startsWith(QByteArray(FrameMagic, sizeof FrameMagic)))
        return reject(socket, QStringLiteral("a malformed hand-over"));
    const qint64 length = qFromBigEndian<quint32>(header.constData() + 4);
    if (length > MaxFrameBytes)
        return reject(socket, QStringLiteral("an oversized hand-over"));
    if (socket->bytesAvailable() < HeaderBytes + length)
        return;

    socket->skip(HeaderBytes);
    const QString text = PathBytes::decode(socket->read(length));
    socket->setProperty("done", true);
    // Acknowledge before Change runs: its handler may start a long shred run, and the
    // launch that sent the text must not wait for that.
    socket->write(&Acknowledgement, 1);
    socket->flush();
    socket->disconnectFromServer();
    m_commandLine = text;
    Q_EMIT Change();
}

void CommandRelay::reject(QLocalSocket* socket, const QString& reason)
{
    qCWarning(lcRelay) << "relay connection dropped:" << reason;
    socket->setProperty("done", true);
    socket->abort();
    socket->deleteLater();
    Q_EMIT connectionRejected(reason);
}

bool CommandRelay::setCommandLine(const QString& text)
{
    if (!otherInstanceRunning()) {
        m_commandLine = text;
        Q_EMIT Change();
        return true;
    }
    return sendToFirstInstance(text);
}

bool CommandRelay::sendToFirstInstance(const QString& text)
{
    // The first instance may hold the lock but not listen yet: keep trying for a while.
    QDeadlineTimer deadline(HandOverTimeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(qMax<qint64>(1, deadline.remainingTime())))
            break;
        if (deadline.hasExpired()) {
            qCWarning(lcRelay) << "no first instance answers on" << socketPath();
            return false;
        }
        QThread::msleep(10);
    }
    socket.write(frame(text));
    socket.waitForBytesWritten(qMax<qint64>(1, deadline.remainingTime()));
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(qMax<qint64>(1, deadline.remainingTime()))) {
            qCWarning(lcRelay) << "the first instance did not acknowledge the hand-over";
            return false;
        }
    }
    char answer = 0;
    socket.read(&answer, 1);
    return answer == Acknowledgement;
}

CommandRelay* CommandRelayConnector::commandRelay()
{
    static CommandRelay* relay = new CommandRelay;
    return relay;
}
