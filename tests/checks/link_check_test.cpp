// The link check end to end, on the main thread (up to 10 links) and on the two workers.
#include "checks/link_check.h"

#include "checks/link_verifier.h"
#include "core/folder_memory.h"
#include "core/message_list_model.h"
#include "fetch/http_client.h"
#include "support/test.h"

namespace {

const QString kFinished = QStringLiteral("リンクチェックが終了しました。");
const QString kNoWebAnchor = QStringLiteral("HTMLは存在しますが、アンカーがありません。");
const QString kNoLocalAnchor =
    QStringLiteral("HTML(またはディレクトリ)は存在しますが、アンカーがありません。");

class LinkCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        check.setHeadDeadline(600000);  // only /silent, below, may reach a deadline
        QObject::connect(&check, &LinkCheck::finished, &check, [this] { ++finished; });
        server.setPage("/ok", "ok");
        server.setPage("/ok2", "ok");
        LocalHttpServer::Page silent;  // outlasts every deadline a test sets
        silent.delayMs = 600000;
        server.setPage("/silent", silent);
    }

    QString writePage(const QString &name, const QStringList &links, const QByteArray &extra = {})
    {
        QByteArray body = "<html><body>\n" + extra;
        for (const QString &link : links) body += "<a href=\"" + link.toUtf8() + "\">x</a>\n";
        home.write(name, body + "</body></html>\n");
        return home.file(name);
    }

    QStringList checked(const QString &target)
    {
        EXPECT_TRUE(check.checkLinksTarget(target)) << target.toStdString();
        waitForEnd();
        return statuses();
    }

    QStringList statuses() const { return column(1); }
    QStringList column(int c) const
    {
        QStringList out;
        for (const MessageListModel::Row &row : list.rows()) out << (c ? row.second : row.first);
        return out;
    }

    // Worker mode returns at once; the check ends on a later turn of the loop.
    void waitForEnd()
    {
        if (!check.isRunning()) return;
        QEventLoop loop;
        QObject::connect(&check, &LinkCheck::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);  // a hang fails below
        loop.exec();
        ASSERT_FALSE(check.isRunning());
    }

    void expectIdleControls()
    {
        EXPECT_TRUE(view.enabled.value(Control::ToolBar1) && view.enabled.value(Control::Button3) &&
                    !view.enabled.value(Control::BitBtn2) &&
                    view.enabled.value(Control::LinkCheckAction, true));
    }

    TempHome home;
    LocalHttpServer server;
    RecordingView view;
    MessageListModel list{QStringLiteral("リンク先"), QStringLiteral("状態")};
    HttpClient http;
    FolderMemory folders;
    LinkCheck check{view, list, http, folders};
    int finished = 0;
};

}  // namespace

TEST_F(LinkCheckTest, WebLinksReadTheirStatusTextsInBothModes)
{
    LocalHttpServer::Page moved, noHead, half;
    moved.status = 301;
    moved.location = "/ok";
    noHead.headStatus = 405;
    half.body = "<a name=\"x\">" + QByteArray(4000, ' ');
    half.behaviour = LocalHttpServer::Behaviour::CloseMidway;
    server.setPage("/moved", moved);
    server.setPage("/nohead", noHead);
    server.setPage("/half", half);

    const QStringList links = {server.url("/ok"),
                               server.url("/missing"),
                               server.url("/moved"),
                               server.url("/nohead"),
                               QStringLiteral("http://127.0.0.1:%1/x").arg(freeLoopbackPort()),
                               "http://nonexistent.invalid/x",
                               "ftp://127.0.0.1:1/x",
                               server.url("/half#x")};
    const QStringList expected = {
        "200(OK)",          "404(Not Found)",   "301(Moved Parmanently)", "405(Method Not Allowed)",
        "0(Unknown Error)", "0(Unknown Error)", "0(Unknown Error)",       kNoWebAnchor};

    // Up to ten links: the main thread.
    EXPECT_TRUE(check.checkLinksTarget(writePage("ten.html", links)));
    EXPECT_FALSE(check.isRunning());
    EXPECT_EQ(statuses(), expected);
    EXPECT_TRUE(view.events.contains("status: " + links[2] + "をチェック中... 3/8"));
    EXPECT_EQ(view.progress.mid(view.progress.size() - 2), QStringList({"8/8", "0/0"}));
    EXPECT_EQ(view.lastStatus, kFinished);
    EXPECT_TRUE(view.lastStatusClears);
    EXPECT_EQ(finished, 1);
    expectIdleControls();

    // Every other code, on the two workers.
    QStringList codes;
    for (int code = 100; code < 600; ++code) {
        const QByteArray path = "/code" + QByteArray::number(code);
        server.setPage(path, "body", code);
        codes << server.url(path);
    }
    LocalHttpServer::Page interim;
    interim.interimStatus = 100;
    interim.status = 203;
    server.setPage("/interim", interim);
    EXPECT_TRUE(
        check.checkLinksTarget(writePage("codes.html", links + codes << server.url("/interim"))));
    EXPECT_TRUE(check.isRunning());
    EXPECT_FALSE(view.enabled.value(Control::LinkCheckAction) ||
                 view.enabled.value(Control::ToolBar1));
    waitForEnd();
    const QStringList got = statuses();
    ASSERT_EQ(got.size(), 509);
    EXPECT_EQ(got.mid(0, 8), expected);
    EXPECT_EQ(got[8], "0(Unknown Error)");  // 100 with no final answer
    for (int code = 101; code < 600; ++code)
        EXPECT_TRUE(got[code - 92].startsWith(QString::number(code) + u'(')) << code;
    const std::pair<int, const char *> texts[] = {
        {401, "401(Unauthorixed)"},
        {503,
         "503(Service Unavailable | Mapping Server Error | Too many users | Method Not Allowed)"},
        {505, "505(HTTP Version not supported)"},
        {299, "299(Unknown Error)"},
        {306, "306(Unknown Error)"},
        {418, "418(Unknown Error)"}};
    for (const auto &[code, text] : texts) EXPECT_EQ(got[code - 92], text);
    EXPECT_EQ(got.last(), "203(Non-Authoritative Information)");
    EXPECT_TRUE(view.events.contains("status: " + links[0] + "をチェック中...     リンク数/509"));
    EXPECT_TRUE(view.progress.contains("509/509") && view.progress.last() == "0/0");
    EXPECT_EQ(view.lastStatus, kFinished);
    EXPECT_EQ(finished, 2);
    expectIdleControls();

    // A server that never answers reaches the deadline, alone and by the workers.
    check.setHeadDeadline(200);
    EXPECT_EQ(checked(writePage("silent.html", {server.url("/silent")})),
              QStringList({"404(Not Found)"}));
    EXPECT_EQ(checked(writePage("silent11.html", QStringList(11, server.url("/silent")))),
              QStringList(11, "404(Not Found)"));
}

TEST_F(LinkCheckTest, AnAnchorPageIsADownload)
{
    // The GET's body comes after a silence longer than the HEAD deadline.
    LocalHttpServer::Page late;
    late.body = "<a name=\"x\">";
    late.bodyDelayMs = 6000;
    server.setPage("/late", late);
    check.setHeadDeadline(5000);
    EXPECT_EQ(checked(writePage("late.html", {server.url("/late#x")})), QStringList({"200(OK)"}));

    // The download's own rules do: a page that stalls, one beyond the cap.
    LocalHttpServer::Page stall, huge;
    stall.body = late.body;
    stall.behaviour = LocalHttpServer::Behaviour::StallAfterHeaders;
    server.setPage("/stall", stall);
    huge.behaviour = LocalHttpServer::Behaviour::Endless;
    huge.hugeSize = 4 << 20;
    server.setPage("/huge", huge);
    http.setTransferTimeout(300);  // only the stalled page is silent that long
    EXPECT_EQ(checked(writePage("stall.html", {server.url("/stall#x")})),
              QStringList({kNoWebAnchor}));
    http.setTransferTimeout(HttpClient::kTransferTimeoutMs);
    http.setBodyCap(64 << 10);
    EXPECT_EQ(checked(writePage("huge.html", {server.url("/huge#a")})),
              QStringList({kNoWebAnchor}));
}

TEST_F(LinkCheckTest, LocalFilesFoldersAndAnchorsAndABaseFolderRemoved)
{
    QDir(home.path()).mkpath("site/sub");
    home.write("site/other.html", "<a name=\"Named\">");
    home.write("site/a b.html", "");
    home.write("site/http.html", "");  // a name that looks like a scheme
    home.write("site/画像.png", "");
    const QStringList links = {"other.html",
                               "sub",
                               "sub#x",
                               "other.html#named",
                               "other.html#none",
                               "gone.html",
                               "gone.html#x",
                               "#TOP",
                               "#aid",
                               "a%20b.html",
                               "#",
                               "other.html#",
                               "other.html?x=1&amp;y=2#Named",
                               "%E7%94%BB%E5%83%8F.png",
                               "画像.png",
                               "http.html"};
    const QByteArray anchors = "<div id=\"top\"><a id=\"aid\">";
    const QString document = writePage("site/index.html", links.mid(0, 10), anchors);
    const QStringList expected =
        QStringList{"200(OK)",      "200(OK)",        kNoLocalAnchor,  "200(OK)",
                    kNoLocalAnchor, "404(Not Found)", "404(Not Found)"} +
        QStringList(9, "200(OK)");

    view.openFileAnswer = document;
    check.linkCheckExecute();  // up to 10 links: on the main thread
    EXPECT_EQ(statuses(), expected.mid(0, 10));
    EXPECT_EQ(view.lastFilter, "HTMLファイル (*.htm;*.html)|*.htm;*.html");
    EXPECT_EQ(folders.lastDir(), QDir::toNativeSeparators(home.file("site")));
    EXPECT_EQ(check.linkBase(), home.file("site"));
    EXPECT_TRUE(view.broughtToFront == 1 && view.errors.isEmpty());

    // All of them, on the workers.
    EXPECT_EQ(checked(writePage("site/more.html", links, anchors)), expected);
    EXPECT_TRUE(view.events.contains("status: other.htmlをチェック中...     リンク数/16"));

    // The base folder removed during the check.
    QDir(home.path()).mkpath("gone");
    home.write("gone/a.html", "");
    view.openFileAnswer = writePage("gone/index.html", {"a.html", "b.html", "a.html"});
    view.onStatus = [&](const QString &text) {
        if (text.startsWith("b.html")) QDir(home.file("gone")).removeRecursively();
    };
    check.linkCheckExecute();
    EXPECT_EQ(statuses(), QStringList({"200(OK)", "未", "未"}));
    ASSERT_EQ(view.errors.size(), 1);
    EXPECT_TRUE(view.errors[0].contains(home.file("gone")));
    EXPECT_TRUE(!view.busy && finished == 3);
    expectIdleControls();
}

TEST_F(LinkCheckTest, LinksOfAWebPage)
{
    server.setPage("/anchors.html", "<div id=\"TOP\"></div><a id=\"aid\"></a>");
    server.setPage("/dir/page.html", readWholeFile(testDataPath("link_check_dir_page.html")));
    server.setPage("/dir/sub.html", "<p id=\"x\">");
    LocalHttpServer::Page moved;
    moved.status = 302;
    moved.location = "/dir/page.html";
    server.setPage("/moved", moved);
    // Reached directly, or by a redirect: its links count from where it is.
    for (const QString &target : {server.url("/dir/page.html"), server.url("/moved")})
        EXPECT_EQ(checked(target),
                  QStringList({"200(OK)", "200(OK)", "200(OK)", kNoWebAnchor, "200(OK)",
                               "エラー: 相対パスの指定が不正です。", "404(Not Found)", "200(OK)"}));

    // At the host's root, with and without the "/".
    server.setPage("/root.html", "<a href=\"../up.html\"><a href=\"ok\">");
    EXPECT_EQ(checked(server.url("/root.html")),
              QStringList({"エラー: 相対パスの指定が不正です。", "200(OK)"}));
    server.setPage("/", "<a href=\"ok\">");
    EXPECT_EQ(checked(server.url("")), QStringList{"200(OK)"});
}

TEST_F(LinkCheckTest, MessageRowsAndFetchFailure)
{
    const QString empty = writePage("empty.html", {},
                                    "<img alt=x><a name=top><a title = \"x\">"
                                    "<a href=\"mailto:me@example.com\">");
    const QString missing = home.file("missing.html");
    const struct {
        QString target;
        QString message;
    } cases[] = {
        {empty, "A要素のHref属性、またはIMG要素がありません。"},
        {missing, "ファイルがありません。" + missing},
        {"ftp://example.com/a.html",
         "HTTP以外のプロトコルには対応していません。\r\nftp://example.com/a.html"},
        {"Gopher://example.com/",
         "HTTP以外のプロトコルには対応していません。\r\nGopher://example.com/"},
    };
    for (const auto &c : cases) {
        list.setRows({{"old", "200(OK)"}, {"old2", "200(OK)"}});
        finished = 0;
        EXPECT_TRUE(check.checkLinksTarget(c.target));
        ASSERT_EQ(list.rowCount(), 1) << c.target.toStdString();
        EXPECT_EQ(list.rows()[0].first + u'|' + list.rows()[0].second, u'|' + c.message);
        EXPECT_TRUE(view.page == 2 && finished == 1);
    }

    list.setRows({{"old", "200(OK)"}});
    EXPECT_TRUE(check.checkLinksTarget(server.url("/missing.html")));
    EXPECT_EQ(view.lastStatus, "HTML文書の取得に失敗しました。");
    EXPECT_TRUE(view.lastStatusClears && !view.busy);
    EXPECT_EQ(statuses(), QStringList{"200(OK)"});

    // An unreadable document: the file action shows the error, a drop does not.
    view.openFileAnswer = home.path();
    check.linkCheckExecute();
    EXPECT_EQ(view.errors.size(), 1);
    check.fileDrop({home.path()});
    EXPECT_EQ(view.errors.size(), 1);
    expectIdleControls();
}

// While a check runs, nothing starts another: a second check, a drop, a
// double-click. An abort marks the rest; a double-click then verifies a row again.
TEST_F(LinkCheckTest, OneCheckAtATimeAndAnAbortOnTheMainThread)
{
    const QString document = writePage(
        "four.html", {server.url("/missing"), server.url("/ok"), server.url("/ok2"), "x"});
    bool refused = false;
    bool actionDisabled = false;
    view.onStatus = [&](const QString &text) {
        if (!text.startsWith(server.url("/ok2"))) return;
        actionDisabled = !view.enabled.value(Control::LinkCheckAction, true);
        refused = !check.checkLinksTarget(document);
        check.fileDrop({document});
        check.linkListDblClick(0);
        check.abort();
    };
    EXPECT_EQ(checked(document), QStringList({"中止", "200(OK)", "中止", "中止"}));
    view.onStatus = nullptr;
    EXPECT_TRUE(refused && actionDisabled);
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(check.linkAborted());
    expectIdleControls();

    check.linkListDblClick(0);
    EXPECT_EQ(statuses(), QStringList({"404(Not Found)", "200(OK)", "中止", "中止"}));
    EXPECT_FALSE(check.linkAborted());
    EXPECT_EQ(view.lastStatus, kFinished);

    // No selection, or no rows: nothing happens.
    const qsizetype events = view.events.size();
    check.linkListDblClick(-1);
    list.clear();
    check.linkListDblClick(0);
    EXPECT_EQ(view.events.size(), events);
}

TEST_F(LinkCheckTest, AnAbortOrAShutdownEndsEachWorker)
{
    LocalHttpServer::Page slow;
    slow.delayMs = 400;
    server.setPage("/slow", slow);
    QStringList links;
    for (int i = 0; i < 6; ++i) links << server.url("/ok?" + QByteArray::number(i));
    for (int i = 0; i < 6; ++i) links << server.url("/slow");
    const QString document = writePage("twelve.html", links);
    view.onStatus = [&](const QString &text) {
        if (text.startsWith(links[1])) check.abort();
    };
    const QStringList all = checked(document);
    view.onStatus = nullptr;

    // MLink: its first row done, the one it was handed "中止".
    EXPECT_EQ(all.mid(0, 6), QStringList({"404(Not Found)", "中止", "中止", "未", "未", "未"}));
    // MLink2's row may be answered or refused; then "中止", the rest "未".
    const QStringList second = all.mid(6);
    qsizetype i = 0;
    while (i < second.size() && second[i] == "200(OK)") ++i;
    ASSERT_LT(i, second.size() - 1);
    EXPECT_EQ(second[i++], "中止");
    if (second[i] == "中止") ++i;
    for (; i < second.size(); ++i) EXPECT_EQ(second[i], "未");
    EXPECT_EQ(second.last(), "未");
    EXPECT_EQ(finished, 1);
    expectIdleControls();

    // A shutdown in the middle of the workers' requests.
    check.setHeadDeadline(60000);
    EXPECT_TRUE(
        check.checkLinksTarget(writePage("silent.html", QStringList(12, server.url("/silent")))));
    QEventLoop loop;
    view.onStatus = [&](const QString &) { loop.quit(); };
    loop.exec();
    check.shutdown();
    const QStringList after = statuses();
    QCoreApplication::processEvents();
    EXPECT_EQ(statuses(), after);
    EXPECT_FALSE(check.isRunning());
    EXPECT_FALSE(check.checkLinksTarget(writePage("again.html", {"x"})));
}

TEST_F(LinkCheckTest, DropThenDoubleClickLooksInTheDroppedFile)
{
    const QString first = writePage("first.html", {"#top"});
    const QString dropped = writePage("dropped.html", {"#top"}, "<p id=\"top\">");
    check.fileDrop({first, dropped});
    EXPECT_EQ(statuses(), QStringList{kNoLocalAnchor});
    check.fileDrop({dropped});
    list.setRows({{"#top", "未"}});
    check.linkListDblClick(0);
    EXPECT_EQ(statuses(), QStringList{"200(OK)"});

    // A web document is fetched again.
    server.setPage("/web.html", "<a href=\"#top\"><b id=\"top\">");
    EXPECT_TRUE(check.checkLinksTarget(server.url("/web.html")));
    list.setRows({{"#top", "未"}});
    check.linkListDblClick(0);
    EXPECT_EQ(statuses(), QStringList{"200(OK)"});
    EXPECT_TRUE(QFile(ProgramFolder::workDir() + "link_get.html").size() > 0);

    // That fetch failing (a redirect loop): the error shown, the row kept.
    LocalHttpServer::Page loop;
    loop.status = 302;
    loop.location = "/web.html";
    server.setPage("/web.html", loop);
    list.setRows({{"#top", "未"}});
    check.linkListDblClick(0);
    EXPECT_EQ(statuses(), QStringList{"未"});
    EXPECT_EQ(view.errors, QStringList{"HTML文書の取得に失敗しました。"});
}
