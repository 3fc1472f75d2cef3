#include "page_download.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>

#include "core/view.h"

bool BodyLines::convert(const char *data, qsizetype size, QByteArray *out)
{
    qsizetype i = 0;
    while (i < size && !m_stopped) {
        if (m_afterCr) {
            m_afterCr = false;
            if (data[i] == '\n') {
                ++i;
                continue;
            }
        }
        if (m_lineStart) {
            if (m_stop && m_stop()) {
                m_stopped = true;
                break;
            }
            m_lineStart = false;
        }
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            out->append("\r\n", 2);
            m_lineStart = true;
            m_dropping = false;
            m_afterCr = c == '\r';
            ++i;
            continue;
        }
        // The rest of the line, up to its break, in one piece.
        const qsizetype start = i;
        while (i < size && data[i] != '\r' && data[i] != '\n') ++i;
        if (!m_dropping) {
            const char *nul =
                static_cast<const char *>(memchr(data + start, '\0', size_t(i - start)));
            out->append(data + start, nul ? nul - (data + start) : i - start);
            m_dropping = nul != nullptr;
        }
    }
    return !m_stopped;
}

void BodyLines::finish(QByteArray *out)
{
    if (!m_lineStart && !m_stopped) out->append("\r\n", 2);
    m_lineStart = true;
}

QByteArray bodyAsLines(const QByteArray &body, const StopQuestion &stop)
{
    QByteArray out;
    out.reserve(body.size() + body.size() / 32 + 2);
    BodyLines lines(stop);
    if (lines.convert(body.constData(), body.size(), &out)) lines.finish(&out);
    return out;
}

HttpClient::Response fetchAsLines(HttpClient &client, const QString &url, const QString &file,
                                  const StopQuestion &stop)
{
    const QString folder = QFileInfo(file).absolutePath();
    // The working file is replaced as a whole: a failed download leaves the
    // old one, never a half-written one.
    QSaveFile target(file);
    const bool opened =
        (QFileInfo(folder).isDir() || QDir().mkpath(folder)) && target.open(QIODevice::WriteOnly);
    BodyLines lines(stop);
    QByteArray out;
    bool written = opened;
    const auto sink = [&](const char *data, qsizetype size) {
        out.clear();
        if (!written || !lines.convert(data, size, &out)) return false;
        written = target.write(out) == out.size();
        return written;
    };

    HttpClient::Response response = opened ? client.get(url, sink) : HttpClient::Response();
    if (response.ok) {
        out.clear();
        lines.finish(&out);
        // QSaveFile::commit() does not notice a failed flush of its buffer.
        written = written && target.write(out) == out.size() && target.flush() && target.commit();
        if (!written) {
            response.ok = false;
            response.reason.clear();
        }
    }
    if (!response.ok) {
        target.cancelWriting();
        client.abort();
    }
    return response;
}

bool downloadAsLines(HttpClient &client, const QString &url, const QString &file)
{
    return fetchAsLines(client, url, file).ok;
}

const QString kPageFetchFailed = QStringLiteral("HTML文書の取得に失敗しました。");

bool downloadForCheck(HttpClient &client, View &view, const QString &url, const QString &file)
{
    if (downloadAsLines(client, url, file))
        return true;
    view.showStatus(kPageFetchFailed, true);
    return false;
}
