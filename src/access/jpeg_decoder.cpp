#include <QIODevice>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <memory>

// After the headers that declare size_t and FILE, which it uses.
#include <jerror.h>
#include <jpeglib.h>

#include "access/rgb_image.h"

// JPEG through libjpeg: baseline and progressive, greyscale, YCbCr and RGB
// through the library's own conversion; CMYK and YCCK (Adobe's, stored
// inverted) converted here, since libjpeg does not turn them into RGB.
// libjpeg goes on past a cut or corrupt file with a warning and paints the
// rest grey; such a file is damaged here, as a damaged PNG or BMP is.
namespace ImageDecoder {

namespace {

// A hostile progressive file can hold thousands of tiny scans, each of which
// costs a pass over the whole picture; real encoders write about ten.
constexpr int kMaxScans = 256;
constexpr std::size_t kBufferBytes = 64 * 1024;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void fail(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
}

// Warnings about the picture's data end the decode; those about metadata
// that is not used here do not.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0) return;
    switch (cinfo->err->msg_code) {
        case JWRN_ADOBE_XFORM:
        case JWRN_JFIF_MAJOR:
        case JWRN_BOGUS_ICC:
            return;
        default:
            fail(cinfo);
    }
}

void watchScans(j_common_ptr cinfo)
{
    auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) fail(cinfo);
}

// The file is read in pieces of kBufferBytes; its end before libjpeg is done
// is an error, where libjpeg's own sources invent an end marker.
struct Source {
    jpeg_source_mgr base;
    QIODevice *in;
    std::uint8_t buffer[kBufferBytes];
};

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

boolean fillBuffer(j_decompress_ptr cinfo)
{
    auto *source = reinterpret_cast<Source *>(cinfo->src);
    const qint64 got = source->in->read(reinterpret_cast<char *>(source->buffer), kBufferBytes);
    if (got <= 0) fail(reinterpret_cast<j_common_ptr>(cinfo));
    source->base.next_input_byte = source->buffer;
    source->base.bytes_in_buffer = std::size_t(got);
    return TRUE;
}

void skipData(j_decompress_ptr cinfo, long count)
{
    auto *source = reinterpret_cast<Source *>(cinfo->src);
    while (count > long(source->base.bytes_in_buffer)) {
        count -= long(source->base.bytes_in_buffer);
        fillBuffer(cinfo);
    }
    if (count > 0) {
        source->base.next_input_byte += count;
        source->base.bytes_in_buffer -= std::size_t(count);
    }
}

}  // namespace

DecodedImage decodeJpeg(QIODevice &in)
{
    DecodedImage result;
    char start[2];
    if (in.peek(start, 2) != 2 || std::uint8_t(start[0]) != 0xFF ||
        std::uint8_t(start[1]) != 0xD8 || in.size() - in.pos() < 3) {
        result.error = QStringLiteral("JPEGファイルではありません。");
        return result;
    }
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = fail;
    errors.base.emit_message = onMessage;
    jpeg_progress_mgr progress;
    progress.progress_monitor = watchScans;
    auto source = std::make_unique<Source>();
    source->in = &in;
    source->base.init_source = initSource;
    source->base.fill_input_buffer = fillBuffer;
    source->base.skip_input_data = skipData;
    source->base.resync_to_restart = jpeg_resync_to_restart;
    source->base.term_source = termSource;
    source->base.bytes_in_buffer = 0;
    source->base.next_input_byte = nullptr;
    std::vector<std::uint8_t> cmyk;
    RgbImage &image = result.image;
    if (setjmp(errors.jump)) {
        if (result.error.isEmpty() && errors.base.msg_code == JERR_NO_BACKING_STORE)
            result.error = tooMuchMemory(cinfo.image_width, cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        if (result.error.isEmpty()) result.error = damaged();
        image = RgbImage();
        return result;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    cinfo.src = &source->base;
    jpeg_read_header(&cinfo, TRUE);
    const std::int64_t width = cinfo.image_width, height = cinfo.image_height;
    if (width * height > kMaxPixels) {
        result.error = tooLarge(width, height);
        fail(reinterpret_cast<j_common_ptr>(&cinfo));
    }
    // A progressive file keeps every coefficient of the picture while it is
    // read; libjpeg refuses to hold more than what the result leaves.
    cinfo.mem->max_memory_to_use = long(kMaxDecodeBytes - rgbBytes(width, height));
    const bool fourChannels =
        cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = fourChannels ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (int(cinfo.output_components) != (fourChannels ? 4 : 3))
        fail(reinterpret_cast<j_common_ptr>(&cinfo));

    const std::size_t outWidth = cinfo.output_width;
    image.width = int(outWidth);
    image.height = int(cinfo.output_height);
    image.pixels.resize(outWidth * cinfo.output_height * 3);
    if (fourChannels) cmyk.resize(outWidth * 4);
    // Adobe writes CMYK inverted (0 is full ink); others write it plainly.
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        std::uint8_t *out = image.pixels.data() + std::size_t(cinfo.output_scanline) * outWidth * 3;
        JSAMPROW row = fourChannels ? cmyk.data() : out;
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (!fourChannels) continue;
        for (std::size_t x = 0; x < outWidth; ++x) {
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
