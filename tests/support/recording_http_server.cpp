#include "support/recording_http_server.h"

#include <QMetaObject>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>

RecordingHttpServer::RecordingHttpServer()
{
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            auto *server = new QTcpServer(m_context);
            server->listen(QHostAddress::LocalHost);
            m_port = server->serverPort();
            QObject::connect(server, &QTcpServer::newConnection, m_context, [this, server] {
                while (QTcpSocket *socket = server->nextPendingConnection())
                    serve(socket);
            });
        },
        Qt::BlockingQueuedConnection);
}

RecordingHttpServer::~RecordingHttpServer()
{
    QMetaObject::invokeMethod(m_context, [this] { delete m_context; },
                              Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void RecordingHttpServer::setAnswer(const Answer &answer)
{
    QMutexLocker lock(&m_mutex);
    m_answer = answer;
}

QString RecordingHttpServer::origin() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

QList<RecordingHttpServer::Request> RecordingHttpServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

void RecordingHttpServer::serve(QTcpSocket *socket)
{
    auto *buffer = new QByteArray;
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket, buffer] {
        delete buffer;
        socket->deleteLater();
    });
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
        *buffer += socket->readAll();
        const qsizetype end = buffer->indexOf("\r\n\r\n");
        if (end < 0)
            return;
        Request request;
        const QList<QByteArray> lines = buffer->left(end).split('\n');
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        request.method = first.value(0);
        request.target = first.value(1);
        for (const QByteArray &line : lines.mid(1)) {
            const qsizetype colon = line.indexOf(':');
            if (colon > 0)
                request.headers.insert(line.left(colon).trimmed().toLower(),
                                       line.mid(colon + 1).trimmed());
        }
        const qsizetype length = request.headers.value("content-length").toLongLong();
        if (buffer->size() < end + 4 + length)
            return;  // the body is still coming
        request.body = buffer->mid(end + 4, length);
        buffer->clear();
        Answer answer;
        {
            QMutexLocker lock(&m_mutex);
            m_requests.append(request);
            answer = m_answer;
        }
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.status) + " Recorded\r\n" +
                           "Content-Type: text/html; charset=utf-8\r\n" + answer.extraHeaders +
                           "Content-Length: " + QByteArray::number(answer.body.size()) +
                           "\r\nConnection: close\r\n\r\n" + answer.body;
        socket->write(reply);
        socket->disconnectFromHost();
    });
}
