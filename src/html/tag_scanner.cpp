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

bool attributeValue(const QByteArray &param, const QByteArray &wanted, QByteArray *value)
{
    const qsizetype equals = param.indexOf('=');
    if (equals < 0 || trimControls(param.left(equals)).toLower() != wanted) return false;
    *value = trimControls(param.mid(equals + 1));
    if (!value->isEmpty() && (value->front() == '"' || value->front() == '\'')) {
        const char quote = value->front();
        value->remove(0, 1);
        if (value->endsWith(quote)) value->chop(1);
    }
    return true;
}

namespace {

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

void TTag::clear()
{
    m_name.clear();
    m_params.clear();
}

qsizetype THtmlParser2::scanTag(qsizetype lt, bool inner)
{
    const char *text = m_text.constData();
    const qsizetype n = m_text.size();
    m_tag.clear();
    qsizetype j = lt + 1;
    while (j < n && !isSeparator(text[j]) && text[j] != '<' && text[j] != '>') ++j;
    m_tag.m_name = m_text.mid(lt + 1, j - lt - 1);

    if (j < n && isSeparator(text[j])) {
        qsizetype chunkStart = ++j;
        const auto close = [&](qsizetype last) {
            const QByteArray chunk = trimControls(m_text.mid(chunkStart, last - chunkStart + 1));
            if (!chunk.isEmpty()) m_tag.m_params.append(chunk);
            chunkStart = last + 1;
        };
        bool inDouble = false;
        bool inSingle = false;
        for (; j < n; ++j) {
            const char c = text[j];
            if (c == '>') break;
            if (c == '<') {
                if (inner || (!inDouble && !inSingle)) break;
                m_inner.append(j);
            } else if (c == '"' || c == '\'') {
                if (c == '"' && !inSingle)
                    inDouble = !inDouble;
                else if (c == '\'' && !inDouble)
                    inSingle = !inSingle;
                // An opening quote never closes a chunk, a closing one always does.
                if (!inDouble && !inSingle) close(j);
            } else if (isSeparator(c) && !inDouble && !inSingle) {
                // Separators around "=" stay inside the attribute string.
                qsizetype k = j;
                while (k < n && isSeparator(text[k])) ++k;
                m_steps += k - j - 1;
                const bool joins =
                    (j > chunkStart && text[j - 1] == '=') || (k < n && text[k] == '=');
                if (!joins) {
                    close(j);
                    chunkStart = k;
                }
                j = k - 1;
            }
        }
        // An unquoted value at the end, or one whose closing quote is missing.
        if (chunkStart < j) close(j - 1);
    }
    m_steps += qMin(j, n - 1) - lt + 1;
    return j;
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
    m_mainFrom = 0;
    m_inner.clear();
    m_innerNext = 0;
    m_ended = false;
    m_steps = 0;
    m_tag.clear();
    m_lastGt = m_text.lastIndexOf('>');
    m_steps += m_text.size() - qMax<qsizetype>(m_lastGt, 0);
}

bool THtmlParser2::next()
{
    if (m_ended) return false;
    qsizetype lt = -1;
    qsizetype end = -1;
    if (m_innerNext < m_inner.size()) {
        lt = m_inner.at(m_innerNext++);
        end = scanTag(lt, true);
    } else {
        m_inner.clear();
        m_innerNext = 0;
        if (m_mainFrom < m_lastGt) lt = m_text.indexOf('<', m_mainFrom);
        if (lt < 0 || lt >= m_lastGt) {
            m_steps += qMax<qsizetype>(m_lastGt - m_mainFrom, 0);
            m_ended = true;
            m_position = m_text.size();
            m_tagStart = 0;
            m_tagLength = m_text.isEmpty() ? 0 : 1;
            m_tag.clear();
            return false;
        }
        m_steps += lt - m_mainFrom;
        end = scanTag(lt, false);
        // A "<" that cut the tag starts the next one.
        m_mainFrom = m_text.at(end) == '<' ? end : end + 1;
    }
    m_position = lt + 1;
    m_tagStart = lt + 1;
    m_tagLength = end - lt + (m_text.at(end) == '>' ? 1 : 0);
    return true;
}
