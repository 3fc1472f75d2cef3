#include <png.h>

#include <QIODevice>
#include <csetjmp>
#include <cstring>

#include "access/rgb_image.h"

// PNG through libpng: every colour type and bit depth is expanded to 8-bit
// RGB; transparent pixels are laid on white, as a page with a white
// background shows them. Rows are read one at a time straight into the
// result, interlaced passes too, so the only picture-sized memory is the
// result itself.
namespace ImageDecoder {

namespace {

void readBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto *in = static_cast<QIODevice *>(png_get_io_ptr(png));
    if (in->read(reinterpret_cast<char *>(out), qint64(length)) != qint64(length))
        png_error(png, "truncated");
}

void fail(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}
void ignoreWarning(png_structp, png_const_charp) {}

// libpng keeps two rows of up to 8 bytes a pixel (16-bit RGBA) while it
// reads, the decoder one of up to 4.
constexpr std::int64_t kRowBytesPerPixel = 2 * 8 + 4;

}  // namespace

DecodedImage decodePng(QIODevice &in)
{
    DecodedImage result;
    png_byte signature[8];
    if (in.read(reinterpret_cast<char *>(signature), 8) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
        result.error = QStringLiteral("PNGファイルではありません。");
        return result;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail, ignoreWarning);
    if (!png) {
        result.error = damaged();
        return result;
    }
    png_infop info = png_create_info_struct(png);
    // Declared before the jump target, so they are valid after a longjmp.
    std::vector<std::uint8_t> row;
    RgbImage &image = result.image;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (result.error.isEmpty()) result.error = damaged();
        image = RgbImage();
        return result;
    }
    png_set_read_fn(png, &in, readBytes);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    png_read_info(png, info);
    const std::int64_t width = png_get_image_width(png, info);
    const std::int64_t height = png_get_image_height(png, info);
    if (width * height > kMaxPixels) {
        result.error = tooLarge(width, height);
        png_longjmp(png, 1);
    }
    if (rgbBytes(width, height) + kRowBytesPerPixel * width > kMaxDecodeBytes) {
        result.error = tooMuchMemory(width, height);
        png_longjmp(png, 1);
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    const int channels = png_get_channels(png, info);  // 3, or 4 with alpha
    if (channels != 3 && channels != 4) png_longjmp(png, 1);

    image.width = int(width);
    image.height = int(height);
    image.pixels.resize(std::size_t(rgbBytes(width, height)));
    row.resize(std::size_t(width) * channels);
    // Without interlacing one pass of every row and column; with it, Adam7's
    // seven passes, each a smaller picture whose pixels are spread out here.
    const bool interlaced = png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7;
    for (int pass = 0; pass < (interlaced ? 7 : 1); ++pass) {
        const png_uint_32 columns = interlaced ? PNG_PASS_COLS(width, pass) : width;
        const png_uint_32 rows = interlaced ? PNG_PASS_ROWS(height, pass) : height;
        if (columns == 0 || rows == 0) continue;  // libpng skips empty passes
        for (png_uint_32 r = 0; r < rows; ++r) {
            png_read_row(png, row.data(), nullptr);
            const std::size_t y = interlaced ? PNG_ROW_FROM_PASS_ROW(r, pass) : r;
            for (png_uint_32 i = 0; i < columns; ++i) {
                const std::size_t x = interlaced ? PNG_COL_FROM_PASS_COL(i, pass) : i;
                const std::uint8_t *p = row.data() + std::size_t(i) * channels;
                std::uint8_t *out = image.pixels.data() + (y * std::size_t(width) + x) * 3;
                const unsigned a = channels == 4 ? p[3] : 255;
                for (int c = 0; c < 3; ++c)
                    out[c] = std::uint8_t((p[c] * a + 255 * (255 - a) + 127) / 255);
            }
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return result;
}

}  // namespace ImageDecoder
