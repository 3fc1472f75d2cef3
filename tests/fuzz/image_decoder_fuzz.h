#pragma once

// The body shared by the decoder targets: arbitrary bytes as a picture file
// end with a picture or a message, never both, and a picture is whole and
// within the pixel limit.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "access/gray_image.h"
#include "access/rgb_image.h"
#include "fuzz_check.h"

inline int fuzzImageDecoder(const char *magic, std::size_t magicSize,
                            DecodedImage (*decode)(const std::uint8_t *, std::size_t),
                            const std::uint8_t *data, std::size_t size)
{
    // The signature comes first, so the runs reach the decoder's body. The
    // buffer is exactly as long as the file, so a read past it is caught.
    const bool signed_ = size >= magicSize && std::memcmp(data, magic, magicSize) == 0;
    const std::size_t total = signed_ ? size : magicSize + size;
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[total]);
    if (!signed_) std::memcpy(bytes.get(), magic, magicSize);
    std::memcpy(bytes.get() + (total - size), data, size);
    const DecodedImage d = decode(bytes.get(), total);
    if (!d.ok()) {
        check(d.image.pixels.empty());
        return 0;
    }
    check(!d.image.isNull());
    check(std::int64_t(d.image.width) * d.image.height <= ImageDecoder::kMaxPixels);
    check(d.image.pixels.size() == std::size_t(d.image.width) * d.image.height * 3);
    const std::size_t pixels = d.image.pixels.size();
    check(GrayScale::toGray(d.image).pixels.size() == pixels);
    return 0;
}
