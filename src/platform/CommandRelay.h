#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;

// The one command relay of a user's session. Every launch writes its command line to
// it; the first instance listens and raises Change for every write, its own included.
//
// Between processes the relay is a local socket in the runtime folder, owned by the
// first instance. A hand-over is one frame ("VNR1", a 32-bit big-endian length, the
// text's bytes as PathBytes::encode gives them) answered by one acknowledgement byte.
// Only processes of the same user are heard; anything else that connects is dropped.
class CommandRelay : public QObject
{
    Q_OBJECT
public:
    explicit CommandRelay(QObject* parent = nullptr);
    ~CommandRelay() override;

    // The previous-instance test: true when another process of this user already runs
    // the program. The first call decides; a process that finds no other instance holds
    // the instance lock from then on. It needs no application object.
    bool otherInstanceRunning();
    // In the first instance: opens the relay socket for later launches. Returns false
    // when this process is not the first instance or the socket cannot be opened.
    bool listen();

    QString CommandLine() const { return m_commandLine; }
    // In the first instance: stores the text and raises Change. In a later instance:
    // hands the text to the first instance and waits for its acknowledgement. Returns
    // false when the text could not be delivered.
    bool setCommandLine(const QString& text);

    bool isListening() const;
    static QString socketPath();
    static QString lockPath();

    // Frame limits; larger or malformed frames close the connection.
    static constexpr qint64 MaxFrameBytes = 1 << 20;
    static constexpr int ConnectionTimeoutMs = 5000;
    // How long a later launch waits for the first instance to listen and answer: a first
    // instance that started at the same moment may still be loading on a busy machine.
    static constexpr int HandOverTimeoutMs = 20000;

Q_SIGNALS:
    void Change();
    // A connection was dropped: another user, a malformed or a truncated frame.
    void connectionRejected(const QString& reason);

private:
    bool decideFirstInstance();
    void acceptConnection();
    void readFrame(QLocalSocket* socket);
    void reject(QLocalSocket* socket, const QString& reason);
    bool sendToFirstInstance(const QString& text);

    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
    QString m_commandLine;
    int m_decided = -1; // -1 undecided, 0 first instance, 1 another instance runs
};

// Gives every caller in this process the same relay object.
class CommandRelayConnector
{
public:
    static CommandRelay* commandRelay();
};
