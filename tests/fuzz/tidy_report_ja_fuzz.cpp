// Arbitrary bytes as a template, a report line and -xml-strings output: the
// values are pieces of the line, and a translated line keeps its location.

#include "fuzz_target.h"
#include "platform/text_codec.h"
#include "tidy/tidy_report_ja.h"

void fuzzBytes(const QByteArray &bytes)
{
    const QString input = TextCodec::decode(bytes);
    // A report written as it is read back (a leading U+FEFF reads as a
    // byte-order mark).
    check(TextCodec::decode(TextCodec::encodeLegacy(input)) == input ||
          input.startsWith(QChar(0xFEFF)));
    const qsizetype split = input.indexOf(u'\n');
    const QString templ = split < 0 ? input : input.left(split);
    const QString text = split < 0 ? QString() : input.mid(split + 1);

    if (const std::optional<QStringList> values = matchTidyTemplate(templ, text)) {
        qsizetype total = 0;
        for (const QString &value : *values) {
            check(text.contains(value));
            total += value.size();
        }
        check(total <= text.size());
        check(values->size() == tidyTemplatePlaceholders(templ));
        // One pass: the result is never longer than text plus every value per slot.
        const QString filled = fillTidyMessage(templ, *values);
        check(filled.size() <= templ.size() + total * (templ.count(u'{') + 1));
    }

    TidyMessageTemplates templates = parseTidyMessageTemplates(input);
    templates.insert(QStringLiteral("MISSING_ENDTAG_BEFORE"), templ);
    const QString line = QStringLiteral("line 1 column 2 - Warning: ") + text;
    const QString translated = translateTidyReportLine(line, templates);
    check(translated.startsWith(QStringLiteral("line 1 column 2 - 警告: ")));
    translateTidyReportLine(text, templates);

    // The whole report: the summary translated, paragraphs left out, never a
    // line more than Tidy wrote.
    templates.insert(QStringLiteral("STRING_ERROR_COUNT"), templ);
    templates.insert(QStringLiteral("TEXT_GENERAL_INFO"), text.left(text.size() / 2));
    const QStringList lines = text.split(u'\n');
    check(translateTidyReport(lines, templates).size() <= lines.size());
}
