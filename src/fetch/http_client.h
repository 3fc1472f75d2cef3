#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <functional>

class QNetworkReply;
class QNetworkRequest;

// The program's HTTP client: one request at a time, waited for in a local
// event loop so the window stays responsive and the abort buttons work.
class HttpClient : public QObject {
    Q_OBJECT
public:
    struct Response {
        bool ok = false;  // transfer complete and status below 400
        int status = 0;   // HTTP status of the last answer, 0 when none arrived
        QString reason;   // reason phrase or transport error text
        QUrl url;         // the page's address after the redirects followed
    };

    // Receives the body piece by piece as it arrives; answering false stops
    // the transfer, which then fails.
    using BodySink = std::function<bool(const char *data, qsizetype size)>;

    // A hostile server must not exhaust memory or disk: bodies longer than
    // this fail.
    static constexpr qint64 kBodyCap = 64LL * 1024 * 1024;
    static constexpr int kTransferTimeoutMs = 60000;
    static constexpr int kMaxRedirects = 10;

    explicit HttpClient(QObject *parent = nullptr);

    // A request that receives nothing for this long fails (a stalled server).
    void setTransferTimeout(int ms) { m_manager.setTransferTimeout(ms); }
    // Another cap than kBodyCap, smaller for a test.
    void setBodyCap(qint64 bytes) { m_bodyCap = bytes; }

    // GET with the program's fixed request headers; returns when done. Up to
    // kMaxRedirects redirects are followed, to http and https addresses only
    // and never back to an address already asked; the body of the last
    // answer goes to `sink`, never into memory as a whole.
    Response get(const QString &url, const BodySink &sink);

    // HEAD, waited for at most deadlineMs; the body is not kept and redirects
    // are answers of their own. Returns the status code the server sent; 404
    // when the request was aborted (deadline passed, abort()) before a status
    // line arrived; kHeadClientError when the URL cannot be requested at all
    // (no http or https URL) or the connection failed (unknown host, refused,
    // closed without an answer).
    static constexpr int kHeadClientError = -1;
    int head(const QString &url, int deadlineMs);

    // Cancels the request in progress, if any.
    void abort();

Q_SIGNALS:
    // Every request ends with this; error is 0 for a complete transfer with a
    // status below 400, else the transport error code or the HTTP status.
    void requestDone(int error);

private:
    struct Hop;
    QNetworkRequest request(const QUrl &url) const;
    Hop getOnce(const QUrl &url, const BodySink &sink, qint64 *received);

    QNetworkAccessManager m_manager;
    qint64 m_bodyCap = kBodyCap;
    QPointer<QNetworkReply> m_reply;
};
