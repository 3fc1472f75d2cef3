// Arbitrary bytes as Tidy's report file: read in two pieces on two threads
// it gives the same lines as read in one, translated or not.

#include "fuzz_target.h"
#include "tidy/report_lines.h"

void fuzzBytes(const QByteArray &bytes)
{
    const TidyMessageTemplates templates{
        {QStringLiteral("UNKNOWN_ENTITY"), QStringLiteral("unescaped & or unknown entity \"%s\"")},
        {QStringLiteral("STRING_ERROR_COUNT"), QStringLiteral("Tidy found %u %s and %u %s!")},
    };
    for (const TidyMessageTemplates *t : {&templates, (const TidyMessageTemplates *)nullptr}) {
        QString whole, pieces;
        appendReportLines(bytes, t, &whole, bytes.size() + 1);
        appendReportLines(bytes, t, &pieces, 1);
        check(whole == pieces);
    }
}
