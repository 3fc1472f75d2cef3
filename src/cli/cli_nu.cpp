#include "cli/cli_nu.h"

#include <QEventLoop>
#include <QTemporaryDir>

#include "app/main_actions.h"
#include "cli/console_view.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"
#include "tidy/report_list_model.h"

namespace {

const char kNuUsage[] =
    "使い方: velmarin-cli --nu [--subdir] [--] ファイル|フォルダ|URL...\n"
    "Nu Html Checker(vnu.jar)で文書をHTML5としてチェックし、1件1行(\"行 12 位置5 - エラー: …\")で\n"
    "書きます。フォルダはその中の *.htm* のファイル(--subdir か設定でサブフォルダも)、URLは\n"
    "取得してからチェックします。すべての文書を1つのJavaでチェックします。\n"
    "終了コード: 0 エラーなし、1 エラーがあったかチェックできない文書があった、2 使い方の誤り\n";

}  // namespace

int runNuCommand(const QStringList &arguments)
{
    if (arguments.value(0) != QLatin1String("--nu"))
        return -1;
    QStringList documents;
    bool subdir = false;
    bool onlyDocuments = false;
    for (const QString &a : arguments.mid(1)) {
        if (onlyDocuments || !a.startsWith(u'-') || a == QLatin1String("-")) {
            documents << a;
        } else if (a == QLatin1String("--")) {
            onlyDocuments = true;
        } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            printOut(QString::fromUtf8(kNuUsage));
            return 0;
        } else if (a == QLatin1String("--subdir")) {
            subdir = true;
        } else {
            printError(QStringLiteral("不明なオプションです: ") + a);
            printError(QString::fromUtf8(kNuUsage));
            return 2;
        }
    }
    if (documents.isEmpty()) {
        printError(QString::fromUtf8(kNuUsage));
        return 2;
    }

    // Downloads go to a working folder of this run's own.
    const QString problem = ProgramFolder::workDirProblem();
    if (!problem.isEmpty()) {
        printError(problem);
        return 1;
    }
    QTemporaryDir runFolder(ProgramFolder::workDir() + QStringLiteral("cli-XXXXXX"));
    if (!runFolder.isValid()) {
        printError(QStringLiteral("作業フォルダ「%1」に書き込めません。").arg(ProgramFolder::workDir()));
        return 1;
    }
    ProgramFolder::useWorkDir(runFolder.path());

    ConsoleView view;
    ProcessRunner runner;
    MainActions actions(view, runner);
    actions.start();
    if (subdir)
        actions.settings().includeSubfolders = true;
    NuCheck &nu = actions.nuCheck();
    QEventLoop loop;
    QObject::connect(&nu, &NuCheck::finished, &loop, &QEventLoop::quit);
    if (nu.checkDocuments(documents) && nu.isRunning())
        loop.exec();

    bool errors = false;
    for (const NuCheck::Document &document : nu.documents()) {
        printOut(reportResultText(document.rows, QStringLiteral("\n")));
        for (const ReportRow &row : document.rows)
            errors = errors || row.kind == ReportKind::Error;
    }
    return errors || !nu.problems().isEmpty() ? 1 : 0;
}
