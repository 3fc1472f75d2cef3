#include "document_kind.h"

#include <QFileInfo>

DocumentKind classifyDocument(const QString &document)
{
    return classifyDocument(document, !document.isEmpty() && QFileInfo::exists(document));
}

DocumentKind classifyDocument(const QString &document, bool namesExistingFile)
{
    if (namesExistingFile)
        return DocumentKind::Local;
    auto begins = [&document](const char *prefix) {
        return document.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
    };
    if (begins("http"))
        return DocumentKind::Http;
    if (begins("ftp") || begins("wais") || begins("gopher"))
        return DocumentKind::OtherProtocol;
    return DocumentKind::Local;
}
