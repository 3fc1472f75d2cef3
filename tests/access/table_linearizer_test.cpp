// Table linearisation: the rows and markers of each kind of table content,
// the choice of the page's encoding, the saved page, the table action's
// stepping through the tables of a file, and its console form.
#include "access/table_linearizer.h"

#include "access/table_action.h"
#include "core/folder_memory.h"
#include "support/process_run.h"
#include "support/test.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The tables of a page as their HTML rows, without the line breaks.
QStringList tablesOf(const QString &page)
{
    QStringList out;
    for (const TableEntry &entry : linearizeTables(page))
        out << QString(entry.html).remove(u"\r\n"_s);
    return out;
}

QString marked(const QString &marker)
{
    return u"\t<tr><td><span class=\"addtext\">"_s + marker + u"</span>"_s;
}

}  // namespace

TEST(TableLinearizer, RowsAndMarkers)
{
    const QString td = u"\t<tr><td>"_s;
    const QString end = u"</td></tr>"_s;
    const struct {
        const char *what;
        QString page;
        QStringList tables;
    } cases[] = {
        {"summary, caption, th and two cells in order",
         u"<table summary=\"Prices\"><caption>Fruit</caption><tr><th>Name<th>Price</tr>"
         "<tr><td>Apple</td><td> 100 </td></tr></table>"_s,
         {marked(u"【Summary】"_s) + u"Prices"_s + end + marked(u"【Caption】"_s) + u"Fruit"_s +
          end + marked(u"【TH】"_s) + u"Name"_s + marked(u"【TH】"_s) + u"Price"_s + td +
          u"Apple"_s + end + td + u"100"_s + end}},
        {"images: each stands alone, alt or none",
         u"<table><td><img src=\"a.gif\" alt=\"A\"><img src=b.gif><img></td></table>"_s,
         {td +
          u"<span class=\"addtext\">【img】</span> -  url :a.gif; alt :A<br>"
          "<span class=\"addtext\">【img】</span> -  url :b.gif; alt :なし;<br>"
          "【img - url :なし; alt :なし】<br>"_s +
          end}},
        {"a nested table after its parent; the parent is current again after it",
         u"<table><tr><td>a<table><td>inner</td></table>b</td><td>c</td></table>"_s,
         {td + u"ab"_s + end + td + u"c"_s + end, td + u"inner"_s + end}},
        {"text outside tables is left out, text between cells kept",
         u"before<table>between<td>x</td>after</table>outside"_s,
         {u"between"_s + td + u"x"_s + end + u"after"_s}},
        {"row groups, rows and columns",
         u"<TABLE><colgroup><col></colgroup><THEAD><TR><TD>h</TD></TR></THEAD><tbody></tbody>"
         "<tfoot></tfoot></TABLE>"_s,
         {marked(u"【Thead】"_s) + end + td + u"h"_s + end + marked(u"【/Thead】"_s) + end +
          marked(u"【Tbody】"_s) + end + marked(u"【/Tbody】"_s) + end + marked(u"【Tfoot】"_s) +
          end + marked(u"【/Tfoot】"_s) + end}},
        {"other tags are rebuilt; decoded text shows as text",
         u"<table><td><a  href=\"x.html\" >go</a><br/>&lt;b&gt; &amp; 1&nbsp;</td></table>"_s,
         {td + u"<a href=\"x.html\">go</a><br>&lt;b&gt; &amp; 1"_s + end}},
        {"whitespace of any kind in tags",
         u"<TABLE\nBORDER=\"0\"><tr><td\tclass=x>a</td></TABLE>"_s,
         {td + u"a"_s + end}},
        {"character references of HTML and numeric ones, in text and values",
         u"<table summary=\"&rarr; x\"><td>A&mdash;B&hellip; &#12354;&#x3042;<img src=a.png alt=\"&bull;\"></td></table>"_s,
         {marked(u"【Summary】"_s) + u"\u2192 x"_s + end + td + u"A\u2014B\u2026 ああ"_s +
          u"<span class=\"addtext\">【img】</span> -  url :a.png; alt :\u2022<br>"_s + end}},
        {"words apart where the page has space between them, lines where blocks stand",
         u"<table><td> see <a href=r>\n README.dict</a> now<h1>GNOME</h1>\n<h2>FAQ</h2>Jump to: "
         u"<a>A</a> <a>C</a>"
         "<b>x</b>y </td></table>"_s,
         {td +
          u"see <a href=\"r\">README.dict</a> now<br>GNOME<br>FAQ<br>Jump to: <a>A</a> <a>C</a><b>x</b>y"_s +
          end}},
        {"the closing slash of XHTML",
         u"<table><td><img src=\"up.png\" alt=\"Up\"/></td></table>"_s,
         {td + u"<span class=\"addtext\">【img】</span> -  url :up.png; alt :Up<br>"_s + end}},
        {"a < or > that starts no tag is text",
         u"<table><td>g, M-<, HOME</td><td>></td></table>"_s,
         {td + u"g, M-&lt;, HOME"_s + end + td + u"&gt;"_s + end}},
        {"scripts and what could run or load are left out with their text",
         u"<table><td><script>document.write(\"<td>s\")</script><style>td{}</style>a<iframe "
         u"src=x>f</iframe>"
         "<object data=y><p>o</object><embed src=z><b onclick=\"evil()\" title='\"t'>b</b>"
         "<a href=\" JavaScript:alert(1)\">c</a><meta http-equiv=refresh content=0></td></table>"_s,
         {td + u"a<b title=\"&quot;t\">b</b><a>c</a>"_s + end}},
        {"an end tag without a table is ignored; an unclosed table runs to the end",
         u"</table><table><td>x</table></table><table><td>y"_s,
         {td + u"x"_s, td + u"y"_s}},
        {"no table", u"<p>text</p>"_s, {}},
        {"comments are no content",
         u"<table><!-- <td>old</td> --><td>new<!-- unclosed <td>x"_s,
         {td + u"new"_s}},
    };
    for (const auto &c : cases) EXPECT_EQ(tablesOf(c.page), c.tables) << c.what;

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
    const QByteArray sjis = QByteArray::fromHex(
        "3c7461626c653e3c74643e955c82cc8175835a838b8176b13c2f74643e3c2f7461626c653e");
    const QByteArray euc = QByteArray::fromHex(
        "3c7461626c653e3c74643eC9BDA4CEA1D6A5BBA5EBA1D78EB13c2f74643e3c2f7461626c653e");
    const QByteArray kanaEuc =
        QByteArray::fromHex("3c74643ea4a2a4a43c2f74643e");  // undecided as bytes
    const QByteArray jis = "<td>\x1B$B$\"$$\x1B(B</td>";
    const QByteArray supplement = QByteArray::fromHex("3c74643e8fb0a13c2f74643e");  // JIS X 0212 丂
    const struct {
        const char *what;
        QByteArray bytes;
        QString declared;
        QString text;
    } cases[] = {
        {"Shift_JIS by its bytes", sjis, u""_s, text},
        {"Shift_JIS declared", sjis, u"Shift_JIS"_s, text},
        {"Shift_JIS by its aliases", sjis, u"x-sjis"_s, text},
        {"Shift_JIS as Windows names it", sjis, u"windows-31j"_s, text},
        {"an unknown declaration: the bytes decide", sjis, u"x-unknown"_s, text},
        {"EUC-JP declared", euc, u"EUC-JP"_s, text},
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
        {"UTF-8 declared", text.toUtf8(), u"UTF-8"_s, text},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + text.toUtf8(), u"shift_jis"_s, text},
        {"UTF-16 with a byte-order mark",
         QByteArray("\xFF\xFE") +
             QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2),
         u""_s, text},
    };
    for (const auto &c : cases) EXPECT_EQ(decodeTablePage(c.bytes, c.declared), c.text) << c.what;

    // From the file: its meta element declares EUC-JP.
    TempHome home;
    home.write(u"euc.html"_s,
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-JP\">"
               "<table><td>" +
                   QByteArray::fromHex("a4a2a4a4") + "</td></table>");
    QList<TableEntry> tables;
    QString error;
    ASSERT_TRUE(linearizeFile(home.file(u"euc.html"_s), &tables, &error));
    ASSERT_EQ(tables.size(), 1);
    EXPECT_EQ(tables[0].html, u"\t<tr><td>あい</td></tr>\r\n"_s);
}

TEST(TableLinearizer, SavedPage)
{
    // A page in Shift_JIS whose table rows end in CR LF of their own, before the line's own.
    bool utf8 = true;
    QFile golden(QStringLiteral(VELMARIN_TEST_DATA "/access_table_page.html"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(tablePageBytes(u"\t<tr><td>セル</td></tr>\r\n"_s, &utf8), golden.readAll());
    EXPECT_FALSE(utf8);

    // Hangul has no Shift_JIS form: the page is UTF-8 and says so.
    const QByteArray wide = tablePageBytes(u"\t<tr><td>한국어 セル</td></tr>\r\n"_s, &utf8);
    EXPECT_TRUE(utf8);
    EXPECT_TRUE(wide.contains("charset=utf-8\">"));
    EXPECT_TRUE(QString::fromUtf8(wide).contains(u"한국어 セル"_s));

    EXPECT_EQ(
        tableRowsAsText(
            marked(u"【TH】"_s) +
            u"a &amp; &lt;b&gt;</td></tr>\r\n\t<tr><td></td></tr>\r\n"_s
            "\t<tr><td><a href=x>c</a></td></tr>\r\n\t<tr><td>d\t<tr><td>e<br>f<br></td></tr>"_s),
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
    EXPECT_TRUE(view.notices.isEmpty() && view.errors.isEmpty());

    home.write(u"one.html"_s, "<table><td>only</td></table>");
    action.open(home.file(u"one.html"_s));
    EXPECT_EQ(page.buttons + u' ' + page.position, u"-- 1/1"_s);

    home.write(u"none.html"_s, "<p>no tables</p>");
    action.open(home.file(u"none.html"_s));
    EXPECT_EQ(page.buttons, u"--"_s);
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

// velmarin-cli --tables: the rows of each table as plain text, and the exit
// status when there is nothing to show.
TEST(CliTables, PrintsRowsAndSaysWhenThereAreNone)
{
    TempHome home;
    home.write(
        u"two.html"_s,
        "<table summary=\"S\"><tr><th>A</th><td>B &lt;1&gt;</td></tr>"
        "<tr><td><img src=\"i.png\" alt=\"I\"></td><td></td></tr></table>"
        "<p>between</p><table><td>C<td>D</table>"
        "<table><td>see <a href=x>R</a> now<br>y<p>z<script>var s=\"no\";</script></td></table>");
    home.write(u"none.html"_s, "<p>no tables</p>");

    const struct {
        QStringList arguments;
        int status;
        QString out;
        QString err;
    } cases[] = {
        {{u"--tables"_s, home.file(u"two.html"_s)},
         0,
         u"== 1/3 ==\n【Summary】S\n【TH】A\nB <1>\n【img】 -  url :i.png; alt :I\n== 2/3 "
         u"==\nC\nD\n"
         "== 3/3 ==\nsee R now y z\n"_s,
         u""_s},
        {{u"--tables"_s, home.file(u"none.html"_s)},
         1,
         u""_s,
         u"HTML中にテーブルがありませんでした\n"_s},
        {{u"--tables"_s, home.file(u"missing.html"_s)}, 1, u""_s, u"ファイル「"_s},
        {{u"--tables"_s}, 2, u""_s, u"使い方: velmarin-cli --tables"_s},
    };
    for (const auto &c : cases) {
        const RunResult r = runCliProgram(c.arguments);
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        EXPECT_EQ(r.exitCode, c.status);
        EXPECT_EQ(r.out, c.out);
        EXPECT_TRUE(c.err.isEmpty() ? r.err.isEmpty() : r.err.startsWith(c.err))
            << r.err.toStdString();
    }
}
