#include "support/local_http_server.h"

#include <QHash>
#include <QMetaObject>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

LocalHttpServer::LocalHttpServer(Mode mode)
{
    // The server is created in the serving thread, so its sockets live there.
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            m_server = new QTcpServer(m_context);
            m_server->listen(QHostAddress::LocalHost, 0);
            m_port = m_server->serverPort();
            QObject::connect(m_server, &QTcpServer::newConnection, m_server,
                             [this] { accept(m_server); });
        },
        Qt::BlockingQueuedConnection);
    if (mode == Recording) record();
}

LocalHttpServer::~LocalHttpServer()
{
    QMetaObject::invokeMethod(
        m_context, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_context;
}

void LocalHttpServer::setPage(const QByteArray &path, const QByteArray &body, int status,
                              const QByteArray &contentType)
{
    Page page(body, status);
    page.contentType = contentType;
    setPage(path, page);
}

void LocalHttpServer::setPage(const QByteArray &path, const Page &page)
{
    QMutexLocker lock(&m_mutex);
    m_pages.insert(path, page);
}

QString LocalHttpServer::url(const QByteArray &path) const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port) + QString::fromLatin1(path);
}

LocalHttpServer::Page LocalHttpServer::page(const QByteArray &path)
{
    QMutexLocker lock(&m_mutex);
    Page missing("not found", 404);
    missing.contentType = "text/plain";
    return m_pages.value(path, m_recording ? m_recordingPage : missing);
}

void LocalHttpServer::record(int status, const QByteArray &body, const QByteArray &extraHeaders)
{
    QMutexLocker lock(&m_mutex);
    m_recording = true;
    m_recordingPage.status = status;
    m_recordingPage.body = body;
    m_recordingPage.contentType = "text/html; charset=utf-8";
    m_recordingPage.extraHeaders = extraHeaders;
}

QList<LocalHttpServer::Request> LocalHttpServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_recorded;
}

void LocalHttpServer::accept(QTcpServer *server)
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

static QByteArray reasonFor(int status)
{
    static const QHash<int, QByteArray> reasons{
        {200, "OK"},        {301, "Moved Permanently"},  {302, "Found"},
        {404, "Not Found"}, {405, "Method Not Allowed"}, {500, "Internal Server Error"}};
    return reasons.value(status, status < 400 ? "OK" : "Error");
}

void LocalHttpServer::serve(QTcpSocket *socket)
{
    QByteArray bytes = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", bytes);
    const qsizetype end = bytes.indexOf("\r\n\r\n");
    if (end < 0 || socket->property("answered").toBool()) return;
    Request request;
    const QList<QByteArray> lines = bytes.left(end).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.target = first.value(1);
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.insert(line.left(colon).trimmed().toLower(),
                                   line.mid(colon + 1).trimmed());
    }
    {
        QMutexLocker lock(&m_mutex);
        if (m_recording) {
            const qsizetype length = request.headers.value("content-length").toLongLong();
            if (bytes.size() < end + 4 + length) return;  // the body is still coming
            request.body = bytes.mid(end + 4, length);
            m_recorded.append(request);
        }
    }
    socket->setProperty("answered", true);
    ++m_requests;
    const QByteArray method = request.method;
    const Page found = page(request.target);
    if (found.delayMs > 0)
        QTimer::singleShot(found.delayMs, socket, [=] { answer(socket, method, found); });
    else
        answer(socket, method, found);
}

void LocalHttpServer::answer(QTcpSocket *socket, const QByteArray &method, const Page &page)
{
    const int status = method == "HEAD" && page.headStatus ? page.headStatus : page.status;
    const qint64 length = page.behaviour == Behaviour::Endless ? page.hugeSize : page.body.size();
    QByteArray head;
    if (page.interimStatus)
        head += "HTTP/1.1 " + QByteArray::number(page.interimStatus) + " Continue\r\n\r\n";
    head += "HTTP/1.0 " + QByteArray::number(status) + ' ' + reasonFor(status) + "\r\n";
    head += "Content-Type: " + page.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    if (!page.location.isEmpty()) head += "Location: " + page.location + "\r\n";
    head += page.extraHeaders + "Connection: close\r\n\r\n";
    socket->write(head);
    const bool withBody = method != "HEAD";
    switch (page.behaviour) {
        case Behaviour::StallAfterHeaders:
            return;  // the client has to give up on its own
        case Behaviour::CloseMidway:
            if (withBody) socket->write(page.body.left(page.body.size() / 2));
            socket->flush();
            socket->abort();
            return;
        case Behaviour::Endless:
            if (withBody) {
                // Feed the body in slices as the socket drains, never holding it.
                auto sent = std::make_shared<qint64>(0);
                const QByteArray slice(1 << 20, 'a');
                auto feed = [socket, sent, slice, total = page.hugeSize] {
                    while (*sent < total && socket->bytesToWrite() < 4 * slice.size()) {
                        const qint64 n = qMin<qint64>(slice.size(), total - *sent);
                        socket->write(slice.constData(), n);
                        *sent += n;
                    }
                    if (*sent >= total) socket->disconnectFromHost();
                };
                QObject::connect(socket, &QTcpSocket::bytesWritten, socket, feed);
                feed();
                return;
            }
            break;
        case Behaviour::Normal:
            if (withBody && page.bodyDelayMs > 0) {
                QTimer::singleShot(page.bodyDelayMs, socket, [socket, body = page.body] {
                    socket->write(body);
                    socket->disconnectFromHost();
                });
                return;
            }
            if (withBody) socket->write(page.body);
            break;
    }
    socket->disconnectFromHost();
}

int freeLoopbackPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}
