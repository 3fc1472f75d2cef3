// velmarin-cli: the checks of the window, run from a console.

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStringList>
#include <QStringListModel>
#include <QTemporaryDir>
#include <cstdio>

#include "app/command_line.h"
#include "app/main_actions.h"
#include "cli/cli_access.h"
#include "cli/cli_nu.h"
#include "cli/cli_run_folder.h"
#include "cli/cli_tables.h"
#include "cli/cli_upload.h"
#include "cli/console_view.h"
#include "core/one_line.h"
#include "core/qt_translations.h"
#include "fetch/browser_capture.h"
#include "integration/browser_bridges.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"
#include "platform/termination_signals.h"
#include "tidy/report_list_model.h"
#include "tidy/report_parser.h"

namespace {

const char kUsage[] =
    "使い方: velmarin-cli [オプション] [スイッチ] 文書...\n"
    "       velmarin-cli [オプション] --folder フォルダ [--subdir]\n"
    "       velmarin-cli --browser-url chromium|opera|firefox\n"
    "       velmarin-cli --contrast 前景色 背景色\n"
    "       velmarin-cli --gray 画像 出力.png\n"
    "       velmarin-cli --tables HTMLファイル\n"
    "       velmarin-cli --nu [--subdir] ファイル|フォルダ|URL...\n"
    "\n"
    "文書(HTMLファイルのパスまたはhttpのURL)をチェックし、結果の一覧を\n"
    "標準出力に書きます。スイッチはウインドウ版のコマンドラインと同じです:\n"
    "  -tidy  HTML Tidy(スイッチがないときもこれ)   -css  CSSチェック\n"
    "  -all   HTML Tidy、リンクチェック、CSSチェック   -link リンクチェック\n"
    "  -ie -op                  HTML Tidy\n"
    "  -w3c -lint -wdg -cssu    オンラインのバリデータへ送信します(ほかのスイッチとは\n"
    "                           別に使います)。答えのページを現在のフォルダに\n"
    "                           w3c_result.html のように保存してパスを書き、\n"
    "                           エラーの数が答えにあれば書きます。--json を付けると\n"
    "                           HTML5の文書はNu Html CheckerのJSONで受け取ります。\n"
    "                           終了コード: 0 エラーなし、1 エラーあり、2 接続できない\n"
    "スイッチは \"/tidy\" のようにも書けます。スイッチは次の文書にだけ効きます。\n"
    "HTML Tidyの結果は1行に1件(\"行 12 位置5 - 説明\" の形)、複数の文書では\n"
    "文書ごとに \"情報: チェックしたHTML: \" の行から始まります。CSSチェックの\n"
    "結果は保存するときと同じ形、リンクチェックの結果は1行に1件\n"
    "(リンク先、タブ、状態)です。\n"
    "設定はウインドウ版と同じファイル(Velmarin.ini、Velmarin.txt)を使います。\n"
    "作業ファイルは実行ごとにプログラムフォルダの temp/cli-XXXXXX に作り、\n"
    "終了時にフォルダごと削除します(ウインドウ版の作業ファイルには触れません)。\n"
    "\n"
    "オプション:\n"
    "  --folder フォルダ  フォルダにあるHTMLファイル(*.htm*)をまとめてチェックします。\n"
    "  --subdir           --folderでサブフォルダも含めます。\n"
    "  --keep             作業フォルダを削除せずに残し、そのパスと整理された文書の\n"
    "                     パスを標準エラーに書きます。\n"
    "  --browser-url ブラウザ  ブラウザ(chromium、opera、firefox)が表示している\n"
    "                     ページのURLを書きます(ウインドウ版のIE、Opera、Mozillaの\n"
    "                     チェックが読むのと同じURL)。読めないときは理由を標準エラーに\n"
    "                     書いて終了コード1で終わります。\n"
    "  --contrast 前景色 背景色  2色(#FF8000 の形)の明度差、色差とコントラスト比を\n"
    "                     一般的な色覚と3種の色覚について1行ずつ書きます。\n"
    "  --gray 画像 出力.png  BMP、JPEG、PNGの画像をグレイスケールにしてPNGで書きます。\n"
    "  --tables ファイル  HTMLファイルの表を線形化して、1行に1セル(【TH】などの印付き、\n"
    "                     タグは除く)で書きます。表ごとに \"== 2/5 ==\" の行から始まります。\n"
    "  --nu 文書...       Nu Html Checker(vnu.jar)で文書をHTML5としてチェックし、1件1行で\n"
    "                     書きます(\"velmarin-cli --nu --help\" で詳しく)。\n"
    "  --lang en          この実行だけHTML Tidyのメッセージを英語のままにします\n"
    "                     (ふだんは設定「Tidyのメッセージを日本語で表示する」に従います)。\n"
    "  --                 これより後はすべて文書です(\"-\"で始まる名前のファイル)。\n"
    "  -h, --help         この説明を表示します。\n"
    "\n"
    "終了コード: 0 すべての文書をチェックし、エラーがなかった\n"
    "              (リンクチェックではすべて200(OK)だった)、\n"
    "            1 エラーがあったか、チェックできない文書があった、\n"
    "            2 使い方の誤り(不明なオプション、文書の指定がないなど)。\n";

struct Options {
    QStringList arguments;  // the window's command line
    int browser = -1;       // --browser-url: the browser index to read
    QString folder;
    bool subdir = false;
    bool keep = false;
    bool english = false;  // --lang en: Tidy's report as Tidy wrote it
};

int usageError(const QString &text)
{
    if (!text.isEmpty()) printError(text);
    printError(QString::fromUtf8(kUsage));
    return 2;
}

// Parses the console program's own options; the rest is the command line.
// Returns the exit status for a usage error or help, else -1.
int parseOptions(const QStringList &arguments, Options *options)
{
    QStringList documents;  // after "--": documents whatever they begin with
    bool onlyDocuments = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (onlyDocuments) {
            documents << a;
        } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            printOut(QString::fromUtf8(kUsage));
            return 0;
        } else if (a == QLatin1String("--")) {
            onlyDocuments = true;
        } else if (a == QLatin1String("--folder")) {
            if (i + 1 >= arguments.size())
                return usageError(QStringLiteral("--folderにはフォルダを指定してください。"));
            options->folder = arguments.at(++i);
        } else if (a == QLatin1String("--browser-url")) {
            // The names map to the indexes of the window's capture actions.
            const QString name = arguments.value(++i);
            if (name == QLatin1String("chromium"))
                options->browser = 0;
            else if (name == QLatin1String("firefox"))
                options->browser = 1;
            else if (name == QLatin1String("opera"))
                options->browser = 2;
            else
                return usageError(QStringLiteral(
                    "--browser-urlにはchromium、opera、firefoxのどれかを指定してください。"));
        } else if (a == QLatin1String("--subdir")) {
            options->subdir = true;
        } else if (a == QLatin1String("--keep")) {
            options->keep = true;
        } else if (a == QLatin1String("--lang")) {
            // Japanese is the setting's business; only English can be asked for.
            if (arguments.value(++i) != QLatin1String("en"))
                return usageError(QStringLiteral("--langにはenを指定してください。"));
            options->english = true;
        } else if (a.startsWith(u'-') && !isCommandLineSwitch(a)) {
            return usageError(QStringLiteral("不明なオプションです: ") + a);
        } else {
            options->arguments << a;
        }
    }
    // The window's interpreter ignores names that begin with "-"; as full
    // paths they are checked.
    options->arguments << absoluteDocuments(documents, QDir::currentPath(), true);

    if (options->browser >= 0)
        return options->arguments.isEmpty() && options->folder.isEmpty() ? -1
                                                                         : usageError(QString());
    // Either a folder or documents (switches alone check nothing).
    bool anyDocument = false;
    for (const QString &a : options->arguments)
        anyDocument = anyDocument || !isCommandLineSwitch(a);
    const bool valid = options->folder.isEmpty() ? anyDocument : options->arguments.isEmpty();
    return valid ? -1 : usageError(QString());
}

bool hasErrorRow(const QVector<ReportRow> &rows)
{
    for (const ReportRow &row : rows)
        if (row.kind == ReportKind::Error) return true;
    return false;
}

void nameOutput(const QString &path, bool named)
{
    const QFileInfo output(path);
    if (named && output.exists() && output.size() > 0)
        printError(QStringLiteral("整理された文書: ") + output.absoluteFilePath());
}

// Prints result rows on standard output, one a line; a list that holds a
// message instead goes to standard error.
void printRows(const QStringList &rows, bool message)
{
    if (message) {
        for (const QString &row : rows)
            printError(oneLine(row).replace(QStringLiteral("\\r\\n"), QStringLiteral("\n")));
        return;
    }
    // One write for the whole list: a large page's report has hundreds of
    // thousands of rows.
    QString text;
    for (const QString &row : rows) {
        text += oneLine(row);
        text += u'\n';
    }
    printOut(text);
}

QStringList reportLines(const QVector<ReportRow> &rows)
{
    QStringList lines;
    for (const ReportRow &row : rows) lines << reportResultText({row}, QString());
    return lines;
}

// Prints the Tidy reports of the run; true when one of them has an error.
// The tidied pages are named only when the working folder is kept.
bool printTidyReports(MainActions &actions, bool nameOutputs)
{
    const int entries = actions.fileSelector().rowCount();
    if (entries == 0) {
        // One document: its report is the list, loaded from entry 0.
        const QVector<ReportRow> &rows = actions.tidyList().rows();
        const bool message = actions.tidyList().holdsMessage();
        printRows(reportLines(rows), message);
        if (!rows.isEmpty() && !message) nameOutput(TidyRun::numberedOutputPath(0), nameOutputs);
        return hasErrorRow(rows);
    }
    bool errors = false;
    for (int i = 0; i < entries; ++i) {
        bool exists = false;
        const QVector<ReportRow> rows = loadTidyReportFile(TidyRun::numberedReportPath(i), &exists);
        printRows(reportLines(rows), false);
        nameOutput(TidyRun::numberedOutputPath(i), nameOutputs);
        errors = errors || hasErrorRow(rows);
    }
    return errors;
}

// Prints every list of the run: the Tidy reports, the CSS list as it is
// saved, the link list as the target, a tab and the status. True when one
// of them fails the run: an error row, a link that is not "200(OK)".
bool printResults(MainActions &actions, bool nameOutputs)
{
    bool failed = printTidyReports(actions, nameOutputs);
    const QString css = actions.cssList().cssResultText();
    if (!css.isEmpty()) {
        QStringList rows = css.split(QStringLiteral("\r\n"));
        rows.removeLast();
        printRows(rows, actions.cssList().holdsMessage());
    }
    const bool linkMessage = actions.linkList().holdsMessage();
    for (const MessageListModel::Row &row : actions.linkList().rows()) {
        if (linkMessage) {
            printRows({row.second}, true);
            continue;
        }
        printOut(oneLine(row.first) + u'\t' + oneLine(row.second) + u'\n');
        if (row.second != QLatin1String("200(OK)")) failed = true;
    }
    return failed;
}

// The address the window's capture would read from the browser.
int printBrowserUrl(int browserIndex)
{
    ProcessRunner runner;
    DesktopBrowserBridge bridge(runner);
    const BrowserBridge::Page page = bridge.currentPage(browserIndex);
    if (page.status == BrowserBridge::Page::Status::Found) {
        printOut(page.url + u'\n');
        return 0;
    }
    printError(BrowserCapture::statusMessage(page.status));
    return 1;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velmarin"));
    installQtJapaneseTranslations(app);

    if (const int uploaded = runUploadCommand(app.arguments().mid(1)); uploaded >= 0)
        return uploaded;
    if (const std::optional<int> status = runAccessCommand(app.arguments().mid(1))) return *status;
    if (const int nu = runNuCommand(app.arguments().mid(1)); nu >= 0) return nu;
    const int tables = runTablesCommand(app.arguments().mid(1));
    if (tables >= 0) return tables;

    Options options;
    const int usage = parseOptions(app.arguments().mid(1), &options);
    if (usage >= 0) return usage;
    if (options.browser >= 0) return printBrowserUrl(options.browser);

    // Working files go to a folder of this run's own inside the program
    // folder, never to the current folder nor among the window's files.
    const QString problem = ProgramFolder::workDirProblem();
    if (!problem.isEmpty()) {
        printError(problem);
        return 1;
    }
    CliRunFolder::removeAbandoned(ProgramFolder::workDir());
    // From here on a signal is held until the run can answer it (below).
    TerminationSignals signals;
    QTemporaryDir runFolder(ProgramFolder::workDir() + QStringLiteral("cli-XXXXXX"));
    if (!runFolder.isValid() || !CliRunFolder::claim(runFolder.path())) {
        printError(
            QStringLiteral("作業フォルダ「%1」に書き込めません。").arg(ProgramFolder::workDir()));
        return 1;
    }
    runFolder.setAutoRemove(!options.keep);
    ProgramFolder::useWorkDir(runFolder.path());
    // Kept or removed, at the end and when the run is told to stop.
    const auto closeFolder = [&] {
        if (options.keep) {
            CliRunFolder::release(runFolder.path());
            printError(QStringLiteral("作業フォルダ: ") + runFolder.path());
        } else {
            runFolder.remove();
        }
    };
    const auto closeAtEnd = qScopeGuard(closeFolder);

    ConsoleView view;
    ProcessRunner runner;
    MainActions actions(view, runner);
    actions.tidyRun().setOpensOutput(false);
    actions.start();
    actions.setUnresolvedHandler([](const QString &text) { printError(text); });

    // Ctrl+C, kill or a closed terminal: the program waited for is ended,
    // what is finished is printed, and the folder goes, as at the end.
    QObject::connect(&signals, &TerminationSignals::terminationRequested, &signals,
                     [&](int signalNumber) {
                         ProcessRunner::killRunning();
                         printResults(actions, options.keep);
                         closeFolder();
                         std::fflush(nullptr);
                         ::_exit(TerminationSignals::exitStatus(signalNumber));
                     });

    bool failed = false;
    if (options.english) actions.settings().tidyJapanese = false;
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
    if (printResults(actions, options.keep)) failed = true;
    return failed ? 1 : 0;
}
