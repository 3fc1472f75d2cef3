#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QThread>

class QObject;
class QTcpSocket;

// A loopback HTTP server that keeps every request it gets, byte for byte,
// and answers each with the same page. It runs in a thread of its own, so
// it answers while the code under test waits.
class RecordingHttpServer {
public:
    struct Request {
        QByteArray method;
        QByteArray target;                      // path and query as sent
        QMap<QByteArray, QByteArray> headers;  // names in lower case
        QByteArray body;
    };
    struct Answer {
        int status = 200;
        QByteArray body = "<html><body>recorded</body></html>";
        QByteArray extraHeaders;  // full lines with CR LF
    };

    RecordingHttpServer();
    ~RecordingHttpServer();

    void setAnswer(const Answer &answer);
    QString origin() const;  // http://127.0.0.1:PORT
    QList<Request> requests() const;

private:
    void serve(QTcpSocket *socket);

    QThread m_thread;
    QObject *m_context = nullptr;
    quint16 m_port = 0;
    mutable QMutex m_mutex;
    QList<Request> m_requests;
    Answer m_answer;
};
