#include "access/image_file.h"

#include <png.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <csetjmp>

namespace ImageDecoder {

QString tooLarge(std::int64_t width, std::int64_t height)
{
    return QStringLiteral("画像が大きすぎます(%1×%2画素)。表示できるのは%3万画素までです。")
        .arg(width)
        .arg(height)
        .arg(kMaxPixels / 10000);
}

QString tooMuchMemory(std::int64_t width, std::int64_t height)
{
    return QStringLiteral("画像が大きすぎます(%1×%2画素)。読み込むには%3MBを超えるメモリーが必要です。")
        .arg(width)
        .arg(height)
        .arg(kMaxDecodeBytes / 1000000);
}

QString damaged()
{
    return QStringLiteral("画像のデータが壊れているか、途中で切れています。");
}

namespace {

template <typename Decode>
DecodedImage fromMemory(const std::uint8_t *data, std::size_t size, Decode decode)
{
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return decode(buffer);
}

}  // namespace

DecodedImage decodeBmp(const std::uint8_t *data, std::size_t size)
{
    return fromMemory(data, size, [](QIODevice &in) { return decodeBmp(in); });
}
DecodedImage decodePng(const std::uint8_t *data, std::size_t size)
{
    return fromMemory(data, size, [](QIODevice &in) { return decodePng(in); });
}
DecodedImage decodeJpeg(const std::uint8_t *data, std::size_t size)
{
    return fromMemory(data, size, [](QIODevice &in) { return decodeJpeg(in); });
}

}  // namespace ImageDecoder

namespace ImageFile {

Format formatOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return Format::Jpeg;
    if (suffix == QLatin1String("bmp")) return Format::Bmp;
    if (suffix == QLatin1String("png")) return Format::Png;
    return Format::None;
}

DecodedImage load(const QString &fileName)
{
    DecodedImage result;
    const Format format = formatOf(fileName);
    if (format == Format::None) return result;
    const QString heading =
        QStringLiteral("画像ファイル「%1」を読み込めませんでした。\n").arg(fileName);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = heading + file.errorString();
        return result;
    }
    if (file.size() > ImageDecoder::kMaxFileBytes) {
        result.error = heading + QStringLiteral("ファイルが大きすぎます(%1MBまで)。")
                                     .arg(ImageDecoder::kMaxFileBytes / (1024 * 1024));
        return result;
    }
    switch (format) {
        case Format::Bmp:
            result = ImageDecoder::decodeBmp(file);
            break;
        case Format::Jpeg:
            result = ImageDecoder::decodeJpeg(file);
            break;
        default:
            result = ImageDecoder::decodePng(file);
    }
    if (!result.ok()) result.error.prepend(heading);
    return result;
}

namespace {

void writeBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto *file = static_cast<QFile *>(png_get_io_ptr(png));
    if (file->write(reinterpret_cast<const char *>(data), qint64(length)) != qint64(length))
        png_error(png, "write");
}
void flushNothing(png_structp) {}
void fail(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

}  // namespace

bool savePng(const RgbImage &image, const QString &fileName, QString *error)
{
    QFile file(fileName);
    const QString heading = QStringLiteral("「%1」に書き込めませんでした。").arg(fileName);
    if (image.isNull() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = heading + file.errorString();
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, fail, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        file.close();
        file.remove();
        *error = heading + file.errorString();
        return false;
    }
    png_set_write_fn(png, &file, writeBytes, flushNothing);
    // libpng's own limits (a million rows) are lower than the readers'.
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, const_cast<png_bytep>(image.pixel(0, y)));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace ImageFile
