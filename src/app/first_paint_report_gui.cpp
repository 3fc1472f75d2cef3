#include "app/first_paint_report_gui.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

long long residentKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

class FirstPaintReporter : public QObject {
public:
    explicit FirstPaintReporter(QWidget *window) : QObject(window), m_window(window) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == m_window) {
            m_seen = true;
            // The rest of the frame is painted and flushed before the timer runs.
            QTimer::singleShot(0, this, &FirstPaintReporter::report);
        }
        return false;
    }

private:
    void report()
    {
        qApp->removeEventFilter(this);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("first-paint-ns=%lld rss-kib=%lld\n",
                    static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, residentKib());
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    QWidget *m_window;
    bool m_seen = false;
};

}  // namespace

void reportFirstPaintIfAsked(QWidget *window)
{
    if (!qEnvironmentVariableIsSet("VELMARIN_REPORT_FIRST_PAINT"))
        return;
    qApp->installEventFilter(new FirstPaintReporter(window));
}
