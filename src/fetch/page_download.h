#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <functional>

#include "fetch/http_client.h"

class View;

// Asked before each line whether to stop reading (the link check's abort).
using StopQuestion = std::function<bool()>;

// Writes a body as lines, each ended by CR LF, as it arrives in pieces. CR
// LF, LF and CR each end one line (also when a piece ends between the CR and
// the LF); a NUL byte ends its line's text early. The bytes are not
// converted: the page keeps its own encoding. A stop answered before a line
// ends the reading there.
class BodyLines {
public:
    explicit BodyLines(StopQuestion stop = {}) : m_stop(std::move(stop)) {}

    // Converts one piece, appending to *out; false once told to stop.
    bool convert(const char *data, qsizetype size, QByteArray *out);
    // Ends the last line when the body did not end with a line break.
    void finish(QByteArray *out);

private:
    StopQuestion m_stop;
    bool m_lineStart = true;
    bool m_afterCr = false;
    bool m_dropping = false;  // after a NUL, up to the line's break
    bool m_stopped = false;
};

// The whole body at once, as BodyLines writes it.
QByteArray bodyAsLines(const QByteArray &body, const StopQuestion &stop = {});

// Downloads a page into `file` as lines, streaming: the body never sits in
// memory as a whole. The file is replaced only when the whole page arrived
// (status below 400, not stopped, not cut at the body cap) and was written;
// otherwise the response is not ok and the client has been aborted.
HttpClient::Response fetchAsLines(HttpClient &client, const QString &url, const QString &file,
                                  const StopQuestion &stop = {});
bool downloadAsLines(HttpClient &client, const QString &url, const QString &file);

// What every check says when the page it was to check could not be fetched.
extern const QString kPageFetchFailed;  // "HTML文書の取得に失敗しました。"

// downloadAsLines for a check: on failure the status line says kPageFetchFailed.
bool downloadForCheck(HttpClient &client, View &view, const QString &url, const QString &file);
