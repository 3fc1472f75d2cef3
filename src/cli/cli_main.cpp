// velmarin-cli: the checks of the window, run from a console.

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <QStringListModel>

#include "app/main_actions.h"
#include "cli/console_view.h"
#include "platform/process_runner.h"
#include "tidy/report_list_model.h"
#include "tidy/report_parser.h"

namespace {

const char kUsage[] =
    "使い方: velmarin-cli [オプション] [スイッチ] 文書...\n"
    "       velmarin-cli --folder フォルダ [--subdir]\n"
    "\n"
    "文書(HTMLファイルのパスまたはhttpのURL)をチェックし、結果の一覧を\n"
    "標準出力に書きます。スイッチはウインドウ版のコマンドラインと同じです:\n"
    "  -tidy  HTML Tidy(スイッチがないときもこれ)   -css  CSSチェック\n"
    "  -all   HTML Tidy、リンクチェック、CSSチェック   -link リンクチェック\n"
    "  -w3c -lint -wdg -cssu  バリデータへのアップロード\n"
    "スイッチは次の文書にだけ効きます。\n"
    "HTML Tidyの結果は1行に1件(\"行 12 位置5 - 説明\" の形)、複数の文書では\n"
    "文書ごとに \"情報: チェックしたHTML: \" の行から始まります。CSSチェックの\n"
    "結果は保存するときと同じ形、リンクチェックの結果は1行に1件\n"
    "(リンク先、タブ、状態)です。整理された文書は作業フォルダに残り、\n"
    "そのパスを標準エラーに書きます。\n"
    "設定はウインドウ版と同じファイル(Velmarin.ini、Velmarin.txt)を使います。\n"
    "\n"
    "オプション:\n"
    "  --folder フォルダ  フォルダにあるHTMLファイル(*.htm*)をまとめてチェックします。\n"
    "  --subdir           --folderでサブフォルダも含めます。\n"
    "  -h, --help         この説明を表示します。\n"
    "\n"
    "終了コード: 0 エラーなし、1 エラーがあったかチェックできない文書があった\n"
    "            (リンクチェックでは200(OK)でないリンクがあった)、\n"
    "            2 使い方の誤り。\n";

struct Options {
    QStringList arguments;  // the window's command line
    QString folder;
    bool subdir = false;
};

// Parses the console program's own options; the rest is the command line.
// Returns the exit status for a usage error or help, else -1.
int parseOptions(const QStringList &arguments, Options *options)
{
    bool onlyDocuments = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (onlyDocuments) {
            options->arguments << a;
        } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            printOut(QString::fromUtf8(kUsage));
            return 0;
        } else if (a == QLatin1String("--")) {
            onlyDocuments = true;
        } else if (a == QLatin1String("--folder") && i + 1 < arguments.size()) {
            options->folder = arguments.at(++i);
        } else if (a == QLatin1String("--subdir")) {
            options->subdir = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            printError(QStringLiteral("不明なオプションです: ") + a);
            printError(QString::fromUtf8(kUsage));
            return 2;
        } else {
            options->arguments << a;
        }
    }
    if (options->arguments.isEmpty() == options->folder.isEmpty()) {
        printError(QString::fromUtf8(kUsage));
        return 2;
    }
    return -1;
}

bool hasErrorRow(const QVector<ReportRow> &rows)
{
    for (const ReportRow &row : rows)
        if (row.kind == ReportKind::Error)
            return true;
    return false;
}

void nameOutput(const QString &path)
{
    const QFileInfo output(path);
    if (output.exists() && output.size() > 0)
        printError(QStringLiteral("整理された文書: ") + output.absoluteFilePath());
}

// Prints the Tidy reports of the run; true when one of them has an error.
bool printTidyReports(MainActions &actions)
{
    const int entries = actions.fileSelector().rowCount();
    if (entries == 0) {
        // One document: its report is the list, loaded from entry 0.
        const QVector<ReportRow> &rows = actions.tidyList().rows();
        printOut(reportResultText(rows, QStringLiteral("\n")));
        if (!rows.isEmpty())
            nameOutput(TidyRun::numberedOutputPath(0));
        return hasErrorRow(rows);
    }
    bool errors = false;
    for (int i = 0; i < entries; ++i) {
        bool exists = false;
        const QVector<ReportRow> rows = loadTidyReportFile(TidyRun::numberedReportPath(i), &exists);
        printOut(reportResultText(rows, QStringLiteral("\n")));
        nameOutput(TidyRun::numberedOutputPath(i));
        errors = errors || hasErrorRow(rows);
    }
    return errors;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velmarin"));

    Options options;
    const int usage = parseOptions(app.arguments().mid(1), &options);
    if (usage >= 0)
        return usage;

    ConsoleView view;
    ProcessRunner runner;
    MainActions actions(view, runner);
    actions.tidyRun().setOpensOutput(false);
    actions.start();
    actions.setUnresolvedHandler([](const QString &text) {
        printError(QStringLiteral("ファイルがありません。") + text);
    });

    bool failed = false;
    if (!options.folder.isEmpty()) {
        if (!QFileInfo(options.folder).isDir()) {
            printError(QStringLiteral("フォルダがありません。") + options.folder);
            return 1;
        }
        actions.settings().includeSubfolders = options.subdir;
        actions.checkFolder(options.folder);
        failed = actions.batch().lastProblemCount() > 0 || actions.fileSelector().rowCount() == 0;
    } else {
        actions.processCommandLine(options.arguments);
    }

    failed = failed || actions.failedEntries() > 0 || view.errorCount() > 0;
    if (printTidyReports(actions))
        failed = true;
    const QString css = actions.cssList().cssResultText();
    if (!css.isEmpty())
        printOut(QString(css).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // The link list: the target, a tab, the status; a link that is not
    // "200(OK)" fails the run.
    for (const MessageListModel::Row &row : actions.linkList().rows()) {
        printOut(row.first + u'\t' + row.second + u'\n');
        if (row.second != QLatin1String("200(OK)"))
            failed = true;
    }
    return failed ? 1 : 0;
}
