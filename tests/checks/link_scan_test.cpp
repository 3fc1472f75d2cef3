// Which attribute strings become links, and which elements count as anchors.
#include "checks/link_scan.h"

#include <gtest/gtest.h>

#include "checks/link_verifier.h"
#include "html/tag_scanner.h"
#include "platform/text_codec.h"
#include "support/qt_print.h"

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
        "href=\"y.html\">\n";
    EXPECT_EQ(links(page), QStringList({"s.css", "old.html", "'q.png'", "Up.html", "multiline.html",
                                        "mailto:x@y", "", "plain.html#frag", "pic.gif", "two.gif",
                                        "x.html", "y.html"}));

    QByteArray cp932;
    ASSERT_TRUE(TextCodec::toCp932(QStringLiteral("<a href=\"資料/表.html\">"), &cp932));
    EXPECT_EQ(links(cp932), QStringList{QStringLiteral("資料/表.html")});
    EXPECT_EQ(links(QStringLiteral("<a href=\"資料/表.html\">").toUtf8()),
              QStringList{QStringLiteral("資料/表.html")});
}

TEST(LinkScan, AnchorsAreNamesOfAAndIdsOfTheRest)
{
    const QByteArray page =
        "<a name=\"ByName\"></a><div id=\"TOP\"></div><a id=\"aid\"></a>\n"
        "<p name=\"pname\"><span id='q'><a href=\"x\" name = \"spaced\"><h2 ID=見出し>\n";
    const struct {
        QString name;
        bool found;
    } cases[] = {
        {"byname", true}, {"#BYNAME", true},  {"top", true}, {"aid", false},
        {"pname", false}, {"q", false},       {"'q'", true}, {"spaced", false},
        {"見出し", true}, {"missing", false}, {"", false},
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

TEST(LinkScan, StatusCodeTexts)
{
    const struct {
        int code;
        QString text;
    } cases[] = {
        {200, "200(OK)"},
        {301, "301(Moved Parmanently)"},
        {401, "401(Unauthorixed)"},
        {404, "404(Not Found)"},
        {503,
         "503(Service Unavailable | Mapping Server Error | Too many users | Method Not "
         "Allowed)"},
        {505, "505(HTTP Version not supported)"},
        {306, "306(Unknown Error)"},
        {299, "299(Unknown Error)"},
    };
    for (const auto &c : cases) EXPECT_EQ(statusCodeText(c.code), c.text);
}
