#include "fetch/file_url.h"

#include <QUrl>

#include "core/document_kind.h"

namespace {

bool startsWithCaseBlind(const QString &text, QLatin1String prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

}  // namespace

QString fileUrlToPath(const QString &address)
{
    if (classifyDocument(address, false) != DocumentKind::Local)
        return address;
    QString path = address;
    // The forms a browser writes for a local file, longest first.
    for (const char *prefix : {"file:///localhost/", "file://localhost/", "file:///"}) {
        if (startsWithCaseBlind(path, QLatin1String(prefix))) {
            path = u'/' + path.mid(int(qstrlen(prefix)));
            break;
        }
    }
    if (startsWithCaseBlind(path, QLatin1String("file://")))
        path = path.mid(7);
    else if (startsWithCaseBlind(path, QLatin1String("file:/")))
        path = path.mid(5);  // the short form "file:/home/..."
    path.replace(QStringLiteral("%20"), QStringLiteral(" "));
    return path;
}

QStringList fileUrlPathCandidates(const QString &address)
{
    const QString path = fileUrlToPath(address);
    QStringList candidates{path};
    if (startsWithCaseBlind(address, QLatin1String("file:"))) {
        const QString decoded = QUrl::fromPercentEncoding(path.toUtf8());
        if (decoded != path)
            candidates << decoded;
    }
    return candidates;
}
