#pragma once

#include <QDir>
#include <QString>

// Window tests write their screenshots into docs/ when asked to renew them
// (VELMARIN_UPDATE_DOCS), else into the folder they run in.
inline QString screenshotDir()
{
    return qEnvironmentVariableIsSet("VELMARIN_UPDATE_DOCS") ? QStringLiteral(VELMARIN_DOCS_DIR)
                                                             : QDir::currentPath();
}
