// Tidy runs next to tidy alone, side by side in one run:
// - the folder batch on a copy of the real pages under /usr/share/doc, next
//   to a plain sequential shell loop running tidy with the same
//   configuration file on the same files (its report to standard error, and
//   once more to a file with -f), and the Japanese report next to --lang en;
// - one 30 MB page with a large report checked as a single document, next
//   to `tidy -f report -o out page`.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "app/main_actions.h"
#include "platform/ini_file.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"
#include "quiet_view.h"

namespace {

constexpr int kRounds = 2;
constexpr qint64 kPageCap = 512 * 1024;  // a folder of pages, not of manuals
constexpr qint64 kLargePage = 30 * 1024 * 1024;

// Every page under /usr/share/doc up to the cap, copied flat in name order.
qint64 copyRealPages(const QString &site, int *count)
{
    QStringList pages;
    QDirIterator it(QStringLiteral("/usr/share/doc"),
                    {QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).size() <= kPageCap) pages << path;
    }
    pages.sort();
    qint64 bytes = 0;
    for (int i = 0; i < pages.size(); ++i) {
        const QString to = site + QStringLiteral("/%1_%2.html")
                                      .arg(i, 3, 10, QLatin1Char('0'))
                                      .arg(QFileInfo(pages[i]).completeBaseName());
        QFile::copy(pages[i], to);
        bytes += QFileInfo(to).size();
    }
    *count = int(pages.size());
    return bytes;
}

// One 30 MB page of the kind authors check: a long list of courses, each
// with a heading, a table, a link, an image and a stray ampersand, so Tidy
// reports a warning about every 90 bytes, as it does on large generated pages.
void writeLargePage(const QString &path)
{
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
        "<html lang=\"ja\">\n<head>\n<meta http-equiv=\"Content-Type\" "
        "content=\"text/html; charset=UTF-8\">\n<title>講座一覧</title>\n</head>\n<body>\n");
    for (int i = 0; out.size() < kLargePage - 200; ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        out.write(
            "<h2>第" + n + "回 講座</h2>\n<p>日時: 12月" + QByteArray::number(i % 28 + 1) +
            "日 <b>午後2時から</b></p>\n<table border=\"1\"><tr><td>会場<td>市民会館 第" +
            QByteArray::number(i % 5 + 1) +
            "会議室</tr><tr><td>定員<td>30名</tr></table>\n<p>申し込みは<a href=\"form.html#c" + n +
            "\">こちら</a>から。Q&A<img src=\"x.png\"></p>\n");
    }
    out.write("</body>\n</html>\n");
}

// The machine's load, printed with the figures: the ratios are measured side
// by side, but a batch gains from the second core only when it is free.
QByteArray loadAverage()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    load.open(QIODevice::ReadOnly);
    return load.readAll().split(' ').mid(0, 3).join(' ');
}

double bestOf(int rounds, const std::function<void()> &run)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void shell(const QString &script, const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("sh"),
                  QStringList{QStringLiteral("-c"), script, QStringLiteral("sh")} + arguments);
    process.waitForFinished(-1);
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
    int pages = 0;
    const qint64 bytes = copyRealPages(site, &pages);
    if (pages == 0) {
        std::fprintf(stderr, "no pages under /usr/share/doc\n");
        return 1;
    }
    const QString large = home.filePath(QStringLiteral("large/page.html"));
    QDir().mkpath(QFileInfo(large).path());
    writeLargePage(large);

    QuietView view;
    ProcessRunner runner;
    MainActions actions(view, runner);
    actions.tidyRun().setOpensOutput(false);
    actions.start();
    actions.settings().tidyPath = tidy;
    actions.settingsStore().save();
    const QString config = ProgramFolder::tidyConfigPath();

    const QByteArray loadBefore = loadAverage();
    bool complete = true;
    auto batch = [&](bool japanese) {
        actions.settings().tidyJapanese = japanese;
        actions.checkFolder(site);
        complete = complete && actions.fileSelector().rowCount() == pages;
    };
    const QString loop = QStringLiteral(
        "for f in \"$1\"/*.html; do \"$2\" -q -config \"$3\" \"$f\" >\"$4/out.txt\" "
        "2>\"$4/err.txt\"; done");
    const QString loopF = QStringLiteral(
        "for f in \"$1\"/*.html; do \"$2\" -q -f \"$4/err.txt\" -config \"$3\" \"$f\" "
        ">\"$4/out.txt\"; done");
    const QStringList loopArgs{site, tidy, config, home.path()};

    // "--large" measures the large page alone.
    const bool largeOnly = app.arguments().contains(QStringLiteral("--large"));
    const int batchRounds = largeOnly ? 0 : kRounds;
    const double loopMs = bestOf(batchRounds, [&] { shell(loop, loopArgs); });
    const double loopFMs = bestOf(batchRounds, [&] { shell(loopF, loopArgs); });
    const double batchMs = bestOf(batchRounds, [&] { batch(true); });
    const double englishMs = bestOf(batchRounds, [&] { batch(false); });
    if (!largeOnly && !complete) {
        std::fprintf(stderr, "the batch checked %d of %d pages\n",
                     actions.fileSelector().rowCount(), pages);
        return 1;
    }

    actions.settings().tidyJapanese = true;
    const double largeMs = bestOf(kRounds, [&] { actions.checkDocument(large); });
    const QString report = home.filePath(QStringLiteral("large/report.txt"));
    const QString out = home.filePath(QStringLiteral("large/out.txt"));
    const double tidyMs = bestOf(kRounds, [&] {
        shell(QStringLiteral("\"$1\" -q -config \"$2\" -f \"$3\" -o \"$4\" \"$5\""),
              {tidy, config, report, out, large});
    });
    actions.settings().tidyJapanese = false;
    const double largeEnglishMs = bestOf(kRounds, [&] { actions.checkDocument(large); });

    std::printf("load average %s before, %s after\n", loadBefore.constData(),
                loadAverage().constData());
    std::printf(
        "%d pages from /usr/share/doc, %lld bytes; %d Tidy runs at once (%d cores); best of %d\n",
        pages, static_cast<long long>(bytes), actions.batch().jobCount(),
        QThread::idealThreadCount(), kRounds);
    if (!largeOnly) {
        std::printf("shell loop, report to stderr   %9.1f ms\n", loopMs);
        std::printf("shell loop, report with -f     %9.1f ms\n", loopFMs);
        std::printf("folder batch (Japanese)        %9.1f ms\n", batchMs);
        std::printf("folder batch (--lang en)       %9.1f ms\n", englishMs);
        std::printf("ratio batch/loop               %9.3f\n", batchMs / loopMs);
        std::printf("ratio batch/loop with -f       %9.3f\n", batchMs / loopFMs);
        std::printf("ratio Japanese/English         %9.3f\n", batchMs / englishMs);
    }
    std::printf("one %lld-byte page (%lld-byte report)\n",
                static_cast<long long>(QFileInfo(large).size()),
                static_cast<long long>(QFileInfo(report).size()));
    std::printf("tidy -f report -o out page     %9.1f ms\n", tidyMs);
    std::printf("Tidy run (Japanese)            %9.1f ms\n", largeMs);
    std::printf("Tidy run (--lang en)           %9.1f ms\n", largeEnglishMs);
    std::printf("ratio run/tidy                 %9.3f\n", largeMs / tidyMs);
    std::printf("ratio run/tidy (--lang en)     %9.3f\n", largeEnglishMs / tidyMs);
    return 0;
}
