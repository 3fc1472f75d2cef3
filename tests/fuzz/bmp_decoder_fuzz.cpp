// Arbitrary bytes as a BMP file: decoding ends with a picture or a message,
// never both, and a picture is whole and within the pixel limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "access/gray_image.h"
#include "access/rgb_image.h"

namespace {

void check(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The signature comes first, so the runs reach the decoder's body.
    static const char kMagic[] = "BM";
    std::vector<std::uint8_t> bytes(kMagic, kMagic + 2);
    if (size >= 2 && std::memcmp(data, kMagic, 2) == 0) bytes.clear();
    bytes.insert(bytes.end(), data, data + size);
    const DecodedImage d = ImageDecoder::decodeBmp(bytes.data(), bytes.size());
    if (!d.ok()) {
        check(d.image.pixels.empty());
        return 0;
    }
    check(!d.image.isNull());
    check(std::int64_t(d.image.width) * d.image.height <= ImageDecoder::kMaxPixels);
    check(d.image.pixels.size() == std::size_t(d.image.width) * d.image.height * 3);
    const RgbImage gray = GrayScale::toGray(d.image);
    check(gray.pixels.size() == d.image.pixels.size());
    return 0;
}
