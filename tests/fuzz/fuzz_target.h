#pragma once

// The libFuzzer entry point and the Qt classes the targets share: a target
// defines fuzzBytes, which sees the input in a buffer of exactly its size,
// without the terminating zero QByteArray adds, so that AddressSanitizer sees
// every read past it.
#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdlib>
#include <cstring>
#include <memory>

// A broken promise ends the run, so libFuzzer keeps the input that broke it.
inline void check(bool condition)
{
    if (!condition) std::abort();
}

void fuzzBytes(const QByteArray &bytes);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::unique_ptr<char[]> exact(new char[size ? size : 1]);
    if (size) std::memcpy(exact.get(), data, size);
    fuzzBytes(QByteArray::fromRawData(exact.get(), static_cast<qsizetype>(size)));
    return 0;
}
