// Arbitrary bodies saved as lines: every line ends in CR LF, no bare CR or
// LF and no NUL survive, and nothing is invented: the lines, joined by the
// breaks they replaced, appear in order in the body. However the body is cut
// into pieces on its way in, the saved lines are the same.
#include <QByteArray>
#include <QList>
#include <cstdint>
#include <cstdlib>

#include "fetch/page_download.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray body(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QByteArray saved = bodyAsLines(body);
    if (!saved.isEmpty() && !saved.endsWith("\r\n")) std::abort();
    if (saved.contains('\0')) std::abort();
    if (body.isEmpty() != saved.isEmpty()) std::abort();

    // Pieces whose lengths come from the body's own bytes.
    QByteArray pieced;
    BodyLines lines;
    for (qsizetype at = 0; at < body.size();) {
        const qsizetype length = qMin<qsizetype>(1 + (uchar(body.at(at)) % 7), body.size() - at);
        lines.convert(body.constData() + at, length, &pieced);
        at += length;
    }
    lines.finish(&pieced);
    if (pieced != saved) std::abort();

    qsizetype from = 0;  // where the next line must be found in the body
    for (const QByteArray &line : saved.split('\n')) {
        if (line.isEmpty()) break;  // after the last CR LF
        if (!line.endsWith('\r')) std::abort();
        const QByteArray text = line.chopped(1);
        if (text.contains('\r')) std::abort();
        const qsizetype at = body.indexOf(text, from);
        if (at != from) std::abort();
        from = at + text.size();
        // Skip what the line dropped after a NUL, then its break.
        while (from < body.size() && body.at(from) != '\r' && body.at(from) != '\n') ++from;
        if (from < body.size() && body.at(from) == '\r' && from + 1 < body.size() &&
            body.at(from + 1) == '\n')
            ++from;
        ++from;
    }
    return 0;
}
