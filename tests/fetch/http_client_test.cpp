#include "fetch/http_client.h"

#include <sys/resource.h>

#include "fetch/page_download.h"
#include "support/process_run.h"
#include "support/test.h"

namespace {

using Behaviour = LocalHttpServer::Behaviour;
using Page = LocalHttpServer::Page;

Page redirect(int status, const QByteArray &location)
{
    Page page("moved", status);
    page.location = location;
    return page;
}

// A body of 1000 bytes sent in a way that fails, or `size` bytes of "a".
Page odd(Behaviour behaviour, qint64 size = 0)
{
    return {QByteArray(1000, 'x'), 200, behaviour, size};
}

class HttpClientTest : public ::testing::Test {
protected:
    HttpClientTest()
    {
        server.setPage("/ok.html", "<p>a\r\nb");
        server.setPage("/gone.html", "gone", 404);
        server.setPage("/moved.html", redirect(301, "/ok.html"));
        server.setPage("/loop.html", redirect(302, "/loop.html"));
        server.setPage("/huge.html", odd(Behaviour::Endless, 4LL * 1024 * 1024));
        server.setPage("/half.html", odd(Behaviour::CloseMidway));
    }

    // A GET whose body is gathered in memory, for a look at it.
    HttpClient::Response fetch(const QString &url, QByteArray *body = nullptr)
    {
        QByteArray gathered;
        const HttpClient::Response r = client.get(url, [&](const char *data, qsizetype size) {
            gathered.append(data, size);
            return true;
        });
        if (body) *body = gathered;
        return r;
    }

    LocalHttpServer server;
    HttpClient client;
};

TEST_F(HttpClientTest, AnswersOfTheServer)
{
    server.setPage("/nul.html", QByteArray("a\0b\nc", 5));
    // A path with a space and Japanese characters arrives percent-encoded.
    server.setPage("/%E6%97%A5%E6%9C%AC%20page.html", "jp");
    const struct {
        QString url;
        bool ok;
        int status;
        QByteArray body;
    } cases[] = {
        {server.url("/ok.html"), true, 200, "<p>a\r\nb"},
        {server.url("/nul.html"), true, 200, QByteArray("a\0b\nc", 5)},
        // The body of an error answer is of no use.
        {server.url("/gone.html"), false, 404, ""},
        {server.origin() + QStringLiteral("/日本 page.html"), true, 200, "jp"},
        {server.url("/ok.html").replace("http://", "HTTP://"), true, 200, "<p>a\r\nb"},
    };
    for (const auto &c : cases) {
        QByteArray body;
        const HttpClient::Response r = fetch(c.url, &body);
        EXPECT_EQ(r.ok, c.ok) << c.url.toStdString();
        EXPECT_EQ(r.status, c.status) << c.url.toStdString();
        EXPECT_EQ(body, c.body) << c.url.toStdString();
    }

    // A body beyond the cap (small for the test) is cut off there and the
    // request fails.
    const qint64 cap = 1024 * 1024;
    client.setBodyCap(cap);
    qint64 received = 0;
    const HttpClient::Response huge =
        client.get(server.url("/huge.html"), [&](const char *, qsizetype size) {
            received += size;
            return true;
        });
    EXPECT_FALSE(huge.ok);
    EXPECT_LE(received, cap);
    EXPECT_GT(received, cap / 2);
    // A connection closed before the announced length fails too, and so does
    // a body its receiver wants no more of.
    EXPECT_FALSE(fetch(server.url("/half.html")).ok);
    EXPECT_FALSE(
        client.get(server.url("/ok.html"), [](const char *, qsizetype) { return false; }).ok);
}

TEST_F(HttpClientTest, RedirectsAreFollowedUpToTen)
{
    // /hop<n> leads to /hop<n-1> in n redirects of every kind and every
    // form of Location; /hop0 is the page.
    const int codes[] = {301, 302, 303, 307, 308};
    for (int n = 1; n <= 11; ++n) {
        const QByteArray previous = "hop" + QByteArray::number(n - 1);
        const QByteArray location = n % 3 == 0   ? previous
                                    : n % 3 == 1 ? "/" + previous
                                                 : server.url("/" + previous).toUtf8();
        server.setPage("/hop" + QByteArray::number(n), redirect(codes[n % 5], location));
    }
    server.setPage("/hop0", "the page");
    server.setPage("/dir/page", redirect(302, "../hop0"));
    server.setPage("/loop-a", redirect(302, "/loop-b"));
    server.setPage("/loop-b", redirect(301, "/loop-a"));
    server.setPage("/to-ftp", redirect(301, "ftp://127.0.0.1/hop0"));
    server.setPage("/to-file", redirect(302, "file:///etc/hostname"));
    server.setPage("/nowhere", "moved", 302);
    server.setPage("/to-missing", redirect(307, "/missing"));
    // A 3xx that is no redirect is an answer like any other.
    server.setPage("/choices", "choose", 300);

    const struct {
        QByteArray path;
        bool ok;
        QByteArray body;
        QByteArray finalPath;
    } cases[] = {
        {"/hop1", true, "the page", "/hop0"},
        {"/hop10", true, "the page", "/hop0"},
        {"/hop11", false, "", "/hop0"},
        {"/dir/page", true, "the page", "/hop0"},
        {"/loop-a", false, "", "/loop-a"},
        {"/to-ftp", false, "", ""},
        {"/to-file", false, "", ""},
        {"/nowhere", false, "", "/nowhere"},
        {"/to-missing", false, "", "/missing"},
        {"/choices", true, "choose", "/choices"},
    };
    for (const auto &c : cases) {
        QByteArray body;
        const HttpClient::Response r = fetch(server.url(c.path), &body);
        EXPECT_EQ(r.ok, c.ok) << c.path.constData();
        EXPECT_EQ(body, c.body) << c.path.constData();
        if (!c.finalPath.isEmpty()) {
            EXPECT_EQ(r.url, QUrl(server.url(c.finalPath))) << c.path.constData();
        }
    }
}

TEST_F(HttpClientTest, FailuresEndTheWaitAndAreSignalled)
{
    server.setPage("/stall.html", odd(Behaviour::StallAfterHeaders));
    Page slow("late");
    slow.delayMs = 600000;  // only the abort ends it
    server.setPage("/slow.html", slow);
    QList<int> done;
    QObject::connect(&client, &HttpClient::requestDone, &client,
                     [&done](int error) { done << error; });

    for (const QString &url :
         {QStringLiteral("http://127.0.0.1:%1/x.html").arg(freeLoopbackPort()),
          QStringLiteral("http://nonexistent.invalid/x.html"),
          QStringLiteral("ftp://127.0.0.1:1/x.html"), QStringLiteral("gopher://127.0.0.1:1/x")})
        EXPECT_FALSE(fetch(url).ok) << url.toStdString();

    // A server that stops sending is given up after the transfer timeout.
    client.setTransferTimeout(300);
    EXPECT_FALSE(fetch(server.url("/stall.html")).ok);

    // The abort button ends a request in progress.
    client.setTransferTimeout(HttpClient::kTransferTimeoutMs);
    QTimer::singleShot(100, &client, [this] { client.abort(); });
    EXPECT_FALSE(fetch(server.url("/slow.html")).ok);

    ASSERT_EQ(done.size(), 6);
    EXPECT_FALSE(done.contains(0));
    fetch(server.url("/missing.html"));
    EXPECT_EQ(done.last(), 404);
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
        {"\r\r\n\n", "\r\n\r\n\r\n"},
        // A NUL byte ends its line's text; the next line is kept.
        {QByteArray("ab\0cd\0e\nef", 10), "ab\r\nef\r\n"},
        // Bytes are not converted.
        {"\x93\xfa\x96\x7b", "\x93\xfa\x96\x7b\r\n"},
    };
    // However the body arrives, the lines are the same: body_lines_fuzz cuts
    // it into pieces; here each body arrives byte by byte as well.
    for (const auto &c : cases) {
        EXPECT_EQ(bodyAsLines(c.body), c.saved) << c.body.toHex().constData();
        QByteArray out;
        BodyLines lines;
        for (const char byte : c.body) lines.convert(&byte, 1, &out);
        lines.finish(&out);
        EXPECT_EQ(out, c.saved) << c.body.toHex().constData() << " byte by byte";
    }

    // A stop is heard before each line.
    EXPECT_EQ(bodyAsLines("a\nb", [] { return true; }), QByteArray());
    int asked = 0;
    EXPECT_EQ(bodyAsLines("a\n\nb\nc", [&asked] { return ++asked > 2; }), "a\r\n\r\n");
}

TEST_F(HttpClientTest, PagesAreSavedAsTheyArriveAndOnlyWhole)
{
    TempHome home;
    const QString file = home.file("temp/get.html");
    client.setBodyCap(2 * 1024 * 1024);  // below /huge.html's length
    for (const QByteArray path :
         {"/ok.html", "/moved.html", "/loop.html", "/gone.html", "/huge.html", "/half.html"}) {
        home.write("temp/get.html", "old");
        const bool ok = path == "/ok.html" || path == "/moved.html";
        EXPECT_EQ(downloadAsLines(client, server.url(path), file), ok) << path.constData();
        // A failed download leaves the working file as it was.
        EXPECT_EQ(home.read("temp/get.html"), ok ? "<p>a\r\nb\r\n" : "old") << path.constData();
    }

    // One line of 8 MiB goes through whole.
    server.setPage("/long.html", odd(Behaviour::Endless, 8LL * 1024 * 1024));
    client.setBodyCap(HttpClient::kBodyCap);
    ASSERT_TRUE(downloadAsLines(client, server.url("/long.html"), file));
    const QByteArray saved = home.read("temp/get.html");
    EXPECT_EQ(saved.size(), 8LL * 1024 * 1024 + 2);
    EXPECT_TRUE(saved.endsWith("aaa\r\n"));
}

TEST_F(HttpClientTest, AHostilePageCostsLittleMemory)
{
    // The console program downloads a page of 200 MB (cut at the cap); its
    // peak memory is that of the largest child this test program waited for.
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine";
#endif
    server.setPage("/huge.html", odd(Behaviour::Endless, 200LL * 1000 * 1000));
    TempHome home;
    const RunResult cli =
        runCliProgram({server.url("/huge.html")}, {"VELMARIN_HOME=" + home.path()});
    EXPECT_EQ(cli.exitCode, 1);
    EXPECT_TRUE(cli.err.contains(QStringLiteral("HTML文書の取得に失敗しました。")));
    rusage usage{};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LE(usage.ru_maxrss, 100L * 1024) << "peak KiB of the download";
}

}  // namespace
