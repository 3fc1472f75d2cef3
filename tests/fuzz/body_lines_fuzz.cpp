// Arbitrary bodies saved as CR LF lines: nothing is invented, and however the
// body is cut into pieces on its way in, the saved lines are the same.

#include "fetch/page_download.h"
#include "fuzz_target.h"

void fuzzBytes(const QByteArray &body)
{
    const QByteArray saved = bodyAsLines(body);
    check(saved.isEmpty() || saved.endsWith("\r\n"));
    check(!saved.contains('\0'));
    check(body.isEmpty() == saved.isEmpty());

    // Pieces whose lengths come from the body's own bytes.
    QByteArray pieced;
    BodyLines lines;
    for (qsizetype at = 0; at < body.size();) {
        const qsizetype length = qMin<qsizetype>(1 + (uchar(body.at(at)) % 7), body.size() - at);
        lines.convert(body.constData() + at, length, &pieced);
        at += length;
    }
    lines.finish(&pieced);
    check(pieced == saved);

    qsizetype from = 0;  // where the next line must be found in the body
    for (const QByteArray &line : saved.split('\n')) {
        if (line.isEmpty()) break;  // after the last CR LF
        check(line.endsWith('\r'));
        const QByteArray text = line.chopped(1);
        check(!text.contains('\r'));
        const qsizetype at = body.indexOf(text, from);
        check(at == from);
        from = at + text.size();
        // Skip what the line dropped after a NUL, then its break.
        while (from < body.size() && body.at(from) != '\r' && body.at(from) != '\n') ++from;
        if (from < body.size() && body.at(from) == '\r' && from + 1 < body.size() &&
            body.at(from + 1) == '\n')
            ++from;
        ++from;
    }
}
