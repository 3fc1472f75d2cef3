#include "html/html_document_parser.h"

#include "support/test.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Every node: a tag as "<name|PARAM=value|...>@line:col", a text as its
// decoded text in quotes, then "@line".
QStringList nodes(const QString &document)
{
    THTMLParser parser;
    parser.setText(document);
    parser.parse();
    QStringList out;
    for (qsizetype i = 0; i < parser.count(); ++i) {
        if (const auto *tag = dynamic_cast<const THTMLTag *>(parser.node(i))) {
            QStringList parts{tag->name()};
            for (const THTMLParam &p : tag->params()) parts << p.name() + u'=' + p.value();
            out << u'<' + parts.join(u'|') + u'>' +
                       QStringLiteral("@%1:%2").arg(tag->line()).arg(tag->col());
        } else {
            const auto *text = static_cast<const THTMLText *>(parser.node(i));
            out << u'"' + text->text() + u"\"@"_s + QString::number(text->line());
        }
    }
    return out;
}

}  // namespace

TEST(HtmlDocumentParser, NodesOfDocuments)
{
    const QStringList documents =
        QString::fromUtf8(readWholeFile(testDataPath(u"html_document_nodes.txt"_s)))
            .split(u"\n== "_s);
    ASSERT_EQ(documents.size(), 1 + 11);
    for (const QString &document : documents.mid(1)) {
        QStringList lines = document.split(u'\n');
        if (lines.last().isEmpty()) lines.removeLast();
        const qsizetype end = lines.indexOf(u"--"_s);
        EXPECT_EQ(nodes(lines.mid(1, end - 1).join(u'\n')), lines.mid(end + 1))
            << lines.first().toStdString();
    }
    // Line breaks of every kind end lines, names and attributes.
    EXPECT_EQ(nodes(u"<TABLE\nBORDER=\"0\"><td\tclass=x><img src=\"a.gif\"\r\nalt = 'A'>"_s),
              (QStringList{u"<TABLE|BORDER=0>@1:1"_s, u"<td|CLASS=x>@2:12"_s,
                           u"<img|SRC=a.gif|ALT=A>@2:24"_s}));
    EXPECT_EQ(nodes(u"<a>\r\n<b>\r<c>\n<d>"_s),
              (QStringList{u"<a>@1:1"_s, u"\" \"@1"_s, u"<b>@2:1"_s, u"\" \"@2"_s, u"<c>@3:1"_s,
                           u"\" \"@3"_s, u"<d>@4:1"_s}));
}

TEST(HtmlDocumentParser, CharacterReferences)
{
    const std::pair<QString, QString> cases[] = {
        {u"a &lt; b"_s, u"a < b"_s},
        {u"&quot;&amp;&gt;&AMP;"_s, u"\"&>&"_s},
        {u"[&nbsp;][&#160;]"_s, u"[ ][ ]"_s},
        {u"&#65 b"_s, u"A b"_s},
        {u"&#x41;&#X42;&#065;&#0065;&#x041;"_s, u"ABAAA"_s},
        {u"&#12354;&#x3042; &unknown;"_s, u"ああ &unknown;"_s},
        {u"&copy;&yuml;&eacute;&bull;&mdash;&hellip;&rarr;&NotEqualTilde;"_s,
         u"\u00A9\u00FF\u00E9\u2022\u2014\u2026\u2192\u2242\u0338"_s},
        {u"&copy2009 &notit; &ampx &amp"_s, u"\u00A92009 \u00ACit; &x &"_s},
        {u"&#0;&#xD800;&#x110000;&#99999999999;&#128;&#x1F600;"_s,
         u"\uFFFD\uFFFD\uFFFD\uFFFD\u20AC\U0001F600"_s},
        {u"&#9;&#31;|&#32;"_s, u" | "_s},
        {u"&amp;lt;"_s, u"&lt;"_s},
        {u"&&&amp; & ;&#;&#x;"_s, u"&&& & ;&#;&#x;"_s},
        {u"a  \n\n  b\tc\t\td"_s, u"a b c d"_s},
    };
    for (const auto &[text, decoded] : cases)
        EXPECT_EQ(decodeHtmlText(text), decoded) << text.toStdString();
    // In a value a legacy name followed by a letter, digit or "=" stays.
    EXPECT_EQ(decodeHtmlReferences(u"?a=1&copy=2&copyx&amp;b&lt"_s, true),
              u"?a=1&copy=2&copyx&b<"_s);
}

TEST(HtmlDocumentParser, StreamingStopsWhenAsked)
{
    THTMLParser parser;
    parser.setText(u"<a><b>x<c>"_s);
    QStringList seen;
    parser.parse([&](const THTMLNode &node, qsizetype index) {
        seen << QString::number(index) +
                    (dynamic_cast<const THTMLTag *>(&node) ? u"tag"_s : u"text"_s);
        return index < 2;
    });
    EXPECT_EQ(seen, (QStringList{u"0tag"_s, u"1tag"_s, u"2text"_s}));
}
