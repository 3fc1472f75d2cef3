#pragma once

#include "support/local_http_server.h"

// The loopback server in its recording mode, answering every request with
// the same page.
class RecordingHttpServer {
public:
    using Request = LocalHttpServer::Request;
    struct Answer {
        int status = 200;
        QByteArray body = "<html><body>recorded</body></html>";
        QByteArray extraHeaders;  // full lines with CR LF
    };

    RecordingHttpServer() { setAnswer(Answer()); }
    void setAnswer(const Answer &answer)
    {
        LocalHttpServer::Page page;
        page.status = answer.status;
        page.body = answer.body;
        page.contentType = "text/html; charset=utf-8";
        page.extraHeaders = answer.extraHeaders;
        m_server.record(page);
    }
    QString origin() const { return m_server.url(""); }  // http://127.0.0.1:PORT
    QList<Request> requests() const { return m_server.recorded(); }

private:
    LocalHttpServer m_server;
};
