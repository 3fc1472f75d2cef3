// The grayscale view's decoders and rules, on pictures made here by libpng,
// libjpeg and by hand.
#include <gtest/gtest.h>
#include <png.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <cstddef>
#include <cstdio>

// After the headers that declare size_t and FILE, which it uses.
#include <jpeglib.h>

#include "access/gray_image.h"
#include "access/image_file.h"
#include "core/folder_memory.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "support/qt_print.h"
#include "support/recording_view.h"
#include "support/temp_home.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using Bytes = std::vector<std::uint8_t>;

// ---- PNG ------------------------------------------------------------------

struct PngSpec {
    int width = 4, height = 3;
    int colourType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    int interlace = PNG_INTERLACE_NONE;
    // The value of channel c of pixel (x, y) before packing.
    std::function<int(int x, int y, int c)> sample = [](int x, int y, int c) {
        return (x * 60 + y * 30 + c * 20) % 256;
    };
};

void appendBytes(png_structp png, png_bytep data, png_size_t n)
{
    auto *out = static_cast<Bytes *>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

Bytes makePng(const PngSpec &s)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendBytes, nullptr);
    png_set_IHDR(png, info, s.width, s.height, s.depth, s.colourType, s.interlace,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (s.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_color palette[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
        png_set_PLTE(png, info, palette, 4);
    }
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    const int bytesPerSample = s.depth == 16 ? 2 : 1;
    std::vector<Bytes> rows(s.height, Bytes(std::size_t(s.width) * channels * 2 + 8));
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            for (int c = 0; c < channels; ++c) {
                const int v = s.sample(x, y, c);
                if (s.depth < 8) {  // packed palette indexes
                    const int bit = x * s.depth;
                    rows[y][bit / 8] |= v << (8 - s.depth - bit % 8);
                } else if (bytesPerSample == 2) {
                    rows[y][(x * channels + c) * 2] = std::uint8_t(v);
                    rows[y][(x * channels + c) * 2 + 1] = 0x7F;
                } else {
                    rows[y][x * channels + c] = std::uint8_t(v);
                }
            }
    std::vector<png_bytep> pointers;
    for (Bytes &r : rows) pointers.push_back(r.data());
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// ---- JPEG -----------------------------------------------------------------

struct JpegSpec {
    int width = 16, height = 8;
    J_COLOR_SPACE space = JCS_RGB;
    bool progressive = false;
    int components = 3;
    Bytes samples;      // width × height × components
    bool adobe = true;  // CMYK: with Adobe's marker, which stores ink inverted
};

Bytes makeJpeg(JpegSpec s)
{
    if (s.samples.empty()) s.samples.assign(std::size_t(s.width) * s.height * s.components, 200);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = s.width;
    cinfo.image_height = s.height;
    cinfo.input_components = s.components;
    cinfo.in_color_space = s.space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    cinfo.write_Adobe_marker = s.adobe && s.space == JCS_CMYK;
    if (s.progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &s.samples[std::size_t(cinfo.next_scanline) * s.width * s.components];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

// ---- BMP ------------------------------------------------------------------

void put16(Bytes &b, std::size_t at, std::uint32_t v)
{
    b[at] = std::uint8_t(v), b[at + 1] = std::uint8_t(v >> 8);
}
void put32(Bytes &b, std::size_t at, std::uint32_t v)
{
    put16(b, at, v & 0xFFFF), put16(b, at + 2, v >> 16);
}

// A 40-byte-header bitmap of width × height (negative: top-down) with the
// given palette (4 bytes an entry) or masks, and rows as given, padded.
Bytes makeBmp(int width, int height, int bits, const Bytes &extra,
              const std::vector<Bytes> &rowsTopDown, std::uint32_t compression = 0)
{
    Bytes b(54, 0);
    b[0] = 'B', b[1] = 'M';
    put32(b, 14, 40);
    put32(b, 18, std::uint32_t(width));
    put32(b, 22, std::uint32_t(height));
    put16(b, 26, 1);
    put16(b, 28, std::uint32_t(bits));
    put32(b, 30, compression);
    if (bits <= 8) put32(b, 46, std::uint32_t(extra.size() / 4));  // colours used
    for (std::uint8_t v : extra) b.push_back(v);
    put32(b, 10, std::uint32_t(b.size()));
    const std::size_t stride = (std::size_t(std::abs(width)) * bits + 31) / 32 * 4;
    std::vector<Bytes> rows = rowsTopDown;
    if (height > 0) std::reverse(rows.begin(), rows.end());
    for (Bytes row : rows) {
        row.resize(stride, 0);
        for (std::uint8_t v : row) b.push_back(v);
    }
    put32(b, 2, std::uint32_t(b.size()));
    return b;
}

// Top-left and bottom-right pixels of every bitmap below: red and blue.
const std::uint32_t kTopLeft = 0xFF0000, kBottomRight = 0x0000FF;

std::uint32_t at(const RgbImage &image, int x, int y)
{
    const std::uint8_t *p = image.pixel(x, y);
    return (std::uint32_t(p[0]) << 16) | (p[1] << 8) | p[2];
}

DecodedImage decode(const Bytes &b, DecodedImage (*decoder)(const std::uint8_t *, std::size_t))
{
    return decoder(b.data(), b.size());
}

TEST(ImageDecoder, BitmapVariants)
{
    // 2 × 2: red, green / white, blue.
    const Bytes bgrTop{0, 0, 255, 0, 255, 0}, bgrBottom{255, 255, 255, 255, 0, 0};
    const Bytes bgrxTop{0, 0, 255, 0, 0, 255, 0, 0}, bgrxBottom{255, 255, 255, 0, 255, 0, 0, 0};
    const Bytes palette{0, 0, 255, 0, 0, 255, 0, 0, 255, 255, 255, 0, 255, 0, 0, 0};
    Bytes masks(12);
    put32(masks, 0, 0xF800), put32(masks, 4, 0x07E0), put32(masks, 8, 0x001F);
    Bytes rgb565Top(4), rgb565Bottom(4);
    put16(rgb565Top, 0, 0xF800), put16(rgb565Top, 2, 0x07E0);
    put16(rgb565Bottom, 0, 0xFFFF), put16(rgb565Bottom, 2, 0x001F);
    struct Case {
        const char *name;
        Bytes file;
    } cases[] = {
        {"24-bit bottom-up", makeBmp(2, 2, 24, {}, {bgrTop, bgrBottom})},
        {"24-bit top-down", makeBmp(2, -2, 24, {}, {bgrTop, bgrBottom})},
        {"32-bit", makeBmp(2, 2, 32, {}, {bgrxTop, bgrxBottom})},
        {"8-bit palette", makeBmp(2, 2, 8, palette, {{0, 1}, {2, 3}})},
        {"4-bit palette", makeBmp(2, -2, 4, palette, {{0x01}, {0x23}})},
        {"16-bit 565 masks", makeBmp(2, 2, 16, masks, {rgb565Top, rgb565Bottom}, 3)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedImage d = decode(c.file, ImageDecoder::decodeBmp);
        ASSERT_TRUE(d.ok()) << d.error.toStdString();
        ASSERT_EQ(d.image.width, 2);
        ASSERT_EQ(d.image.height, 2);
        EXPECT_EQ(at(d.image, 0, 0), kTopLeft);
        EXPECT_EQ(at(d.image, 1, 0), 0x00FF00u);
        EXPECT_EQ(at(d.image, 0, 1), 0xFFFFFFu);
        EXPECT_EQ(at(d.image, 1, 1), kBottomRight);
    }
}

TEST(ImageDecoder, BitmapsThatLieOrBreak)
{
    const Bytes good = makeBmp(2, 2, 24, {}, {{0, 0, 255, 0, 255, 0}, {1, 2, 3, 4, 5, 6}});
    auto patched = [&](std::size_t offset, std::uint32_t v) {
        Bytes b = good;
        put32(b, offset, v);
        return b;
    };
    struct Case {
        const char *name;
        Bytes file;
        const char *message;
    } cases[] = {
        {"huge height", patched(22, 0x7FFFFFFF), "大きすぎます"},
        {"most negative height", patched(22, 0x80000000), "大きすぎます"},
        {"zero width", patched(18, 0), "壊れて"},
        {"negative width", patched(18, 0xFFFFFFFE), "壊れて"},
        {"200000 × 200 claimed", patched(18, 200000), "壊れて"},
        {"truncated", Bytes(good.begin(), good.end() - 3), "壊れて"},
        {"pixel offset past the end", patched(10, 0xFFFFFFF0), "壊れて"},
        {"run-length", patched(30, 1), "対応していません"},
        {"odd depth",
         [&] {
             Bytes b = good;
             put16(b, 28, 7);
             return b;
         }(),
         "対応していません"},
        {"header size lies", patched(14, 0xFFFFFF), "壊れて"},
        {"not a bitmap", Bytes{'G', 'I', 'F', '8', '9', 'a'}, "BMPファイルではありません"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedImage d = decode(c.file, ImageDecoder::decodeBmp);
        EXPECT_TRUE(d.image.pixels.empty());
        EXPECT_TRUE(d.error.contains(QString::fromUtf8(c.message))) << d.error.toStdString();
    }
}

TEST(ImageDecoder, PngKinds)
{
    auto sample = [](int x, int y, int c) { return (x * 60 + y * 30 + c * 20) % 256; };
    struct Case {
        const char *name;
        PngSpec spec;
        std::function<std::uint32_t(int x, int y)> expected;
    } cases[] = {
        {"RGB", PngSpec{},
         [&](int x, int y) {
             return std::uint32_t(sample(x, y, 0) << 16 | sample(x, y, 1) << 8 | sample(x, y, 2));
         }},
        {"RGB interlaced", PngSpec{4, 3, PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_ADAM7},
         [&](int x, int y) {
             return std::uint32_t(sample(x, y, 0) << 16 | sample(x, y, 1) << 8 | sample(x, y, 2));
         }},
        {"16-bit RGB", PngSpec{4, 3, PNG_COLOR_TYPE_RGB, 16},
         [&](int x, int y) {
             return std::uint32_t(sample(x, y, 0) << 16 | sample(x, y, 1) << 8 | sample(x, y, 2));
         }},
        {"grey", PngSpec{4, 3, PNG_COLOR_TYPE_GRAY, 8},
         [&](int x, int y) { return std::uint32_t(sample(x, y, 0)) * 0x010101u; }},
        {"palette, 2 bits",
         PngSpec{4, 3, PNG_COLOR_TYPE_PALETTE, 2, PNG_INTERLACE_NONE,
                 [](int x, int, int) { return x; }},
         [](int x, int) {
             return std::array<std::uint32_t, 4>{0, 0xFF0000, 0xFF00, 0xFF}[x];
         }},
        // Half-transparent red on white: (255, 128, 128); clear pixels white.
        {"RGBA on white",
         PngSpec{4, 3, PNG_COLOR_TYPE_RGB_ALPHA, 8, PNG_INTERLACE_ADAM7,
                 [](int x, int, int c) { return c == 3   ? (x == 0 ? 0 : 128)
                                                : c == 0 ? 255
                                                         : 0; }},
         [](int x, int) { return x == 0 ? 0xFFFFFFu : 0xFF7F7Fu; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedImage d = decode(makePng(c.spec), ImageDecoder::decodePng);
        ASSERT_TRUE(d.ok()) << d.error.toStdString();
        ASSERT_EQ(d.image.width, c.spec.width);
        ASSERT_EQ(d.image.height, c.spec.height);
        ASSERT_EQ(d.image.pixels.size(), std::size_t(c.spec.width * c.spec.height * 3));
        for (int y = 0; y < c.spec.height; ++y)
            for (int x = 0; x < c.spec.width; ++x)
                EXPECT_EQ(at(d.image, x, y), c.expected(x, y)) << x << "," << y;
    }
}

std::uint32_t crc32Of(const std::uint8_t *p, std::size_t n)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

TEST(ImageDecoder, PngsThatLieOrBreak)
{
    const Bytes good = makePng(PngSpec{});
    // IHDR's width and height sit at 16 and 20; its CRC at 29 must follow them.
    auto claiming = [&](std::uint32_t w, std::uint32_t h) {
        Bytes b = good;
        for (int i = 0; i < 4; ++i) {
            b[16 + i] = std::uint8_t(w >> (24 - 8 * i));
            b[20 + i] = std::uint8_t(h >> (24 - 8 * i));
        }
        const std::uint32_t crc = crc32Of(&b[12], 17);
        for (int i = 0; i < 4; ++i) b[29 + i] = std::uint8_t(crc >> (24 - 8 * i));
        return b;
    };
    struct Case {
        const char *name;
        Bytes file;
        const char *message;
    } cases[] = {
        {"100000 × 100000", claiming(100000, 100000), "大きすぎます(100000×100000画素)"},
        {"8000 × 5001", claiming(8000, 5001), "大きすぎます"},
        {"200 × 200 with 4 × 3 of data", claiming(200, 200), "壊れて"},
        {"truncated", Bytes(good.begin(), good.begin() + good.size() / 2), "壊れて"},
        {"signature only", Bytes(good.begin(), good.begin() + 8), "壊れて"},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'},
         "PNGファイルではありません"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedImage d = decode(c.file, ImageDecoder::decodePng);
        EXPECT_TRUE(d.image.pixels.empty());
        EXPECT_TRUE(d.error.contains(QString::fromUtf8(c.message))) << d.error.toStdString();
    }
}

TEST(ImageDecoder, JpegKinds)
{
    struct Case {
        const char *name;
        JpegSpec spec;
        std::uint32_t expected;
    } cases[] = {
        {"baseline RGB", JpegSpec{16, 8, JCS_RGB, false, 3, Bytes(16 * 8 * 3, 200)}, 0xC8C8C8},
        {"progressive", JpegSpec{16, 8, JCS_RGB, true, 3, Bytes(16 * 8 * 3, 100)}, 0x646464},
        {"greyscale", JpegSpec{16, 8, JCS_GRAYSCALE, false, 1, Bytes(16 * 8, 50)}, 0x323232},
        // Cyan: full C, no M, Y, K; Adobe's files store 255 for no ink.
        {"Adobe CMYK",
         JpegSpec{16, 8, JCS_CMYK, false, 4,
                  [] {
                      Bytes b;
                      for (int i = 0; i < 16 * 8; ++i) b.insert(b.end(), {0, 255, 255, 255});
                      return b;
                  }()},
         0x00FFFF},
        {"plain CMYK",
         JpegSpec{16, 8, JCS_CMYK, true, 4,
                  [] {
                      Bytes b;
                      for (int i = 0; i < 16 * 8; ++i) b.insert(b.end(), {255, 0, 0, 0});
                      return b;
                  }(),
                  false},
         0x00FFFF},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedImage d = decode(makeJpeg(c.spec), ImageDecoder::decodeJpeg);
        ASSERT_TRUE(d.ok()) << d.error.toStdString();
        ASSERT_EQ(d.image.width, 16);
        ASSERT_EQ(d.image.height, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x) {
                const std::uint8_t *p = d.image.pixel(x, y);
                for (int ch = 0; ch < 3; ++ch)
                    EXPECT_NEAR(p[ch], (c.expected >> (16 - 8 * ch)) & 0xFF, 3) << x << "," << y;
            }
    }

    const Bytes good = makeJpeg(JpegSpec{});
    Bytes huge = good;  // SOF0 height and width follow its marker, length and precision
    for (std::size_t i = 2; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = 0xFF, huge[i + 6] = 0xDC, huge[i + 7] = 0xFF, huge[i + 8] = 0xDC;
            break;
        }
    DecodedImage d = decode(huge, ImageDecoder::decodeJpeg);
    EXPECT_TRUE(d.error.contains(u"大きすぎます(65500×65500画素)"_s)) << d.error.toStdString();
    d = decode(Bytes(good.begin(), good.begin() + 20), ImageDecoder::decodeJpeg);
    EXPECT_TRUE(d.error.contains(u"壊れて"_s)) << d.error.toStdString();
    d = decode(Bytes{'B', 'M', 0, 0}, ImageDecoder::decodeJpeg);
    EXPECT_TRUE(d.error.contains(u"JPEGファイルではありません"_s)) << d.error.toStdString();
}

TEST(GrayScale, WeightsAndRounding)
{
    struct Case {
        int r, g, b, gray;
    } cases[] = {
        {255, 255, 255, 252},
        {255, 0, 0, 74},
        {0, 255, 0, 149},
        {0, 0, 255, 29},
        {0, 0, 0, 0},
        // Exact halves go to the even neighbour: 28.5, 18.5 down; 3.5, 13.5 up.
        {0, 0, 250, 28},
        {0, 2, 152, 18},
        {0, 5, 5, 4},
        {0, 3, 103, 14},
        {50, 0, 0, 14},  // 14.45
    };
    for (const Case &c : cases)
        EXPECT_EQ(GrayScale::grayValue(c.r, c.g, c.b), c.gray) << c.r << "," << c.g << "," << c.b;

    RgbImage image;
    image.width = 2, image.height = 1;
    image.pixels = {255, 0, 0, 0, 0, 255};
    const RgbImage gray = GrayScale::toGray(image);
    EXPECT_EQ(gray.pixels, (std::vector<std::uint8_t>{74, 74, 74, 29, 29, 29}));
}

TEST(GrayScale, PlacementOfThePictureAndTheWindow)
{
    struct Case {
        QSize window, picture;
        QPoint at;
    } cases[] = {
        {{500, 380}, {100, 50}, {200, 165}},
        {{500, 380}, {101, 51}, {199, 164}},  // halves toward zero
        {{500, 380}, {600, 50}, {0, 0}},      // wider: scrolls
        {{500, 380}, {100, 380}, {0, 0}},     // as high as the window
        {{500, 380}, {500, 10}, {0, 0}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GrayScale::picturePosition(c.window, c.picture), c.at)
            << c.picture.width() << "×" << c.picture.height();

    TempHome home;
    IniFile ini(ProgramFolder::iniPath());
    EXPECT_EQ(GrayScale::loadPlacement(ini, QSize(1025, 769)), QRect(312, 234, 500, 380));
    GrayScale::savePlacement(ini, QRect(-10, 20, 640, 480));
    EXPECT_EQ(GrayScale::loadPlacement(ini, QSize(1025, 769)), QRect(-10, 20, 640, 480));
    EXPECT_TRUE(home.read(u"Velmarin.ini"_s)
                    .contains("[GForm]\r\nLeft=-10\r\nTop=20\r\nWidth=640\r\nHeight=480"));
}

TEST(GrayScale, FilesByExtensionAndTheConsole)
{
    TempHome home;
    const Bytes jpeg = makeJpeg(JpegSpec{16, 8, JCS_RGB, false, 3, Bytes(16 * 8 * 3, 255)});
    home.write(u"PHOTO.JPEG"_s,
               QByteArray(reinterpret_cast<const char *>(jpeg.data()), int(jpeg.size())));
    home.write(u"photo.gif"_s, "GIF89a");
    home.write(u"fake.png"_s, "not a picture");

    EXPECT_EQ(ImageFile::formatOf(u"PHOTO.JPEG"_s), ImageFile::Format::Jpeg);
    EXPECT_EQ(ImageFile::formatOf(u"a.Jpg"_s), ImageFile::Format::Jpeg);
    EXPECT_EQ(ImageFile::formatOf(u"a.BMP"_s), ImageFile::Format::Bmp);
    EXPECT_EQ(ImageFile::formatOf(u"a.png"_s), ImageFile::Format::Png);
    EXPECT_EQ(ImageFile::formatOf(u"a.png.txt"_s), ImageFile::Format::None);
    const DecodedImage photo = ImageFile::load(home.file(u"PHOTO.JPEG"_s));
    ASSERT_TRUE(photo.ok()) << photo.error.toStdString();
    EXPECT_EQ(photo.image.width, 16);
    const DecodedImage gif = ImageFile::load(home.file(u"photo.gif"_s));
    EXPECT_TRUE(gif.ok());
    EXPECT_TRUE(gif.image.isNull());
    const DecodedImage fake = ImageFile::load(home.file(u"fake.png"_s));
    EXPECT_TRUE(fake.error.startsWith(u"画像ファイル「"_s + home.file(u"fake.png"_s) +
                                      u"」を読み込めませんでした。\nPNGファイルではありません。"_s))
        << fake.error.toStdString();

    // The dialog starts in the remembered folder and remembers the new one.
    ASSERT_TRUE(QDir(home.path()).mkpath(u"sub"_s));
    home.write(u"sub/PHOTO.JPEG"_s, "");
    RecordingView view;
    FolderMemory folders;
    folders.store(home.path());
    view.openFileAnswer = home.file(u"sub/PHOTO.JPEG"_s);
    EXPECT_EQ(GrayScale::chooseImage(view, folders), view.openFileAnswer);
    EXPECT_EQ(view.lastOpenStartDir, home.path());
    EXPECT_EQ(view.lastFilter, u"グラフィックファイル |*.bmp;*.jpg;*.jpeg;*.png"_s);
    EXPECT_EQ(QDir::cleanPath(folders.lastDir()), home.file(u"sub"_s));

    // The console writes the gray picture as PNG: white becomes 252.
    QProcess cli;
    const QString out = home.file(u"gray out.png"_s);
    cli.start(QStringLiteral(VELMARIN_CLI_PATH), {u"--gray"_s, home.file(u"PHOTO.JPEG"_s), out});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray png = written.readAll();
    const DecodedImage back = ImageDecoder::decodePng(
        reinterpret_cast<const std::uint8_t *>(png.constData()), std::size_t(png.size()));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.image.width, 16);
    EXPECT_EQ(at(back.image, 5, 5), 0xFCFCFCu);

    cli.start(QStringLiteral(VELMARIN_CLI_PATH), {u"--gray"_s, home.file(u"fake.png"_s), out});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_TRUE(
        QString::fromUtf8(cli.readAllStandardError()).contains(u"PNGファイルではありません。"_s));
}

}  // namespace
