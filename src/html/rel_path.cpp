#include "rel_path.h"

QStringList splitSegments(const QString &text)
{
    if (text.isEmpty()) return {};
    QStringList segments = text.split(u'/');
    if (text.endsWith(u'/')) segments.removeLast();
    return segments;
}

QString joinSegments(const QStringList &segments)
{
    return segments.join(u'/');
}

QString includeTrailingSlash(const QString &text)
{
    return text.endsWith(u'/') ? text : text + u'/';
}

QString resolveRelPath(const QString &base, const QString &reference)
{
    if (!reference.startsWith(u'.') && !reference.startsWith(u'/'))
        return includeTrailingSlash(base) + reference;

    QStringList baseSegments = splitSegments(base);
    if (reference.startsWith(u'/')) {
        if (baseSegments.size() < 3) return kInvalidRelPath;
        return baseSegments.at(0) + QStringLiteral("//") + baseSegments.at(2) + reference;
    }

    // Only a leading run of ".." climbs; one "." is dropped after the climb,
    // and later "." or ".." segments stay as written.
    QStringList referenceSegments = splitSegments(reference);
    while (!baseSegments.isEmpty() && !referenceSegments.isEmpty() &&
           referenceSegments.first() == QStringLiteral("..")) {
        baseSegments.removeLast();
        referenceSegments.removeFirst();
    }
    if (!referenceSegments.isEmpty() && referenceSegments.first() == QStringLiteral("."))
        referenceSegments.removeFirst();
    if (baseSegments.size() <= 2) return kInvalidRelPath;
    if (referenceSegments.isEmpty()) return joinSegments(baseSegments);
    return joinSegments(baseSegments) + u'/' + joinSegments(referenceSegments);
}
