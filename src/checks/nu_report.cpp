#include "nu_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace {

ReportKind messageKind(const QJsonObject &message)
{
    const QString type = message.value(QLatin1String("type")).toString();
    if (type == QLatin1String("info"))
        return message.value(QLatin1String("subType")).toString() == QLatin1String("warning")
                   ? ReportKind::Warning
                   : ReportKind::Information;
    // "error", "non-document-error" (the document could not be read or
    // fetched) and any type a later vnu may add: better seen than missed.
    return ReportKind::Error;
}

// A positive whole number as text, else empty.
QString position(const QJsonValue &value)
{
    const qint64 number = value.toInteger(-1);
    return number > 0 ? QString::number(number) : QString();
}

QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c == u'\r' || c == u'\n' || c == QChar(0x2028) || c == QChar(0x2029))
            c = u' ';
    }
    return text;
}

NuMessage toMessage(const QJsonObject &message)
{
    NuMessage out;
    out.url = message.value(QLatin1String("url")).toString();
    ReportRow &row = out.row;
    row.kind = messageKind(message);
    row.caption = position(message.value(QLatin1String("firstLine")));
    if (row.caption.isEmpty())
        row.caption = position(message.value(QLatin1String("lastLine")));
    row.column = position(message.value(QLatin1String("firstColumn")));
    row.description = nuKindWord(row.kind) + QStringLiteral(": ") +
                      oneLine(message.value(QLatin1String("message")).toString());
    return out;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The index of the brace that closes the object opening at `open`, braces
// inside strings not counted; -1 when the text ends first.
qsizetype closingBrace(const QByteArray &json, qsizetype open)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (qsizetype i = open; i < json.size(); ++i) {
        const char c = json.at(i);
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            return i;
        }
    }
    return -1;
}

// The messages of an answer that does not parse as a whole: each object of
// the "messages" array on its own; after a piece that is no object, reading
// goes on at the next message's beginning.
NuAnswer salvage(const QByteArray &json)
{
    NuAnswer answer;
    const qsizetype key = json.indexOf("\"messages\"");
    if (key < 0)
        return answer;
    qsizetype i = key + 10;
    while (i < json.size() && (isSpace(json.at(i)) || json.at(i) == ':'))
        ++i;
    if (i >= json.size() || json.at(i) != '[')
        return answer;
    answer.ok = true;
    ++i;
    const QByteArray nextMessage = "{\"type\"";
    while (true) {
        while (i < json.size() && (isSpace(json.at(i)) || json.at(i) == ','))
            ++i;
        if (i >= json.size()) {
            ++answer.damaged;  // cut off before its end
            break;
        }
        if (json.at(i) == ']')
            break;
        if (json.at(i) == '{') {
            const qsizetype close = closingBrace(json, i);
            if (close < 0) {
                ++answer.damaged;
                break;
            }
            const QJsonDocument piece = QJsonDocument::fromJson(json.mid(i, close - i + 1));
            if (piece.isObject())
                answer.messages.append(toMessage(piece.object()));
            else
                ++answer.damaged;
            i = close + 1;
            continue;
        }
        ++answer.damaged;
        i = json.indexOf(nextMessage, i);
        if (i < 0)
            break;
    }
    return answer;
}

}  // namespace

QString nuKindWord(ReportKind kind)
{
    switch (kind) {
    case ReportKind::Warning:
        return QStringLiteral("警告");
    case ReportKind::Information:
        return QStringLiteral("情報");
    default:
        return QStringLiteral("エラー");
    }
}

NuAnswer readNuAnswer(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return salvage(json);
    NuAnswer answer;
    if (!document.isObject())
        return answer;
    const QJsonValue messages = document.object().value(QLatin1String("messages"));
    if (!messages.isArray())
        return answer;
    const QJsonArray list = messages.toArray();
    answer.ok = true;
    answer.messages.reserve(list.size());
    for (const QJsonValue &item : list) {
        if (item.isObject())
            answer.messages.append(toMessage(item.toObject()));
        else
            ++answer.damaged;
    }
    return answer;
}
