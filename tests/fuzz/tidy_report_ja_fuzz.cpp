// Arbitrary bytes as a template, a report line and -xml-strings output: the
// matcher and the translators must never fault, the values must be pieces
// of the line, and a translated line keeps its location.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "platform/text_codec.h"
#include "tidy/tidy_report_ja.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString input = TextCodec::decode(bytes);
    const qsizetype split = input.indexOf(u'\n');
    const QString templ = split < 0 ? input : input.left(split);
    const QString text = split < 0 ? QString() : input.mid(split + 1);

    if (const std::optional<QStringList> values = matchTidyTemplate(templ, text)) {
        qsizetype total = 0;
        for (const QString &value : *values) {
            if (!text.contains(value)) std::abort();
            total += value.size();
        }
        if (total > text.size()) std::abort();
        if (values->size() != tidyTemplatePlaceholders(templ)) std::abort();
        // One pass: the result is never longer than text plus every value per slot.
        const QString filled = fillTidyMessage(templ, *values);
        if (filled.size() > templ.size() + total * (templ.count(u'{') + 1)) std::abort();
    }

    TidyMessageTemplates templates = parseTidyMessageTemplates(input);
    templates.insert(QStringLiteral("MISSING_ENDTAG_BEFORE"), templ);
    const QString line = QStringLiteral("line 1 column 2 - Warning: ") + text;
    const QString translated = translateTidyReportLine(line, templates);
    if (!translated.startsWith(QStringLiteral("line 1 column 2 - 警告: "))) std::abort();
    translateTidyReportLine(text, templates);

    // The whole report: the summary translated, paragraphs left out, never a
    // line more than Tidy wrote.
    templates.insert(QStringLiteral("STRING_ERROR_COUNT"), templ);
    templates.insert(QStringLiteral("TEXT_GENERAL_INFO"), text.left(text.size() / 2));
    const QStringList lines = text.split(u'\n');
    if (translateTidyReport(lines, templates).size() > lines.size()) std::abort();
    return 0;
}
