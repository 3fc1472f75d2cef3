#pragma once

#include <QString>

// Where the help is. Velmarin.chm, when a user has one, wins; otherwise the
// HTML manual, from the first of: help/ beside the program or in the program
// folder (a portable copy), share/velmarin/help of the installation, and
// docs/help of the source tree (a program run from its build folder).
namespace HelpLocation {

// Empty when there is none.
QString chmFile();
// index.html of the manual; empty when there is none.
QString manualIndex();

}  // namespace HelpLocation
