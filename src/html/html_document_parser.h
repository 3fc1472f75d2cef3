#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// A flat reading of an HTML document for the table view: tags and runs of
// text in document order, with the character references of texts and
// attribute values decoded. It builds no tree and checks no nesting.
// It is independent of the link check's tag scanner, whose results it must
// not influence.
//
// A tag starts at "<" followed by a letter, "/" and a letter, "!" or "?";
// any other "<", and every ">" outside a tag, is text. A tag ends at the next
// ">" outside a quoted attribute value; whitespace of any kind (line breaks
// and tabs too) ends its name and separates its attributes. "<!--" runs to
// the next "-->". The contents of script and style elements are one raw text
// each, whatever they hold.

// One attribute of a tag.
class THTMLParam {
public:
    THTMLParam(const QString &raw, const QString &name, const QString &value);

    // As written, from its name to the end of its value.
    const QString &raw() const { return m_raw; }
    // In upper case.
    const QString &name() const { return m_name; }
    // Without its quote marks, character references decoded; empty without "=".
    const QString &value() const { return m_value; }

private:
    QString m_raw;
    QString m_name;
    QString m_value;
};

class THTMLNode {
public:
    virtual ~THTMLNode() = default;
};

class THTMLTag : public THTMLNode {
public:
    // Reads the name and attributes of `raw`, the text between "<" and ">".
    THTMLTag(const QString &raw, qsizetype line, qsizetype col);

    // Up to the first whitespace, as written: "/table", "!--", "!DOCTYPE",
    // "?xml"; without the "/" of an empty element ("br" for "<br/>").
    const QString &name() const { return m_name; }
    // Everything between "<" and ">".
    const QString &raw() const { return m_raw; }
    // Where the "<" stood, from 1.
    qsizetype line() const { return m_line; }
    qsizetype col() const { return m_col; }
    const QList<THTMLParam> &params() const { return m_params; }
    // Written as an empty element: a "/" just before the ">".
    bool selfClosing() const { return m_selfClosing; }

private:
    QString m_name;
    QString m_raw;
    qsizetype m_line;
    qsizetype m_col;
    QList<THTMLParam> m_params;
    bool m_selfClosing = false;
};

class THTMLText : public THTMLNode {
public:
    // `rawText` is the content of a script or style element: its references
    // stay as written.
    THTMLText(const QString &raw, qsizetype line, bool rawText = false);

    // Character references decoded, each run of whitespace one space.
    // Leading and trailing spaces stay: they separate the text from its
    // neighbours.
    const QString &text() const { return m_text; }
    // The run as written, with LF at the line ends.
    const QString &raw() const { return m_raw; }
    // The line the run starts on.
    qsizetype line() const { return m_line; }
    bool isRawText() const { return m_rawText; }

private:
    QString m_text;
    QString m_raw;
    qsizetype m_line;
    bool m_rawText;
};

class THTMLParser {
public:
    // Receives each node with its index; returning false ends the parse.
    using Visitor = std::function<bool(const THTMLNode &node, qsizetype index)>;

    void setText(const QString &text) { m_text = text; }
    const QString &text() const { return m_text; }

    // Builds the node list from the text, replacing an earlier one.
    void parse();
    // Hands each node to `visit` as it is made and keeps none, so a large
    // document costs only the node at hand.
    void parse(const Visitor &visit) const;

    qsizetype count() const { return qsizetype(m_nodes.size()); }
    const THTMLNode *node(qsizetype index) const { return m_nodes.at(size_t(index)).get(); }

private:
    QString m_text;
    std::vector<std::unique_ptr<THTMLNode>> m_nodes;
};

// The character references of a text decoded as a browser decodes them: every
// named reference of HTML (the legacy ones also without ";", in attribute
// values only when no letter, digit or "=" follows), decimal and hexadecimal
// ones (0, surrogates and codes beyond Unicode give U+FFFD, 128 to 159 the
// characters of windows-1252).
QString decodeHtmlReferences(const QString &text, bool inAttribute = false);

// The text of a run: references decoded, then every run of whitespace
// (space, tab, line breaks, form feed, no-break space) one space.
QString decodeHtmlText(const QString &raw);

// Whitespace as the text of a page knows it.
inline bool isHtmlSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == QChar(0xA0);
}
