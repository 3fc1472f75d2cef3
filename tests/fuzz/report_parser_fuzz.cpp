// Arbitrary bytes as a Tidy report: decoding and parsing must never fault,
// and every row must hold text taken from the report.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/text_codec.h"
#include "tidy/report_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = TextCodec::decode(bytes);

    for (const ReportRow &row : parseTidyReport(text)) {
        if (!text.contains(row.description) || !text.contains(row.caption) ||
            !text.contains(row.column))
            std::abort();
        if (static_cast<int>(row.kind) < -1 || static_cast<int>(row.kind) > 3) std::abort();
    }

    // posFrom with a needle and a start taken from the input itself.
    if (size >= 5) {
        int start = 0;
        std::memcpy(&start, data, sizeof start);
        const qsizetype split = data[4] % (text.size() + 1);
        const QString needle = text.left(split);
        for (bool caseBlind : {false, true}) {
            const int pos = posFrom(needle, text, start, caseBlind);
            if (pos < 0 || pos > text.size() || (pos > 0 && pos < start)) std::abort();
            if (pos > 0 && !caseBlind && text.mid(pos - 1, needle.size()) != needle) std::abort();
        }
    }
    return 0;
}
