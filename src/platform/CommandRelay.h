#pragma once

#include "RelayProtocol.h"

#include <QByteArray>
#include <QList>
#include <QLockFile>
#include <QLoggingCategory>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <utility>

class QLocalSocket;
class QSocketNotifier;

// The one command relay of a user's session. Every launch writes its arguments to it; the
// first instance listens and raises Change for every write, its own included.
//
// Between processes the relay is a local socket in the runtime folder, owned by the first
// instance. A hand-over is one frame: "VNR2", a 32-bit big-endian length, then each argument
// as a 32-bit big-endian length and its bytes, exactly as the launch received them (no text
// is joined and split again, so a name keeps its quotes, spaces, newlines and bytes that are
// not UTF-8). The first instance answers one byte: "A" taken, "V" a frame of another version
// (refused, never guessed at). Only processes of the same user are heard; anything else that
// connects is dropped. The listener outlives abuse: a flood of idle connections or a process
// out of descriptors never closes it, idle and incomplete connections are capped (the oldest
// dropped first) and timed out.
class CommandRelay : public QObject
{
    Q_OBJECT
public:
    enum class Delivery
    {
        Delivered,
        NoAnswer,    // no first instance answered in time
        OtherVersion // the first instance speaks another version of the hand-over
    };

    explicit CommandRelay(QObject* parent = nullptr);
    ~CommandRelay() override;

    // The previous-instance test: true when another process of this user already runs
    // the program. The first call decides; a process that finds no other instance holds
    // the instance lock from then on. It needs no application object.
    bool otherInstanceRunning();
    // In the first instance: the instance lock leaves this relay, still held, for
    // continueFirstInstance on another copy of this class (a library loaded at run time has its
    // own), so that one process keeps one lock from the test on.
    std::unique_ptr<QLockFile> releaseInstanceLock() { return std::move(m_lock); }
    // Makes this relay the first instance's without a test of its own, holding `lock` (null
    // when the lock could not be made: the relay then stays closed, as the deciding one would).
    void continueFirstInstance(std::unique_ptr<QLockFile> lock)
    {
        m_lock = std::move(lock);
        m_decided = 0;
    }
    // In the first instance: opens the relay socket for later launches. Returns false
    // when this process is not the first instance or the socket cannot be opened.
    bool listen();

    // The arguments of the last hand-over, each one element.
    QStringList CommandLine() const { return m_commandLine; }
    // In the first instance: stores the arguments and raises Change. In a later instance:
    // hands them to the first instance and waits for its answer.
    Delivery setCommandLine(const QStringList& arguments);

    bool isListening() const { return m_listenFd >= 0; }
    // Connections accepted and not finished yet.
    int openConnections() const { return int(m_connections.size()); }
    static QString socketPath();
    static QString lockPath();
    // The bytes of a hand-over frame.
    static QByteArray frame(const QStringList& arguments);
    // Hands the arguments to the first instance without asking for the instance lock (the
    // file managers' helper, which must never become the first instance), waiting up to
    // listenTimeoutMs for it to listen. Once connected, the arguments are on their way: the
    // answer is waited for as long as any hand-over, so that a busy instance is never taken
    // for a missing one and sent the same arguments twice.
    static Delivery handOver(const QStringList& arguments, int listenTimeoutMs = HandOverTimeoutMs);

    // Enough for tens of thousands of paths; with the cap on connections, a bound on what a
    // flood can make the first instance hold.
    static constexpr qint64 MaxFrameBytes = 16 * 1024 * 1024;
    static constexpr int ConnectionTimeoutMs = 5000;
    static constexpr int MaxOpenConnections = 64;
    static constexpr int HandOverTimeoutMs = RelayProtocol::HandOverTimeoutMs;

Q_SIGNALS:
    void Change();
    // A connection was dropped: another user, a malformed, truncated or idle one, another
    // version, or the oldest of too many.
    void connectionRejected(const QString& reason);

private:
    bool decideFirstInstance();
    void acceptConnections();
    void adopt(int fd);
    void readFrame(QLocalSocket* socket);
    void reject(QLocalSocket* socket, const QString& reason);
    void forget(QLocalSocket* socket);

    std::unique_ptr<QLockFile> m_lock;
    int m_listenFd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_resumeAccepting;
    QList<QLocalSocket*> m_connections; // oldest first
    QStringList m_commandLine;
    int m_decided = -1; // -1 undecided, 0 first instance, 1 another instance runs
};

// Gives every caller in this process the same relay object.
class CommandRelayConnector
{
public:
    static CommandRelay* commandRelay();
};

Q_DECLARE_LOGGING_CATEGORY(lcRelay)
