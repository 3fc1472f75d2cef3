// The browser capture actions with browsers that answer as told, the real tidy
// and a real HTTP server on 127.0.0.1.
#include "fetch/browser_capture.h"

#include "app/main_actions.h"
#include "fetch/file_url.h"
#include "support/fake_browser_bridge.h"
#include "support/test.h"

namespace {

using Status = BrowserBridge::Page::Status;
using Pages = QMap<int, BrowserBridge::Page>;

const QByteArray kFlawedPage =
    "<html>\n<head><title>t</title></head>\n<body>\n<p>段落<b>太字</p>\n</body>\n</html>\n";

class BrowserCaptureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(QStandardPaths::findExecutable("tidy").isEmpty())
            << "the tidy package is not installed";
        actions.start();
        server.setPage("/flawed.html", kFlawedPage);
        home.write(kLocalName, kFlawedPage);
        actions.tidyList().showMessageRow("before");
    }

    QString fetched() const { return ProgramFolder::workDir() + "tidy_get.html"; }
    QString firstRow()
    {
        return actions.tidyList().rowCount() ? actions.tidyList().rows()[0].description : QString();
    }
    QString resultFile() const
    {
        return QFileInfo(ProgramFolder::workDir() + "Tidy_Result.txt").absoluteFilePath();
    }

    const QString kLocalName = QStringLiteral("my page 日本.html");
    TempHome home;
    LocalHttpServer server;
    RecordingView view;
    RecordingRunner runner;
    FakeBrowserBridge browsers;
    MainActions actions{view, runner, &browsers};
};

}  // namespace

// Pages nobody can fetch are refused with their message and never requested;
// web pages are downloaded, local pages checked where they are.
TEST_F(BrowserCaptureTest, EachBrowsersPageIsRefusedDownloadedOrCheckedInPlace)
{
    const QString notRunning = "ブラウザが起動していません。";
    const QString linkFailed = "DDEサーバーとのリンクに失敗しました。";
    const QString noAddress = "ブラウザからURLを取得できませんでした。";
    const QString cannotFetch = "FTP,Chrome,Gopherからは取得できません。";
    const auto ie = CaptureBrowser::InternetExplorer, ns = CaptureBrowser::Netscape;
    const auto moz = CaptureBrowser::Mozilla, op = CaptureBrowser::Opera;
    const BrowserBridge::Page unreachable{Status::Unreachable, {}}, none{Status::NoAddress, {}};
    const QString web = server.url("/flawed.html"), local = home.file(kLocalName);
    const QString fileUrl = QUrl::fromLocalFile(local).toString(QUrl::FullyEncoded);
    ASSERT_TRUE(fileUrl.contains("%20") && fileUrl.contains("%E6"));
    const auto found = [](int index, const QString &url) {
        return Pages{{index, {Status::Found, url}}};
    };
    enum Checked { Nothing, Download, InPlace };
    const struct {
        CaptureBrowser browser;
        Pages pages;
        QList<int> asked;
        QString notice;
        Checked checked;
    } cases[] = {
        {ie, {}, {0}, notRunning, Nothing},
        {op, {{2, unreachable}}, {2}, linkFailed, Nothing},
        {moz, {{1, none}}, {1}, noAddress, Nothing},
        {moz, found(1, "  "), {1}, noAddress, Nothing},
        {ie, found(0, "ftp://127.0.0.1/x.html"), {0}, cannotFetch, Nothing},
        {ie, found(0, "view-source:gopher://h/"), {0}, cannotFetch, Nothing},
        {ie, found(0, "view-source:view-source:" + web), {0}, cannotFetch, Nothing},  // one off
        // Netscape: only the second attempt speaks; a first that named a page is the answer.
        {ns, {{4, unreachable}}, {3, 4}, linkFailed, Nothing},
        {ns, {{3, unreachable}, {4, none}}, {3, 4}, noAddress, Nothing},
        {ns, found(3, "about:config"), {3}, cannotFetch, Nothing},
        {ie, found(0, web), {0}, {}, Download},
        {op, found(2, "view-source:" + web), {2}, {}, Download},
        {ns, found(4, web), {3, 4}, {}, Download},
        {moz, found(1, fileUrl), {1}, {}, InPlace},
        {ie, found(0, local), {0}, {}, InPlace},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.notice.toStdString() + " " + std::to_string(c.asked.last()));
        QFile::remove(fetched());
        browsers.pages = c.pages;
        browsers.asked.clear();
        view.notices.clear();
        actions.tidyList().showMessageRow("before");
        actions.captureAction(c.browser);
        EXPECT_EQ(view.notices, c.notice.isEmpty() ? QStringList() : QStringList{c.notice});
        EXPECT_EQ(browsers.asked, c.asked);
        EXPECT_EQ(QFileInfo(fetched()).isFile(), c.checked == Download);
        if (c.checked == Nothing) {
            EXPECT_EQ(firstRow(), "before");
        }
        if (c.checked == Download) {
            EXPECT_FALSE(actions.tidyList().rows().value(0).caption.isEmpty());
        }
        if (c.checked == InPlace) {
            EXPECT_EQ(firstRow(), "情報: チェックしたHTML: " + local);
        }
    }
    EXPECT_EQ(server.requestCount(), 3);
    EXPECT_EQ(view.page, 0);
    EXPECT_TRUE(view.enabled.value(Control::ToolBar1) && view.enabled.value(Control::Button1));
    EXPECT_FALSE(view.busy);

    browsers.show(0, server.url("/missing.html"));
    actions.captureAction(CaptureBrowser::InternetExplorer);
    EXPECT_EQ(view.lastStatus, "HTML文書の取得に失敗しました。");
    EXPECT_FALSE(view.busy);
}

TEST_F(BrowserCaptureTest, ResultsGoToTheBrowserOrOnTheQuestionToTheEditor)
{
    actions.settings().openInBrowser = true;
    const QString local = home.file(kLocalName);

    // The capturing browser gets the result, Netscape by the index that answered.
    browsers.show(4, local);
    actions.captureAction(CaptureBrowser::Netscape);
    browsers.show(0, server.url("/flawed.html"));
    actions.captureAction(CaptureBrowser::InternetExplorer);
    // The command line's -ie and -op name Internet Explorer and Opera.
    actions.processCommandLine({"-ie", local, "-op", local});
    EXPECT_EQ(browsers.opened, QStringList({"4 " + resultFile(), "0 " + resultFile(),
                                            "0 " + resultFile(), "2 " + resultFile()}));
    EXPECT_TRUE(view.questions.isEmpty());
    EXPECT_TRUE(runner.opened.isEmpty());

    // A browser that does not take it: the question, and on yes the editor.
    browsers.takesFiles = false;
    browsers.opened.clear();
    view.answers = {false, true};
    actions.processCommandLine({"-op", local});
    actions.captureAction(CaptureBrowser::InternetExplorer);
    EXPECT_EQ(browsers.opened, QStringList({"2 " + resultFile(), "0 " + resultFile()}));
    EXPECT_EQ(view.questions,
              QStringList(2, "DDEリンクに失敗しました。結果をエディタで開きますか？"));
    EXPECT_EQ(runner.opened, QStringList{resultFile()});
}

TEST(FileUrlToPathTest, FileAddressesBecomePaths)
{
    const struct {
        QString address, path;
        QStringList candidates;
    } cases[] = {
        {"file:///home/a%20b/x.html", "/home/a b/x.html", {"/home/a b/x.html"}},
        {"FILE:///localhost/x.html", "/x.html", {"/x.html"}},
        {"file://localhost/home/x.html", "/home/x.html", {"/home/x.html"}},
        {"file:///w/%E6%97%A5%20a.html",
         "/w/%E6%97%A5 a.html",
         {"/w/%E6%97%A5 a.html", "/w/日 a.html"}},
        {"file:/home/x.html", "/home/x.html", {"/home/x.html"}},
        {"file:///a%41.html", "/a%41.html", {"/a%41.html", "/aA.html"}},
        {"/plain/pa%41th.html", "/plain/pa%41th.html", {"/plain/pa%41th.html"}},
        {"http://h/a%20b", "http://h/a%20b", {"http://h/a%20b"}},
        {"FTP://h/a%20b", "FTP://h/a%20b", {"FTP://h/a%20b"}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(fileUrlToPath(c.address), c.path) << c.address.toStdString();
        EXPECT_EQ(fileUrlPathCandidates(c.address), c.candidates) << c.address.toStdString();
    }
}
