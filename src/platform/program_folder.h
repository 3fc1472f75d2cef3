#pragma once

#include <QString>

// The program folder: where Velmarin.ini, Velmarin.txt, key.ini, URLList.txt
// and the working folder live. In order of preference:
// 1. $VELMARIN_HOME (created if missing), so tests and users can choose;
// 2. the executable's folder when it is writable (a portable copy keeps its
//    settings beside itself, as on Windows);
// 3. $XDG_CONFIG_HOME/velmarin, by default ~/.config/velmarin, created on demand.
namespace ProgramFolder {

// Without a trailing separator.
QString path();
// path() + "/" + name.
QString file(const QString &name);
bool isWritable();

QString iniPath();         // Velmarin.ini
QString tidyConfigPath();  // Velmarin.txt
QString keyIniPath();      // key.ini
QString urlListPath();     // URLList.txt

// The working folder, WITH a trailing "/": "temp" inside the program folder,
// or the folder given to useWorkDir(). Created when first asked for. When it
// cannot be created its path is returned all the same, so that working files
// fail to be written rather than land in the current folder; callers ask
// workDirProblem() before they start.
QString workDir();
// Empty when the working folder exists and can be written; otherwise a
// message for the user that names the folder that cannot be written.
QString workDirProblem();
// From now on this process keeps its working files in `folder` (the console
// program's folder of its own, so that it never touches the window's files).
// Empty: "temp" again.
void useWorkDir(const QString &folder);
// Deletes every file in the working folder (hidden ones too); folders inside
// are left alone. Does nothing when there is no working folder.
void emptyWorkDir();

}  // namespace ProgramFolder
