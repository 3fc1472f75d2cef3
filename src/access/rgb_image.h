#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

// A picture of 24 bits per pixel: R, G, B bytes, rows top-down, no padding.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    bool isNull() const { return width <= 0 || height <= 0; }
    const std::uint8_t *pixel(int x, int y) const
    {
        return &pixels[(std::size_t(y) * width + x) * 3];
    }
};

// A decoder's answer: the picture, or an error text for the user (Japanese).
struct DecodedImage {
    RgbImage image;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// The image decoders. Every one of them takes untrusted bytes: sizes are
// checked against kMaxPixels before any pixel memory is allocated, so a file
// that claims to be huge costs nothing, and a picture never takes more than
// kMaxPixels × 4 bytes while it is decoded.
namespace ImageDecoder {

constexpr std::int64_t kMaxPixels = 40'000'000;
// Files are read whole; larger ones are refused before reading.
constexpr std::int64_t kMaxFileBytes = 256 * 1024 * 1024;

DecodedImage decodeBmp(const std::uint8_t *data, std::size_t size);
DecodedImage decodePng(const std::uint8_t *data, std::size_t size);
DecodedImage decodeJpeg(const std::uint8_t *data, std::size_t size);

// Texts shared by the decoders.
QString tooLarge(std::int64_t width, std::int64_t height);
QString damaged();

}  // namespace ImageDecoder
