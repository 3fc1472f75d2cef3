// How much of loading a Tidy report goes into parsing and filling the list,
// compared with merely reading the file's lines.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <functional>
#include <limits>

#include "platform/text_codec.h"
#include "tidy/report_list_model.h"
#include "tidy/report_parser.h"

namespace {

constexpr int kLines = 100000;
constexpr int kRepetitions = 7;

// A report as Tidy writes it for a large page: mostly located warnings and
// errors in English and Japanese, an accessibility section, a summary.
QString makeReport() {
    const QString located[] = {
        QStringLiteral("Warning: <img> lacks \"alt\" attribute"),
        QStringLiteral("Error: <foo> is not recognized!"),
        QStringLiteral("Info: value for attribute \"src\" missing quote marks"),
        QStringLiteral("警告: <font> は HTML5 で削除された要素です"),
        QStringLiteral("エラー: <blink> は認識されない要素です"),
        QStringLiteral("Warning: discarding unexpected </div>"),
    };
    QString text;
    QTextStream out(&text);
    out << QStringLiteral("情報: チェックしたHTML: /home/user/サイト/index.html\r\n");
    const int accessFrom = kLines * 3 / 4;
    for (int i = 1; i < kLines - 3; ++i) {
        if (i == accessFrom) {
            out << "\r\nAccessibility Checks:\r\n\r\n";
            continue;
        }
        out << "line " << (i / 3 + 1) << " column " << (i % 80 + 1) << " - ";
        if (i > accessFrom)
            out << "Access: [1.1.1.1]: <img> missing 'alt' text.";
        else
            out << located[i % 6];
        out << "\r\n";
    }
    out << "Info: Document content looks like HTML5\r\n"
        << "Tidy found 50000 warnings and 25000 errors!\r\n";
    return text;
}

double bestMilliseconds(const std::function<qsizetype()> &run, qsizetype *result) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < kRepetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        *result = run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tidy_err.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        file.write(TextCodec::encodeLegacy(makeReport()));
    }

    qsizetype lines = 0;
    const double readOnly = bestMilliseconds(
        [&] {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) return qsizetype(0);
            return TextCodec::splitLines(TextCodec::decode(file.readAll())).size();
        },
        &lines);

    qsizetype rows = 0;
    ReportListModel model;
    const double parseAndFill = bestMilliseconds(
        [&] {
            bool exists = false;
            model.setRows(loadTidyReportFile(path, &exists));
            return qsizetype(model.rowCount());
        },
        &rows);

    std::printf("report of %lld lines (%lld rows), best of %d\n", static_cast<long long>(lines),
                static_cast<long long>(rows), kRepetitions);
    std::printf("%-28s %10.2f ms\n", "read + decode + split", readOnly);
    std::printf("%-28s %10.2f ms\n", "load report + fill list", parseAndFill);
    std::printf("%-28s %10.2f x\n", "ratio", parseAndFill / readOnly);
    return 0;
}
