#pragma once

#include <QString>
#include <QStringList>

// Where a Firefox keeps its profile and whether a Firefox runs on it.
namespace FirefoxProfile {

// The folders that may hold profiles.ini: ~/.mozilla/firefox, then
// ~/.config/mozilla/firefox (newer releases).
QStringList profileRoots();

// The default profile named by `root`/profiles.ini: the Default= of its
// first [Install…] section, else the [Profile…] with Default=1, else its only
// profile. Relative paths (IsRelative=1, and the Install section's) are
// taken from `root`. Empty when there is none.
QString defaultProfile(const QString &root);

// The first default profile of profileRoots() that exists.
QString findDefaultProfile();

// Whether a Firefox runs on the profile. Firefox on Linux holds an fcntl lock
// on ".parentlock" while it runs and keeps a "lock" symlink to
// "address:+pid", removed when it quits; either one with a live owner counts.
bool isInUse(const QString &profile);

// The session store a running Firefox rewrites every few seconds.
QString sessionStorePath(const QString &profile);

}  // namespace FirefoxProfile
