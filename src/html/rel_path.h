#pragma once

#include <QString>
#include <QStringList>

// Turning a link of a fetched page into an absolute URL with plain string work
// on "/"-separated segments. Leading "." and ".." segments and a leading "/"
// are understood; anything else is appended to the base.

// The marker returned when a reference climbs above the host.
inline const QString kInvalidRelPath = QStringLiteral("Invalid RelPath");

// Cuts at every "/": a leading "/" gives an empty first segment, two adjacent
// slashes an empty segment between them, a final "/" no empty last segment.
QStringList splitSegments(const QString &text);
// Joins with "/" between neighbours; an empty list gives the empty text.
QString joinSegments(const QStringList &segments);
QString includeTrailingSlash(const QString &text);

// `base` is the folder of the page, e.g. "http://host/dir/" (it needs the
// scheme, the empty segment and the host). Returns the absolute URL, or
// kInvalidRelPath when the reference climbs above the host, or is
// root-relative against a base without a host.
QString resolveRelPath(const QString &base, const QString &reference);
