// velmarin-cli: the checks of the window, run from a console.

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include "app/main_actions.h"
#include "cli/console_view.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"
#include "tidy/report_list_model.h"

namespace {

const char kUsage[] =
    "使い方: velmarin-cli [オプション] 文書...\n"
    "\n"
    "文書(HTMLファイルのパスまたはhttpのURL)をHTML Tidyでチェックし、\n"
    "結果の一覧を標準出力に書きます(1行に1件、\"行 12 位置5 - 説明\" の形)。\n"
    "整理された文書は作業フォルダに残り、そのパスを標準エラーに書きます。\n"
    "設定はウインドウ版と同じファイル(Velmarin.ini、Velmarin.txt)を使います。\n"
    "\n"
    "オプション:\n"
    "  -h, --help    この説明を表示します。\n"
    "\n"
    "終了コード: 0 エラーなし、1 エラーがあったかチェックできない文書があった、\n"
    "            2 使い方の誤り。\n";

bool hasErrorRow(const ReportListModel &list)
{
    for (const ReportRow &row : list.rows())
        if (row.kind == ReportKind::Error)
            return true;
    return false;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velmarin"));

    QStringList documents;
    const QStringList arguments = app.arguments().mid(1);
    bool onlyDocuments = false;
    for (const QString &a : arguments) {
        if (!onlyDocuments && (a == QLatin1String("-h") || a == QLatin1String("--help"))) {
            printOut(QString::fromUtf8(kUsage));
            return 0;
        }
        if (!onlyDocuments && a == QLatin1String("--")) {
            onlyDocuments = true;
            continue;
        }
        if (!onlyDocuments && a.startsWith(QLatin1String("--"))) {
            printError(QStringLiteral("不明なオプションです: ") + a);
            printError(QString::fromUtf8(kUsage));
            return 2;
        }
        documents << a;
    }
    if (documents.isEmpty()) {
        printError(QString::fromUtf8(kUsage));
        return 2;
    }

    ConsoleView view;
    ProcessRunner runner;
    MainActions actions(view, runner);
    actions.tidyRun().setOpensOutput(false);
    actions.start();

    int status = 0;
    for (const QString &document : documents) {
        const int errorsBefore = view.errorCount();
        const TidyRun::Outcome outcome = actions.checkDocument(document);
        const QString text = reportResultText(actions.tidyList().rows(), QStringLiteral("\n"));
        if (documents.size() > 1)
            printOut(QStringLiteral("== ") + document + u'\n');
        printOut(text);
        if (outcome != TidyRun::Outcome::Checked || view.errorCount() != errorsBefore) {
            status = 1;
            continue;
        }
        if (hasErrorRow(actions.tidyList()))
            status = 1;
        const QFileInfo output(TidyRun::outputPath());
        if (output.exists() && output.size() > 0)
            printError(QStringLiteral("整理された文書: ") + output.absoluteFilePath());
    }
    return status;
}
