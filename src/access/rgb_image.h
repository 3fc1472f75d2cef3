#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

class QIODevice;

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

// The image decoders. Every one of them takes untrusted bytes and reads them
// as it goes, never the whole file at once. Sizes are checked against the
// limits below from the header, before any pixel memory is allocated, so a
// file that claims to be huge costs nothing, and a decode never holds more
// than kMaxDecodeBytes: the RGB result and the decoder's own working memory
// together.
namespace ImageDecoder {

constexpr std::int64_t kMaxPixels = 40'000'000;
constexpr std::int64_t kMaxDecodeBytes = 4 * kMaxPixels;
// Decoding time grows with the file; larger files are refused unread.
constexpr std::int64_t kMaxFileBytes = 256 * 1024 * 1024;

// The device is read from its current position; it must be able to seek.
DecodedImage decodeBmp(QIODevice &in);
DecodedImage decodePng(QIODevice &in);
DecodedImage decodeJpeg(QIODevice &in);
// The same, on bytes in memory.
DecodedImage decodeBmp(const std::uint8_t *data, std::size_t size);
DecodedImage decodePng(const std::uint8_t *data, std::size_t size);
DecodedImage decodeJpeg(const std::uint8_t *data, std::size_t size);

// Texts shared by the decoders.
QString tooLarge(std::int64_t width, std::int64_t height);
QString tooMuchMemory(std::int64_t width, std::int64_t height);
QString damaged();

// The memory a picture of this size takes as RGB.
inline std::int64_t rgbBytes(std::int64_t width, std::int64_t height)
{
    return width * height * 3;
}

}  // namespace ImageDecoder
