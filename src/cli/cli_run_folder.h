#pragma once

#include <QString>

// The console program's working folders, temp/cli-XXXXXX: each holds a
// file "pid" with its run's process id while the run lasts, so that a run
// that was killed leaves a folder a later run can tell from a live one.
namespace CliRunFolder {

// Removes the cli-* folders in the working folder whose pid names a process
// that is gone. Folders without a pid (kept ones, those of older versions)
// stay.
void removeAbandoned(const QString &workDir);
// Writes this process's id into the folder.
bool claim(const QString &folder);
// Drops the pid of a folder that is kept for the user.
void release(const QString &folder);

}  // namespace CliRunFolder
