#include "tag_scanner.h"

#include <QFile>

QByteArray trimControls(const QByteArray &bytes)
{
    qsizetype from = 0;
    qsizetype to = bytes.size();
    while (from < to && static_cast<uchar>(bytes.at(from)) <= 0x20) ++from;
    while (to > from && static_cast<uchar>(bytes.at(to - 1)) <= 0x20) --to;
    return bytes.mid(from, to - from);
}

void TTag::clear()
{
    m_name.clear();
    m_params.clear();
}

void TTag::setText(const QByteArray &text)
{
    m_params.clear();
    const qsizetype space = text.indexOf(' ');
    if (space < 0) {
        m_name = text;
        return;
    }
    m_name = text.left(space);

    qsizetype chunkStart = space + 1;
    const auto close = [&](qsizetype last) {
        const QByteArray chunk = trimControls(text.mid(chunkStart, last - chunkStart + 1));
        if (!chunk.isEmpty()) m_params.append(chunk);
        chunkStart = last + 1;
    };
    bool inDouble = false;
    bool inSingle = false;
    for (qsizetype i = space + 1; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '"' || c == '\'') {
            if (c == '"' && !inSingle)
                inDouble = !inDouble;
            else if (c == '\'' && !inDouble)
                inSingle = !inSingle;
            // An opening quote never closes a chunk, a closing one always does.
            if (!inDouble && !inSingle) close(i);
        } else if (c == ' ' && !inDouble && !inSingle) {
            close(i);
        }
    }
    // An unquoted value at the end, or one whose closing quote is missing.
    if (chunkStart < text.size()) close(text.size() - 1);
}

QByteArray scannerText(const QByteArray &bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    const qsizetype n = nul >= 0 ? nul : bytes.size();
    QByteArray out;
    out.reserve(n + n / 32 + 2);
    qsizetype i = 0;
    while (i < n) {
        const qsizetype start = i;
        while (i < n && bytes.at(i) != '\r' && bytes.at(i) != '\n') ++i;
        out.append(bytes.constData() + start, i - start);
        out.append("\r\n", 2);
        if (i < n) {
            if (bytes.at(i) == '\r' && i + 1 < n && bytes.at(i + 1) == '\n') ++i;
            ++i;
        }
    }
    return out;
}

bool THtmlParser2::loadFromFile(const QString &path, QString *error)
{
    setText(QByteArray());
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString());
        return false;
    }
    setText(scannerText(bytes));
    return true;
}

void THtmlParser2::setText(const QByteArray &text)
{
    m_text = text;
    reset();
}

void THtmlParser2::reset()
{
    m_position = 0;
    m_tagStart = 0;
    m_tagLength = 0;
    m_knownGt = -1;
    m_tag.clear();
}

bool THtmlParser2::next()
{
    const qsizetype length = m_text.size();
    if (length == 0) return false;
    if (m_tagStart != 0) ++m_position;
    m_position = qBound<qsizetype>(1, m_position, length);

    const qsizetype lt = m_text.indexOf('<', m_position - 1);
    qsizetype gt = -1;
    if (lt >= 0) {
        // The ">" found for an earlier "<" is also the first one after this
        // "<" when it lies at or after it.
        gt = m_knownGt >= lt ? m_knownGt : m_text.indexOf('>', lt);
        m_knownGt = gt;
    }
    if (lt < 0 || gt < 0) {
        m_position = length;
        m_tagStart = 0;
        m_tagLength = 1;
        m_tag.clear();
        return false;
    }
    m_position = lt + 1;
    m_tagStart = lt + 1;
    m_tagLength = gt - lt + 1;
    m_tag.setText(m_text.mid(lt + 1, gt - lt - 1));
    return true;
}
