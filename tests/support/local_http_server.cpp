#include "support/local_http_server.h"

#include <QTcpSocket>

LocalHttpServer::LocalHttpServer()
{
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

void LocalHttpServer::setPage(const QByteArray &path, const QByteArray &body, int status,
                              const QByteArray &contentType)
{
    m_pages.insert(path, Page{body, status, contentType});
}

QString LocalHttpServer::url(const QByteArray &path) const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()) + QString::fromLatin1(path);
}

void LocalHttpServer::serve(QTcpSocket *socket)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    if (!request.contains("\r\n\r\n")) {
        socket->setProperty("request", request);
        return;
    }
    ++m_requests;
    const QList<QByteArray> first = request.left(request.indexOf("\r\n")).split(' ');
    const QByteArray method = first.value(0);
    const QByteArray path = first.value(1);
    const Page page = m_pages.value(path, Page{QByteArray("not found"), 404, "text/plain"});
    QByteArray response = "HTTP/1.0 " + QByteArray::number(page.status) +
                          (page.status < 400 ? " OK" : " Not Found") + "\r\n";
    response += "Content-Type: " + page.contentType + "\r\n";
    response += "Content-Length: " + QByteArray::number(page.body.size()) + "\r\n";
    response += "Connection: close\r\n\r\n";
    if (method != "HEAD")
        response += page.body;
    socket->write(response);
    socket->disconnectFromHost();
}
