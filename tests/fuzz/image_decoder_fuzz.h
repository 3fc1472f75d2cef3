#pragma once

// The body shared by the decoder targets: arbitrary bytes as a picture file
// end with a picture or a message, never both, and a picture is whole and
// within the pixel limit.
#include "access/gray_image.h"
#include "access/rgb_image.h"
#include "fuzz_target.h"

inline void fuzzImageDecoder(const QByteArray &magic,
                             DecodedImage (*decode)(const std::uint8_t *, std::size_t),
                             const QByteArray &bytes)
{
    // The signature comes first, so the runs reach the decoder's body, and
    // the file is again in a buffer of exactly its size.
    const QByteArray file = bytes.startsWith(magic) ? bytes : magic + bytes;
    const std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[file.size()]);
    std::memcpy(exact.get(), file.constData(), file.size());
    const DecodedImage d = decode(exact.get(), file.size());
    if (!d.ok()) {
        check(d.image.pixels.empty());
        return;
    }
    check(!d.image.isNull());
    check(std::int64_t(d.image.width) * d.image.height <= ImageDecoder::kMaxPixels);
    check(d.image.pixels.size() == std::size_t(d.image.width) * d.image.height * 3);
    check(GrayScale::toGray(d.image).pixels.size() == d.image.pixels.size());
}
