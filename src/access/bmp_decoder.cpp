#include <QIODevice>
#include <algorithm>
#include <cstring>

#include "access/rgb_image.h"

// Windows bitmaps: the core header (12 bytes) and the info headers (40 bytes
// and the longer versions), 1-, 4- and 8-bit palettes, 16- and 32-bit with
// or without channel masks, 24-bit; bottom-up and top-down. RLE and embedded
// JPEG/PNG are refused.
namespace ImageDecoder {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

std::uint32_t u16(const std::uint8_t *p)
{
    return p[0] | (p[1] << 8);
}
std::uint32_t u32(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

// One channel of a masked pixel, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;

    explicit Channel(std::uint32_t m) : mask(m)
    {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        max = m >> shift;
    }
    std::uint8_t operator()(std::uint32_t px) const
    {
        if (!mask) return 0;
        return std::uint8_t(((px & mask) >> shift) * 255u / max);
    }
};

DecodedImage failure(const QString &text)
{
    DecodedImage r;
    r.error = text;
    return r;
}

QString unsupported()
{
    return QStringLiteral("この形式のBMP(圧縮されたBMPなど)には対応していません。");
}

// Reads exactly size bytes; false at the end of the file.
bool readFully(QIODevice &in, std::uint8_t *out, std::int64_t size)
{
    return in.read(reinterpret_cast<char *>(out), size) == size;
}

// Pixels are converted in blocks of this many, so a row costs a small buffer
// however wide the picture is. A multiple of 8, so every block starts on a
// byte for every depth.
constexpr std::int64_t kBlockPixels = 8192;

}  // namespace

DecodedImage decodeBmp(QIODevice &in)
{
    // The file header (14 bytes) and as much of an info header as every kind has.
    std::uint8_t head[26];
    if (!readFully(in, head, sizeof head) || head[0] != 'B' || head[1] != 'M')
        return failure(QStringLiteral("BMPファイルではありません。"));
    const std::uint32_t pixelOffset = u32(head + 10);
    const std::uint32_t headerSize = u32(head + 14);
    std::vector<std::uint8_t> header(head + 14, head + 26);
    std::int64_t width, height;
    std::uint32_t bits, compression = kBiRgb, coloursUsed = 0;
    int paletteEntry = 4;
    if (headerSize == 12) {
        const std::uint8_t *h = header.data();
        width = u16(h + 4);
        height = u16(h + 6);
        bits = u16(h + 10);
        paletteEntry = 3;
    } else if (headerSize >= 40 && headerSize <= 1024) {
        header.resize(headerSize);
        if (!readFully(in, header.data() + 12, headerSize - 12)) return failure(damaged());
        const std::uint8_t *h = header.data();
        width = std::int32_t(u32(h + 4));
        height = std::int32_t(u32(h + 8));
        bits = u16(h + 14);
        compression = u32(h + 16);
        coloursUsed = u32(h + 32);
    } else {
        return failure(damaged());
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;  // 64-bit: INT_MIN is no trap
    if (width <= 0 || height <= 0) return failure(damaged());
    if (width * height > kMaxPixels) return failure(tooLarge(width, height));

    // Channel masks: after a 40-byte header for BI_BITFIELDS, inside the
    // headers of 52 bytes and more; the fixed layouts otherwise. A header
    // between the two has no room for them.
    std::uint32_t masks[3] = {0, 0, 0};
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
        if (bits != 16 && bits != 32) return failure(unsupported());
        std::uint8_t after[16];
        const std::uint8_t *m = after;
        if (headerSize == 40) {
            if (!readFully(in, after, compression == kBiAlphaBitfields ? 16 : 12))
                return failure(damaged());
        } else if (headerSize >= 52) {
            m = header.data() + 40;
        } else {
            return failure(damaged());
        }
        for (int i = 0; i < 3; ++i) masks[i] = u32(m + 4 * i);
    } else if (compression != kBiRgb) {
        return failure(unsupported());
    } else if (bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (bits == 32) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return failure(unsupported());

    std::uint8_t palette[256][3] = {};
    if (bits <= 8) {
        std::size_t count = coloursUsed ? coloursUsed : (1u << bits);
        if (count > (1u << bits)) count = 1u << bits;
        std::uint8_t entries[256 * 4];
        if (!readFully(in, entries, std::int64_t(count) * paletteEntry)) return failure(damaged());
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t *e = entries + i * paletteEntry;
            palette[i][0] = e[2], palette[i][1] = e[1], palette[i][2] = e[0];
        }
    }

    // The whole body must be there before any pixel memory is taken.
    const std::int64_t stride = ((width * bits + 31) / 32) * 4;
    if (in.size() - std::int64_t(pixelOffset) < stride * height || !in.seek(pixelOffset))
        return failure(damaged());

    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    DecodedImage result;
    RgbImage &image = result.image;
    image.width = int(width);
    image.height = int(height);
    image.pixels.resize(std::size_t(rgbBytes(width, height)));
    std::vector<std::uint8_t> block(std::size_t(kBlockPixels * bits / 8));
    const std::int64_t usedBytes = (width * bits + 7) / 8;
    std::uint8_t padding[4];
    for (std::int64_t fileRow = 0; fileRow < height; ++fileRow) {
        const std::int64_t y = topDown ? fileRow : height - 1 - fileRow;
        std::uint8_t *out = image.pixels.data() + std::size_t(y * width) * 3;
        for (std::int64_t x0 = 0; x0 < width; x0 += kBlockPixels) {
            const std::int64_t count = std::min(kBlockPixels, width - x0);
            if (!readFully(in, block.data(), (count * bits + 7) / 8)) {
                image = RgbImage();
                return failure(damaged());
            }
            const std::uint8_t *row = block.data();
            for (std::int64_t x = 0; x < count; ++x, out += 3) {
                switch (bits) {
                    case 1:
                    case 4:
                    case 8: {
                        const std::int64_t bit = x * bits;
                        const unsigned index =
                            (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                        std::memcpy(out, palette[index], 3);
                        break;
                    }
                    case 24:
                        out[0] = row[x * 3 + 2], out[1] = row[x * 3 + 1], out[2] = row[x * 3];
                        break;
                    default: {
                        const std::uint32_t px = bits == 16 ? u16(row + x * 2) : u32(row + x * 4);
                        out[0] = red(px), out[1] = green(px), out[2] = blue(px);
                    }
                }
            }
        }
        if (!readFully(in, padding, stride - usedBytes)) {
            image = RgbImage();
            return failure(damaged());
        }
    }
    return result;
}

}  // namespace ImageDecoder
