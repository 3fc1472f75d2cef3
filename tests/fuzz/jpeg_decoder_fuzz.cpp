// Arbitrary bytes as a JPEG file.
#include "image_decoder_fuzz.h"

void fuzzBytes(const QByteArray &bytes)
{
    fuzzImageDecoder("\xff\xd8\xff", ImageDecoder::decodeJpeg, bytes);
}
