#pragma once

#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

// A web server on 127.0.0.1 in the test's event loop: each path answers what it was given (else
// 404), every request is kept, and a silent site never answers.
class LocalWebSite : public QObject
{
public:
    struct Page
    {
        int status = 200;
        QByteArray body;
        QByteArray extraHeaders; // whole lines, each ending in CR LF
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
    // The site goes down: no more connections, and the open ones are cut.
    void close()
    {
        m_server.close();
        for (QTcpSocket* socket : m_server.findChildren<QTcpSocket*>())
            socket->abort();
    }

    QList<QByteArray> requests; // the request line and headers of each, as sent
    bool silent = false;
    static QByteArray target(const QByteArray& request) { return request.split(' ').value(1); }
    int count(const QByteArray& path) const
    {
        return int(std::ranges::count_if(requests, [&](auto& r) { return target(r) == path; }));
    }

private:
    void read(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0 || silent)
            return;
        requests.append(buffer.left(end));
        const Page page = m_pages.value(target(requests.last()), Page{404, "not here", {}});
        socket->write("HTTP/1.1 " + QByteArray::number(page.status) +
                      " X\r\nContent-Length: " + QByteArray::number(page.body.size()) +
                      "\r\nConnection: close\r\n" + page.extraHeaders + "\r\n" + page.body);
        socket->disconnectFromHost();
        m_buffers.remove(socket);
    }

    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QHash<QByteArray, Page> m_pages;
};
