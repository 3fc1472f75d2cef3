#pragma once

#include <QString>

// A text shown where each row is one line (the console's rows, a report
// line naming a file): CR, LF and tab read \r, \n and \t, other control
// characters \xHH, so a file name holding a line break stays one row.
QString oneLine(const QString &text);
