#pragma once

#include <QByteArray>
#include <QString>

#include "tidy/tidy_report_ja.h"

// Appends the lines of Tidy's report file, each followed by CR LF, decoded
// as TextCodec::decode decodes the whole and translated when templates is
// given. A report of secondCoreFrom bytes or more is cut after a line break
// near its middle, before its last located line, and the second piece is
// decoded and read on another thread; the result is the same text.
void appendReportLines(const QByteArray &report, const TidyMessageTemplates *templates,
                       QString *out, qsizetype secondCoreFrom = qsizetype(1) << 20);
