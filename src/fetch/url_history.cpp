#include "url_history.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "platform/atomic_file.h"
#include "platform/text_codec.h"

namespace {

QVector<QByteArray> splitByteLines(const QByteArray &bytes)
{
    QVector<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes.at(i) != '\n' && bytes.at(i) != '\r')
            continue;
        if (i > start)
            lines.append(bytes.mid(start, i - start));
        if (i + 1 < bytes.size() && bytes.at(i) == '\r' && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    return lines;
}

bool isAscii(const QByteArray &bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

}  // namespace

UrlHistory::UrlHistory(QString path) : m_path(std::move(path)) {}

QVector<UrlHistory::Entry> UrlHistory::parse(const QByteArray &bytes, bool *utf8)
{
    QByteArray body = bytes;
    *utf8 = !isAscii(body) && TextCodec::isValidUtf8(body);
    if (*utf8 && body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    QVector<Entry> entries;
    for (const QByteArray &line : splitByteLines(body)) {
        Entry entry;
        if (*utf8) {
            entry.text = QString::fromUtf8(line);
            // Byte-order marks are no part of an address, however many lead it.
            while (entry.text.startsWith(QChar(0xFEFF)))
                entry.text.remove(0, 1);
            if (entry.text.isEmpty())
                continue;
        } else {
            QByteArray back;
            entry.text = TextCodec::fromCp932(line);
            if (!TextCodec::toCp932(entry.text, &back) || back != line)
                entry.raw = line;
        }
        entries.append(entry);
    }
    return entries;
}

QByteArray UrlHistory::serialize(const QVector<Entry> &entries, bool utf8)
{
    QByteArray out;
    for (const Entry &entry : entries) {
        if (!entry.raw.isEmpty())
            continue;  // no encoding of the file can hold it
        if (utf8) {
            out += entry.text.toUtf8();
        } else {
            QByteArray line;
            TextCodec::toCp932(entry.text, &line);
            out += line;
        }
        out += "\r\n";
    }
    // CP932 bytes that happen to be valid UTF-8 would be read back as UTF-8.
    if (!utf8 && !isAscii(out) && TextCodec::isValidUtf8(out))
        return serialize(entries, true);
    return out;
}

bool UrlHistory::load()
{
    m_entries.clear();
    m_utf8 = false;
    m_unreadable = false;
    if (!QFileInfo::exists(m_path))
        return true;
    bool ok = false;
    const QByteArray bytes = readWholeFile(m_path, &ok);
    if (!ok) {
        m_unreadable = true;
        return false;
    }
    m_entries = parse(bytes, &m_utf8);
    return true;
}

QStringList UrlHistory::entries() const
{
    QStringList list;
    for (const Entry &entry : m_entries)
        list << entry.text;
    return list;
}

void UrlHistory::accept(const QString &url)
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).raw.isEmpty() && m_entries.at(i).text == url) {
            m_entries.removeAt(i);
            break;
        }
    }
    m_entries.prepend({url, QByteArray()});
}

bool UrlHistory::save(QString *error, QString *notice)
{
    if (notice)
        notice->clear();
    if (m_unreadable) {
        if (error)
            *error = QStringLiteral("「%1」を読めなかったため、URLの履歴は保存しませんでした。")
                         .arg(m_path);
        return false;
    }
    // CP932 as the format asks, unless the file already was UTF-8 or an
    // address cannot be held in CP932.
    bool utf8 = m_utf8;
    QStringList dropped;
    for (const Entry &entry : m_entries) {
        QByteArray unused;
        if (!entry.raw.isEmpty())
            dropped << entry.text;
        else if (!TextCodec::toCp932(entry.text, &unused))
            utf8 = true;
    }
    if (!writeFileAtomically(m_path, serialize(m_entries, utf8), error))
        return false;
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [](const Entry &entry) { return !entry.raw.isEmpty(); }),
                    m_entries.end());
    m_utf8 = utf8;
    if (notice && !dropped.isEmpty())
        *notice = QStringLiteral("「%1」の次の行は文字コードが読み取れないため、URLの履歴から除きました。\n")
                      .arg(m_path) +
                  dropped.join(u'\n');
    return true;
}
