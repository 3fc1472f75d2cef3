// The tag scanner: how tag texts split into names and attribute strings, the
// overlapping steps, and how a file becomes the scanned text.
#include "html/tag_scanner.h"

#include "support/test.h"

namespace {

// Every tag found, as "name|param|param".
QStringList scan(const QByteArray &text)
{
    THtmlParser2 scanner;
    scanner.setText(text);
    QStringList tags;
    while (scanner.next()) {
        const TTag *tag = scanner.currentTag();
        QByteArrayList parts{tag->name()};
        parts += tag->params();
        tags << QString::fromUtf8(parts.join('|'));
    }
    return tags;
}

}  // namespace

TEST(TagScanner, SplitsTagsAsWritten)
{
    const struct {
        const char *what;
        QByteArray text;
        QStringList tags;
    } cases[] = {
        {"no tags", "plain text > here", {}},
        {"attributes as written, case kept",
         R"(<A HREF="X.html" target=_top>)",
         {R"(A|HREF="X.html"|target=_top)"}},
        {"a tag inside a comment starts where its < is",
         R"(<!-- <a href="x.html">y</a> -->)",
         {"!--", R"(a|href="x.html")", "/a"}},
        {"> inside a quoted value ends the tag",
         R"(<a title="x>y" href="z"><b>)",
         {R"(a|title="x)", "b"}},
        {"a stray < ends at the next tag", "1 < 2 <p class=x> <i>", {"|2", "p|class=x", "i"}},
        {"< inside quotes stays in the value and starts a tag up to the next <",
         R"(<a title='<b x <i y' href=z>)",
         {R"(a|title='<b x <i y'|href=z)", "b|x", "i|y' href=z"}},
        {"tab, CR and LF separate like a space",
         "<a\r\nhref=\"x\"\tid=y\nclass=z>",
         {"a|href=\"x\"|id=y|class=z"}},
        {"separators around = stay in the attribute",
         "<a href = \"x\" name=\r\n'y' title =z>",
         {"a|href = \"x\"|name=\r\n'y'|title =z"}},
        {"spaces after <", "<  img src=a>", {"|img|src=a"}},
        {"slash after the name", "<br/><br />", {"br/", "br|/"}},
        {"last < without >", "<p>text <a href=\"x\"", {"p"}},
        {"each quote kind holds the other",
         R"(<a t="it's" u='say "hi"' x="1"y="2">)",
         {R"(a|t="it's"|u='say "hi"'|x="1"|y="2")"}},
        {"missing closing quote", R"(<a href="x y>)", {R"(a|href="x y)"}},
    };
    for (const auto &c : cases) EXPECT_EQ(scan(c.text), c.tags) << c.what;
}

TEST(TagScanner, PositionsAndTheEnd)
{
    THtmlParser2 scanner;
    EXPECT_FALSE(scanner.next());
    EXPECT_EQ(scanner.currentTag(), nullptr);

    scanner.setText("ab<c>d<e f>");
    ASSERT_TRUE(scanner.next());
    EXPECT_EQ(scanner.tagStart(), 3);
    EXPECT_EQ(scanner.tagLength(), 3);
    ASSERT_TRUE(scanner.next());
    EXPECT_EQ(scanner.position(), 7);
    EXPECT_EQ(scanner.tagLength(), 5);
    EXPECT_EQ(scanner.currentTag()->params(), QByteArrayList{"f"});
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(scanner.next());
        EXPECT_EQ(scanner.position(), 11);
        EXPECT_EQ(scanner.tagStart(), 0);
        EXPECT_EQ(scanner.currentTag(), nullptr);
    }
    scanner.reset();
    EXPECT_TRUE(scanner.next());
    EXPECT_EQ(scanner.currentTag()->name(), "c");

    // A tag cut by the next "<" ends before it.
    scanner.setText("<a b<c>");
    ASSERT_TRUE(scanner.next());
    EXPECT_EQ(scanner.tagLength(), 4);
}

// Overlapping and unclosed tags, quotes and separators in every mix: each
// byte is looked at a bounded number of times, and every "<" before the last
// ">" still gives one tag.
TEST(TagScanner, HostilePagesTakeStepsLinearInTheirSize)
{
    const QByteArray units[] = {"< a",  "<a href=x ", "<'\"x '", "<a title=\"",
                                "<!--", "<a\n= =",    "<<<<",    "<p '<q \"<r "};
    constexpr qsizetype kSize = 1 << 20;
    for (const QByteArray &unit : units) {
        QByteArray page;
        page.reserve(kSize + unit.size() + 1);
        while (page.size() < kSize) page += unit;
        page += '>';
        THtmlParser2 scanner;
        scanner.setText(page);
        qsizetype tags = 0;
        while (scanner.next()) ++tags;
        EXPECT_EQ(tags, page.count('<')) << unit.constData();
        EXPECT_LE(scanner.steps(), 3 * page.size()) << unit.constData();
    }
}

TEST(TagScanner, LoadsFilesAsCrLfLines)
{
    TempHome home;
    const struct {
        const char *what;
        QByteArray bytes;
        QByteArray text;
    } cases[] = {
        {"empty file", "", ""},
        {"no final line break", "<a>", "<a>\r\n"},
        {"every kind of line break", "a\nb\r\nc\rd\r\n", "a\r\nb\r\nc\r\nd\r\n"},
        {"empty lines", "\n\r\n", "\r\n\r\n"},
        {"NUL ends the text", QByteArray("a\nb\0<c>\n", 8), "a\r\nb\r\n"},
        {"16-bit text keeps only its first byte", QByteArray("<\0a\0>\0", 6), "<\r\n"},
    };
    for (const auto &c : cases) {
        home.write("page.html", c.bytes);
        THtmlParser2 scanner;
        ASSERT_TRUE(scanner.loadFromFile(home.file("page.html"))) << c.what;
        EXPECT_EQ(scanner.text(), c.text) << c.what;
        EXPECT_EQ(scanner.tagStart(), 0) << c.what;
    }
    THtmlParser2 scanner;
    for (const QString &unreadable : {home.file("missing.html"), home.path()}) {
        QString error;
        scanner.setText("<a>");
        EXPECT_FALSE(scanner.loadFromFile(unreadable, &error)) << unreadable.toStdString();
        EXPECT_TRUE(error.contains(unreadable)) << error.toStdString();
        EXPECT_TRUE(scanner.text().isEmpty());
    }
}
