// Multi-document runs: the folder batch, dropped files and command lines,
// with the real tidy binary and a real server on 127.0.0.1.
#include "support/test.h"

#include <fcntl.h>
#include <unistd.h>

#include "app/main_actions.h"
#include "tidy/folder_search.h"
#include "tidy/report_list_model.h"

namespace {

class TidyBatchTest : public ::testing::Test {
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

    QString firstReportLine(int entry)
    {
        const QString report = ProgramFolder::workDir() + QStringLiteral("tidy_err%1.txt").arg(entry);
        return TextCodec::splitLines(TextCodec::decode(readWholeFile(report))).value(0);
    }

    TempHome home;
    RecordingView view;
    RecordingRunner runner;
    MainActions actions{view, runner};
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

    EXPECT_EQ(actions.fileSelector().stringList(), QStringList({a, b, z}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(firstReportLine(i), "情報: チェックしたHTML: " + QStringList({a, b, z}).at(i));
    // Entry 0 is shown and its output opened; the status line is cleared.
    ASSERT_GE(actions.tidyList().rowCount(), 1);
    EXPECT_EQ(actions.tidyList().rows()[0].description, "情報: チェックしたHTML: " + a);
    ASSERT_EQ(runner.opened.size(), 1);
    EXPECT_TRUE(runner.opened[0].endsWith("tidy_out0.txt"));
    EXPECT_TRUE(view.events.contains("status: 2/3を処理中..."));
    EXPECT_TRUE(view.lastStatus.isEmpty());
    EXPECT_EQ(view.progress, QStringList({"1/3", "2/3", "3/3", "0/0"}));
    EXPECT_TRUE(!view.enabled.value(Control::BitBtn1) && view.enabled.value(Control::ToolBar1));
    EXPECT_EQ(IniFile(ProgramFolder::iniPath()).readString("Tidy", "Dir", ""),
              QFileInfo(z).absolutePath());

    // Choosing entry 2 shows its report and opens its output.
    actions.showEntry(2);
    EXPECT_EQ(actions.tidyList().rows()[0].description, "情報: チェックしたHTML: " + z);
    EXPECT_TRUE(runner.opened.last().endsWith("tidy_out2.txt"));

    // Two files dropped afterwards make a selector of just those two.
    actions.dropOnTidyList({b, a});
    EXPECT_EQ(actions.fileSelector().stringList(), QStringList({b, a}));
    EXPECT_EQ(actions.tidyList().rows()[0].description, "情報: チェックしたHTML: " + b);
}

TEST_F(TidyBatchTest, EmptyFolderAbortAndVanishedFiles)
{
    view.folderAnswer = home.file("site/asub");
    actions.folderAction();
    ASSERT_EQ(actions.tidyList().rowCount(), 1);
    EXPECT_EQ(actions.tidyList().rows()[0].description, "HTMLファイルが見つかりませんでした。");
    EXPECT_TRUE(view.lastStatus.isEmpty());

    QStringList files;
    for (int i = 0; i < 10; ++i)
        files << write(QStringLiteral("site/f%1.html").arg(i));
    view.onStatus = [this](const QString &text) {
        if (text == "3/10を処理中...")
            actions.abortBatch();
    };
    view.folderAnswer = home.file("site");
    actions.folderAction();
    EXPECT_EQ(actions.fileSelector().rowCount(), 3);
    EXPECT_TRUE(view.lastStatus.isEmpty());
    EXPECT_EQ(actions.tidyList().rows()[0].description, "情報: チェックしたHTML: " + files[0]);

    // A file gone before its turn is reported; the numbers stay with the entries.
    view.onStatus = nullptr;
    actions.dropOnTidyList({files[0], home.file("site/gone.html"), files[1]});
    EXPECT_EQ(actions.fileSelector().stringList(), QStringList({files[0], files[1]}));
    EXPECT_EQ(firstReportLine(1), "情報: チェックしたHTML: " + files[1]);
    ASSERT_FALSE(view.notices.isEmpty());
    EXPECT_TRUE(view.notices.last().contains("ファイルがありません。" + home.file("site/gone.html")));
}

// A drop of which no document starts shows nothing of the batch before it.
TEST_F(TidyBatchTest, ADropThatChecksNothingShowsNoOldReport)
{
    const QString a = write("site/a.html"), b = write("site/b.html");
    actions.dropOnTidyList({a, b});  // leaves tidy_err0.txt and tidy_out0.txt behind
    ASSERT_EQ(actions.fileSelector().rowCount(), 2);
    const qsizetype opened = runner.opened.size();

    const QString noTidy = home.file("no-tidy");
    const struct {
        QStringList dropped;
        QString tidyPath;
        QString row;
    } cases[] = {
        {{home.file("site/sub"), home.file("site/asub")}, actions.settings().tidyPath,
         "ファイルがありません。" + home.file("site/asub")},
        {{a, b}, noTidy, "Tidyが見当たりません"},
    };
    for (const auto &c : cases) {
        actions.settings().tidyPath = c.tidyPath;
        actions.dropOnTidyList(c.dropped);
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
    EXPECT_EQ(firstReportLine(0), "情報: チェックしたHTML: " + server.url("/p.html"));
    EXPECT_EQ(firstReportLine(1), "情報: チェックしたHTML: " + a);
    EXPECT_TRUE(view.events.contains("status: HTML文書の取得に失敗しました。"));
    EXPECT_TRUE(QFile::exists(ProgramFolder::workDir() + "tidy_get2.html"));

    // A single document leaves the selector empty with its report shown.
    actions.processCommandLine({a});
    EXPECT_TRUE(actions.fileSelector().stringList().isEmpty());
    EXPECT_EQ(actions.tidyList().rows()[0].description, "情報: チェックしたHTML: " + a);

    // An upload shows the UpLoad page.
    actions.processCommandLine({"-w3c", a});
    EXPECT_EQ(view.page, 3);
}

}  // namespace
