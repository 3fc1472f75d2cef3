// Arbitrary bytes as a PNG file.
#include "image_decoder_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzImageDecoder("\x89PNG\r\n\x1a\n", 8, ImageDecoder::decodePng, data, size);
}
