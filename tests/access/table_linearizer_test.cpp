#include "access/table_linearizer.h"

#include "access/table_action.h"
#include "core/folder_memory.h"
#include "support/process_run.h"
#include "support/test.h"

using namespace Qt::Literals::StringLiterals;

TEST(TableLinearizer, RowsAndMarkers)
{
    QString file = QString::fromUtf8(readWholeFile(testDataPath(u"access_table_rows.txt"_s)));
    const QStringList pages = file.replace(u"\r\n"_s, u"\n"_s).split(u"\n== "_s).mid(1);
    ASSERT_EQ(pages.size(), 15);
    for (QString page : pages) {
        if (page.endsWith(u'\n')) page.chop(1);
        QStringList expected = page.split(u"\n--\n"_s);
        const QString what = expected.takeFirst();
        QStringList tables;
        for (const TableEntry &entry : linearizeTables(what.section(u'\n', 1))) {
            tables << QString(entry.html).replace(u"\r\n"_s, u"\n"_s);
            if (tables.last().endsWith(u'\n')) tables.last().chop(1);
        }
        EXPECT_EQ(tables, expected) << what.section(u'\n', 0, 0).toStdString();
    }

    const QList<TableEntry> nested =
        linearizeTables(u"<table><td><table></table></td></table><table>"_s);
    ASSERT_EQ(nested.size(), 3);
    EXPECT_EQ(nested[0].start, 0);
    EXPECT_EQ(nested[1].start, 2);
    EXPECT_FALSE(nested[0].open || nested[1].open);
    EXPECT_TRUE(nested[2].open);
}

TEST(TableLinearizer, DeepAndManyTables)
{
    QString deep;
    for (int i = 0; i < 1000; ++i) deep += u"<table><tr><td>"_s + QString::number(i);
    for (int i = 0; i < 1000; ++i) deep += u"</td></tr></table>"_s;
    const QList<TableEntry> nested = linearizeTables(deep);
    ASSERT_EQ(nested.size(), 1000);
    EXPECT_EQ(nested[999].html, u"\t<tr><td>999</td></tr>\r\n"_s);
    EXPECT_EQ(nested[0].html, u"\t<tr><td>0</td></tr>\r\n"_s);

    const QString many = u"<table><td>x</td></table>"_s.repeated(10000) + u"<table><td>y<"_s;
    const QList<TableEntry> tables = linearizeTables(many);
    ASSERT_EQ(tables.size(), 10001);
    EXPECT_EQ(tables.last().html, u"\t<tr><td>y&lt;"_s);  // the "<" at the end starts no tag
}

TEST(TableLinearizer, ReadsThePageInItsEncoding)
{
    const QString text = u"<table><td>表の「セル」ｱ</td></table>"_s;
    const QByteArray sjis = inEncoding(text, "CP932"), euc = inEncoding(text, "EUC-JP");
    const QByteArray kanaEuc =
        QByteArray::fromHex("3c74643ea4a2a4a43c2f74643e");  // undecided as bytes
    const QByteArray jis = "<td>\x1B$B$\"$$\x1B(B</td>";
    const QByteArray supplement = QByteArray::fromHex("3c74643e8fb0a13c2f74643e");  // JIS X 0212 丂
    const std::tuple<const char *, QByteArray, QString, QString> cases[] = {
        {"Shift_JIS by its bytes", sjis, u""_s, text},
        {"Shift_JIS by its aliases", sjis, u"x-sjis"_s, text},
        {"Shift_JIS as Windows names it", sjis, u"windows-31j"_s, text},
        {"an unknown declaration: the bytes decide", sjis, u"x-unknown"_s, text},
        {"EUC-JP by its alias", euc, u"x-euc-jp"_s, text},
        {"ISO-8859-1 declared", "caf\xE9 cr\xE8me \xA9 na\xEFve \x93q\x94", u"ISO-8859-1"_s,
         u"caf\u00E9 cr\u00E8me \u00A9 na\u00EFve \u201Cq\u201D"_s},
        {"windows-1251 declared", "\xCF\xF0\xE8", u"windows-1251"_s, u"\u041F\u0440\u0438"_s},
        {"UTF-8 by its alias", text.toUtf8(), u"utf8"_s, text},
        {"UTF-8 with characters of four bytes, undeclared", u"<td>\U0001F600 表</td>"_s.toUtf8(),
         u""_s, u"<td>\U0001F600 表</td>"_s},
        {"EUC-JP by its bytes", "<td>\xF0\xA1</td>" + euc, u""_s, u"<td>陝</td>"_s + text},
        {"undecided bytes without a declaration read as Shift_JIS", kanaEuc, u""_s,
         u"<td>､｢､､</td>"_s},
        {"EUC-JP declared, bytes undecided", kanaEuc, u"euc-jp"_s, u"<td>あい</td>"_s},
        {"EUC-JP declared on Shift_JIS bytes", sjis, u"euc-jp"_s, text},
        {"EUC-JP with a JIS X 0212 character", supplement, u"euc-jp"_s, u"<td>丂</td>"_s},
        {"JIS by its escapes", jis, u""_s, u"<td>あい</td>"_s},
        {"JIS declared", jis, u"iso-2022-jp"_s, u"<td>あい</td>"_s},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + text.toUtf8(), u"shift_jis"_s, text},
        {"UTF-16 with a byte-order mark",
         QByteArray("\xFF\xFE") +
             QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2),
         u""_s, text},
    };
    for (const auto &[what, bytes, declared, decoded] : cases)
        EXPECT_EQ(decodeTablePage(bytes, declared), decoded) << what;
}

TEST(TableLinearizer, SavedPage)
{
    // A page in Shift_JIS whose table rows end in CR LF of their own, before the line's own.
    bool utf8 = true;
    EXPECT_EQ(tablePageBytes(u"\t<tr><td>セル</td></tr>\r\n"_s, &utf8),
              readWholeFile(testDataPath(u"access_table_page.html"_s)));
    EXPECT_FALSE(utf8);

    // Hangul has no Shift_JIS form: the page is UTF-8 and says so.
    const QByteArray wide = tablePageBytes(u"\t<tr><td>한국어 セル</td></tr>\r\n"_s, &utf8);
    EXPECT_TRUE(utf8);
    EXPECT_TRUE(wide.contains("charset=utf-8\">"));
    EXPECT_TRUE(QString::fromUtf8(wide).contains(u"한국어 セル"_s));

    EXPECT_EQ(
        tableRowsAsText(
            u"\t<tr><td><span class=\"addtext\">【TH】</span>a &amp; &lt;b&gt;</td></tr>\r\n"_s
            "\t<tr><td></td></tr>\r\n\t<tr><td><a href=x>c</a></td></tr>\r\n"
            "\t<tr><td>d\t<tr><td>e<br>f<br></td></tr>"_s),
        (QStringList{u"【TH】a & <b>"_s, u"c"_s, u"d"_s, u"e f"_s}));
}

namespace {

class RecordingTablePage : public TablePage {
public:
    void setTableButtons(bool previous, bool next) override
    {
        buttons = QString::fromLatin1(previous ? "P" : "-") + QString::fromLatin1(next ? "N" : "-");
    }
    void setTablePosition(const QString &text) override { position = text; }
    void showTableFile(const QString &path) override { shown << path; }

    QString buttons = u"--"_s;
    QString position;
    QStringList shown;
};

}  // namespace

TEST(TableAction, StepsThroughTheTablesOfAFile)
{
    TempHome home;
    RecordingView view;
    FolderMemory folders;
    RecordingTablePage page;
    TableAction action(view, folders, page);

    home.write(u"two.html"_s,
               "<table><td>first A&rarr;B &amp;</td></table><table><td>second</td></table>");
    view.openFileAnswer = home.file(u"two.html"_s);
    action.run();
    EXPECT_EQ(view.page, 4);
    EXPECT_EQ(view.lastFilter, u"HTMLファイル (*.htm;*.html)|*.htm;*.html"_s);
    EXPECT_EQ(folders.lastDir(), home.path());
    EXPECT_EQ(page.buttons + u' ' + page.position, u"-N 1/2"_s);
    ASSERT_EQ(page.shown, QStringList{home.file(u"temp_.html"_s)});
    EXPECT_TRUE(home.read(u"temp_.html"_s)
                    .contains("\t<tr><td>first A\x81\xA8"
                              "B &amp;</td></tr>\r\n"));

    action.next();
    EXPECT_EQ(page.buttons + u' ' + page.position, u"P- 2/2"_s);
    EXPECT_TRUE(home.read(u"temp_.html"_s).contains("\t<tr><td>second</td></tr>\r\n"));
    action.next();  // nothing beyond the last
    EXPECT_EQ(page.position, u"2/2"_s);
    action.previous();
    EXPECT_EQ(page.buttons + u' ' + page.position, u"-N 1/2"_s);

    home.write(u"one.html"_s, "<table><td>only</td></table>");
    action.open(home.file(u"one.html"_s));
    EXPECT_EQ(page.buttons + u' ' + page.position, u"-- 1/1"_s);

    home.write(u"none.html"_s, "<p>no tables</p>");
    action.open(home.file(u"none.html"_s));
    EXPECT_EQ(view.notices, QStringList{u"HTML中にテーブルがありませんでした"_s});
    EXPECT_EQ(page.shown.size(), 4);  // the previous page stays

    page.buttons = u"PN"_s;
    action.open(home.file(u"missing.html"_s));
    ASSERT_EQ(view.errors.size(), 1);
    EXPECT_TRUE(view.errors[0].contains(u"missing.html"_s));
    EXPECT_EQ(page.buttons, u"PN"_s);  // the buttons keep their state
    EXPECT_TRUE(action.tables().isEmpty());

    view.openFileAnswer.clear();  // cancelled: nothing happens
    action.run();
    EXPECT_EQ(page.shown.size(), 4);
}

TEST(CliTables, PrintsRowsAndSaysWhenThereAreNone)
{
    TempHome home;
    // Its meta element declares EUC-JP, for bytes that could be Shift_JIS too.
    home.write(u"two.html"_s,
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-JP\">"
               "<table summary=\"S\"><tr><th>A</th><td>\xA4\xA2\xA4\xA4 &lt;1&gt;</td></tr></table>"
               "<p>between</p><table><td>C<td>see <a href=x>R</a><br>y</table>");
    home.write(u"none.html"_s, "<p>no tables</p>");

    // File (none: no argument), exit status, output, start of the error output.
    const std::tuple<const char *, int, QString, QString> cases[] = {
        {"two.html", 0, u"== 1/2 ==\n【Summary】S\n【TH】A\nあい <1>\n== 2/2 ==\nC\nsee R y\n"_s,
         u""_s},
        {"none.html", 1, u""_s, u"HTML中にテーブルがありませんでした\n"_s},
        {"missing.html", 1, u""_s, u"ファイル「"_s},
        {nullptr, 2, u""_s, u"使い方: velmarin-cli --tables"_s}};
    for (const auto &[file, status, out, err] : cases) {
        SCOPED_TRACE(file ? file : "no file");
        const RunResult r = runCliProgram(file ? QStringList{u"--tables"_s, home.file(file)}
                                               : QStringList{u"--tables"_s});
        EXPECT_EQ(r.exitCode, status);
        EXPECT_EQ(r.out, out);
        EXPECT_TRUE(err.isEmpty() ? r.err.isEmpty() : r.err.startsWith(err)) << r.err.toStdString();
    }
}
