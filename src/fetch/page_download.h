#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>

// Writes a downloaded body as lines, each ended by CR LF. CR LF, LF and CR
// each end one line; a NUL byte ends its line's text early. The bytes are
// not converted: the page keeps its own encoding. A set stop flag (the link
// check's abort) ends the reading before the next line.
QByteArray bodyAsLines(const QByteArray &body, const std::atomic<bool> *stop = nullptr);
bool saveBodyAsLines(const QByteArray &body, const QString &file,
                     const std::atomic<bool> *stop = nullptr);

class HttpClient;

// Downloads a page and saves it as lines; false (the client aborted) when the
// page could not be had or saved.
bool downloadAsLines(HttpClient &client, const QString &url, const QString &file);
