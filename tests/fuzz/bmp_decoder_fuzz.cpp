// Arbitrary bytes as a BMP file.
#include "image_decoder_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzImageDecoder("BM", 2, ImageDecoder::decodeBmp, data, size);
}
