#include "http_client.h"

#include <QEventLoop>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

HttpClient::HttpClient(QObject *parent) : QObject(parent)
{
    m_manager.setTransferTimeout(kTransferTimeoutMs);
    // Direct connections only, and a redirect is an answer of its own.
    m_manager.setProxy(QNetworkProxy::NoProxy);
    m_manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

QNetworkRequest HttpClient::request(const QString &url) const
{
    QNetworkRequest request(QUrl::fromUserInput(url));
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Mozilla/3.0 (compatible)"));
    request.setRawHeader("Accept", "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
    return request;
}

HttpClient::Response HttpClient::get(const QString &url, int stallMs)
{
    Response response;
    QNetworkRequest req = request(url);
    if (stallMs > 0)
        req.setTransferTimeout(stallMs);
    QNetworkReply *reply = m_manager.get(req);
    m_reply = reply;

    bool capped = false;
    QEventLoop loop;
    connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        response.body += reply->readAll();
        if (response.body.size() > kBodyCap) {
            capped = true;
            response.body.truncate(kBodyCap);
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    if (!capped)
        response.body += reply->readAll();

    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    if (reply->error() != QNetworkReply::NoError && response.status == 0)
        response.reason = reply->errorString();
    response.ok = !capped && reply->error() == QNetworkReply::NoError && response.status > 0 &&
                  response.status < 400;
    reply->deleteLater();
    m_reply = nullptr;
    const int error = response.ok ? 0
                    : capped  ? int(QNetworkReply::OperationCanceledError)
                    : response.status >= 400 ? response.status
                                             : int(reply->error());
    Q_EMIT requestDone(error);
    return response;
}

void HttpClient::abort()
{
    if (m_reply)
        m_reply->abort();
}

int HttpClient::head(const QString &url, int deadlineMs)
{
    const QNetworkRequest req = request(url);
    const QString scheme = req.url().scheme().toLower();
    if (!req.url().isValid() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        Q_EMIT requestDone(int(QNetworkReply::ProtocolUnknownError));
        return kHeadClientError;
    }
    QNetworkReply *reply = m_manager.head(req);
    m_reply = reply;

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        deadline.start(qMax(0, deadlineMs));
        loop.exec();
    }

    const QNetworkReply::NetworkError error = reply->error();
    int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply->deleteLater();
    m_reply = nullptr;
    if (error == QNetworkReply::ProtocolUnknownError ||
        error == QNetworkReply::ProtocolInvalidOperationError) {
        Q_EMIT requestDone(int(error));
        return kHeadClientError;
    }
    if (status <= 0)
        status = 404;
    Q_EMIT requestDone(error == QNetworkReply::NoError && status < 400 ? 0
                       : status >= 400                               ? status
                                                                     : int(error));
    return status;
}
