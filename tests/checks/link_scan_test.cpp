// Which attribute strings become links, in which encoding, and which elements
// count as anchors.
#include "checks/link_scan.h"

#include "checks/link_verifier.h"
#include "html/page_encoding.h"
#include "html/tag_scanner.h"
#include "support/test.h"

namespace {

QStringList links(const QByteArray &file)
{
    THtmlParser2 scanner;
    scanner.setText(scannerText(file));
    return extractLinkTargets(scanner);
}

}  // namespace

TEST(LinkScan, CollectsHrefAndSrcAsWritten)
{
    const QByteArray page =
        "<html><head><link rel=\"stylesheet\" href=\"s.css\"></head><body>\n"
        "<!-- <a href=\"old.html\"> -->\n"
        "<a name=\"top\"></a><img alt=\"none\"><img src='q.png'>\n"
        "<A HREF=\"Up.html\">x</A><a href=\"multi\nline.html\">\n"
        "<a href=\"MailTo:x@y\">m</a><a href=\" mailto:x@y\">n</a>\n"
        "<a href = \"spaced.html\"><a href=\"\">e</a><a href=plain.html#frag>\n"
        "<p href=\"p.html\"><img SRC=\"pic.gif\" src=\"two.gif\"><a href=\"x.html\" "
        "href=\"y.html\">\n"
        "<A\nHREF=\"nl.html\"><img\tsrc=tab.png><a\r\nclass=x\r\nhref=\r\n'crlf.html'>"
        "<a href='it\"s.html\"'><a href=\"cut'>";
    EXPECT_EQ(links(page),
              QStringList({"s.css", "old.html", "q.png", "Up.html", "multiline.html", "mailto:x@y",
                           "spaced.html", "", "plain.html#frag", "pic.gif", "two.gif", "x.html",
                           "y.html", "nl.html", "tab.png", "crlf.html", "it\"s.html\"", "cut'"}));
}

TEST(LinkScan, PagesAreReadInTheirEncoding)
{
    const QString link = QStringLiteral("画像/表.png");
    const QString body = QStringLiteral("<p>日本語の文書です。<a href=\"%1\">").arg(link);
    const struct {
        const char *encoding;
        QString head;
    } cases[] = {
        {"CP932", ""},
        {"EUC-JP", ""},
        {"ISO-2022-JP", ""},
        {"UTF-8", ""},
        {"EUC-JP", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-JP\">"},
        {"CP932", "<meta charset='Shift_JIS'>"},
        {"ISO-8859-1", "<meta charset=\"iso-8859-1\">"},
    };
    for (const auto &c : cases) {
        const QString text = c.head + (QByteArray(c.encoding) == "ISO-8859-1"
                                           ? QStringLiteral("<a href=\"caf\u00e9.html\">")
                                           : body);
        const QByteArray bytes = inEncoding(text, c.encoding);
        ASSERT_FALSE(bytes.isEmpty()) << c.encoding;
        EXPECT_EQ(pageEncoding(bytes), c.encoding) << c.encoding << " " << c.head.toStdString();
        const QString expected =
            QByteArray(c.encoding) == "ISO-8859-1" ? QStringLiteral("caf\u00e9.html") : link;
        EXPECT_EQ(links(bytes), QStringList{expected}) << c.encoding << " " << c.head.toStdString();
    }
}

TEST(LinkScan, AnchorsAreIdsOfAnyElementAndNamesOfA)
{
    const QByteArray page =
        "<a name=\"ByName\"></a><div id=\"TOP\"></div><a id=\"aid\"></a>\n"
        "<p name=\"pname\"><span id='q'><a href=\"x\" name = \"spaced\"><h2 ID=見出し>\n"
        "<h3\r\nid=\"nl\"><a\tname='tabbed'><!-- <i id=\"commented\"> -->\n";
    const struct {
        QString name;
        bool found;
    } cases[] = {
        {"byname", true},   {"#BYNAME", true}, {"top", true},    {"aid", true},
        {"pname", false},   {"q", true},       {"'q'", false},   {"spaced", true},
        {"見出し", true},   {"nl", true},      {"tabbed", true}, {"commented", true},
        {"missing", false}, {"", false},
    };
    for (const auto &c : cases) {
        THtmlParser2 scanner;
        scanner.setText(page);
        EXPECT_EQ(documentHasAnchor(scanner, c.name), c.found) << c.name.toStdString();
    }
    THtmlParser2 scanner;
    scanner.setText(page);
    EXPECT_FALSE(documentHasAnchor(scanner, "top", [] { return true; }));
}
