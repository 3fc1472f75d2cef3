#pragma once

#include <QString>
#include <QStringList>

// Where the HTML5 check finds the Nu Html Checker (vnu.jar) and Java.
namespace NuLocation {

// [Nu] Path of Velmarin.ini (a relative path means one in the program
// folder); else vnu.jar in the program folder; else in the installed
// share/velmarin/. Empty when none of them is a file.
QString jarPath();
// Java as the CSS check starts it: "java" found on PATH. Empty when missing.
QString javaPath();

// What the user is told when one of them is missing: what, and where to put it.
QString missingJarMessage();
QString missingJavaMessage();

// java -jar vnu.jar --format json --exit-zero-always FILE…: one run for all
// files; vnu writes its JSON answer to standard error.
QStringList arguments(const QString &jar, const QStringList &files);

}  // namespace NuLocation
