#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QThread>
#include <atomic>
#include <utility>

class QObject;
class QTcpServer;
class QTcpSocket;

// A small HTTP/1.0 server on 127.0.0.1 for the tests. It runs in a thread of
// its own, so it answers while the code under test blocks, waits or runs
// worker threads. Paths it was not given answer 404, or, once it records,
// the recording page; recording keeps every request byte for byte.
class LocalHttpServer {
public:
    enum class Behaviour {
        Normal,
        StallAfterHeaders,  // sends the status line and headers, then nothing
        CloseMidway,        // announces the body's length, sends half, closes
        Endless,            // streams `hugeSize` bytes of "a" without storing them
    };
    struct Page {
        Page(QByteArray body = {}, int status = 200, Behaviour behaviour = Behaviour::Normal,
             qint64 hugeSize = 0)
            : body(std::move(body)), status(status), behaviour(behaviour), hugeSize(hugeSize)
        {
        }
        QByteArray body;
        int status = 200;
        QByteArray contentType = "text/html";
        int delayMs = 0;  // before the answer is sent
        Behaviour behaviour = Behaviour::Normal;
        qint64 hugeSize = 0;
        QByteArray location;      // Location header, for redirects
        int headStatus = 0;       // a different status for HEAD, when not 0
        int bodyDelayMs = 0;      // between the headers and the body
        int interimStatus = 0;    // a 1xx answer sent before the real one
        QByteArray extraHeaders;  // full lines with CR LF
    };
    struct Request {
        QByteArray method;
        QByteArray target;                     // path and query as sent
        QMap<QByteArray, QByteArray> headers;  // names in lower case
        QByteArray body;
    };

    enum Mode { Serving, Recording };
    explicit LocalHttpServer(Mode mode = Serving);
    ~LocalHttpServer();

    void setPage(const QByteArray &path, const QByteArray &body, int status = 200,
                 const QByteArray &contentType = "text/html");
    void setPage(const QByteArray &path, const Page &page);
    QString url(const QByteArray &path) const;
    QString origin() const { return url(""); }  // http://127.0.0.1:PORT
    quint16 port() const { return m_port; }
    int requestCount() const { return m_requests.load(); }
    // From now on every request is kept, whole, and paths not given get this
    // answer (`extraHeaders` in full lines with CR LF).
    void record(int status = 200, const QByteArray &body = "<html><body>recorded</body></html>",
                const QByteArray &extraHeaders = {});
    QList<Request> requests() const;  // those kept

private:
    void accept(QTcpServer *server);
    void serve(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &method, const Page &page);
    Page page(const QByteArray &path);

    QThread m_thread;
    QObject *m_context = nullptr;
    QTcpServer *m_server = nullptr;
    quint16 m_port = 0;
    mutable QMutex m_mutex;
    QMap<QByteArray, Page> m_pages;
    bool m_recording = false;
    Page m_recordingPage;
    QList<Request> m_recorded;
    std::atomic<int> m_requests{0};
};

// A TCP port on 127.0.0.1 that nothing listens on at the moment.
int freeLoopbackPort();
