// Arbitrary bytes as a Tidy report: every row holds text taken from it.

#include "fuzz_target.h"
#include "platform/text_codec.h"
#include "tidy/report_parser.h"

void fuzzBytes(const QByteArray &bytes)
{
    const QString text = TextCodec::decode(bytes);

    for (const ReportRow &row : parseTidyReport(text)) {
        check(text.contains(row.description) && text.contains(row.caption) &&
              text.contains(row.column));
        check(static_cast<int>(row.kind) >= -1 && static_cast<int>(row.kind) <= 3);
    }

    // posFrom with a needle and a start taken from the input itself.
    if (bytes.size() >= 5) {
        int start = 0;
        std::memcpy(&start, bytes.constData(), sizeof start);
        const qsizetype split = uchar(bytes.at(4)) % (text.size() + 1);
        const QString needle = text.left(split);
        for (bool caseBlind : {false, true}) {
            const int pos = posFrom(needle, text, start, caseBlind);
            check(pos >= 0 && pos <= text.size() && (pos == 0 || pos >= start));
            check(pos == 0 || caseBlind || text.mid(pos - 1, needle.size()) == needle);
        }
    }
}
