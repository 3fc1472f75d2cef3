#pragma once

#include <QByteArray>
#include <QString>

#include "tidy/tidy_options.h"

// The Tidy configuration file "Velmarin.txt" in the program folder: one
// "name:value" line per option, CR LF after every line, in CP932 (UTF-8 when
// a value has no CP932 form, so nothing is lost).

// "Velmarin.txt" inside the given folder.
QString tidyConfigPath(const QString &programFolder);

// The bytes of the file for these values: CP932 unless that would not read
// back as the same text, else UTF-8.
QByteArray tidyConfigBytes(const TidyOptionValues &values);

// Writes the file through a temporary file that replaces the old one only
// once it is complete, so a failed save leaves the earlier file as it was.
// On failure returns false and sets *error to a Japanese message naming the
// file.
bool saveTidyConfig(const QString &path, const TidyOptionValues &values, QString *error = nullptr);

// Applies the file to values. Returns false, leaving values alone, when the
// file is missing or cannot be read.
bool loadTidyConfig(const QString &path, TidyOptionValues &values);
