#pragma once

#include <QByteArray>
#include <QString>

// Writes a downloaded body as lines, each ended by CR LF. CR LF, LF and CR
// each end one line; a NUL byte ends its line's text early. The bytes are
// not converted: the page keeps its own encoding.
QByteArray bodyAsLines(const QByteArray &body);
bool saveBodyAsLines(const QByteArray &body, const QString &file);
