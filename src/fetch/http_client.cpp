#include "http_client.h"

#include <QEventLoop>
#include <QList>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

// What the network thread may hold for us before it stops reading the
// socket, and the piece the body is handed on in.
constexpr qint64 kReadBufferSize = 256 * 1024;
constexpr qint64 kPieceSize = 64 * 1024;

bool isWebUrl(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

struct HttpClient::Hop {
    int status = 0;
    QString reason;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    bool redirect = false;
    QByteArray location;
    bool cut = false;  // over the cap, or the sink wanted no more
};

HttpClient::HttpClient(QObject *parent) : QObject(parent)
{
    m_manager.setTransferTimeout(kTransferTimeoutMs);
    // Direct connections only; redirects are followed (or not) by us.
    m_manager.setProxy(QNetworkProxy::NoProxy);
    m_manager.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

QNetworkRequest HttpClient::request(const QUrl &url) const
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Mozilla/3.0 (compatible)"));
    request.setRawHeader("Accept", "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*");
    return request;
}

HttpClient::Hop HttpClient::getOnce(const QUrl &url, const BodySink &sink, qint64 *received)
{
    Hop hop;
    QNetworkReply *reply = m_manager.get(request(url));
    m_reply = reply;
    // Without a bound the network thread reads as fast as the peer sends,
    // whatever we manage to write away.
    reply->setReadBufferSize(kReadBufferSize);

    bool classified = false;
    bool keepBody = false;
    const auto classify = [&] {
        if (classified) return;
        const QVariant code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!code.isValid()) return;
        classified = true;
        hop.redirect = isRedirect(code.toInt());
        if (hop.redirect) hop.location = reply->rawHeader("Location");
        keepBody = !hop.redirect && code.toInt() < 400;
        // The body of a redirect or of an error page is of no use. Qt has
        // already failed an error page and warns of a second failure, so
        // that body is read away instead.
        if (hop.redirect && reply->error() == QNetworkReply::NoError) reply->abort();
    };
    const auto drain = [&] {
        classify();
        while (classified && !hop.cut && reply->isOpen() && reply->bytesAvailable() > 0) {
            const QByteArray piece = reply->read(kPieceSize);
            *received += piece.size();
            if (*received > m_bodyCap || (keepBody && !sink(piece.constData(), piece.size()))) {
                hop.cut = true;
                reply->abort();
            }
        }
    };

    QEventLoop loop;
    connect(reply, &QNetworkReply::metaDataChanged, &loop, classify);
    connect(reply, &QNetworkReply::readyRead, &loop, drain);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec();
    drain();

    hop.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    hop.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    hop.error = reply->error();
    if (hop.error != QNetworkReply::NoError && hop.status == 0) hop.reason = reply->errorString();
    reply->deleteLater();
    m_reply = nullptr;
    return hop;
}

HttpClient::Response HttpClient::get(const QString &url, const BodySink &sink)
{
    Response response;
    QUrl current = QUrl::fromUserInput(url);
    QList<QUrl> asked;
    int error = 0;
    for (;;) {
        response.url = current;
        if (!isWebUrl(current)) {
            error = int(asked.isEmpty() ? QNetworkReply::ProtocolUnknownError
                                        : QNetworkReply::InsecureRedirectError);
            break;
        }
        if (asked.contains(current) || asked.size() > kMaxRedirects) {
            error = int(QNetworkReply::TooManyRedirectsError);
            break;
        }
        asked << current;
        qint64 received = 0;
        const Hop hop = getOnce(current, sink, &received);
        response.status = hop.status;
        response.reason = hop.reason;
        if (hop.redirect && !hop.location.isEmpty()) {
            current = current.resolved(QUrl(QString::fromUtf8(hop.location.trimmed())));
            continue;
        }
        response.ok = !hop.cut && !hop.redirect && hop.error == QNetworkReply::NoError &&
                      hop.status > 0 && hop.status < 400;
        error = response.ok               ? 0
              : hop.cut                   ? int(QNetworkReply::OperationCanceledError)
              : hop.status >= 400         ? hop.status
              : hop.redirect              ? int(QNetworkReply::ProtocolFailure)
                                          : int(hop.error);
        break;
    }
    // A failure with a status below 400 is no answer of the server's: its
    // reason phrase ("OK", "Found") would only mislead.
    if (!response.ok && response.status > 0 && response.status < 400) response.reason.clear();
    Q_EMIT requestDone(error);
    return response;
}

void HttpClient::abort()
{
    if (m_reply) m_reply->abort();
}

int HttpClient::head(const QString &url, int deadlineMs)
{
    const QUrl target = QUrl::fromUserInput(url);
    if (!isWebUrl(target)) {
        Q_EMIT requestDone(int(QNetworkReply::ProtocolUnknownError));
        return kHeadClientError;
    }
    QNetworkReply *reply = m_manager.head(request(target));
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
    // Qt files some statuses (400, 418, 5xx...) under its own error codes;
    // the answer is still the status the server sent.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply->deleteLater();
    m_reply = nullptr;
    if (status > 0) {
        Q_EMIT requestDone(error == QNetworkReply::NoError && status < 400 ? 0 : status);
        return status;
    }
    Q_EMIT requestDone(int(error));
    // Given up by us before any answer; anything else is a failed connection.
    return error == QNetworkReply::OperationCanceledError ? 404 : kHeadClientError;
}
