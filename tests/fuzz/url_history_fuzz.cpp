// Arbitrary bytes as URLList.txt: written and read again, the same entries
// less the lines that could not be decoded.

#include "fetch/url_history.h"
#include "fuzz_target.h"

void fuzzBytes(const QByteArray &bytes)
{
    bool utf8 = false;
    const QVector<UrlHistory::Entry> entries = UrlHistory::parse(bytes, &utf8);
    check(entries.size() <= bytes.size());
    const QByteArray written = UrlHistory::serialize(entries, utf8);
    bool utf8Again = false;
    const QVector<UrlHistory::Entry> again = UrlHistory::parse(written, &utf8Again);
    QVector<UrlHistory::Entry> kept;
    for (const UrlHistory::Entry &entry : entries)
        if (entry.raw.isEmpty()) kept << entry;
    check(again.size() == kept.size());
    for (qsizetype i = 0; i < kept.size(); ++i) {
        check(again.at(i).text == kept.at(i).text);
        check(again.at(i).raw.isEmpty());
    }
}
