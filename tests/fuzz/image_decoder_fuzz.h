#pragma once

// The body shared by the decoder targets: arbitrary bytes as a picture file
// end with a picture or a message, never both, and a picture is whole and
// within the pixel limit.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "access/gray_image.h"
#include "access/rgb_image.h"
#include "fuzz_check.h"

inline int fuzzImageDecoder(const char *magic, std::size_t magicSize,
                            DecodedImage (*decode)(const std::uint8_t *, std::size_t),
                            const std::uint8_t *data, std::size_t size)
{
    // The signature comes first, so the runs reach the decoder's body.
    std::vector<std::uint8_t> bytes(magic, magic + magicSize);
    if (size >= magicSize && std::memcmp(data, magic, magicSize) == 0)
        bytes.clear();
    bytes.insert(bytes.end(), data, data + size);
    const DecodedImage d = decode(bytes.data(), bytes.size());
    if (!d.ok()) {
        check(d.image.pixels.empty());
        return 0;
    }
    check(!d.image.isNull());
    check(std::int64_t(d.image.width) * d.image.height <= ImageDecoder::kMaxPixels);
    check(d.image.pixels.size() == std::size_t(d.image.width) * d.image.height * 3);
    const RgbImage gray = GrayScale::toGray(d.image);
    check(gray.pixels.size() == d.image.pixels.size());
    return 0;
}
