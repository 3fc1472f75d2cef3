#include "link_verifier.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <optional>

#include "checks/link_scan.h"
#include "fetch/http_client.h"
#include "fetch/page_download.h"
#include "html/rel_path.h"
#include "html/tag_scanner.h"

namespace {

const char *reasonText(int code)
{
    switch (code) {
        case 100:
            return "(Continue)";
        case 101:
            return "(Switching Protocols)";
        case 200:
            return "(OK)";
        case 201:
            return "(Created)";
        case 202:
            return "(Accepted)";
        case 203:
            return "(Non-Authoritative Information)";
        case 204:
            return "(No Content)";
        case 205:
            return "(Reset Content)";
        case 206:
            return "(Partial Content)";
        case 300:
            return "(Multiple Choices)";
        case 301:
            return "(Moved Parmanently)";
        case 302:
            return "(Moved Temporarily)";
        case 303:
            return "(See Other)";
        case 304:
            return "(Not Modified)";
        case 305:
            return "(Use Proxy)";
        case 307:
            return "(Temporary Redirect)";
        case 400:
            return "(Bad Request)";
        case 401:
            return "(Unauthorixed)";
        case 402:
            return "(Payment Required)";
        case 403:
            return "(Forbidden)";
        case 404:
            return "(Not Found)";
        case 405:
            return "(Method Not Allowed)";
        case 406:
            return "(Not Acceptable)";
        case 407:
            return "(Proxy Authentication Required)";
        case 408:
            return "(Request Time-out)";
        case 409:
            return "(Conflict)";
        case 410:
            return "(Gone)";
        case 411:
            return "(Length Required)";
        case 412:
            return "(Precondition Failed)";
        case 413:
            return "(Request Entity Too Large)";
        case 414:
            return "(Request-URI Too Large)";
        case 415:
            return "(Unsupported Media Type)";
        case 416:
            return "(Requested range not satisfiable)";
        case 417:
            return "(Expectation Failed)";
        case 500:
            return "(Internal Server Error)";
        case 501:
            return "(Not Implemented)";
        case 502:
            return "(Bad Gateway)";
        case 503:
            return "(Service Unavailable | Mapping Server Error | Too many users | Method Not "
                   "Allowed)";
        case 504:
            return "(Gateway Time-out)";
        case 505:
            return "(HTTP Version not supported)";
        default:
            return "(Unknown Error)";
    }
}

// Thrown on the main thread when the abort button was pressed before a file
// lookup; the row then reads "中止".
struct AbortedBeforeLookup {};

// Aborts the client's request as soon as `when` answers true. A worker's
// request is not aborted from outside its thread; the timer runs in the
// request's own wait loop.
class AbortWatch {
public:
    AbortWatch(HttpClient *client, std::function<bool()> when)
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, client, [client, when] {
            if (when()) client->abort();
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

}  // namespace

QString statusCodeText(int code)
{
    return QString::number(code) + QLatin1String(reasonText(code));
}

bool hasPrefix(const QString &text, QLatin1String prefix)
{
    if (text.size() < prefix.size()) return false;
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        char16_t c = text.at(i).unicode();
        if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
        if (c != QChar(prefix.at(i)).unicode()) return false;
    }
    return true;
}

bool isWebText(const QString &text)
{
    return hasPrefix(text, QLatin1String("http")) || hasPrefix(text, QLatin1String("ftp"));
}

bool isWebLink(const QString &link)
{
    return hasPrefix(link, QLatin1String("http:")) || hasPrefix(link, QLatin1String("https:")) ||
           hasPrefix(link, QLatin1String("ftp:"));
}

QString LinkVerifier::checkOneLink(const QString &link, const QString &document,
                                   const QString &pageUrl)
{
    const qsizetype hash = link.indexOf(u'#');
    if (isWebLink(link)) {
        if (hash >= 0) return checkWeb(link.left(hash), link.mid(hash + 1));
        return httpStatusText(link);
    }
    if (!isWebText(m_setup.linkBase)) {
        try {
            return checkLocal(link, document);
        } catch (const AbortedBeforeLookup &) {
            return LinkText::kAborted;
        }
    }

    const bool samePage = link.startsWith(u'#');
    const QString target = samePage ? pageUrl : resolveRelPath(m_setup.linkBase, link);
    if (target == kInvalidRelPath) return LinkText::kBadRelPath;
    if (samePage) {
        const QString status = httpStatusText(target);
        if (status != LinkText::kOk) return status;
        return anchorExists(target, link) ? LinkText::kOk : LinkText::kNoWebAnchor;
    }
    if (hash >= 0) {
        const qsizetype at = target.indexOf(u'#');
        return checkWeb(target.left(at), target.mid(at + 1));
    }
    return httpStatusText(target);
}

QString LinkVerifier::checkWeb(const QString &target, const QString &fragment)
{
    const QString status = httpStatusText(target);
    if (status != LinkText::kOk) return status;
    return anchorExists(target, fragment) ? LinkText::kOk : LinkText::kNoWebAnchor;
}

QString LinkVerifier::localPath(const QString &relative)
{
    // On the main thread an abort is honoured before every file test.
    if (!m_setup.stop && linkAborted()) throw AbortedBeforeLookup();
    if (!QFileInfo(m_setup.linkBase).isDir()) {
        throw LinkBaseMissing{QStringLiteral("フォルダ %1 がありません。").arg(m_setup.linkBase)};
    }
    return QDir::cleanPath(QDir(m_setup.linkBase).absoluteFilePath(relative));
}

QString LinkVerifier::checkLocal(const QString &link, const QString &document)
{
    // A local target is a file name: what follows "#" names an anchor and a
    // query means nothing to a file.
    const qsizetype hash = link.indexOf(u'#');
    QString name = hash >= 0 ? link.left(hash) : link;
    const QString fragment = hash >= 0 ? link.mid(hash + 1) : QString();
    const qsizetype query = name.indexOf(u'?');
    if (query >= 0) name.truncate(query);

    QString path;
    if (name.isEmpty()) {
        // "#x", "?q" and "" name the page itself.
        localPath(QString());
        path = document;
        if (!QFileInfo(path).isFile()) return LinkText::kNotFound;
    } else {
        path = localPath(name);
        if (!QFileInfo::exists(path)) {
            const QString decoded = QUrl::fromPercentEncoding(name.toUtf8());
            if (decoded == name) return LinkText::kNotFound;
            path = localPath(decoded);
            if (!QFileInfo::exists(path)) return LinkText::kNotFound;
        }
    }
    if (fragment.isEmpty()) return LinkText::kOk;
    // A folder has no anchors.
    if (anchorExists(path, fragment)) return LinkText::kOk;
    const QString decoded = QUrl::fromPercentEncoding(fragment.toUtf8());
    return decoded != fragment && anchorExists(path, decoded) ? LinkText::kOk
                                                              : LinkText::kNoLocalAnchor;
}

QString LinkVerifier::httpStatusText(const QString &url)
{
    HttpClient *client = m_setup.client;
    if (linkAborted()) {
        client->abort();
        return LinkText::kAborted;
    }
    std::optional<AbortWatch> watch;
    if (m_setup.stop) watch.emplace(client, [this] { return stopRequested(); });
    const int code = client->head(url, m_setup.headDeadlineMs);
    if (code == HttpClient::kHeadClientError) {
        client->abort();
        return LinkText::kClientError;
    }
    return statusCodeText(code);
}

bool LinkVerifier::anchorExists(const QString &page, const QString &name)
{
    // Inside a worker, an abort or the end of the thread cuts the fetch and
    // the search short.
    std::function<bool()> stop;
    if (m_setup.stop) stop = [this] { return stopRequested() || linkAborted(); };

    QString file = page;
    if (isWebLink(page)) {
        // A download like any other: the client's stall rule and body cap
        // hold, not the deadline of the HEAD request.
        HttpClient *client = m_setup.client;
        std::optional<AbortWatch> watch;
        if (stop) watch.emplace(client, stop);
        if (!fetchAsLines(*client, page, m_setup.workFile, stop).ok) return false;
        file = m_setup.workFile;
    }
    if (!QFileInfo(file).isFile()) return false;
    THtmlParser2 scanner;
    if (file == page) {
        // A local page is read once per run, however many links point into it.
        auto known = m_localAnchors.constFind(file);
        if (known == m_localAnchors.constEnd()) {
            QSet<QString> anchors;
            if (!scanner.loadFromFile(file) || !collectAnchors(scanner, &anchors, stop))
                return false;
            known = m_localAnchors.insert(file, anchors);
        }
        QString wanted = name.startsWith(u'#') ? name.mid(1) : name;
        for (QChar &c : wanted) {
            if (c.unicode() >= 'A' && c.unicode() <= 'Z') c = QChar(c.unicode() + ('a' - 'A'));
        }
        return known->contains(wanted);
    }
    if (!scanner.loadFromFile(file)) return false;
    return documentHasAnchor(scanner, name, stop);
}
