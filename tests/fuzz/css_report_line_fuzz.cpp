// Arbitrary bytes as a CSS validator report: a row's cells are pieces of its line.

#include "checks/css_check.h"
#include "fuzz_target.h"
#include "platform/text_codec.h"

void fuzzBytes(const QByteArray &bytes)
{
    for (const QString &line : TextCodec::splitLines(TextCodec::decode(bytes))) {
        for (const QString &text : {line, QStringLiteral("行番号") + line}) {
            const MessageListModel::Row row = CssCheck::reportRow(text);
            check(text.contains(row.first) && text.contains(row.second));
            check(row.first.size() + row.second.size() <= text.size());
        }
    }
}
