#pragma once

#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

// A real web server on 127.0.0.1 and a free port, inside the test's own event loop: each path
// answers what the test gave it (404 otherwise), every request is kept, and a silent site
// accepts connections and never answers.
class LocalWebSite : public QObject
{
public:
    struct Page
    {
        int status = 200;
        QByteArray body;
        QByteArray extraHeaders; // whole lines, each ending in CR LF
    };
    struct Request
    {
        QByteArray target;
        QByteArray head; // the request line and headers as sent
    };

    LocalWebSite()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        });
    }

    QString address() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    void serve(const QByteArray& path, const Page& page) { m_pages[path] = page; }
    void serve(const QByteArray& path, const QByteArray& body) { m_pages[path] = Page{200, body, {}}; }
    void setSilent(bool silent) { m_silent = silent; }
    // The site goes down: no more connections, and the open ones are cut.
    void close()
    {
        m_server.close();
        for (QTcpSocket* socket : m_server.findChildren<QTcpSocket*>())
            socket->abort();
    }

    QList<Request> requests;
    int count(const QByteArray& path) const
    {
        return int(std::count_if(requests.begin(), requests.end(),
                                 [&](const Request& r) { return r.target == path; }));
    }

private:
    void read(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0 || m_silent)
            return;
        const QByteArray head = buffer.left(end);
        requests.append({head.split(' ').value(1), head});
        const Page page = m_pages.value(requests.last().target, Page{404, "not here", {}});
        socket->write("HTTP/1.1 " + QByteArray::number(page.status) +
                      " X\r\nContent-Length: " + QByteArray::number(page.body.size()) +
                      "\r\nConnection: close\r\n" + page.extraHeaders + "\r\n" + page.body);
        socket->disconnectFromHost();
        m_buffers.remove(socket);
    }

    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QHash<QByteArray, Page> m_pages;
    bool m_silent = false;
};
