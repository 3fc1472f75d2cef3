// Multi-document runs: the folder batch, dropped files and command lines,
// with the real tidy binary and a real server on 127.0.0.1.
#include <fcntl.h>
#include <unistd.h>

#include "support/actions_fixture.h"
#include "support/test.h"
#include "tidy/folder_search.h"
#include "tidy/report_list_model.h"

namespace {

class TidyBatchTest : public ActionsTest {
protected:
    void SetUp() override
    {
        actions.start();
        actions.settings().tidy.setTicked("quiet", true);
        actions.settingsStore().save();
        QDir(home.path()).mkpath("site/sub/deeper");
        QDir(home.path()).mkpath("site/asub");
    }

    QString write(const QString &name, const QByteArray &bytes = "<p>x")
    {
        home.write(name, bytes);
        return home.file(name);
    }

    QStringList reportLines(int entry)
    {
        const QString report =
            ProgramFolder::workDir() + QStringLiteral("tidy_err%1.txt").arg(entry);
        return TextCodec::splitLines(TextCodec::decode(readWholeFile(report)));
    }
};

TEST_F(TidyBatchTest, FolderSearchOrder)
{
    write("site/c.txt");
    const QString b = write("site/b.html"), a = write("site/a.HTM");
    const QString bak = write("site/d.htm.bak"), x = write("site/asub/x.html");
    const QString z = write("site/sub/z.html"), y = write("site/sub/deeper/y.htm");
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
    const QString a = write("site/a.html", "<html><body><p>a</body></html>");
    const QString b = write("site/b.html");
    const QString z = write("site/sub/z.html");
    actions.settings().includeSubfolders = true;
    view.folderAnswer = home.file("site");
    actions.folderAction();
    actions.waitForBatch();

    EXPECT_EQ(actions.fileSelector().stringList(), QStringList({a, b, z}));
    // Entry 0 is shown and its output opened; the status line is cleared.
    EXPECT_EQ(actions.tidyList().rows().value(0).description, "情報: チェックしたHTML: " + a);
    ASSERT_EQ(runner.opened.size(), 1);
    EXPECT_TRUE(runner.opened[0].endsWith("tidy_out0.txt"));
    EXPECT_TRUE(view.lastStatus.isEmpty());
    EXPECT_EQ(view.progress, QStringList({"1/3", "2/3", "3/3", "0/0"}));
    EXPECT_TRUE(!view.enabled.value(Control::BitBtn1) && view.enabled.value(Control::ToolBar1));
    EXPECT_EQ(IniFile(ProgramFolder::iniPath()).readString("Tidy", "Dir", ""),
              QFileInfo(z).absolutePath());

    // Choosing entry 2 shows its report and opens its output.
    actions.showEntry(2);
    EXPECT_EQ(actions.tidyList().rows()[0].description, "情報: チェックしたHTML: " + z);
    EXPECT_TRUE(runner.opened.last().endsWith("tidy_out2.txt"));
}

TEST_F(TidyBatchTest, EmptyFolderAndVanishedFiles)
{
    view.folderAnswer = home.file("site/asub");
    actions.folderAction();
    ASSERT_EQ(actions.tidyList().rowCount(), 1);
    EXPECT_EQ(actions.tidyList().rows()[0].description, "HTMLファイルが見つかりませんでした。");
    EXPECT_TRUE(view.lastStatus.isEmpty());

    // A file gone before its turn is reported; the numbers stay with the entries,
    // in the dropped order.
    const QString f0 = write("site/f0.html"), f1 = write("site/f1.html");
    actions.dropOnTidyList({f1, home.file("site/gone.html"), f0});
    actions.waitForBatch();
    EXPECT_EQ(actions.fileSelector().stringList(), QStringList({f1, f0}));
    EXPECT_EQ(reportLines(1).value(0), "情報: チェックしたHTML: " + f0);
    ASSERT_FALSE(view.notices.isEmpty());
    EXPECT_TRUE(
        view.notices.last().contains("ファイルがありません。" + home.file("site/gone.html")));
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
    // In both: a, b and c started and are the entries, in list order.
    const QStringList entries{"a", "b", "c"};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(home.file("gates")).removeRecursively();
        QDir(home.path()).mkpath("gates");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QStringList files;
        for (const QString &d : c.docs) files << write("site/" + d + ".html");
        for (int i = 0; i + 1 < c.chain.size(); ++i)
            home.write("gates/" + c.chain[i] + ".html.then", (c.chain[i + 1] + ".html").toUtf8());
        if (!c.lock.isEmpty()) home.write("gates/" + c.lock + ".html.lock", "");
        if (!c.crash.isEmpty()) home.write("gates/" + c.crash + ".html.crash", "");
        view.events.clear();
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
        QStringList statuses, expected;
        for (const QString &e : view.events)
            if (e.startsWith("status: ") && e.endsWith("を処理中...")) statuses << e.mid(8);
        for (int k = 1; k <= (c.abort ? 3 : c.docs.size()); ++k)
            expected << QStringLiteral("%1/%2を処理中...").arg(k).arg(c.docs.size());
        EXPECT_EQ(statuses, expected);
        EXPECT_EQ(view.errors.size(), c.lock.isEmpty() ? 0 : 1);
        EXPECT_EQ(actions.tidyList().rows().value(0).description,
                  "情報: チェックしたHTML: " + files[0]);
        for (const QString &f : files) QFile::remove(f);
    }
}

// A drop of which no document starts shows nothing of the batch before it.
TEST_F(TidyBatchTest, ADropThatChecksNothingShowsNoOldReport)
{
    const QString a = write("site/a.html"), b = write("site/b.html");
    actions.dropOnTidyList({a, b});  // leaves tidy_err0.txt and tidy_out0.txt behind
    actions.waitForBatch();
    ASSERT_EQ(actions.fileSelector().rowCount(), 2);
    const qsizetype opened = runner.opened.size();

    const struct {
        QStringList dropped;
        QString tidyPath;
        QString row;
    } cases[] = {
        {{home.file("site/sub"), home.file("site/asub")},
         actions.settings().tidyPath,
         "ファイルがありません。" + home.file("site/asub")},
        {{a, b}, home.file("no-tidy"), "Tidyが見当たりません"},
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
    const QString a = write("site/a.html");

    actions.processCommandLine({server.url("/p.html"), server.url("/missing.html"), a});
    EXPECT_EQ(actions.fileSelector().stringList(), QStringList({server.url("/p.html"), a}));
    EXPECT_EQ(reportLines(0).value(0), "情報: チェックしたHTML: " + server.url("/p.html"));
    EXPECT_EQ(reportLines(1).value(0), "情報: チェックしたHTML: " + a);
    EXPECT_TRUE(view.events.contains("status: HTML文書の取得に失敗しました。"));
    EXPECT_TRUE(QFile::exists(ProgramFolder::workDir() + "tidy_get2.html"));
}

}  // namespace
