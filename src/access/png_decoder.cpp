#include <png.h>

#include <csetjmp>
#include <cstring>

#include "access/rgb_image.h"

// PNG through libpng: every colour type and bit depth is expanded to 8-bit
// RGB; interlaced pictures are assembled by libpng; transparent pixels are
// laid on white, as a page with a white background shows them.
namespace ImageDecoder {

namespace {

struct Reader {
    const std::uint8_t *data;
    std::size_t size;
    std::size_t pos = 0;
};

void readBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto *r = static_cast<Reader *>(png_get_io_ptr(png));
    if (length > r->size - r->pos) png_error(png, "truncated");
    std::memcpy(out, r->data + r->pos, length);
    r->pos += length;
}

void fail(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}
void ignoreWarning(png_structp, png_const_charp) {}

}  // namespace

DecodedImage decodePng(const std::uint8_t *data, std::size_t size)
{
    DecodedImage result;
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) {
        result.error = QStringLiteral("PNGファイルではありません。");
        return result;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail, ignoreWarning);
    if (!png) {
        result.error = damaged();
        return result;
    }
    png_infop info = png_create_info_struct(png);
    Reader reader{data, size};
    // Filled before the jump target, so they are valid after a longjmp.
    std::vector<png_bytep> rows;
    RgbImage &image = result.image;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (result.error.isEmpty()) result.error = damaged();
        image = RgbImage();
        return result;
    }
    png_set_read_fn(png, &reader, readBytes);
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (std::int64_t(width) * height > kMaxPixels) {
        result.error = tooLarge(width, height);
        png_longjmp(png, 1);
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const int channels = png_get_channels(png, info);  // 3, or 4 with alpha
    if (channels != 3 && channels != 4) png_longjmp(png, 1);

    image.width = int(width);
    image.height = int(height);
    image.pixels.resize(std::size_t(width) * height * channels);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = image.pixels.data() + std::size_t(y) * width * channels;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);

    if (channels == 4) {
        const std::size_t count = std::size_t(width) * height;
        std::uint8_t *p = image.pixels.data();
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned a = p[i * 4 + 3];
            for (int c = 0; c < 3; ++c)
                p[i * 3 + c] = std::uint8_t((p[i * 4 + c] * a + 255 * (255 - a) + 127) / 255);
        }
        image.pixels.resize(count * 3);
        image.pixels.shrink_to_fit();
    }
    return result;
}

}  // namespace ImageDecoder
