// The Tidy run against the real tidy binary, and the HTTP fetch against a
// real server on 127.0.0.1.
#include "support/actions_fixture.h"
#include "support/test.h"
#include "tidy/report_list_model.h"

namespace {

const QByteArray kFlawedPage =
    "<html>\n<head><title>t</title></head>\n<body>\n<p>段落<b>太字</p>\n</body>\n</html>\n";

class TidyRunTest : public ActionsTest {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(QStandardPaths::findExecutable("tidy").isEmpty())
            << "the tidy package is not installed";
        actions.start();
    }

    QString page(const QString &name, const QByteArray &bytes)
    {
        home.write(name, bytes);
        return home.file(name);
    }

    void useTidy(const QByteArray &script)
    {
        actions.settings().tidyPath = home.script("tidy", script);
    }

    QStringList descriptions()
    {
        QStringList out;
        for (const ReportRow &row : actions.tidyList().rows()) out << row.description;
        return out;
    }
};

}  // namespace

TEST_F(TidyRunTest, LocalFileGivesLocatedRowsAndOpensTheOutput)
{
    // A name with a leading dash, a space, quotes and Japanese is checked as itself.
    const QString file = page("-flawed quo\"te's 日本語.html", kFlawedPage);
    EXPECT_EQ(actions.checkDocument(file), TidyRun::Outcome::Checked);

    const QVector<ReportRow> &rows = actions.tidyList().rows();
    ASSERT_GE(rows.size(), 2);
    EXPECT_EQ(rows[0].description, "情報: チェックしたHTML: " + file);
    EXPECT_EQ(rows[0].kind, ReportKind::Information);
    EXPECT_TRUE(rows[0].caption.isEmpty());

    // The unclosed <b> is reported with its place.
    EXPECT_TRUE(std::any_of(rows.cbegin(), rows.cend(), [](const ReportRow &row) {
        return row.caption == "4" && row.kind == ReportKind::Warning;
    })) << descriptions().join(u'\n').toStdString();

    // No editor is set: the output goes to the desktop's default application.
    ASSERT_EQ(runner.opened.size(), 1);
    EXPECT_TRUE(runner.opened[0].endsWith("temp/tidy_out.txt"));
    EXPECT_GE(view.broughtToFront, 1);
    EXPECT_TRUE(view.enabled.value(Control::ToolBar1) && view.enabled.value(Control::Button1));
    EXPECT_FALSE(view.busy);

    // An editor that exists gets the output instead; a relative name is checked too.
    actions.settings().editorPath = "/bin/true";
    const QString before = QDir::currentPath();
    QDir::setCurrent(home.path());
    EXPECT_EQ(actions.checkDocument(QFileInfo(file).fileName()), TidyRun::Outcome::Checked);
    QDir::setCurrent(before);
    EXPECT_FALSE(actions.tidyList().rows().value(1).caption.isEmpty());
    ASSERT_EQ(runner.detached.size(), 1);
    EXPECT_TRUE(runner.detached[0].startsWith("/bin/true ") &&
                runner.detached[0].endsWith("tidy_out.txt"));
    EXPECT_EQ(runner.opened.size(), 1);
}

TEST_F(TidyRunTest, MissingDocumentsAndAMissingTidyGiveTheirMessageRow)
{
    QDir(home.path()).mkdir("folder.html");
    for (const QString &doc : {home.file("nothing.html"), home.file("folder.html")}) {
        EXPECT_EQ(actions.checkDocument(doc), TidyRun::Outcome::NoDocument);
        EXPECT_EQ(descriptions(), QStringList{"チェックするファイルが見当たりません。"});
    }
    EXPECT_TRUE(runner.opened.isEmpty());

    actions.settings().tidyPath = home.file("no-tidy");
    EXPECT_EQ(actions.checkDocument(page("a.html", kFlawedPage)), TidyRun::Outcome::TidyMissing);
    EXPECT_EQ(descriptions(), QStringList{"Tidyの起動に失敗しました。"});
    EXPECT_TRUE(view.enabled.value(Control::ToolBar1));
}

TEST_F(TidyRunTest, ATidyThatCannotStartOrCrashesIsReported)
{
    // A file that exists but is not executable is a function failure.
    home.write("not-executable", "not a program");
    actions.settings().tidyPath = home.file("not-executable");
    actions.checkDocument(page("a.html", kFlawedPage));
    ASSERT_EQ(view.errors.size(), 1);
    EXPECT_TRUE(view.errors[0].startsWith("Function failure (\"") &&
                view.errors[0].contains("-q -f "));
    EXPECT_TRUE(view.enabled.value(Control::ToolBar1));
    EXPECT_FALSE(view.busy);

    // A crash keeps what was reported and adds an error row.
    useTidy("echo 'line 1 column 1 - Warning: partial' >&2\nkill -SEGV $$\n");
    actions.checkDocument(page("a.html", kFlawedPage));
    const QVector<ReportRow> &rows = actions.tidyList().rows();
    ASSERT_EQ(rows.size(), 3) << descriptions().join(u'\n').toStdString();
    EXPECT_EQ(rows[1].description, "警告: partial");  // the kind word in Japanese, by default
    EXPECT_EQ(rows[2].kind, ReportKind::Error);
}

TEST_F(TidyRunTest, ARunDeletesEarlierReportsAndWritesAMissingConfiguration)
{
    const QString work = ProgramFolder::workDir();
    writeFileAtomically(work + "tidy_err3.txt", "old");
    writeFileAtomically(work + "tidy_get.html", "kept");
    QFile::remove(ProgramFolder::tidyConfigPath());
    actions.checkDocument(page("a.html", kFlawedPage));
    EXPECT_FALSE(QFileInfo::exists(work + "tidy_err3.txt"));
    EXPECT_TRUE(QFileInfo::exists(work + "tidy_get.html"));
    EXPECT_TRUE(QFileInfo::exists(ProgramFolder::tidyConfigPath()));
    EXPECT_GE(actions.tidyList().rowCount(), 2);

    // Tidy's complaints about the configuration stay in the report, before
    // the document's lines, as Tidy wrote them.
    home.write("Velmarin.txt", "quiet: no\nbogus-option: yes\n");
    actions.checkDocument(page("a.html", kFlawedPage));
    const QStringList rows = descriptions();
    ASSERT_GE(rows.size(), 3);
    EXPECT_EQ(rows[1], "設定: unknown option: bogus-option");
    EXPECT_FALSE(actions.tidyList().rows()[2].caption.isEmpty()) << rows.join(u'\n').toStdString();
}

TEST_F(TidyRunTest, EmptyOutputIsReportedInTheStatusLine)
{
    useTidy("exit 0\n");
    actions.checkDocument(page("empty.html", ""));
    EXPECT_EQ(view.lastStatus, "出力はありません。");
    EXPECT_TRUE(view.lastStatusClears);
    EXPECT_GE(view.broughtToFront, 1);
    EXPECT_TRUE(runner.opened.isEmpty());
}

TEST_F(TidyRunTest, FailedFetchesSayWhyInTheList)
{
    LocalHttpServer server;
    actions.tidyList().showMessageRow("before");
    EXPECT_EQ(actions.checkDocument(server.url("/missing.html")), TidyRun::Outcome::FetchFailed);
    EXPECT_EQ(view.lastStatus, "HTML文書の取得に失敗しました。");
    EXPECT_TRUE(view.lastStatusClears);
    // One row names the address: the last report does not stay as its result.
    EXPECT_EQ(descriptions(),
              QStringList{"HTML文書の取得に失敗しました。" + server.url("/missing.html")});
    actions.tidyList().showMessageRow("before");
    actions.runUrlChecks(server.url("/gone.html"),
                         {true, false, false, false, false, false, false});
    EXPECT_EQ(descriptions(),
              QStringList{"HTML文書の取得に失敗しました。" + server.url("/gone.html")});

    // Other protocols get their row, and the row stays when the fetch fails.
    EXPECT_EQ(actions.checkDocument("ftp://127.0.0.1:1/x.html"), TidyRun::Outcome::FetchFailed);
    EXPECT_EQ(descriptions(),
              QStringList{"HTTP以外のプロトコルには対応していません。ftp://127.0.0.1:1/x.html"});
}

TEST_F(TidyRunTest, BrowserDisplayNamesTheAddressChecked)
{
    LocalHttpServer server;
    server.setPage("/empty.html", "");
    useTidy("exit 0\n");
    actions.tidyRun().run(server.url("/empty.html"), true, 1);
    EXPECT_EQ(
        TextCodec::decode(readWholeFile(TidyRun::resultPath())),
        server.url("/empty.html") + QStringLiteral("\r\n-----エラーおよび警告なし-----\r\n\r\n"
                                                   "-----出力なし-----\r\n\r\n-----END-----\r\n"));
}

TEST(BrowserResultText, EachBlockIsFollowedByAnEmptyLine)
{
    TempHome home;
    home.write("err.txt", "line 1 column 1 - Warning: w\r\n");
    home.write("out.txt", "<p>x</p>");
    EXPECT_EQ(TidyRun::browserResultText("doc.html", home.file("err.txt"), home.file("out.txt")),
              QStringLiteral("doc.html\r\n-----エラーおよび警告-----\r\n"
                             "line 1 column 1 - Warning: w\r\n\r\n"
                             "-----出力-----\r\n<p>x</p>\r\n\r\n-----END-----\r\n"));
    EXPECT_EQ(TidyRun::browserResultText("doc.html", home.file("none1"), home.file("none2")),
              "-----エラー、警告、および出力はありません-----\r\n");
}
