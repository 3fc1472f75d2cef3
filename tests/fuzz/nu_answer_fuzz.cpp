// Arbitrary bytes as the Nu Html Checker's JSON answer: every row one line,
// with the kind word of its kind.

#include "checks/nu_report.h"
#include "fuzz_target.h"

void fuzzBytes(const QByteArray &json)
{
    const NuAnswer answer = readNuAnswer(json);
    check(answer.ok || (answer.messages.isEmpty() && answer.damaged == 0));
    for (const NuMessage &message : answer.messages) {
        const ReportRow &row = message.row;
        check(row.description.startsWith(nuKindWord(row.kind) + QStringLiteral(": ")));
        check(!row.description.contains(u'\n') && !row.description.contains(u'\r'));
        check(row.column.isEmpty() || row.column.toLongLong() > 0);
        check(row.caption.isEmpty() || row.caption.toLongLong() > 0);
    }
}
