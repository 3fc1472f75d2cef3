#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

// A byte-level walk from one "<" ... ">" pair to the next, for the link check.
// It builds no tree, decodes nothing and knows no element names: comments,
// scripts and text are scanned alike, and because each step searches from one
// byte after the previous "<", tags may overlap. All text stays in the
// document's own bytes; the delimiters it looks for never occur inside a
// Shift_JIS, EUC-JP or UTF-8 multi-byte character.

// The attribute strings of one tag, in order, exactly as written between the
// separators ("href=\"x\"", a bare word, a lone "=").
class TParams : public QByteArrayList {};

// One scanned tag.
class TTag {
public:
    // Everything before the first space of the tag text, case kept; may be empty.
    const QByteArray &name() const { return m_name; }
    const TParams &params() const { return m_params; }

    // Fills name and params from the text between "<" and ">".
    void setText(const QByteArray &text);
    void clear();

private:
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

    // 1-based byte positions; 0 when not standing on a tag.
    qsizetype position() const { return m_position; }
    qsizetype tagStart() const { return m_tagStart; }
    qsizetype tagLength() const { return m_tagLength; }

private:
    QByteArray m_text;
    qsizetype m_position = 0;
    qsizetype m_tagStart = 0;
    qsizetype m_tagLength = 0;
    // The last ">" found, so a run of "<" before one ">" is not searched again
    // and again; -1 when none is known.
    qsizetype m_knownGt = -1;
    TTag m_tag;
};

// The text lines of raw file bytes as loadFromFile keeps them.
QByteArray scannerText(const QByteArray &bytes);
// The bytes without bytes of value 0x20 or less at either end.
QByteArray trimControls(const QByteArray &bytes);
