// The HTML5 check of a folder of real pages (those under /usr/share/doc,
// copied) next to `java -jar vnu.jar --format json` alone on the same files.
// The ratio is what the check adds: finding the parts, one process, reading
// the answer into rows, the selector.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringListModel>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "checks/nu_check.h"
#include "checks/nu_location.h"
#include "core/app_settings.h"
#include "core/folder_memory.h"
#include "fetch/http_client.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "quiet_view.h"
#include "tidy/folder_search.h"
#include "tidy/report_list_model.h"

namespace {

constexpr int kPages = 60;
constexpr int kRounds = 3;

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString jar = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VELMARIN_VNU_JAR);
    const QString java = QStandardPaths::findExecutable(QStringLiteral("java"));
    if (!QFileInfo(jar).isFile() || java.isEmpty()) {
        std::fprintf(stderr, "usage: nu_folder_bench [vnu.jar]; needs java on PATH and vnu.jar\n");
        return 1;
    }
    QTemporaryDir home;
    qputenv("VELMARIN_HOME", QFile::encodeName(home.path()));
    IniFile(ProgramFolder::iniPath()).writeString(QStringLiteral("Nu"), QStringLiteral("Path"), jar);

    // Every n-th real page (not the compressed ones), copied under plain names.
    QStringList installed;
    QDirIterator it(QStringLiteral("/usr/share/doc"), {QStringLiteral("*.html"), QStringLiteral("*.htm")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString page = it.next();
        if (!QFileInfo(page).isSymLink())
            installed << page;
    }
    installed.sort();
    const QString site = home.filePath(QStringLiteral("site"));
    QDir().mkpath(site);
    const qsizetype step = std::max<qsizetype>(1, installed.size() / kPages);
    qint64 bytes = 0;
    for (qsizetype i = 0; i < installed.size(); i += step) {
        const QString copy = site + QStringLiteral("/page%1.html").arg(i, 4, 10, QLatin1Char('0'));
        QFile::copy(installed.at(i), copy);
        bytes += QFileInfo(copy).size();
    }
    const QStringList files = collectFiles(site, false).files;

    AppSettings settings;
    QuietView view;
    HttpClient http;
    FolderMemory folders;
    ReportListModel list;
    QStringListModel selector;
    NuCheck nu(settings, view, http, folders, list, selector);

    double checkBest = 1e300, aloneBest = 1e300;
    qsizetype rows = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        QEventLoop loop;
        QObject::connect(&nu, &NuCheck::finished, &loop, &QEventLoop::quit);
        if (nu.checkDocuments({site}) && nu.isRunning())
            loop.exec();
        checkBest = std::min(checkBest, timer.nsecsElapsed() / 1e6);
        if (nu.documents().size() != files.size() || !nu.problems().isEmpty()) {
            std::fprintf(stderr, "the check took %lld of %lld files: %s\n",
                         static_cast<long long>(nu.documents().size()),
                         static_cast<long long>(files.size()),
                         qPrintable(nu.problems().join(u'\n')));
            return 1;
        }
        rows = 0;
        for (const NuCheck::Document &document : nu.documents())
            rows += document.rows.size();

        timer.restart();
        QProcess alone;
        alone.setStandardOutputFile(QProcess::nullDevice());
        alone.setStandardErrorFile(home.filePath(QStringLiteral("alone.json")));
        alone.start(java, QStringList{QStringLiteral("-jar"), jar, QStringLiteral("--format"),
                                      QStringLiteral("json")} + files);
        alone.waitForFinished(-1);
        aloneBest = std::min(aloneBest, timer.nsecsElapsed() / 1e6);
    }

    std::printf("%lld real pages, %lld bytes, %lld rows, best of %d rounds\n",
                static_cast<long long>(files.size()), static_cast<long long>(bytes),
                static_cast<long long>(rows), kRounds);
    std::printf("HTML5 check of the folder  %9.1f ms\n", checkBest);
    std::printf("java -jar vnu.jar alone    %9.1f ms\n", aloneBest);
    std::printf("ratio check/alone          %9.3f\n", checkBest / aloneBest);
    return 0;
}
