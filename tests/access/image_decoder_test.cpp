#include <sys/resource.h>

#include <tuple>

#include "access/gray_image.h"
#include "access/image_file.h"
#include "core/folder_memory.h"
#include "support/process_run.h"
#include "support/test.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Decoder = DecodedImage (*)(const std::uint8_t *, std::size_t);
using Pixels = std::function<std::uint32_t(int x, int y)>;
const Decoder kBmp = ImageDecoder::decodeBmp, kPng = ImageDecoder::decodePng,
              kJpeg = ImageDecoder::decodeJpeg;

int sample(int x, int y, int c)
{
    return (x * 60 + y * 30 + c * 20) % 256;
}

// A picture from tests/data: bitmaps are 2 × 2, PNGs 4 × 3 with channel c of
// pixel (x, y) sample(x, y, c) unless named otherwise, JPEGs 16 × 8 of one
// colour; a "claims" file says in its header it is of the size named.
Bytes picture(const char *name)
{
    const QByteArray bytes = readWholeFile(testDataPath(u"access_"_s + QString::fromLatin1(name)));
    return Bytes(bytes.begin(), bytes.end());
}

// A copy with the `size` bytes at `at` replaced by `v`, least significant first.
Bytes patched(Bytes b, std::size_t at, std::uint32_t v, int size = 4)
{
    for (int i = 0; i < size; ++i) b[at + i] = std::uint8_t(v >> 8 * i);
    return b;
}

std::uint32_t at(const RgbImage &image, int x, int y)
{
    const std::uint8_t *p = image.pixel(x, y);
    return (std::uint32_t(p[0]) << 16) | (p[1] << 8) | p[2];
}

TEST(ImageDecoder, EveryKindOfEachFormat)
{
    const Pixels quad = [](int x, int y) {
        return std::array<std::uint32_t, 4>{0xFF0000, 0x00FF00, 0xFFFFFF, 0x0000FF}[y * 2 + x];
    };
    const Pixels rgb = [](int x, int y) {
        return std::uint32_t(sample(x, y, 0) << 16 | sample(x, y, 1) << 8 | sample(x, y, 2));
    };
    auto flat = [](std::uint32_t colour) { return Pixels([colour](int, int) { return colour; }); };
    const std::tuple<const char *, Bytes, Decoder, Pixels> cases[] = {
        {"BMP 24-bit bottom-up", picture("bgr24.bmp"), kBmp, quad},
        {"BMP 24-bit top-down", picture("bgr24_top_down.bmp"), kBmp, quad},
        {"BMP 32-bit", picture("bgrx32.bmp"), kBmp, quad},
        {"BMP 8-bit palette", picture("palette8.bmp"), kBmp, quad},
        {"BMP 4-bit palette, top-down", picture("palette4.bmp"), kBmp, quad},
        {"BMP 16-bit 565 masks", picture("rgb565.bmp"), kBmp, quad},
        {"PNG RGB", picture("rgb.png"), kPng, rgb},
        {"PNG RGB interlaced", picture("rgb_interlaced.png"), kPng, rgb},
        {"PNG 16-bit RGB", picture("rgb16.png"), kPng, rgb},
        {"PNG grey", picture("grey.png"), kPng,
         [](int x, int y) { return std::uint32_t(sample(x, y, 0)) * 0x010101u; }},
        // Palette black, red, green, blue; pixel (x, y) takes entry x.
        {"PNG palette, 2 bits", picture("palette2.png"), kPng,
         [](int x, int) {
             return std::array<std::uint32_t, 4>{0, 0xFF0000, 0xFF00, 0xFF}[x];
         }},
        // Red, clear in column 0 and half-transparent elsewhere, on white.
        {"PNG RGBA on white", picture("rgba.png"), kPng,
         [](int x, int) { return x == 0 ? 0xFFFFFFu : 0xFF7F7Fu; }},
        {"JPEG baseline RGB", picture("grey200.jpg"), kJpeg, flat(0xC8C8C8)},
        {"JPEG progressive", picture("progressive.jpg"), kJpeg, flat(0x646464)},
        {"JPEG greyscale", picture("greyscale.jpg"), kJpeg, flat(0x323232)},
        // Cyan, stored inverted with Adobe's marker and plainly without it.
        {"JPEG Adobe CMYK", picture("adobe_cmyk.jpg"), kJpeg, flat(0x00FFFF)},
        {"JPEG plain CMYK", picture("plain_cmyk.jpg"), kJpeg, flat(0x00FFFF)},
    };
    for (const auto &[name, file, decoder, expected] : cases) {
        SCOPED_TRACE(name);
        const DecodedImage d = decoder(file.data(), file.size());
        ASSERT_TRUE(d.ok()) << d.error.toStdString();
        const QSize size = decoder == kBmp   ? QSize(2, 2)
                           : decoder == kPng ? QSize(4, 3)
                                             : QSize(16, 8);
        ASSERT_EQ(QSize(d.image.width, d.image.height), size);
        ASSERT_EQ(d.image.pixels.size(), std::size_t(size.width() * size.height() * 3));
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                for (int shift : {16, 8, 0})
                    EXPECT_NEAR(int(at(d.image, x, y) >> shift & 0xFF),
                                int(expected(x, y) >> shift & 0xFF), decoder == kJpeg ? 3 : 0)
                        << x << "," << y;
    }
}

TEST(ImageDecoder, FilesThatLieOrBreak)
{
    const Bytes bmp = picture("bgr24.bmp");
    const Bytes png = picture("rgb.png"), jpeg = picture("grey200.jpg");
    // Masks inside a header too short to hold them (44 bytes), where the
    // bytes after it would be taken for them.
    const Bytes shortMasks = patched(picture("rgb565.bmp"), 14, 44);
    const std::tuple<const char *, Bytes, Decoder, const char *> cases[] = {
        {"BMP huge height", patched(bmp, 22, 0x7FFFFFFF), kBmp, "大きすぎます"},
        {"BMP most negative height", patched(bmp, 22, 0x80000000), kBmp, "大きすぎます"},
        {"BMP zero width", patched(bmp, 18, 0), kBmp, "壊れて"},
        {"BMP negative width", patched(bmp, 18, 0xFFFFFFFE), kBmp, "壊れて"},
        {"BMP 200000 × 200 claimed", patched(bmp, 18, 200000), kBmp, "壊れて"},
        {"BMP truncated", Bytes(bmp.begin(), bmp.end() - 3), kBmp, "壊れて"},
        {"BMP pixel offset past the end", patched(bmp, 10, 0xFFFFFFF0), kBmp, "壊れて"},
        {"BMP run-length", patched(bmp, 30, 1), kBmp, "対応していません"},
        {"BMP odd depth", patched(bmp, 28, 7, 2), kBmp, "対応していません"},
        {"BMP header size lies", patched(bmp, 14, 0xFFFFFF), kBmp, "壊れて"},
        {"BMP masks beyond a 44-byte header", shortMasks, kBmp, "壊れて"},
        {"BMP masks cut off", Bytes(shortMasks.begin(), shortMasks.begin() + 55), kBmp, "壊れて"},
        {"GIF as BMP", Bytes{'G', 'I', 'F', '8', '9', 'a'}, kBmp, "BMPファイルではありません"},
        {"PNG 100000 × 100000", picture("rgb_claims_100000x100000.png"), kPng,
         "大きすぎます(100000×100000画素)"},
        {"PNG 8000 × 5001", picture("rgb_claims_8000x5001.png"), kPng, "大きすぎます"},
        {"PNG 200 × 200 with 4 × 3 of data", picture("rgb_claims_200x200.png"), kPng, "壊れて"},
        {"PNG truncated", Bytes(png.begin(), png.begin() + png.size() / 2), kPng, "壊れて"},
        {"PNG signature only", Bytes(png.begin(), png.begin() + 8), kPng, "壊れて"},
        {"text as PNG", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, kPng,
         "PNGファイルではありません"},
        {"JPEG 65500 × 65500", picture("grey200_claims_65500x65500.jpg"), kJpeg,
         "大きすぎます(65500×65500画素)"},
        {"JPEG truncated in its header", Bytes(jpeg.begin(), jpeg.begin() + 20), kJpeg, "壊れて"},
        {"JPEG cut in half", Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2), kJpeg, "壊れて"},
        {"JPEG without its end", Bytes(jpeg.begin(), jpeg.end() - 2), kJpeg, "壊れて"},
        {"JPEG 6000 × 6000 with 16 × 8 of data", picture("grey200_claims_6000x6000.jpg"), kJpeg,
         "壊れて"},
        {"BMP as JPEG", Bytes{'B', 'M', 0, 0}, kJpeg, "JPEGファイルではありません"},
    };
    for (const auto &[name, file, decoder, message] : cases) {
        SCOPED_TRACE(name);
        const DecodedImage d = decoder(file.data(), file.size());
        EXPECT_TRUE(d.image.pixels.empty());
        EXPECT_TRUE(d.error.contains(QString::fromUtf8(message))) << d.error.toStdString();
    }
}

TEST(GrayScale, WeightsRoundingAndPlacement)
{
    // R, G, B and the gray. Exact halves go to the even neighbour: 28.5 and
    // 18.5 down, 3.5 and 13.5 up; 14.45 down.
    const int grays[][4] = {
        {255, 255, 255, 252}, {255, 0, 0, 74}, {0, 255, 0, 149}, {0, 0, 255, 29}, {0, 0, 0, 0},
        {0, 0, 250, 28},      {0, 2, 152, 18}, {0, 5, 5, 4},     {0, 3, 103, 14}, {50, 0, 0, 14}};
    for (const auto &c : grays)
        EXPECT_EQ(GrayScale::grayValue(c[0], c[1], c[2]), c[3])
            << c[0] << "," << c[1] << "," << c[2];

    const std::pair<QSize, QPoint> placements[] = {
        {{100, 50}, {200, 165}}, {{101, 51}, {199, 164}},  // halves toward zero
        {{600, 50}, {0, 0}},                               // wider: scrolls
        {{100, 380}, {0, 0}},                              // as high as the window
        {{500, 10}, {0, 0}},
    };
    for (const auto &[picture, at] : placements)
        EXPECT_EQ(GrayScale::picturePosition(QSize(500, 380), picture), at)
            << picture.width() << "×" << picture.height();

    TempHome home;
    IniFile ini(ProgramFolder::iniPath());
    EXPECT_EQ(GrayScale::loadPlacement(ini, QSize(1025, 769)), QRect(312, 234, 500, 380));
    GrayScale::savePlacement(ini, QRect(-10, 20, 640, 480));
    EXPECT_EQ(GrayScale::loadPlacement(ini, QSize(1025, 769)), QRect(-10, 20, 640, 480));
    EXPECT_TRUE(home.read(u"Velmarin.ini"_s)
                    .contains("[GForm]\r\nLeft=-10\r\nTop=20\r\nWidth=640\r\nHeight=480"));
}

TEST(GrayScale, FilesByExtensionAndTheDialog)
{
    TempHome home;
    home.write(u"photo.gif"_s, "GIF89a");
    home.write(u"fake.png"_s, "not a picture");
    for (auto [name, format] : {std::pair{"PHOTO.JPEG", ImageFile::Format::Jpeg},
                                {"a.Jpg", ImageFile::Format::Jpeg},
                                {"a.BMP", ImageFile::Format::Bmp},
                                {"a.png", ImageFile::Format::Png},
                                {"a.png.txt", ImageFile::Format::None}})
        EXPECT_EQ(ImageFile::formatOf(QString::fromLatin1(name)), format) << name;
    const DecodedImage gif = ImageFile::load(home.file(u"photo.gif"_s));
    EXPECT_TRUE(gif.ok() && gif.image.isNull());
    EXPECT_TRUE(
        ImageFile::load(home.file(u"fake.png"_s))
            .error.startsWith(u"画像ファイル「"_s + home.file(u"fake.png"_s) +
                              u"」を読み込めませんでした。\nPNGファイルではありません。"_s));

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
}

// The console writes the gray picture as PNG (white becomes 252) with its data
// memory (RLIMIT_DATA) a little above what it needs before it decodes: a picture
// the size of the limit would not fit twice, nor a refused file whole. Not under
// AddressSanitizer, whose shadow memory counts as data.
TEST(GrayScale, TheConsoleWritesGrayWithinTheStatedMemory)
{
    rlim_t limit = 64 << 20;
#if defined(__SANITIZE_ADDRESS__)
    limit = RLIM_INFINITY;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    limit = RLIM_INFINITY;
#endif
#endif
    TempHome home;
    // 42 megapixels: a header, and a body the file system does not store.
    const Bytes bmp = patched(patched(picture("bgr24.bmp"), 18, 7000), 22, 6000);
    home.write(u"big.bmp"_s, QByteArray(reinterpret_cast<const char *>(bmp.data()), 54));
    ASSERT_TRUE(QFile::resize(home.file(u"big.bmp"_s), 54 + 21000LL * 6000));
    home.write(u"fake.png"_s, "not a picture");
    // 1 × 4,000,000: 12 MB as RGB, and more than libpng writes by default.
    RgbImage tall;
    tall.width = 1, tall.height = 4'000'000;
    tall.pixels.assign(std::size_t(tall.height) * 3, 255);
    QString error;
    ASSERT_TRUE(ImageFile::savePng(tall, home.file(u"tall.png"_s), &error)) << error.toStdString();
    tall = RgbImage();

    const QString out = home.file(u"gray out.png"_s);
    for (const auto &[name, status, said] :
         {std::tuple{"big.bmp", 1, u"大きすぎます(7000×6000画素)"_s},
          {"fake.png", 1, u"PNGファイルではありません。"_s},
          {"tall.png", 0, QString()}}) {
        QProcess cli;
        cli.setChildProcessModifier([limit] {
            const rlimit data{limit, limit};
            ::setrlimit(RLIMIT_DATA, &data);
        });
        cli.start(QStringLiteral(VELMARIN_CLI_PATH),
                  {u"--gray"_s, home.file(QString::fromLatin1(name)), out});
        ASSERT_TRUE(cli.waitForFinished(120000));
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit) << name << err.toStdString();
        EXPECT_EQ(cli.exitCode(), status) << name << err.toStdString();
        EXPECT_TRUE(err.contains(said)) << name << err.toStdString();
    }
    const DecodedImage back = ImageFile::load(out);
    ASSERT_TRUE(back.ok()) << back.error.toStdString();
    EXPECT_EQ(back.image.height, 4'000'000);
    EXPECT_EQ(at(back.image, 0, 3'999'999), 0xFCFCFCu);
}

}  // namespace
