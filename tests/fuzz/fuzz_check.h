#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

// A broken promise ends the run, so libFuzzer keeps the input that broke it.
inline void check(bool condition)
{
    if (!condition) std::abort();
}

// The input in a buffer of exactly its size, without the terminating zero
// that QByteArray adds, so that AddressSanitizer sees every read past it.
class ExactBytes {
public:
    ExactBytes(const uint8_t *data, size_t size) : m_data(new char[size ? size : 1])
    {
        if (size) std::memcpy(m_data.get(), data, size);
        m_bytes = QByteArray::fromRawData(m_data.get(), static_cast<qsizetype>(size));
    }
    const QByteArray &bytes() const { return m_bytes; }

private:
    std::unique_ptr<char[]> m_data;
    QByteArray m_bytes;
};
