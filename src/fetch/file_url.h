#pragma once

#include <QString>
#include <QStringList>

// "file://" forms of an address to a local path, "/" kept: the prefixes
// "file:///localhost/", "file://localhost/", "file:///", "file://" and
// "file:" before a slash are cut (the path keeps its leading slash) and "%20" becomes a space. Web
// addresses (http, wais, ftp, gopher) and plain paths come back unchanged.
QString fileUrlToPath(const QString &address);

// The paths a local address may name, most literal first: fileUrlToPath's,
// then, for a "file:" address, the one with every percent escape decoded as
// UTF-8 (browsers on Linux write Japanese names that way). Callers take the
// first that exists.
QStringList fileUrlPathCandidates(const QString &address);
