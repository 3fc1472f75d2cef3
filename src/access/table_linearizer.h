#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The linearised reading of a page's tables: every cell a row of its own, in
// source order, with what a screen reader announces (summary, caption, header
// cells, row groups, images and their alternative texts) marked between 【
// and 】. A nested table is an entry of its own after its parent.

struct TableEntry {
    QString html;         // the collected rows, each ending in CR LF
    qsizetype start = 0;  // index of the table's start tag among the parser's nodes
    bool open = true;     // until its end tag is met
};

// The page's text in the charset its declaration names ("EUC-JP",
// "ISO-8859-1", "x-sjis" …; the Latin-1 names read as windows-1252), or,
// with none or one that no converter knows, UTF-8 when the bytes are UTF-8,
// else what the Japanese detector finds. A page that declares EUC-JP or JIS
// but whose bytes are plainly Shift_JIS is read as Shift_JIS; a byte-order
// mark of UTF-16 or UTF-8 wins over everything.
QString decodeTablePage(const QByteArray &bytes, const QString &declaredCharset);

// The tables of the page text, in the order their start tags stand. Where
// the page has whitespace between two pieces of a cell they get one space,
// a line break ("<br>") where a br or block element stands between them.
// Scripts, styles, frames and objects are left out with their content, and
// the tags carried into the cells lose their event handlers and script
// addresses.
QList<TableEntry> linearizeTables(const QString &text);

// Reads, decodes and linearises a file. False, with a message for the user in
// *error, when it cannot be read.
bool linearizeFile(const QString &path, QList<TableEntry> *tables, QString *error);

// The page that shows one table: 20 lines, each ending in CR LF. `charset` is
// the name its meta element declares.
QString tablePageText(const QString &tableHtml, const QString &charset);
// The page as it is saved: Shift_JIS, or UTF-8 (and saying so) when the table
// holds a character that Shift_JIS cannot.
QByteArray tablePageBytes(const QString &tableHtml, bool *utf8 = nullptr);

// The rows of a table as plain text, one cell a line: markers kept, tags
// dropped, a line break as a space, empty rows left out.
QStringList tableRowsAsText(const QString &tableHtml);

// The name of the saved page in the program folder.
inline const QString kTablePageName = QStringLiteral("temp_.html");
