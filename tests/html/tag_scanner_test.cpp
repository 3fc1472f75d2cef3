// The tag scanner: how tag texts split into names and attribute strings, the
// overlapping steps, and how a file becomes the scanned text.
#include "html/tag_scanner.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "support/temp_home.h"

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
        {"empty text", "", {}},
        {"no tags", "plain text > here", {}},
        {"attributes as written, case kept",
         R"(<A HREF="X.html" target=_top>)",
         {R"(A|HREF="X.html"|target=_top)"}},
        {"a tag inside a comment is found twice",
         R"(<!-- <a href="x.html">y</a> -->)",
         {R"(!--|<a|href="x.html")", R"(a|href="x.html")", "/a"}},
        {"> inside a quoted value ends the tag",
         R"(<a title="x>y" href="z"><b>)",
         {R"(a|title="x)", "b"}},
        {"stray < runs to the next >",
         "1 < 2 <p class=x> <i>",
         {"|2|<p|class=x", "p|class=x", "i"}},
        {"line break after the name", "<a\r\nhref=\"x\">", {"a\r\nhref=\"x\""}},
        {"spaces around =", R"(<a href = "x">)", {R"(a|href|=|"x")"}},
        {"spaces after <", "<  img src=a>", {"|img|src=a"}},
        {"slash after the name", "<br/><br />", {"br/", "br|/"}},
        {"last < without >", "<p>text <a href=\"x\"", {"p"}},
        {"each quote kind holds the other",
         R"(<a t="it's" u='say "hi"' x="1"y="2">)",
         {R"(a|t="it's"|u='say "hi"'|x="1"|y="2")"}},
        {"missing closing quote", R"(<a href="x y>)", {R"(a|href="x y)"}},
        {"tabs are no separators", "<a\thref=x b=\ty >", {"a\thref=x|b=\ty"}},
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
