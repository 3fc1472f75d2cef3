#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include "tidy/report_parser.h"

// One message of the Nu Html Checker as a row of a result list, with the
// document it is about.
struct NuMessage {
    QString url;  // as vnu names the document ("file:/home/a/b%20c.html")
    ReportRow row;
};

struct NuAnswer {
    bool ok = false;  // false: no answer of vnu at all (Java's complaint, say)
    QVector<NuMessage> messages;
    // Pieces of a damaged answer that could not be read: messages lost, or
    // the end of an answer that was cut off.
    int damaged = 0;
};

// Reads the answer of `vnu --format json`: an object whose "messages" array
// holds the messages in vnu's order. The line is firstLine, else lastLine;
// the column is firstColumn. "error" and "non-document-error" are errors,
// "info" with subType "warning" a warning, any other "info" information.
// The description is the Japanese kind word, ": " and vnu's own text, with
// line breaks turned into spaces so one message stays one line.
//
// vnu sometimes writes JSON that does not parse as a whole (seen with
// binary pages, which make it drop a message's beginning). Then every
// message object that parses on its own is kept, in order, and the rest is
// counted as damaged. Time is linear in the size of the answer.
NuAnswer readNuAnswer(const QByteArray &json);

// "エラー", "警告", "情報".
QString nuKindWord(ReportKind kind);
