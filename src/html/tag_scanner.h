#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QVector>

// A byte-level walk from one "<" to the ">" that ends it, for the link check.
// It builds no tree, decodes nothing and knows no element names: comments,
// scripts and text are scanned alike. Every "<" that has a ">" somewhere after
// it starts a tag, in document order.
//
// A tag's text ends at the first ">" after its "<", or earlier at a "<" that
// stands outside its quoted values: that "<" starts the next tag, which takes
// the rest (so a tag inside a comment, or after a stray "<", is found with its
// own attributes). A "<" inside a quoted value stays part of the value and
// also starts a tag of its own, which ends at the next "<" or ">". Every byte
// thus belongs to at most two tags, and a scan takes time linear in the text.
//
// Space, tab, CR and LF separate the name and the attribute strings, except
// around an "=" ("href = \"x\"" stays one attribute string). The
// delimiters never occur inside a Shift_JIS, EUC-JP or UTF-8 multi-byte
// character, so the bytes may stay in the document's own encoding.

// The attribute strings of one tag, in order, exactly as written between the
// separators ("href=\"x\"", a bare word, a lone "=").
class TParams : public QByteArrayList {};

// One scanned tag.
class TTag {
public:
    // Everything before the first separator of the tag text, case kept; may be empty.
    const QByteArray &name() const { return m_name; }
    const TParams &params() const { return m_params; }

    void clear();

private:
    friend class THtmlParser2;
    QByteArray m_name;
    TParams m_params;
};

class THtmlParser2 {
public:
    // Reads the file as lines (CR, LF or CR LF end a line; a NUL byte ends the
    // whole text) and keeps them joined, each followed by CR LF; then resets.
    // Returns false, with the reason in *error, when the file cannot be read;
    // the text is then empty.
    bool loadFromFile(const QString &path, QString *error = nullptr);
    void setText(const QByteArray &text);
    const QByteArray &text() const { return m_text; }

    void reset();
    // Steps to the next tag; false at the end of the text, and ever after.
    bool next();
    // The tag the scanner stands on, or nullptr. Refilled at every step.
    const TTag *currentTag() const { return m_tagStart ? &m_tag : nullptr; }

    // 1-based byte positions; 0 when not standing on a tag. The length runs
    // from "<" through the ">" that ends the tag, or up to the "<" that cuts it.
    qsizetype position() const { return m_position; }
    qsizetype tagStart() const { return m_tagStart; }
    qsizetype tagLength() const { return m_tagLength; }

    // Bytes looked at since the last reset: at most three times the text's length.
    qint64 steps() const { return m_steps; }

private:
    // Fills m_tag from the tag whose "<" is at index `lt` and returns the
    // index of the byte that ends it. An inner tag ends at any "<"; a tag in
    // running text records the "<"s inside its quoted values in m_inner.
    qsizetype scanTag(qsizetype lt, bool inner);

    QByteArray m_text;
    qsizetype m_lastGt = -1;     // no tag starts at or after the last ">"
    qsizetype m_mainFrom = 0;    // where the search for the next tag in running text begins
    QVector<qsizetype> m_inner;  // "<"s inside quoted values, not yet stepped to
    qsizetype m_innerNext = 0;
    bool m_ended = false;
    qsizetype m_position = 0;
    qsizetype m_tagStart = 0;
    qsizetype m_tagLength = 0;
    qint64 m_steps = 0;
    TTag m_tag;
};

// The text lines of raw file bytes as loadFromFile keeps them.
QByteArray scannerText(const QByteArray &bytes);
// The bytes without bytes of value 0x20 or less at either end.
QByteArray trimControls(const QByteArray &bytes);
// When `param` is the attribute string of `wanted` (a lower-case name; the
// written name is compared case-blind), sets *value to its value without one
// pair of matching quotes and returns true.
bool attributeValue(const QByteArray &param, const QByteArray &wanted, QByteArray *value);
