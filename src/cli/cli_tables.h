#pragma once

#include <QStringList>

// `velmarin-cli --tables FILE`: each table of an HTML file linearised as plain
// text, one cell a line, markers kept, each table after a line "== 2/5 ==".
// Returns the exit status when the arguments ask for it, else -1.
int runTablesCommand(const QStringList &arguments);
