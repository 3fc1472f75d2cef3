#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkReply;

// The program's HTTP client: one request at a time, waited for in a local
// event loop so the window stays responsive and the abort buttons work.
class HttpClient : public QObject {
    Q_OBJECT
public:
    struct Response {
        bool ok = false;      // transfer complete and status below 400
        int status = 0;       // HTTP status, 0 when none arrived
        QString reason;       // reason phrase or transport error text
        QByteArray body;
    };

    // A hostile server must not exhaust memory: bodies are cut off here.
    static constexpr qint64 kBodyCap = 64LL * 1024 * 1024;
    static constexpr int kTransferTimeoutMs = 60000;

    explicit HttpClient(QObject *parent = nullptr);

    // GET with the program's fixed request headers; returns when done.
    Response get(const QString &url);

    // Cancels the request in progress, if any.
    void abort();

private:
    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
};
