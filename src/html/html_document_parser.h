#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// A flat reading of an HTML document for the table view: tags and runs of
// text in document order, with character references of the text decoded. It
// builds no tree, checks no nesting and knows no element names. It is
// independent of the link check's tag scanner, whose results it must not
// influence.
//
// Lines end at CR LF, CR or LF. A tag runs from "<" to the next ">"; a "<"
// inside a tag joins the two tag texts, and a tag written across lines has its
// pieces joined without a separator. Every ">" emits a tag, one outside any tag
// with an empty name. Quote marks do not protect ">".

// One attribute of a tag, split at its first "=".
class THTMLParam {
public:
    explicit THTMLParam(const QString &raw);

    const QString &raw() const { return m_raw; }
    // The part before the first "=" (the whole attribute without one) in
    // upper case.
    const QString &name() const { return m_name; }
    // The part after the first "=", with one enclosing pair of double quote
    // marks taken off; empty without "=". Single quotes stay.
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
    THTMLTag(const QString &raw, qsizetype line, qsizetype col);

    // Up to the first space, exactly as written: "/table", "!--", "!DOCTYPE", "br/".
    const QString &name() const { return m_name; }
    // Everything between "<" and ">".
    const QString &raw() const { return m_raw; }
    // Where the "<" stood, from 1.
    qsizetype line() const { return m_line; }
    qsizetype col() const { return m_col; }
    const QList<THTMLParam> &params() const { return m_params; }

private:
    QString m_name;
    QString m_raw;
    qsizetype m_line;
    qsizetype m_col;
    QList<THTMLParam> m_params;
};

class THTMLText : public THTMLNode {
public:
    THTMLText(const QString &raw, qsizetype line);

    // Line ends and runs of spaces folded to one space, character references
    // decoded. Leading and trailing spaces stay.
    const QString &text() const { return m_text; }
    // The run as collected, with LF at the line ends.
    const QString &raw() const { return m_raw; }
    // The line of the "<" that ended the run, or the line before it when
    // that one holds no "<".
    qsizetype line() const { return m_line; }

private:
    QString m_text;
    QString m_raw;
    qsizetype m_line;
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

// The text processing of a run: LF to space, runs of spaces to one, then the
// character references ("&lt;", "&nbsp;", "&#65;", "&#x41;").
QString decodeHtmlText(const QString &raw);
