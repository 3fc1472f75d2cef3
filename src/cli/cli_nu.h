#pragma once

#include <QStringList>

// `velmarin-cli --nu FILE|FOLDER|URL…`: the HTML5 check, one row per
// message in the result list's form. Returns the exit status when the
// arguments ask for it (0 no errors, 1 errors or documents not checked,
// 2 bad usage), else -1.
int runNuCommand(const QStringList &arguments);
