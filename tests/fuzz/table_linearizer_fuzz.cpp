// Arbitrary bytes as a page for the table view.

#include "access/table_linearizer.h"
#include "fuzz_target.h"
#include "html/declaration_sniffer.h"

void fuzzBytes(const QByteArray &bytes)
{
    const QString text = decodeTablePage(bytes, sniffDeclarations(bytes).charset);
    const QList<TableEntry> tables = linearizeTables(text);
    check(tables.size() <= text.count(QLatin1String("table"), Qt::CaseInsensitive));

    qsizetype previous = -1;
    for (const TableEntry &entry : tables) {
        check(entry.start > previous);
        previous = entry.start;
        bool utf8 = false;
        const QByteArray page = tablePageBytes(entry.html, &utf8);
        check(page.contains(utf8 ? "charset=utf-8\">" : "charset=shift_jis\">"));
        check(page.endsWith("</html>\r\n"));
        for (const QString &row : tableRowsAsText(entry.html))
            check(!row.isEmpty() && !row.contains(u'\n') && !row.contains(u'\r'));
    }
}
