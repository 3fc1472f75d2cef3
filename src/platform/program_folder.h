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

// The working folder "temp" inside the program folder, WITH a trailing "/",
// created when first asked for. Empty when it neither exists nor can be
// created; callers then put their working files in the current folder.
QString workDir();
// Deletes every file in the working folder (hidden ones too); folders inside
// are left alone. Does nothing when there is no working folder.
void emptyWorkDir();

}  // namespace ProgramFolder
