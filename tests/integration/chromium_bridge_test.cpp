// Chromium-family browsers, read through their DevTools endpoint: a real
// headless Chromium, and endpoints that misbehave.
#include "support/test.h"

#include "app/main_actions.h"
#include "fetch/browser_capture.h"
#include "integration/browser_bridges.h"
#include "integration/devtools_endpoint.h"
#include "support/browser_process.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using Status = BrowserBridge::Page::Status;

void setPorts(int chromium, int opera)
{
    IniFile ini(ProgramFolder::iniPath());
    ASSERT_TRUE(ini.writeInt("Browser", "ChromiumPort", chromium) &&
                ini.writeInt("Browser", "OperaPort", opera));
}

// A headless Chromium with a profile of its own, showing `url`.
class HeadlessChromium {
public:
    HeadlessChromium(int port, const QString &url)
        : m_browser("chromium", QString("--headless=new --no-sandbox --disable-gpu --disable-quic "
                                        "--no-first-run --disable-background-networking "
                                        "--disable-component-update --disable-sync")
                                        .split(u' ') +
                                    QStringList{u"--remote-debugging-port=%1"_s.arg(port),
                                                "--user-data-dir=" + m_profile.path(), url})
    {
    }
    bool started() const { return m_browser.started(); }
    QString output() const { return m_browser.output(); }

private:
    QTemporaryDir m_profile;  // removed after the browser stopped (declared first)
    BrowserProcess m_browser;
};

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

// One browser, on the Opera port (the Chromium port's index is the endpoint
// test's), showing a local file with a space and a Japanese character in its name.
TEST(ChromiumBridge, ReadsAndOpensPagesOfARealChromium)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(u"chromium"_s).isEmpty())
        << "chromium is not installed (scripts/setup.sh installs it)";
    TempHome home;
    home.write("files/my page あ.html", "<html><head><title>l</title></head><body>l</body></html>");
    const QString local = home.file("files/my page あ.html");
    const int operaPort = freeLoopbackPort();
    setPorts(freeLoopbackPort(), operaPort);
    RecordingRunner runner;
    DesktopBrowserBridge bridge(runner);
    EXPECT_EQ(bridge.currentPage(2).status, Status::NotRunning);

    const QString fileUrl = QUrl::fromLocalFile(local).toString(QUrl::FullyEncoded);
    EXPECT_EQ(fileUrl, "file://" + home.file("files/my%20page%20%E3%81%82.html"));
    HeadlessChromium browser(operaPort, fileUrl);
    ASSERT_TRUE(browser.started());
    const BrowserBridge::Page filePage = waitForPage(bridge, 2, fileUrl);
    EXPECT_EQ(filePage.status, Status::Found) << browser.output().toStdString();
    EXPECT_EQ(filePage.url, fileUrl);

    // F6 through this bridge with the real tidy checks the file in place; with
    // "ブラウザで開く" the result text goes to a new tab, which is then the page shown.
    IniFile(ProgramFolder::iniPath())
        .writeString("Tidy", "Path", QStandardPaths::findExecutable("tidy"));
    RecordingView view;
    MainActions actions(view, runner, &bridge);
    actions.start();  // Velmarin.ini holds the ports already: no first start
    actions.settings().openInBrowser = true;
    actions.captureAction(CaptureBrowser::Opera);
    EXPECT_TRUE(view.notices.isEmpty()) << view.notices.join(u' ').toStdString();
    const QString resultText =
        QFileInfo(ProgramFolder::workDir() + "Tidy_Result.txt").absoluteFilePath();
    EXPECT_TRUE(TextCodec::decode(readWholeFile(resultText)).startsWith(local));
    const QString shownResult = QUrl::fromLocalFile(resultText).toString(QUrl::FullyEncoded);
    EXPECT_EQ(waitForPage(bridge, 2, shownResult).url, shownResult);
    EXPECT_TRUE(view.questions.isEmpty());

    // A "#" in a folder name is part of the path, not a fragment.
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
    auto page = [](const QByteArray &body, int status = 200) {
        LocalHttpServer::Page p;
        p.body = body;
        p.status = status;
        return p;
    };
    LocalHttpServer::Page stalled;
    stalled.behaviour = LocalHttpServer::Behaviour::StallAfterHeaders;
    stalled.body = pageLast;  // announced, never sent
    LocalHttpServer::Page silent;
    silent.body = pageLast;
    silent.delayMs = 600000;
    LocalHttpServer::Page endless;
    endless.behaviour = LocalHttpServer::Behaviour::Endless;
    endless.hugeSize = DevToolsEndpoint::kAnswerCap * 2;

    // The deadline is short for the two that never answer, and one no
    // answer can reach for the others.
    const struct {
        const char *name;
        LocalHttpServer::Page page;
        Status status;
        QString url;
        int deadlineMs = 600000;
    } cases[] = {
        {"page after the browser's own UI", page(pageLast), Status::Found, u"https://a.example/"_s},
        {"garbage", page("<html>not json"), Status::Unreachable, {}},
        {"JSON that is no list",
         page(R"({"type":"page","url":"https://a.example/"})"),
         Status::Unreachable,
         {}},
        {"empty list", page("[]"), Status::NoAddress, {}},
        {"only browser_ui, service_worker, iframe", page(uiOnly), Status::NoAddress, {}},
        {"page without address", page(R"([{"type":"page"}])"), Status::NoAddress, {}},
        {"not found", page("[]", 404), Status::Unreachable, {}},
        {"headers, then nothing", stalled, Status::Unreachable, {}, 200},
        {"no answer at all", silent, Status::Unreachable, {}, 200},
        {"an endless answer", endless, Status::Unreachable, {}},
    };
    setPorts(server.port(), freeLoopbackPort());
    RecordingRunner runner;
    DesktopBrowserBridge bridge(runner);
    for (const auto &c : cases) {
        server.setPage("/json/list", c.page);
        DevToolsEndpoint::setDeadlineMs(c.deadlineMs);
        const BrowserBridge::Page page = bridge.currentPage(0);
        EXPECT_EQ(page.status, c.status) << c.name;
        EXPECT_EQ(page.url, c.url) << c.name;
    }
    DevToolsEndpoint::setDeadlineMs(DevToolsEndpoint::kDeadlineMs);
    // Nothing on the Opera port; no browser takes a file.
    EXPECT_EQ(bridge.currentPage(2).status, Status::NotRunning);
    EXPECT_FALSE(bridge.openFile(2, home.file(u"Tidy_Result.txt"_s)));
}
