#pragma once

// The libFuzzer entry point of a target that reads its input as bytes: the
// target defines fuzzBytes, which sees the input in a buffer of exactly its
// size and ends the run through check() when a promise breaks.
#include "fuzz_check.h"

void fuzzBytes(const QByteArray &bytes);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ExactBytes input(data, size);
    fuzzBytes(input.bytes());
    return 0;
}
