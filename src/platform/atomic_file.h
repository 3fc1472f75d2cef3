#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and writes for the settings files. A write goes to a
// temporary file beside the target and is renamed over it only when every
// byte has reached the disk, so a crash or a full disk never leaves a
// half-written or missing settings file behind.

// Writes bytes to path, creating the parent folder if needed. On failure
// returns false, leaves any old file untouched and sets *error (if given) to
// a message in Japanese that names the file.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Reads the whole file. *ok (if given) is false when the file is missing, is
// a folder or cannot be read; the result is then empty.
QByteArray readWholeFile(const QString &path, bool *ok = nullptr);
