#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

// Toolbar icons drawn from a short text, so the program ships no image files.
QIcon glyphIcon(const QString &glyph, const QColor &background);
