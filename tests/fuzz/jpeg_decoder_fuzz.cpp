// Arbitrary bytes as a JPEG file.
#include "image_decoder_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzImageDecoder("\xff\xd8\xff", 3, ImageDecoder::decodeJpeg, data, size);
}
