#pragma once

#include <QString>
#include <QVector>

// Turning Tidy's report (its standard error) into rows of the result list.
// Line and column numbers stay the text found in the report; a leading zero
// is kept and nothing is converted to a number.

// The value is the index of the row's icon in the result list; None has no icon.
enum class ReportKind { None = -1, Warning = 0, Error = 1, Information = 2, Accessibility = 3 };

struct ReportRow {
    QString caption;      // line number, empty for an unlocated line
    QString column;       // column number, empty for an unlocated line
    QString description;  // the message
    ReportKind kind = ReportKind::None;

    bool operator==(const ReportRow &other) const
    {
        return caption == other.caption && column == other.column &&
               description == other.description && kind == other.kind;
    }
};

Q_DECLARE_TYPEINFO(ReportRow, Q_RELOCATABLE_TYPE);

// The 1-based position of the first occurrence of needle in text that begins
// at or after the 1-based position start, or 0 when there is none (also for
// an empty needle or a start outside the text). A match never begins on the
// second half of a surrogate pair. caseBlind compares case-folded characters
// one by one, so positions stay those of the original text.
int posFrom(const QString &needle, const QString &text, int start, bool caseBlind);

// One non-blank report line as one row.
ReportRow parseReportLine(const QString &line);

// Every non-blank line of a report (line breaks CR, LF or CR LF), in order.
QVector<ReportRow> parseTidyReport(const QString &text);

// Reads a report file (UTF-8, else CP932) in one piece and parses it. *exists
// is false when the file is missing or cannot be read, which the caller
// answers by leaving the list as it was; an empty file gives no rows.
QVector<ReportRow> loadTidyReportFile(const QString &path, bool *exists);
