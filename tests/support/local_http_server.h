#pragma once

#include <QByteArray>
#include <QMap>
#include <QTcpServer>

// A small HTTP/1.0 server on 127.0.0.1 for the tests: answers GET and HEAD
// for the paths it was given, 404 for the rest. It lives in the test's
// thread; the client's event loop serves it.
class LocalHttpServer : public QTcpServer {
    Q_OBJECT
public:
    LocalHttpServer();

    void setPage(const QByteArray &path, const QByteArray &body, int status = 200,
                 const QByteArray &contentType = "text/html");
    QString url(const QByteArray &path) const;
    int requestCount() const { return m_requests; }

private:
    struct Page {
        QByteArray body;
        int status;
        QByteArray contentType;
    };
    void serve(QTcpSocket *socket);

    QMap<QByteArray, Page> m_pages;
    int m_requests = 0;
};
