#pragma once

#include <QString>

#include "access/rgb_image.h"

// Image files by their name: ".bmp" read directly, ".jpg"/".jpeg" through
// libjpeg, ".png" through libpng, the extension compared without regard to
// case. Any other name loads nothing.
namespace ImageFile {

enum class Format { None, Bmp, Jpeg, Png };

Format formatOf(const QString &fileName);

// An empty image without error for a name of no known format; an error text
// naming the file when it cannot be read or decoded.
DecodedImage load(const QString &fileName);

// Writes an RGB picture as an 8-bit RGB PNG; false with *error set on failure.
bool savePng(const RgbImage &image, const QString &fileName, QString *error);

}  // namespace ImageFile
