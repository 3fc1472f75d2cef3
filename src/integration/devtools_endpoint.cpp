#include "integration/devtools_endpoint.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "integration/devtools_list.h"

namespace {
int g_deadlineMs = DevToolsEndpoint::kDeadlineMs;
}

void DevToolsEndpoint::setDeadlineMs(int ms)
{
    g_deadlineMs = ms;
}

BrowserBridge::Page DevToolsEndpoint::currentPage() const
{
    using Status = BrowserBridge::Page::Status;
    QByteArray body;
    switch (request(QByteArrayLiteral("GET"), QByteArrayLiteral("/json/list"), &body)) {
    case Outcome::Refused:
        return {Status::NotRunning, {}};
    case Outcome::Failed:
        return {Status::Unreachable, {}};
    case Outcome::Answered:
        break;
    }
    return DevToolsList::currentPage(body);
}

bool DevToolsEndpoint::openFile(const QString &path) const
{
    // The endpoint decodes the query once and takes the result as the
    // address, so the file URL (already percent-encoded for spaces, "#" and
    // non-ASCII names) is encoded once more.
    const QByteArray fileUrl = QUrl::fromLocalFile(path).toEncoded();
    QByteArray body;
    return request(QByteArrayLiteral("PUT"),
                   QByteArrayLiteral("/json/new?") + QUrl::toPercentEncoding(fileUrl), &body)
        == Outcome::Answered;
}

DevToolsEndpoint::Outcome DevToolsEndpoint::request(const QByteArray &verb,
                                                    const QByteArray &pathAndQuery,
                                                    QByteArray *body) const
{
    if (m_port <= 0 || m_port > 65535)
        return Outcome::Refused;
    const QUrl url = QUrl::fromEncoded(
        QByteArrayLiteral("http://127.0.0.1:") + QByteArray::number(m_port) + pathAndQuery,
        QUrl::StrictMode);

    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *reply = manager.sendCustomRequest(request, verb);

    QEventLoop loop;
    bool tooLong = false;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        if (body->size() + reply->bytesAvailable() > kAnswerCap) {
            tooLong = true;
            reply->abort();
            return;
        }
        body->append(reply->readAll());
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline.start(g_deadlineMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    Outcome outcome = Outcome::Failed;
    if (reply->error() == QNetworkReply::ConnectionRefusedError) {
        outcome = Outcome::Refused;
    } else if (!tooLong && reply->error() == QNetworkReply::NoError) {
        body->append(reply->readAll());
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status == 200 && body->size() <= kAnswerCap)
            outcome = Outcome::Answered;
    }
    delete reply;
    return outcome;
}
