#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// Tidy's report in Japanese. Tidy run with `--mute-id yes` ends each
// message with its id, "(MISSING_ENDTAG_BEFORE)"; the id picks the Japanese
// text and the English template of that id gives the values to put in it.
// Whatever cannot be translated keeps Tidy's English, so no line is lost.

// id -> English template, read from the output of `tidy -xml-strings`.
using TidyMessageTemplates = QHash<QString, QString>;

// The labelled strings of `tidy -xml-strings` output. Tidy writes the
// templates unescaped ("unescaped & which should be written as &amp;"), so
// the text between the tags is taken as it is.
TidyMessageTemplates parseTidyMessageTemplates(const QString &xml);

// Runs `<tidyPath> -xml-strings` once per path, size and modification time.
// An empty table when the program fails or lists nothing.
TidyMessageTemplates queryTidyMessageTemplates(const QString &tidyPath, int timeoutMs = 5000);

// The values the printf placeholders (%s %u %d %c, also %1$s) of the
// template take in text, in template order; nullopt when text does not have
// the template's shape. The literal pieces are found left to right, each
// searched once from where the last ended, so the work is linear in the
// text for these short templates, whatever the values hold.
std::optional<QStringList> matchTidyTemplate(const QString &templ, const QString &text);

// How many printf placeholders the template holds; -1 for one with a
// conversion we do not read.
int tidyTemplatePlaceholders(const QString &templ);

// The highest {n} of a Japanese text, 0 when it has none.
int tidyMessageSlots(const QString &japanese);

// {1}, {2}, ... in japanese replaced by values[0], values[1], ... in one
// pass; the values are never read as a pattern themselves.
QString fillTidyMessage(const QString &japanese, const QStringList &values);

// One report line: "line 12 column 5 - Warning: missing </b> before </p>
// (MISSING_ENDTAG_BEFORE)" -> "line 12 column 5 - 警告: </p> の前に </b> が
// ありません". The kind word is always translated and the id removed; the
// message stays English when the id, its template or its Japanese entry is
// unknown or the text does not fit the template.
QString translateTidyReportLine(const QString &line, const TidyMessageTemplates &templates);

// A whole report, Tidy's summary and its paragraphs about itself included:
// the summary is translated, the paragraphs are left out.
QStringList translateTidyReport(const QStringList &lines, const TidyMessageTemplates &templates);

// The two above for many lines with one Tidy's templates: each message's
// template is split and its Japanese text looked up once, not once per line,
// as a large page's report holds hundreds of thousands of lines. Not for use
// from several threads at once.
class TidyReportTranslator {
public:
    explicit TidyReportTranslator(const TidyMessageTemplates &templates);
    ~TidyReportTranslator();
    TidyReportTranslator(const TidyReportTranslator &) = delete;
    TidyReportTranslator &operator=(const TidyReportTranslator &) = delete;

    QString line(QStringView line) const;
    QStringList report(const QStringList &lines) const;

private:
    struct Prepared;
    std::unique_ptr<Prepared> d;
};
