#pragma once

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <functional>

// A loopback server in a thread of its own, so the program under measure
// waits on it as on a real peer. Every accepted connection is handed to
// `serve`, in the server's thread.
class ThreadServer {
public:
    explicit ThreadServer(std::function<void(QTcpSocket *)> serve) : m_serve(std::move(serve))
    {
        m_context.moveToThread(&m_thread);
        m_thread.start();
        QMetaObject::invokeMethod(
            &m_context,
            [this] {
                m_server = new QTcpServer(&m_context);
                m_server->listen(QHostAddress::LocalHost, 0);
                m_port = m_server->serverPort();
                QObject::connect(m_server, &QTcpServer::newConnection, m_server, [this] {
                    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
                        QObject::connect(socket, &QTcpSocket::disconnected, socket,
                                         &QObject::deleteLater);
                        m_serve(socket);
                    }
                });
            },
            Qt::BlockingQueuedConnection);
    }
    ~ThreadServer()
    {
        QMetaObject::invokeMethod(
            &m_context, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
    }

private:
    std::function<void(QTcpSocket *)> m_serve;
    QThread m_thread;
    QObject m_context;
    QTcpServer *m_server = nullptr;
    quint16 m_port = 0;
};

// The peak resident memory of this process so far, in KiB; -1 when unknown.
inline long peakRssKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}
