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
    const QStringList texts =
        QString::fromUtf8(readWholeFile(testDataPath("html_tags.txt"))).split("\n== ");
    ASSERT_EQ(texts.size(), 1 + 11);
    for (const QString &text : texts.mid(1)) {
        QStringList lines = text.split(u'\n');
        if (lines.last().isEmpty()) lines.removeLast();
        const qsizetype end = lines.indexOf("--");
        EXPECT_EQ(scan(lines.mid(1, end - 1).join(u'\n').toUtf8()), lines.mid(end + 1))
            << lines.first().toStdString();
    }
    // Tab, CR and LF separate like a space; around "=" they stay in the attribute.
    EXPECT_EQ(scan("<a\r\nhref=\"x\"\tid=y\nclass=z>"), QStringList{"a|href=\"x\"|id=y|class=z"});
    EXPECT_EQ(scan("<a href = \"x\" name=\r\n'y' title =z>"),
              QStringList{"a|href = \"x\"|name=\r\n'y'|title =z"});
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
    const std::tuple<const char *, QByteArray, QByteArray> cases[] = {
        {"empty file", "", ""},
        {"no final line break", "<a>", "<a>\r\n"},
        {"every kind of line break", "a\nb\r\nc\rd\r\n", "a\r\nb\r\nc\r\nd\r\n"},
        {"empty lines", "\n\r\n", "\r\n\r\n"},
        {"NUL ends the text", QByteArray("a\nb\0<c>\n", 8), "a\r\nb\r\n"},
        {"16-bit text keeps only its first byte", QByteArray("<\0a\0>\0", 6), "<\r\n"},
    };
    for (const auto &[what, bytes, text] : cases) {
        home.write("page.html", bytes);
        THtmlParser2 scanner;
        ASSERT_TRUE(scanner.loadFromFile(home.file("page.html"))) << what;
        EXPECT_EQ(scanner.text(), text) << what;
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
