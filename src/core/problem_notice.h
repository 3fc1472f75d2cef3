#pragma once

#include <QStringList>

class View;

// The notice at the end of a run over many documents that names the ones it
// could not check: the first twenty, then how many more.
void noticeProblems(View &view, const QStringList &problems);
