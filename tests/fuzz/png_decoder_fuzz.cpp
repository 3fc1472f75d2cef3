// Arbitrary bytes as a PNG file.
#include "image_decoder_fuzz.h"

void fuzzBytes(const QByteArray &bytes)
{
    fuzzImageDecoder("\x89PNG\r\n\x1a\n", ImageDecoder::decodePng, bytes);
}
