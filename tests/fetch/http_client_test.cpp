#include <gtest/gtest.h>

#include <QSslSocket>
#include <QTcpServer>
#include <QTimer>

#include "fetch/http_client.h"
#include "fetch/page_download.h"
#include "support/local_http_server.h"
#include "support/qt_print.h"

namespace {

using Behaviour = LocalHttpServer::Behaviour;

LocalHttpServer::Page page(int status, const QByteArray &body,
                           Behaviour behaviour = Behaviour::Normal)
{
    LocalHttpServer::Page p;
    p.status = status;
    p.body = body;
    p.behaviour = behaviour;
    return p;
}

TEST(HttpClientTest, AnswersOfTheServer)
{
    LocalHttpServer server;
    LocalHttpServer::Page moved = page(301, "moved");
    moved.location = "/elsewhere.html";
    LocalHttpServer::Page endless = page(200, {}, Behaviour::Endless);
    endless.hugeSize = 200LL * 1024 * 1024;
    server.setPage("/ok.html", page(200, "<p>a\r\nb"));
    server.setPage("/empty.html", page(200, ""));
    server.setPage("/nul.html", page(200, QByteArray("a\0b\nc", 5)));
    server.setPage("/gone.html", page(404, "gone"));
    server.setPage("/broken.html", page(500, "oops"));
    server.setPage("/moved.html", moved);
    server.setPage("/elsewhere.html", page(200, "followed"));
    server.setPage("/huge.html", endless);
    server.setPage("/half.html", page(200, QByteArray(1000, 'x'), Behaviour::CloseMidway));
    // A path with a space and Japanese characters arrives percent-encoded.
    server.setPage("/%E6%97%A5%E6%9C%AC%20page.html", page(200, "jp"));

    const struct {
        QString url;
        bool ok;
        int status;
        QByteArray body;
    } cases[] = {
        {server.url("/ok.html"), true, 200, "<p>a\r\nb"},
        {server.url("/empty.html"), true, 200, ""},
        {server.url("/nul.html"), true, 200, QByteArray("a\0b\nc", 5)},
        {server.url("/gone.html"), false, 404, "gone"},
        {server.url("/broken.html"), false, 500, "oops"},
        // A redirect is an answer of its own, not followed.
        {server.url("/moved.html"), true, 301, "moved"},
        {server.url("") + QStringLiteral("/日本 page.html"), true, 200, "jp"},
        {server.url("/ok.html").replace("http://", "HTTP://"), true, 200, "<p>a\r\nb"},
    };
    HttpClient client;
    for (const auto &c : cases) {
        const HttpClient::Response r = client.get(c.url);
        EXPECT_EQ(r.ok, c.ok) << c.url.toStdString();
        EXPECT_EQ(r.status, c.status) << c.url.toStdString();
        EXPECT_EQ(r.body, c.body) << c.url.toStdString();
    }

    // A body beyond the cap is cut off there and the request fails.
    HttpClient::Response huge = client.get(server.url("/huge.html"));
    EXPECT_FALSE(huge.ok);
    EXPECT_LE(huge.body.size(), HttpClient::kBodyCap);
    huge = {};
    // A connection closed before the announced length fails too.
    EXPECT_FALSE(client.get(server.url("/half.html")).ok);
}

TEST(HttpClientTest, FailuresEndTheWaitAndAreSignalled)
{
    LocalHttpServer server;
    server.setPage("/stall.html", page(200, "never", Behaviour::StallAfterHeaders));
    LocalHttpServer::Page slow = page(200, "late");
    slow.delayMs = 5000;
    server.setPage("/slow.html", slow);

    HttpClient client;
    QList<int> done;
    QObject::connect(&client, &HttpClient::requestDone, &client,
                     [&done](int error) { done << error; });

    // Nothing listens on a port that was just closed.
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closedPort = probe.serverPort();
    }
    EXPECT_FALSE(client.get(QStringLiteral("http://127.0.0.1:%1/x.html").arg(closedPort)).ok);
    EXPECT_FALSE(client.get(QStringLiteral("http://nonexistent.invalid/x.html")).ok);
    EXPECT_FALSE(client.get(QStringLiteral("ftp://127.0.0.1:1/x.html")).ok);
    EXPECT_FALSE(client.get(QStringLiteral("gopher://127.0.0.1:1/x")).ok);

    // A server that stops sending is given up after the transfer timeout.
    client.setTransferTimeout(300);
    const HttpClient::Response stalled = client.get(server.url("/stall.html"));
    EXPECT_FALSE(stalled.ok);

    // The abort button ends a request in progress.
    client.setTransferTimeout(HttpClient::kTransferTimeoutMs);
    QTimer::singleShot(100, &client, [&client] { client.abort(); });
    EXPECT_FALSE(client.get(server.url("/slow.html")).ok);

    ASSERT_EQ(done.size(), 6);
    EXPECT_FALSE(done.contains(0));
    client.get(server.url("/missing.html"));
    EXPECT_EQ(done.last(), 404);
}

TEST(HttpClientTest, HttpsIsAvailable)
{
    EXPECT_TRUE(QSslSocket::supportsSsl()) << QSslSocket::availableBackends().join(u',').toStdString();
}

TEST(PageDownloadTest, BodiesBecomeCrLfLines)
{
    const struct {
        QByteArray body;
        QByteArray saved;
    } cases[] = {
        {"a\r\nb\nc", "a\r\nb\r\nc\r\n"},
        {"a\r\n", "a\r\n"},
        {"a\n\rb", "a\r\n\r\nb\r\n"},
        {"a\rb", "a\r\nb\r\n"},
        {"", ""},
        {"\n\n", "\r\n\r\n"},
        // A NUL byte ends its line's text; the next line is kept.
        {QByteArray("ab\0cd\nef", 8), "ab\r\nef\r\n"},
        // Bytes are not converted.
        {"\x93\xfa\x96\x7b", "\x93\xfa\x96\x7b\r\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(bodyAsLines(c.body), c.saved) << c.body.toHex().constData();

    std::atomic<bool> stop{true};
    EXPECT_EQ(bodyAsLines("a\nb", &stop), QByteArray());
}

}  // namespace
