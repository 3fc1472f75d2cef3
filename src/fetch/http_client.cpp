#include "http_client.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

HttpClient::HttpClient(QObject *parent) : QObject(parent)
{
    m_manager.setTransferTimeout(kTransferTimeoutMs);
}

HttpClient::Response HttpClient::get(const QString &url)
{
    Response response;
    QNetworkRequest request(QUrl::fromUserInput(url));
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Mozilla/3.0 (compatible)"));
    request.setRawHeader("Accept", "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
    QNetworkReply *reply = m_manager.get(request);
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
    return response;
}

void HttpClient::abort()
{
    if (m_reply)
        m_reply->abort();
}
