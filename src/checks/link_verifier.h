#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <atomic>

class HttpClient;

// Status texts of the link list.
namespace LinkText {
inline const QString kUnchecked = QStringLiteral("未");
inline const QString kOk = QStringLiteral("200(OK)");
inline const QString kNotFound = QStringLiteral("404(Not Found)");
inline const QString kNoLocalAnchor =
    QStringLiteral("HTML(またはディレクトリ)は存在しますが、アンカーがありません。");
inline const QString kNoWebAnchor = QStringLiteral("HTMLは存在しますが、アンカーがありません。");
inline const QString kBadRelPath = QStringLiteral("エラー: 相対パスの指定が不正です。");
inline const QString kAborted = QStringLiteral("中止");
inline const QString kClientError = QStringLiteral("0(Unknown Error)");
}  // namespace LinkText

// The status text of an HTTP status code: the code followed by its reason,
// "(Unknown Error)" for codes without one.
QString statusCodeText(int code);

// "http" or "ftp" at the start, case ignored (so https counts too).
bool isWebText(const QString &text);
// A link of a page that goes to the web: its scheme written out with its
// colon, "http:", "https:" or "ftp:" (case ignored). Any other link, a file
// named "http.html" included, is a name relative to the page.
bool isWebLink(const QString &link);
// Case-blind test of an ASCII prefix.
bool hasPrefix(const QString &text, QLatin1String prefix);

// The folder a link check resolves local links against has gone.
struct LinkBaseMissing {
    QString message;
};

// The decision for one link, as the main thread and both workers make it.
// Local links are resolved against the base folder given here; the process's
// current folder is never changed.
class LinkVerifier {
public:
    struct Setup {
        HttpClient *client = nullptr;
        QString workFile;  // where a fetched anchor page is saved
        QString linkBase;  // folder or URL of the checked document
        const std::atomic<bool> *linkAbort = nullptr;
        // Set when a worker is asked to end; null on the main thread.
        const std::atomic<bool> *stop = nullptr;
        int headDeadlineMs = 5000;
    };

    explicit LinkVerifier(Setup setup) : m_setup(std::move(setup)) {}

    // The status text of `link` (a row's first column) of `document`, whose
    // page URL is `pageUrl` (empty for a local document). Throws
    // LinkBaseMissing when a local lookup finds the base folder gone.
    QString checkOneLink(const QString &link, const QString &document, const QString &pageUrl);
    QString httpStatusText(const QString &url);
    bool anchorExists(const QString &page, const QString &name);

private:
    bool linkAborted() const { return m_setup.linkAbort && m_setup.linkAbort->load(); }
    bool stopRequested() const { return m_setup.stop && m_setup.stop->load(); }
    QString checkLocal(const QString &link, const QString &document);
    QString checkWeb(const QString &target, const QString &fragment);
    QString localPath(const QString &relative);

    Setup m_setup;
    // The anchors of the local pages read so far in this run.
    QHash<QString, QSet<QString>> m_localAnchors;
};
