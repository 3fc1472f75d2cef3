// Arbitrary bytes as a BMP file.
#include "image_decoder_fuzz.h"

void fuzzBytes(const QByteArray &bytes)
{
    fuzzImageDecoder("BM", ImageDecoder::decodeBmp, bytes);
}
