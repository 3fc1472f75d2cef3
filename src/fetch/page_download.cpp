#include "page_download.h"

#include "fetch/http_client.h"
#include "platform/atomic_file.h"

QByteArray bodyAsLines(const QByteArray &body, const std::atomic<bool> *stop)
{
    QByteArray out;
    out.reserve(body.size() + body.size() / 32 + 2);
    const qsizetype n = body.size();
    qsizetype i = 0;
    while (i < n) {
        if (stop != nullptr && stop->load())
            break;
        const qsizetype start = i;
        while (i < n && body.at(i) != '\r' && body.at(i) != '\n')
            ++i;
        QByteArray line = body.mid(start, i - start);
        const qsizetype nul = line.indexOf('\0');
        if (nul >= 0)
            line.truncate(nul);
        out += line;
        out += "\r\n";
        if (i < n) {
            if (body.at(i) == '\r' && i + 1 < n && body.at(i + 1) == '\n')
                ++i;
            ++i;
        }
    }
    return out;
}

bool saveBodyAsLines(const QByteArray &body, const QString &file, const std::atomic<bool> *stop)
{
    QString error;
    return writeFileAtomically(file, bodyAsLines(body, stop), &error);
}

bool downloadAsLines(HttpClient &client, const QString &url, const QString &file)
{
    const HttpClient::Response response = client.get(url);
    if (response.ok && saveBodyAsLines(response.body, file))
        return true;
    client.abort();
    return false;
}
