#include "cli/cli_tables.h"

#include "access/table_linearizer.h"
#include "cli/console_view.h"

int runTablesCommand(const QStringList &arguments)
{
    if (arguments.value(0) != QLatin1String("--tables")) return -1;
    if (arguments.size() != 2) {
        printError(QStringLiteral("使い方: velmarin-cli --tables HTMLファイル"));
        return 2;
    }
    QList<TableEntry> tables;
    QString error;
    if (!linearizeFile(arguments.at(1), &tables, &error)) {
        printError(error);
        return 1;
    }
    if (tables.isEmpty()) {
        printError(QStringLiteral("HTML中にテーブルがありませんでした"));
        return 1;
    }
    for (qsizetype i = 0; i < tables.size(); ++i) {
        QString text = QStringLiteral("== %1/%2 ==\n").arg(i + 1).arg(tables.size());
        for (const QString &row : tableRowsAsText(tables.at(i).html)) text += row + u'\n';
        printOut(text);
    }
    return 0;
}
