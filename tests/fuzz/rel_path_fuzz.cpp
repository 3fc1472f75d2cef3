// Arbitrary base and reference, split at the first NUL byte.

#include "fuzz_target.h"
#include "html/rel_path.h"

void fuzzBytes(const QByteArray &bytes)
{
    const qsizetype cut = bytes.indexOf('\0');
    const QString base = QString::fromUtf8(cut < 0 ? bytes : bytes.left(cut));
    const QString reference = QString::fromUtf8(cut < 0 ? QByteArray() : bytes.mid(cut + 1));

    for (const QString &text : {base, reference}) {
        const QStringList segments = splitSegments(text);
        check(joinSegments(segments) == (text.endsWith(u'/') ? text.chopped(1) : text));
        check(includeTrailingSlash(text).endsWith(u'/'));
    }

    const QString result = resolveRelPath(base, reference);
    const QStringList baseSegments = splitSegments(base);
    if (!reference.startsWith(u'.') && !reference.startsWith(u'/')) {
        check(result == includeTrailingSlash(base) + reference);
    } else if (reference.startsWith(u'/')) {
        check(result == kInvalidRelPath ||
              result == baseSegments.at(0) + QStringLiteral("//") + baseSegments.at(2) + reference);
    } else if (result != kInvalidRelPath) {
        // The climb keeps the scheme, the empty segment and the host of the base.
        check(result.startsWith(joinSegments(baseSegments.mid(0, 3))));
    }
}
