// Start-up of the window program next to an empty Qt main window: the time
// from starting the process to the first paint of its window (offscreen) and
// the resident memory right after it. Both programs run as child processes,
// alternately, several times; each reports its own first paint (see
// app/first_paint_report_gui.h). A third row, the empty window with one
// Japanese label, shows what any window with Japanese text pays for the font
// system before velmarin adds anything. The ratios are against the empty window.
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kRounds = 11;

struct Sample {
    double ms = 0;
    double mib = 0;
};

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

bool runOnce(const QString &program, const QProcessEnvironment &env, Sample *sample,
             const QStringList &arguments = {})
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    const long long started = monotonicNs();
    child.start(program, arguments);
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        return false;
    }
    long long paintNs = 0;
    long long rssKib = 0;
    for (const QByteArray &field : child.readAllStandardOutput().simplified().split(' ')) {
        if (field.startsWith("first-paint-ns="))
            paintNs = field.mid(15).toLongLong();
        else if (field.startsWith("rss-kib="))
            rssKib = field.mid(8).toLongLong();
    }
    if (paintNs <= 0 || rssKib <= 0) {
        std::fprintf(stderr, "%s reported no first paint:\n%s\n", qPrintable(program),
                     child.readAllStandardError().constData());
        return false;
    }
    sample->ms = (paintNs - started) / 1e6;
    sample->mib = rssKib / 1024.0;
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Another build of the window program may be given to compare with.
    const QString velmarin =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(VELMARIN_GUI_PATH);
    const QString bare = QStringLiteral(BARE_WINDOW_PATH);

    QTemporaryDir home;
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    env.insert(QStringLiteral("VELMARIN_HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("VELMARIN_REPORT_FIRST_PAINT"), QStringLiteral("1"));

    // The first start writes the settings files; the rounds measure the
    // usual start, with the files there and the libraries in the page cache.
    Sample warm;
    if (!runOnce(velmarin, env, &warm) || !runOnce(bare, env, &warm))
        return 1;

    std::vector<double> bareMs, bareMib, labelMs, labelMib, ownMs, ownMib;
    for (int round = 0; round < kRounds; ++round) {
        Sample b, l, v;
        if (!runOnce(bare, env, &b) || !runOnce(bare, env, &l, {QStringLiteral("--label")}) ||
            !runOnce(velmarin, env, &v))
            return 1;
        bareMs.push_back(b.ms);
        bareMib.push_back(b.mib);
        labelMs.push_back(l.ms);
        labelMib.push_back(l.mib);
        ownMs.push_back(v.ms);
        ownMib.push_back(v.mib);
    }

    const double bt = median(bareMs), bm = median(bareMib);
    const double lt = median(labelMs), lm = median(labelMib);
    const double vt = median(ownMs), vm = median(ownMib);
    std::printf("start to first paint, offscreen, median of %d runs each\n", kRounds);
    std::printf("%-30s %10s %10s\n", "", "time ms", "RSS MiB");
    std::printf("%-30s %10.1f %10.1f\n", "bare QMainWindow", bt, bm);
    std::printf("%-30s %10.1f %10.1f\n", "same with one Japanese label", lt, lm);
    std::printf("%-30s %10.1f %10.1f\n", "velmarin", vt, vm);
    std::printf("%-30s %10.2f %10.2f\n", "ratio labelled/bare", lt / bt, lm / bm);
    std::printf("%-30s %10.2f %10.2f\n", "ratio velmarin/bare", vt / bt, vm / bm);
    return 0;
}
