#include "report_lines.h"

#include <future>

#include "platform/text_codec.h"

namespace {

void appendLine(QStringView line, QString *out)
{
    out->append(line);
    out->append(QLatin1StringView("\r\n"));
}

// The lines of a decoded report, each followed by CR LF; translated when
// there are templates. Tidy's summary and its paragraphs about itself follow
// its last located message and span several lines, so with withTail that
// tail is translated as a whole; everything before it line by line.
void appendReport(QStringView text, const TidyMessageTemplates *templates, bool withTail,
                  QString *out)
{
    if (templates == nullptr) {
        TextCodec::forEachLine(text, [out](QStringView line) { appendLine(line, out); });
        return;
    }
    const TidyReportTranslator translator(*templates);
    // Without a located line the whole text is the tail.
    const qsizetype tailStart =
        withTail ? text.lastIndexOf(QLatin1StringView("\nline ")) + 1 : text.size();
    TextCodec::forEachLine(text.left(tailStart),
                           [&](QStringView line) { appendLine(translator.line(line), out); });
    if (!withTail) return;
    QStringList tail;
    TextCodec::forEachLine(text.mid(tailStart), [&](QStringView line) { tail << line.toString(); });
    for (const QString &line : translator.report(tail)) appendLine(line, out);
}

}  // namespace

void appendReportLines(const QByteArray &report, const TidyMessageTemplates *templates,
                       QString *out, qsizetype secondCoreFrom)
{
    const qsizetype lastLocated = report.lastIndexOf("\nline ");
    qsizetype cut = report.size() < secondCoreFrom ? -1 : report.indexOf('\n', report.size() / 2);
    // A piece that began with a byte-order mark would lose it.
    while (cut >= 0 && cut + 1 < report.size() && report.at(cut + 1) == '\xEF')
        cut = report.indexOf('\n', cut + 1);
    if (cut + 1 >= report.size() || (templates && cut >= lastLocated)) cut = -1;
    if (cut < 0) {
        appendReport(TextCodec::decode(report), templates, true, out);
        return;
    }
    // Both pieces in the encoding the whole reads in.
    const bool utf8 = TextCodec::readsAsUtf8(report);
    const auto decodePiece = [&report, utf8](qsizetype from, qsizetype size) {
        return TextCodec::decode(QByteArray::fromRawData(report.constData() + from, size), utf8);
    };
    std::future<QString> secondLines = std::async(std::launch::async, [&] {
        const QString text = decodePiece(cut + 1, report.size() - cut - 1);
        QString lines;
        lines.reserve(text.size() + text.size() / 8);
        appendReport(text, templates, true, &lines);
        return lines;
    });
    appendReport(decodePiece(0, cut + 1), templates, false, out);
    out->append(secondLines.get());
}
