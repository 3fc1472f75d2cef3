// The CSS check with the real Java runtime and validator stand-ins the test compiles.
#include "checks/css_check.h"

#include "app/main_actions.h"
#include "support/process_run.h"
#include "support/test.h"

namespace {

// A stand-in: its class name and a report line, or what the file's name asks for.
QByteArray validatorSource(const QByteArray &className)
{
    return QByteArray(R"(package org.w3c.css.css;
public class NAME {
  public static void main(String[] a) throws Exception {
    java.io.PrintStream out = new java.io.PrintStream(System.out, true, "UTF-8");
    java.io.File f = new java.io.File(a[0]);
    if (a[0].startsWith("http")) { out.println("URL " + a[0]); return; }
    if (f.getName().equals("silent.css")) return;
    if (f.getName().equals("err.css")) { System.err.println("broken"); return; }
    out.println("NAME");
    out.println("\u884c\u756a\u53f7: 12 \u30bb\u30ec\u30af\u30bf p : \u8aa4\u308a");
  }
}
)")
        .replace("NAME", className);
}

class CssCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(QStandardPaths::findExecutable("javac").isEmpty()) << "no JDK installed";
        actions.start();
        home.write("a.css", "p { color: red }");
        home.write("silent.css", "");
        home.write("err.css", "");
    }

    void installJar(const QByteArray &className)
    {
        const QString src = home.file("src/org/w3c/css/css");
        QDir().mkpath(src);
        home.write("src/org/w3c/css/css/" + className + ".java", validatorSource(className));
        const RunResult javac =
            run("javac", {"-d", home.file("classes"), src + "/" + className + ".java"});
        ASSERT_EQ(javac.exitCode, 0) << javac.err.toStdString();
        const QString jar = ProgramFolder::file(CssCheck::kJarName);
        ASSERT_EQ(run("jar", {"cf", jar, "-C", home.file("classes"), "."}).exitCode, 0);
    }

    QStringList column(int c)
    {
        QStringList out;
        for (const auto &row : actions.cssList().rows()) out << (c == 0 ? row.first : row.second);
        return out;
    }

    TempHome home;
    RecordingView view;
    RecordingRunner runner;
    MainActions actions{view, runner};
};

TEST(CssReportLineTest, LineNumberFieldCutAtShiftJisBytes)
{
    const struct {
        QString line, first, second;
    } cases[] = {
        {"行番号: 12 セレクタ p : 誤り", " 12", " セレクタ p : 誤り"},
        {"行番号: 5 x", " 5 ", " x"},
        {"行番号:123 abc def", "123 ab", " def"},
        // Positions count Shift_JIS bytes ("?" per UTF-16 unit it lacks); a character
        // whose first byte is inside a cell stays whole.
        {"行番号: 3 .café 誤り", " 3 ", " .café 誤り"},
        {"行番号: é1 x", " é1", " x"},
        {"行番号: 😀 ok€", " 😀", " ok€"},
        {"行番号:1 xあい b", "1 xあ", " b"},
        {"普通の行", "", "普通の行"},
        {"", "", ""},
        // No space at or after the field: the line is shown whole.
        {"行番号:1", "", "行番号:1"},
    };
    for (const auto &c : cases) {
        const MessageListModel::Row row = CssCheck::reportRow(c.line);
        EXPECT_EQ(row.first, c.first) << c.line.toStdString();
        EXPECT_EQ(row.second, c.second) << c.line.toStdString();
    }
}

TEST_F(CssCheckTest, TodaysJarRunsUnderItsOwnClassNameTheOriginalIsPreferred)
{
    installJar("CssValidator");
    actions.processCommandLine({"-css", home.file("a.css")});
    EXPECT_EQ(column(0), QStringList({"", " 12"}));
    EXPECT_EQ(column(1), QStringList({"CssValidator", " セレクタ p : 誤り"}));
    EXPECT_EQ(view.lastStatus, "CSSチェックが終了しました。");
    EXPECT_TRUE(view.lastStatusClears);
    EXPECT_EQ(view.page, 1);
    EXPECT_TRUE(view.enabled.value(Control::Button2));

    actions.processCommandLine({"-css", "http://127.0.0.1:1/x.css"});
    EXPECT_EQ(column(1), QStringList({"URL http://127.0.0.1:1/x.css"}));

    // Nothing written: the list stays.
    actions.processCommandLine({"-css", home.file("silent.css")});
    EXPECT_EQ(column(1), QStringList({"URL http://127.0.0.1:1/x.css"}));
    EXPECT_EQ(view.lastStatus, "CSSチェックが終了しました。");

    actions.dropOnCssList({home.file("err.css"), home.file("a.css")});
    EXPECT_EQ(column(1), QStringList({"broken"}));

    installJar("StyleSheetCom");
    actions.cssCheck().checkCssTarget(home.file("a.css"));
    EXPECT_EQ(column(1).value(0), "StyleSheetCom");
}

TEST_F(CssCheckTest, MissingTargetsValidatorAndJava)
{
    // Old working files never pass for a new report.
    home.write("temp/css_out.txt", "old");
    actions.cssCheck().checkCssTarget(home.file("none.css"));
    EXPECT_EQ(column(1),
              QStringList({"指定されたファイルが見つかりません。" + home.file("none.css")}));
    actions.cssCheck().checkCssTarget("ftp://h/x.css");
    EXPECT_EQ(column(1),
              QStringList({"HTTP以外のプロトコルには対応していません。\r\nftp://h/x.css"}));

    // No validator where Java looks.
    qputenv("CLASSPATH", home.file("lib").toUtf8());
    actions.cssCheck().checkCssTarget(home.file("a.css"));
    qunsetenv("CLASSPATH");
    const QString jar = ProgramFolder::file(CssCheck::kJarName);
    EXPECT_EQ(column(1), QStringList({"CSSバリデータが見つかりませんでした。探した場所: "
                                      "プログラムフォルダの" +
                                      jar + "、環境変数CLASSPATH(" + home.file("lib") +
                                      ")。CSSバリデータのjarファイルを「" + jar +
                                      "」として置いてください。"}));
    EXPECT_FALSE(actions.cssCheck().lastChecked());

    // No Java at all.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", home.path().toUtf8());
    actions.processCommandLine({"-css", home.file("a.css")});
    qputenv("PATH", path);
    ASSERT_EQ(view.errors.size(), 1);
    EXPECT_TRUE(
        view.errors[0].startsWith("Function failure (java org.w3c.css.css.StyleSheetCom \""));
    EXPECT_TRUE(view.enabled.value(Control::ToolBar1) && view.enabled.value(Control::Button2));
    EXPECT_FALSE(view.busy);
}

}  // namespace
