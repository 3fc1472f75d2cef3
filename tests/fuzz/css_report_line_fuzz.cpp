// Arbitrary bytes as a CSS validator report: every line's two cells must be
// pieces of the line itself, never altered characters.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "checks/css_check.h"
#include "platform/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (const QString &line : TextCodec::splitLines(TextCodec::decode(bytes))) {
        for (const QString &text : {line, QStringLiteral("行番号") + line}) {
            const MessageListModel::Row row = CssCheck::reportRow(text);
            if (!text.contains(row.first) || !text.contains(row.second)) std::abort();
            if (row.first.size() + row.second.size() > text.size()) std::abort();
        }
    }
    return 0;
}
