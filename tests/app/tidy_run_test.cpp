// Single and multi-document Tidy runs with the real tidy binary and a real
// server on 127.0.0.1.
#include <fcntl.h>
#include <unistd.h>

#include "support/actions_fixture.h"
#include "support/test.h"
#include "tidy/folder_search.h"
#include "tidy/report_lines.h"
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

    QString page(const QString &name, const QByteArray &bytes = "<p>x")
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

class TidyBatchTest : public TidyRunTest {
protected:
    void SetUp() override
    {
        TidyRunTest::SetUp();
        actions.settings().tidy.setTicked("quiet", true);
        actions.settingsStore().save();
        QDir(home.path()).mkpath("site/sub/deeper");
        QDir(home.path()).mkpath("site/asub");
    }

    QStringList reportLines(int entry)
    {
        const QString report =
            ProgramFolder::workDir() + QStringLiteral("tidy_err%1.txt").arg(entry);
        return TextCodec::splitLines(TextCodec::decode(readWholeFile(report)));
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

TEST_F(TidyRunTest, MissingDocumentsAMissingTidyAndOneThatCannotStart)
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

    // One that exists but cannot start is a function failure (a crash mid-run:
    // TidyBatchTest.ParallelRunsKeepTheListOrder).
    home.write("not-executable", "not a program");
    actions.settings().tidyPath = home.file("not-executable");
    actions.checkDocument(page("a.html", kFlawedPage));
    ASSERT_EQ(view.errors.size(), 1);
    EXPECT_TRUE(view.errors[0].startsWith("Function failure (\"") &&
                view.errors[0].contains("-q -f "));
    EXPECT_TRUE(view.enabled.value(Control::ToolBar1));
    EXPECT_FALSE(view.busy);
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

// Without output: a word in the status line, or the browser's result text.
TEST_F(TidyRunTest, EmptyOutputAndTheBrowserResultText)
{
    useTidy("exit 0\n");
    actions.checkDocument(page("empty.html", ""));
    EXPECT_EQ(view.lastStatus, "出力はありません。");
    EXPECT_TRUE(view.lastStatusClears && view.broughtToFront >= 1 && runner.opened.isEmpty());

    LocalHttpServer server;
    server.setPage("/empty.html", "");
    actions.tidyRun().run(server.url("/empty.html"), true, 1);
    EXPECT_EQ(
        TextCodec::decode(readWholeFile(TidyRun::resultPath())),
        server.url("/empty.html") + QStringLiteral("\r\n-----エラーおよび警告なし-----\r\n\r\n"
                                                   "-----出力なし-----\r\n\r\n-----END-----\r\n"));

    home.write("err.txt", "line 1 column 1 - Warning: w\r\n");
    home.write("out.txt", "<p>x</p>");
    EXPECT_EQ(TidyRun::browserResultText("doc.html", home.file("err.txt"), home.file("out.txt")),
              QStringLiteral("doc.html\r\n-----エラーおよび警告-----\r\n"
                             "line 1 column 1 - Warning: w\r\n\r\n"
                             "-----出力-----\r\n<p>x</p>\r\n\r\n-----END-----\r\n"));
    EXPECT_EQ(TidyRun::browserResultText("doc.html", home.file("none1"), home.file("none2")),
              "-----エラー、警告、および出力はありません-----\r\n");
}

// A report of megabytes is read in two pieces on two cores: every line in
// its place, whatever its line break, and CP932 bytes read as CP932 on
// either side of the cut.
TEST_F(TidyRunTest, ALargeReportKeepsEveryLineInItsPlace)
{
    const int lines = 40000;
    QByteArray report;
    const char *breaks[] = {"\r\n", "\n", "\r"};
    for (int i = 1; i <= lines; ++i) {
        const QByteArray entity = i % 1000 == 7 ? "&\x93\xfa\x96\x7b" : "&A";
        report += "line " + QByteArray::number(i) + " column 65 - Warning: unescaped & or " +
                  "unknown entity \"" + entity + "\" (UNKNOWN_ENTITY)" + breaks[i % 3];
    }
    report += "Info: Document content looks like HTML5\n";
    home.write("report.txt", report);
    useTidy("[ \"$1\" = -q ] || exec tidy \"$@\"\ncat '" + home.file("report.txt").toUtf8() +
            "' > \"$3\"\nexit 1\n");
    actions.settings().tidyJapanese = true;
    actions.checkDocument(page("big.html"));

    const QVector<ReportRow> &rows = actions.tidyList().rows();
    ASSERT_EQ(rows.size(), lines + 2);
    for (int i = 1; i <= lines; ++i) {
        const QString entity = i % 1000 == 7 ? "&日本" : "&A";
        const ReportRow &row = rows[i];
        if (row.caption != QString::number(i) || row.kind != ReportKind::Warning ||
            row.description != "警告: エスケープされていない & または不明な文字参照 \"" + entity +
                                   "\" があります") {
            FAIL() << i << ": " << row.caption.toStdString() << " "
                   << row.description.toStdString();
        }
    }
    EXPECT_TRUE(rows.last().caption.isEmpty());
    EXPECT_EQ(rows.last().description, "情報: Document content looks like HTML5");
}

// Cut into two pieces on every line break, a report reads as it does whole.
TEST(ReportLines, PiecesReadAsTheWhole)
{
    const struct {
        QByteArray report;
        QString lines;
    } cases[] = {
        {"\xEF\xBB\xBF\xEF\xBB\xBF" "a\nb\n", "a\r\nb\r\n"},
        {"abcdefgh\n\xEF\xBB\xBF\r\n\n", "abcdefgh\r\n\uFEFF\r\n\r\n"},
        {"\x93\xfa\r\n\x96\x7b\n", "日\r\n本\r\n"},
    };
    for (const auto &c : cases) {
        QString lines;
        appendReportLines(c.report, nullptr, &lines, 1);
        EXPECT_EQ(lines, c.lines) << c.report.toHex().constData();
    }
}

TEST_F(TidyBatchTest, FolderSearchOrder)
{
    page("site/c.txt");
    const QString b = page("site/b.html"), a = page("site/a.HTM");
    const QString bak = page("site/d.htm.bak"), x = page("site/asub/x.html");
    const QString z = page("site/sub/z.html"), y = page("site/sub/deeper/y.htm");
    // A link back up must not make the search go round forever.
    ASSERT_EQ(symlink("..", QFile::encodeName(home.file("site/sub/loop")).constData()), 0);
    // A name whose bytes are no text in the system's encoding cannot be handed on.
    const QByteArray raw = QFile::encodeName(home.file("site/")) + "\x93\xfa.html";
    close(open(raw.constData(), O_CREAT | O_WRONLY, 0644));

    const QString site = home.file("site");
    const FolderSearch flat = collectFiles(site, false);
    EXPECT_EQ(flat.files, QStringList({a, b, bak}));
    ASSERT_EQ(flat.unreadable.size(), 1);

    const FolderSearch deep = collectFiles(site, true);
    EXPECT_EQ(deep.files, QStringList({a, b, bak, x, z, y}));
    EXPECT_TRUE(collectFiles(home.file("nowhere"), true).files.isEmpty());
}

TEST_F(TidyBatchTest, FolderBatchNumbersEntriesAndShowsTheFirst)
{
    const QString a = page("site/a.html", "<html><body><p>a</body></html>");
    const QString b = page("site/b.html");
    const QString z = page("site/sub/z.html");
    actions.settings().includeSubfolders = true;
    view.folderAnswer = home.file("site");
    actions.folderAction();
    actions.waitForBatch();

    EXPECT_EQ(actions.fileSelector().stringList(), QStringList({a, b, z}));
    EXPECT_EQ(actions.tidyList().rows().value(0).description, "情報: チェックしたHTML: " + a);
    ASSERT_EQ(runner.opened.size(), 1);
    EXPECT_TRUE(runner.opened[0].endsWith("tidy_out0.txt"));
    EXPECT_TRUE(view.lastStatus.isEmpty());
    EXPECT_EQ(view.progress, QStringList({"1/3", "2/3", "3/3", "0/0"}));
    EXPECT_EQ(view.events.filter("を処理中"),
              QStringList(
                  {"status: 1/3を処理中...", "status: 2/3を処理中...", "status: 3/3を処理中..."}));
    EXPECT_TRUE(!view.enabled.value(Control::BitBtn1) && view.enabled.value(Control::ToolBar1));
    EXPECT_EQ(IniFile(ProgramFolder::iniPath()).readString("Tidy", "Dir", ""),
              QFileInfo(z).absolutePath());

    actions.showEntry(2);
    EXPECT_EQ(actions.tidyList().rows()[0].description, "情報: チェックしたHTML: " + z);
    EXPECT_TRUE(runner.opened.last().endsWith("tidy_out2.txt"));
}

// Three Tidy runs at once, by a stand-in whose runs end in the order the
// test chooses: each waits for its gate file, then opens the next one's. A
// "lock" run takes the stand-in's x bit (the next start fails), a "crash" run dies.
TEST_F(TidyBatchTest, ParallelRunsKeepTheListOrder)
{
    IniFile(ProgramFolder::iniPath()).writeString("Tidy", "Jobs", "3");
    actions.settings().tidyJapanese = false;
    const QString script =
        home.script("fake-tidy", QByteArray(R"([ "$1" = -q ] || exit 0
[ "$2" = -f ] || exit 9
for a; do doc="${a##*/}"; done
g='GATES'"$doc"
echo "$doc" >> 'GATES'started
while [ ! -e "$g.go" ]; do sleep 0.02; done
echo "line 1 column 1 - Warning: $doc" > "$3"
echo "<p>$doc"
[ -e "$g.lock" ] && chmod -x "$0"
echo "$doc" >> 'GATES'finished
[ -e "$g.then" ] && : > 'GATES'"$(cat "$g.then").go"
[ -e "$g.crash" ] && kill -SEGV $$
exit 1
)")
                                     .replace("GATES", home.file("gates/").toUtf8()));
    actions.settings().tidyPath = script;

    const struct {
        const char *name;
        QStringList docs;
        QStringList chain;  // the order the runs end in; the test opens the first gate
        QString lock, crash;
        bool abort;
    } cases[] = {
        // c ends first, then d cannot start (c took the x bit), b crashes, a ends last.
        {"out of order, one crash, one start failure",
         {"a", "b", "c", "d"},
         {"c", "b", "a"},
         "c",
         "b",
         false},
        // Aborted with three running: they finish and stay, nothing more starts.
        {"abort", {"a", "b", "c", "d", "e"}, {"b", "c", "a"}, "", "", true},
    };
    const QStringList entries{"a", "b", "c"};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(home.file("gates")).removeRecursively();
        QDir(home.path()).mkpath("gates");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QStringList files;
        for (const QString &d : c.docs) files << page("site/" + d + ".html");
        for (int i = 0; i + 1 < c.chain.size(); ++i)
            home.write("gates/" + c.chain[i] + ".html.then", (c.chain[i + 1] + ".html").toUtf8());
        if (!c.lock.isEmpty()) home.write("gates/" + c.lock + ".html.lock", "");
        if (!c.crash.isEmpty()) home.write("gates/" + c.crash + ".html.crash", "");
        view.errors.clear();

        actions.dropOnTidyList(files);
        if (c.abort) actions.abortBatch();
        home.write("gates/" + c.chain[0] + ".html.go", "");
        actions.waitForBatch();

        QStringList started =
            QString::fromUtf8(home.read("gates/started")).split(u'\n', Qt::SkipEmptyParts);
        started.sort();
        EXPECT_EQ(started, QStringList({"a.html", "b.html", "c.html"}));
        EXPECT_EQ(home.read("gates/finished"), (c.chain.join(".html\n") + ".html\n").toUtf8());
        EXPECT_EQ(actions.fileSelector().stringList(), files.mid(0, 3));
        for (int i = 0; i < 3; ++i) {
            const QStringList lines = reportLines(i);
            EXPECT_EQ(lines.value(1), "line 1 column 1 - Warning: " + entries[i] + ".html");
            EXPECT_EQ(lines.contains("Error: Tidyが異常終了しました。"), entries[i] == c.crash);
            EXPECT_EQ(home.read("temp/tidy_out" + QByteArray::number(i) + ".txt"),
                      "<p>" + entries[i].toUtf8() + ".html\n");
        }
        EXPECT_FALSE(QFile::exists(ProgramFolder::workDir() + "tidy_err3.txt"));
        EXPECT_EQ(view.errors.size(), c.lock.isEmpty() ? 0 : 1);
        EXPECT_EQ(actions.tidyList().rows().value(0).description,
                  "情報: チェックしたHTML: " + files[0]);
        for (const QString &f : files) QFile::remove(f);
    }
}

// A drop of which no document starts shows nothing of the batch before it.
TEST_F(TidyBatchTest, EmptyFolderVanishedFilesAndDropsThatCheckNothing)
{
    view.folderAnswer = home.file("site/asub");
    actions.folderAction();
    ASSERT_EQ(actions.tidyList().rowCount(), 1);
    EXPECT_EQ(actions.tidyList().rows()[0].description, "HTMLファイルが見つかりませんでした。");
    EXPECT_TRUE(view.lastStatus.isEmpty());

    // A file gone before its turn is reported; the numbers stay with the entries,
    // in the dropped order.
    const QString f0 = page("site/f0.html"), f1 = page("site/f1.html");
    actions.dropOnTidyList({f1, home.file("site/gone.html"), f0});
    actions.waitForBatch();
    EXPECT_EQ(actions.fileSelector().stringList(), QStringList({f1, f0}));
    EXPECT_EQ(reportLines(1).value(0), "情報: チェックしたHTML: " + f0);
    ASSERT_FALSE(view.notices.isEmpty());
    EXPECT_TRUE(
        view.notices.last().contains("ファイルがありません。" + home.file("site/gone.html")));
    const qsizetype opened = runner.opened.size();

    const struct {
        QStringList dropped;
        QString tidyPath;
        QString row;
    } cases[] = {
        {{home.file("site/sub"), home.file("site/asub")},
         actions.settings().tidyPath,
         "ファイルがありません。" + home.file("site/asub")},
        {{f0, f1}, home.file("no-tidy"), "Tidyが見当たりません"},
    };
    for (const auto &c : cases) {
        actions.settings().tidyPath = c.tidyPath;
        actions.dropOnTidyList(c.dropped);
        actions.waitForBatch();
        EXPECT_TRUE(actions.fileSelector().stringList().isEmpty());
        ASSERT_EQ(actions.tidyList().rowCount(), 1);
        EXPECT_EQ(actions.tidyList().rows()[0].description, c.row);
        EXPECT_EQ(runner.opened.size(), opened);
        EXPECT_EQ(view.lastStatus, "チェックした文書はありません。");
        EXPECT_TRUE(view.enabled.value(Control::ToolBar1) && view.enabled.value(Control::Button1));
    }
}

TEST_F(TidyBatchTest, CommandLineEntriesFromFilesAndUrls)
{
    LocalHttpServer server;
    server.setPage("/p.html", "<p>web");
    const QString a = page("site/a.html");

    actions.processCommandLine({server.url("/p.html"), server.url("/missing.html"), a});
    EXPECT_EQ(actions.fileSelector().stringList(), QStringList({server.url("/p.html"), a}));
    EXPECT_EQ(reportLines(0).value(0), "情報: チェックしたHTML: " + server.url("/p.html"));
    EXPECT_EQ(reportLines(1).value(0), "情報: チェックしたHTML: " + a);
    EXPECT_TRUE(view.events.contains("status: HTML文書の取得に失敗しました。"));
    EXPECT_TRUE(QFile::exists(ProgramFolder::workDir() + "tidy_get2.html"));
}
