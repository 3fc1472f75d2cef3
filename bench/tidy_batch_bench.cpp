// The folder batch on 300 copies of a page, next to a plain shell loop that
// runs tidy with the same configuration file on the same files. The ratio
// is what the batch adds: numbering, report headers, the selector, events.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "app/main_actions.h"
#include "quiet_view.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"

namespace {

constexpr int kCopies = 300;
constexpr int kRounds = 2;

// A page of the kind authors check: a news list with a table, a form and
// the usual slips (an unclosed element, a missing alt, a stray end tag).
QByteArray realisticPage()
{
    QByteArray page =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
        "<html lang=\"ja\">\n<head>\n<meta http-equiv=\"Content-Type\" "
        "content=\"text/html; charset=UTF-8\">\n<title>市民講座のお知らせ</title>\n"
        "<link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n"
        "<div id=\"header\"><img src=\"logo.png\"><h1>市民講座のお知らせ</h1></div>\n"
        "<ul id=\"menu\"><li><a href=\"index.html\">ホーム</a><li><a href=\"news.html\">"
        "お知らせ</a><li><a href=\"access.html\">アクセス</a></ul>\n";
    for (int i = 0; i < 20; ++i) {
        page += "<h2>第" + QByteArray::number(i + 1) + "回 講座</h2>\n"
                "<p>日時: 12月" + QByteArray::number(i % 28 + 1) +
                "日 <b>午後2時から</b></p>\n"
                "<table border=1><tr><td>会場<td>市民会館 第" + QByteArray::number(i % 5 + 1) +
                "会議室</tr><tr><td>定員<td>30名</tr></table>\n"
                "<p>申し込みは<a href=\"form.html#c" + QByteArray::number(i) +
                "\">こちら</a>から。</p>\n";
    }
    page += "<p>最後に<b>注意</p><p>問い合わせは事務局へ。</font></p>\n";
    page += "<form action=\"send.cgi\"><input type=text name=q><input type=submit></form>\n"
            "<address>市民講座事務局</address>\n</body>\n</html>\n";
    return page;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
    if (tidy.isEmpty()) {
        std::fprintf(stderr, "tidy is not installed\n");
        return 1;
    }
    QTemporaryDir home;
    qputenv("VELMARIN_HOME", QFile::encodeName(home.path()));
    const QString site = home.filePath(QStringLiteral("site"));
    QDir().mkpath(site);
    const QByteArray page = realisticPage();
    for (int i = 0; i < kCopies; ++i) {
        QFile f(site + QStringLiteral("/page%1.html").arg(i, 3, 10, QLatin1Char('0')));
        f.open(QIODevice::WriteOnly);
        f.write(page);
    }

    QuietView view;
    ProcessRunner runner;
    MainActions actions(view, runner);
    actions.tidyRun().setOpensOutput(false);
    actions.start();
    actions.settings().tidyPath = tidy;
    actions.settingsStore().save();

    const QString config = ProgramFolder::tidyConfigPath();
    const QString script =
        QStringLiteral("for f in \"$1\"/*.html; do \"$2\" -q -config \"$3\" \"$f\" >\"$4/out.txt\" "
                       "2>\"$4/err.txt\"; done");

    double batchBest = 1e300, loopBest = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        actions.checkFolder(site);
        batchBest = std::min(batchBest, timer.nsecsElapsed() / 1e6);
        if (actions.fileSelector().rowCount() != kCopies) {
            std::fprintf(stderr, "the batch checked %d of %d files\n",
                         actions.fileSelector().rowCount(), kCopies);
            return 1;
        }

        timer.restart();
        QProcess loop;
        loop.start(QStringLiteral("sh"), {QStringLiteral("-c"), script, QStringLiteral("sh"), site,
                                          tidy, config, home.path()});
        loop.waitForFinished(-1);
        loopBest = std::min(loopBest, timer.nsecsElapsed() / 1e6);
    }

    std::printf("%d copies of a %lld-byte page, best of %d rounds\n", kCopies,
                static_cast<long long>(page.size()), kRounds);
    std::printf("folder batch      %9.1f ms\n", batchBest);
    std::printf("shell loop (tidy) %9.1f ms\n", loopBest);
    std::printf("ratio batch/loop  %9.3f\n", batchBest / loopBest);
    return 0;
}
