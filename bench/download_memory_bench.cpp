// What a hostile page costs in memory: a server streams 200 MB of one
// endless line, the download stops at its 64 MiB cap. The peak resident
// memory of the process is printed before and after the download; the body
// has to pass through the working file, not through memory.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "fetch/http_client.h"
#include "fetch/page_download.h"
#include "thread_server.h"

namespace {

constexpr qint64 kBodySize = 200LL * 1000 * 1000;

// Answers every request with a 200 whose body is kBodySize bytes of "a",
// fed as the socket drains.
void serveEndlessBody(QTcpSocket *socket)
{
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
        if (socket->property("done").toBool()) return;
        socket->setProperty("done", true);
        socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                      QByteArray::number(kBodySize) + "\r\nConnection: close\r\n\r\n");
        auto sent = std::make_shared<qint64>(0);
        const QByteArray slice(1 << 20, 'a');
        auto feed = [socket, sent, slice] {
            while (*sent < kBodySize && socket->bytesToWrite() < 4 * slice.size()) {
                const qint64 n = qMin<qint64>(slice.size(), kBodySize - *sent);
                socket->write(slice.constData(), n);
                *sent += n;
            }
            if (*sent >= kBodySize) socket->disconnectFromHost();
        };
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, feed);
        feed();
    });
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ThreadServer server(serveEndlessBody);
    HttpClient http;

    const long before = peakRssKiB();
    QElapsedTimer timer;
    timer.start();
    const bool ok = downloadAsLines(http, server.url(QStringLiteral("/huge.html")), dir.filePath(QStringLiteral("get.html")));
    const double ms = timer.nsecsElapsed() / 1e6;
    const long after = peakRssKiB();

    std::printf("%lld bytes offered, download %s (cap %lld bytes) in %.0f ms\n",
                static_cast<long long>(kBodySize), ok ? "succeeded" : "failed",
                static_cast<long long>(HttpClient::kBodyCap), ms);
    std::printf("%-32s %10ld KiB\n", "peak RSS before download", before);
    std::printf("%-32s %10ld KiB\n", "peak RSS after download", after);
    std::printf("%-32s %10.2f x\n", "ratio", before > 0 ? double(after) / before : 0.0);
    return 0;
}
