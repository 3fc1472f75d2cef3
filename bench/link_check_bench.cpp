// How close the two link-check workers come to their floor, and whether a
// very long link list keeps memory flat.
//
// A local server answers each request after a fixed delay, so two workers
// verifying 200 links can at best take 200 x delay / 2. The second run
// checks 20 000 links (no delay) and reports the peak resident memory before
// and after.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "core/folder_memory.h"
#include "core/message_list_model.h"
#include "quiet_view.h"
#include "thread_server.h"
#include "checks/link_check.h"
#include "fetch/http_client.h"

namespace {

constexpr int kLinks = 200;
constexpr int kDelayMs = 20;
constexpr int kManyLinks = 20000;

// Answers every request with an empty 200 after `delayMs`.
std::function<void(QTcpSocket *)> delayedAnswer(int delayMs)
{
    return [delayMs](QTcpSocket *socket) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [delayMs, socket] {
            QByteArray request = socket->property("r").toByteArray() + socket->readAll();
            socket->setProperty("r", request);
            if (!request.contains("\r\n\r\n") || socket->property("done").toBool()) return;
            socket->setProperty("done", true);
            QTimer::singleShot(delayMs, socket, [socket] {
                socket->write(
                    "HTTP/1.0 200 OK\r\nContent-Length: 0\r\n"
                    "Connection: close\r\n\r\n");
                socket->disconnectFromHost();
            });
        });
    };
}

QString writePage(const QTemporaryDir &dir, const QString &name, const ThreadServer &server,
                  int links)
{
    QByteArray body = "<html><body>\n";
    for (int i = 0; i < links; ++i) body += "<a href=\"" + server.url(QStringLiteral("/p%1").arg(i)).toUtf8() + "\">link</a>\n";
    body += "</body></html>\n";
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly)) file.write(body);
    return file.fileName();
}

// Milliseconds from the start of the check to its end; the rows that read
// "200(OK)" go to *ok.
double runCheck(LinkCheck &check, const MessageListModel &list, const QString &page, int *ok)
{
    QElapsedTimer timer;
    timer.start();
    QEventLoop loop;
    QObject::connect(&check, &LinkCheck::finished, &loop, &QEventLoop::quit);
    check.checkLinksTarget(page);
    if (check.isRunning()) loop.exec();
    const double ms = timer.nsecsElapsed() / 1e6;
    *ok = 0;
    for (const MessageListModel::Row &row : list.rows())
        *ok += row.second == QStringLiteral("200(OK)");
    return ms;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("VELMARIN_HOME", dir.path().toUtf8());

    QuietView view;
    MessageListModel list(QStringLiteral("リンク先"), QStringLiteral("状態"));
    HttpClient http;
    FolderMemory folders;
    LinkCheck check(view, list, http, folders);

    int ok = 0;
    {
        ThreadServer server(delayedAnswer(kDelayMs));
        const QString page = writePage(dir, QStringLiteral("two_hundred.html"), server, kLinks);
        const double ms = runCheck(check, list, page, &ok);
        const double floor = kLinks * kDelayMs / 2.0;
        std::printf("%d links, each answered after %d ms (%d read 200(OK))\n", kLinks, kDelayMs,
                    ok);
        std::printf("%-32s %10.1f ms\n", "link check", ms);
        std::printf("%-32s %10.1f ms\n", "two-worker floor", floor);
        std::printf("%-32s %10.2f x\n", "ratio", ms / floor);
    }
    {
        ThreadServer server(delayedAnswer(0));
        const QString page = writePage(dir, QStringLiteral("many.html"), server, kManyLinks);
        const long before = peakRssKiB();
        const double ms = runCheck(check, list, page, &ok);
        const long after = peakRssKiB();
        std::printf("%d links without delay (%d read 200(OK)) in %.0f ms\n", kManyLinks, ok, ms);
        std::printf("%-32s %10ld KiB\n", "peak RSS before", before);
        std::printf("%-32s %10ld KiB\n", "peak RSS after", after);
        std::printf("%-32s %10.2f x\n", "ratio", before > 0 ? double(after) / before : 0.0);
    }
    return 0;
}
