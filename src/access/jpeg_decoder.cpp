#include <csetjmp>
#include <cstddef>
#include <cstdio>

// After the headers that declare size_t and FILE, which it uses.
#include <jpeglib.h>

#include "access/rgb_image.h"

// JPEG through libjpeg: baseline and progressive, greyscale, YCbCr and RGB
// through the library's own conversion; CMYK and YCCK (Adobe's, stored
// inverted) converted here, since libjpeg does not turn them into RGB.
namespace ImageDecoder {

namespace {

// A hostile progressive file can hold thousands of tiny scans, each of which
// costs a pass over the whole picture; real encoders write about ten.
constexpr int kMaxScans = 256;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void fail(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
}
void quiet(j_common_ptr, int) {}

void watchScans(j_common_ptr cinfo)
{
    auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) fail(cinfo);
}

}  // namespace

DecodedImage decodeJpeg(const std::uint8_t *data, std::size_t size)
{
    DecodedImage result;
    if (size < 3 || data[0] != 0xFF || data[1] != 0xD8) {
        result.error = QStringLiteral("JPEGファイルではありません。");
        return result;
    }
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = fail;
    errors.base.emit_message = quiet;
    jpeg_progress_mgr progress;
    progress.progress_monitor = watchScans;
    std::vector<std::uint8_t> cmyk;
    RgbImage &image = result.image;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        if (result.error.isEmpty()) result.error = damaged();
        image = RgbImage();
        return result;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (std::int64_t(cinfo.image_width) * cinfo.image_height > kMaxPixels) {
        result.error = tooLarge(cinfo.image_width, cinfo.image_height);
        fail(reinterpret_cast<j_common_ptr>(&cinfo));
    }
    const bool fourChannels =
        cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = fourChannels ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (int(cinfo.output_components) != (fourChannels ? 4 : 3))
        fail(reinterpret_cast<j_common_ptr>(&cinfo));

    const std::size_t width = cinfo.output_width;
    image.width = int(width);
    image.height = int(cinfo.output_height);
    image.pixels.resize(width * cinfo.output_height * 3);
    if (fourChannels) cmyk.resize(width * 4);
    // Adobe writes CMYK inverted (0 is full ink); others write it plainly.
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        std::uint8_t *out = image.pixels.data() + std::size_t(cinfo.output_scanline) * width * 3;
        JSAMPROW row = fourChannels ? cmyk.data() : out;
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (!fourChannels) continue;
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t *p = &cmyk[x * 4];
            const unsigned k = inverted ? p[3] : 255 - p[3];
            for (int c = 0; c < 3; ++c) {
                const unsigned v = inverted ? p[c] : 255 - p[c];
                out[x * 3 + c] = std::uint8_t((v * k + 127) / 255);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return result;
}

}  // namespace ImageDecoder
