#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkReply;
class QNetworkRequest;

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

    // A request that receives nothing for this long fails (a stalled server).
    void setTransferTimeout(int ms) { m_manager.setTransferTimeout(ms); }

    // GET with the program's fixed request headers; returns when done.
    // A stallMs above 0 gives up this request sooner when nothing arrives.
    Response get(const QString &url, int stallMs = 0);

    // HEAD, waited for at most deadlineMs; the body is not kept. Returns the
    // status code; 404 when no status line arrived (no connection, abort,
    // deadline passed), kHeadClientError when the URL cannot be requested at
    // all (no http or https URL).
    static constexpr int kHeadClientError = -1;
    int head(const QString &url, int deadlineMs);

    // Cancels the request in progress, if any.
    void abort();

Q_SIGNALS:
    // Every request ends with this; error is 0 for a complete transfer with a
    // status below 400, else the transport error code or the HTTP status.
    void requestDone(int error);

private:
    QNetworkRequest request(const QString &url) const;

    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
};
