// Chromium-family browsers, read through their DevTools endpoint: a real
// headless Chromium, and endpoints that misbehave.
#include "integration/browser_bridges.h"
#include "integration/devtools_endpoint.h"
#include "support/browser_process.h"
#include "support/test.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using Status = BrowserBridge::Page::Status;
using Behaviour = LocalHttpServer::Behaviour;

void setPorts(int chromium, int opera)
{
    IniFile ini(ProgramFolder::iniPath());
    ASSERT_TRUE(ini.writeInt("Browser", "ChromiumPort", chromium) &&
                ini.writeInt("Browser", "OperaPort", opera));
}

// Waits until the browser of `index` shows `url`; the last page read.
BrowserBridge::Page waitForPage(BrowserBridge &bridge, int index, const QString &url)
{
    BrowserBridge::Page page;
    pollUntil(120000, [&] {  // generous: a loaded machine starts browsers slowly
        page = bridge.currentPage(index);
        return page.status == Status::Found && page.url == url;
    });
    return page;
}

}  // namespace

// One browser with a profile of its own, on the Opera port (the Chromium
// port's index is the endpoint test's), showing a local file with a space and
// a Japanese character in its name.
TEST(ChromiumBridge, ReadsAndOpensPagesOfARealChromium)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(u"chromium"_s).isEmpty())
        << "chromium is not installed (scripts/setup.sh installs it)";
    TempHome home;
    home.write("files/my page あ.html", "<html><head><title>l</title></head><body>l</body></html>");
    const int operaPort = freeLoopbackPort();
    setPorts(freeLoopbackPort(), operaPort);
    RecordingRunner runner;
    DesktopBrowserBridge bridge(runner);
    EXPECT_EQ(bridge.currentPage(2).status, Status::NotRunning);

    const QString fileUrl = "file://" + home.file("files/my%20page%20%E3%81%82.html");
    const QStringList options =
        u"--headless=new --no-sandbox --disable-gpu --disable-quic "
        "--no-first-run --disable-background-networking "
        "--disable-component-update --disable-sync"_s.split(u' ');
    BrowserProcess browser(
        u"chromium"_s, options + QStringList{u"--remote-debugging-port=%1"_s.arg(operaPort),
                                             "--user-data-dir=" + home.file("profile"), fileUrl});
    ASSERT_TRUE(browser.started());
    const BrowserBridge::Page filePage = waitForPage(bridge, 2, fileUrl);
    EXPECT_EQ(filePage.status, Status::Found) << browser.output().toStdString();
    EXPECT_EQ(filePage.url, fileUrl);

    // A result opened in a new tab, which is then the page shown; a "#" in a
    // folder name is part of the path, not a fragment.
    home.write("files/結果 #1/Tidy_Result.txt", "-----END-----\r\n");
    const QString result = home.file("files/結果 #1/Tidy_Result.txt");
    EXPECT_TRUE(bridge.openFile(2, result));
    const QString resultUrl = QUrl::fromLocalFile(result).toString(QUrl::FullyEncoded);
    EXPECT_EQ(QUrl(waitForPage(bridge, 2, resultUrl).url).toLocalFile(), result);
    EXPECT_TRUE(runner.detached.isEmpty());
}

TEST(ChromiumBridge, AnEndpointThatMisbehavesGivesItsStatus)
{
    TempHome home;
    LocalHttpServer server;
    const QByteArray uiOnly =
        R"([{"type":"browser_ui","url":"chrome://omnibox-popup.top-chrome/"},)"
        R"({"type":"service_worker","url":"https://example.org/sw.js"},)"
        R"({"type":"iframe","url":"https://example.org/frame"}])";
    const QByteArray pageLast =
        R"([{"type":"browser_ui","url":"chrome://x/"},{"type":"page","url":"https://a.example/"},)"
        R"({"type":"page","url":"https://b.example/"}])";
    LocalHttpServer::Page silent(pageLast);
    silent.delayMs = 600000;
    // The deadline is short for the two that never answer, and one no
    // answer can reach for the others.
    const struct {
        const char *name;
        Status status;
        LocalHttpServer::Page page;
        int deadlineMs = 600000;
    } cases[] = {
        {"page after the browser's own UI", Status::Found, {pageLast}},
        {"garbage", Status::Unreachable, {"<html>not json"}},
        {"JSON that is no list", Status::Unreachable, {R"({"type":"page","url":"https://a/"})"}},
        {"empty list", Status::NoAddress, {"[]"}},
        {"only browser_ui, service_worker, iframe", Status::NoAddress, {uiOnly}},
        {"page without address", Status::NoAddress, {R"([{"type":"page"}])"}},
        {"not found", Status::Unreachable, {"[]", 404}},
        {"headers, then nothing",
         Status::Unreachable,
         {pageLast, 200, Behaviour::StallAfterHeaders},
         200},
        {"no answer at all", Status::Unreachable, silent, 200},
        {"an endless answer",
         Status::Unreachable,
         {{}, 200, Behaviour::Endless, DevToolsEndpoint::kAnswerCap * 2}},
    };
    setPorts(server.port(), freeLoopbackPort());
    RecordingRunner runner;
    DesktopBrowserBridge bridge(runner);
    for (const auto &c : cases) {
        server.setPage("/json/list", c.page);
        DevToolsEndpoint::setDeadlineMs(c.deadlineMs);
        const BrowserBridge::Page page = bridge.currentPage(0);
        EXPECT_EQ(page.status, c.status) << c.name;
        EXPECT_EQ(page.url, c.status == Status::Found ? "https://a.example/" : "") << c.name;
    }
    DevToolsEndpoint::setDeadlineMs(DevToolsEndpoint::kDeadlineMs);
    // Nothing on the Opera port; no browser takes a file.
    EXPECT_EQ(bridge.currentPage(2).status, Status::NotRunning);
    EXPECT_FALSE(bridge.openFile(2, home.file(u"Tidy_Result.txt"_s)));
}
