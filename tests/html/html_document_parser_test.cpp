// The document parser: how lines become tag and text nodes, how attributes
// split, and how character references in text are decoded.
#include "html/html_document_parser.h"

#include "support/test.h"


using namespace Qt::Literals::StringLiterals;

namespace {

// Every node: a tag as "<name|PARAM=value|...>@line:col", a text as its
// decoded text in quotes.
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
            out << u'<' + parts.join(u'|') + u'>' + QStringLiteral("@%1:%2").arg(tag->line()).arg(tag->col());
        } else {
            out << u'"' + static_cast<const THTMLText *>(parser.node(i))->text() + u'"';
        }
    }
    return out;
}

}  // namespace

TEST(HtmlDocumentParser, NodesOfDocuments)
{
    const struct {
        const char *what;
        QString document;
        QStringList nodes;
    } cases[] = {
        {"empty document", u""_s, {}},
        {"no tags: one text node, line end folded", u"plain\ntext"_s, {u"\"plain text \""_s}},
        {"names keep case, attributes split at spaces",
         u"<TD Class=x  id=\"a b\">"_s,
         {u"<TD|CLASS=x|ID=a b>@1:1"_s}},
        {"a > inside a quoted value ends the tag",
         u"<a title=\"x>y\">"_s,
         {u"<a|TITLE=\"x>@1:1"_s, u"<>@1:1"_s, u"\"y\" \""_s}},
        {"self-closing forms", u"<br/><img src=a />"_s, {u"<br/>@1:1"_s, u"<img|SRC=a|/=>@1:6"_s}},
        {"a stray > gives an empty tag, text runs on",
         u"a > b"_s,
         {u"<>@0:0"_s, u"\"a b \""_s}},
        {"a tag across lines joins without a space; the attribute is one",
         u"x <img src=\"a.gif\"\nalt=\"A\">"_s,
         {u"\"x \""_s, u"<img|SRC=a.gif\"alt=\"A>@1:3"_s}},
        {"a < inside a tag joins both and moves the position",
         u"<a <b>"_s,
         {u"<a|B=>@1:4"_s}},
        {"the end inside a tag still gives the tag", u"<p>x<b"_s, {u"<p>@1:1"_s, u"\"x\""_s, u"<b>@1:5"_s}},
        {"an empty tag at the end gives nothing", u"x<"_s, {u"\"x\""_s}},
        {"comments, doctype and declarations keep their names",
         u"<!DOCTYPE html><!-- c --><?xml v?>"_s,
         {u"<!DOCTYPE|HTML=>@1:1"_s, u"<!--|C=|--=>@1:16"_s, u"<?xml|V?=>@1:26"_s}},
        {"a value loses one pair of double quotes only",
         u"<a x=\"\" y=\" z='w' q=\"\"\"\">"_s,
         {u"<a|X=|Y= z='w' q=\"\"\">@1:1"_s}},
        {"CR LF, CR and LF end lines", u"<a>\r\n<b>\r<c>\n<d>"_s,
         {u"<a>@1:1"_s, u"<b>@2:1"_s, u"<c>@3:1"_s, u"<d>@4:1"_s}},
        {"tabs separate nothing", u"<td\tclass=x>"_s, {u"<td\tclass=x>@1:1"_s}},
    };
    for (const auto &c : cases) EXPECT_EQ(nodes(c.document), c.nodes) << c.what;
}

TEST(HtmlDocumentParser, TextKeepsRawAndItsLine)
{
    THTMLParser parser;
    parser.setText(u"x\ny<b>\n\nz\n<i>"_s);
    parser.parse();
    ASSERT_EQ(parser.count(), 4);
    const auto *first = static_cast<const THTMLText *>(parser.node(0));
    EXPECT_EQ(first->raw(), u"x\ny"_s);
    EXPECT_EQ(first->text(), u"x y"_s);
    EXPECT_EQ(first->line(), 1);  // line 1 has no "<": the text ending on line 2 gets line 1
    const auto *second = static_cast<const THTMLText *>(parser.node(2));
    EXPECT_EQ(second->raw(), u"z\n"_s);
    EXPECT_EQ(second->line(), 4);
}

TEST(HtmlDocumentParser, CharacterReferences)
{
    const struct {
        QString text;
        QString decoded;
    } cases[] = {
        {u"a &lt; b"_s, u"a < b"_s},
        {u"&quot;&amp;&gt;"_s, u"\"&>"_s},
        {u"[&nbsp;][&#160;]"_s, u"[ ][ ]"_s},
        {u"&#65 b"_s, u"Ab"_s},
        {u"&#x41;&#X42;&#065;&#0065;&#x041;"_s, u"ABA&#0065;A"_s},
        {u"&#12354; &unknown; &AMP;"_s, u"&#12354; &unknown; &AMP;"_s},
        {u"&copy;&yuml;&eacute;"_s, u"\u00A9\u00FF\u00E9"_s},
        {u"&#9;&#0;&#31;|&#32;&#256;"_s, u"   | &#256;"_s},
        {u"&amp;lt;"_s, u"&lt;"_s},
        {u"&&&amp; & ;&#;&#x;"_s, u"&&& & ;&#;&#x;"_s},
        {u"no end &amp"_s, u"no end &amp"_s},
        {u"a  \n\n  b\tc\t\td"_s, u"a b\tc\t\td"_s},
    };
    for (const auto &c : cases) EXPECT_EQ(decodeHtmlText(c.text), c.decoded) << c.text.toStdString();
}

TEST(HtmlDocumentParser, StreamingStopsWhenAsked)
{
    THTMLParser parser;
    parser.setText(u"<a><b>x<c>"_s);
    QStringList seen;
    parser.parse([&](const THTMLNode &node, qsizetype index) {
        seen << QString::number(index) + (dynamic_cast<const THTMLTag *>(&node) ? u"tag"_s : u"text"_s);
        return index < 2;
    });
    EXPECT_EQ(seen, (QStringList{u"0tag"_s, u"1tag"_s, u"2text"_s}));
}
