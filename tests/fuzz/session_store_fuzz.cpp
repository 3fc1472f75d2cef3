// Arbitrary bytes as a Firefox session store, as the file and as the JSON
// inside it: never more memory than the decoded-size cap.

#include <QtEndian>

#include "fuzz_target.h"
#include "integration/firefox_session.h"

namespace {

void checkPage(const BrowserBridge::Page &page)
{
    check((page.status == BrowserBridge::Page::Status::Found) != page.url.isEmpty());
    check(page.status == BrowserBridge::Page::Status::Found ||
          page.status == BrowserBridge::Page::Status::NoAddress);
}

}  // namespace

void fuzzBytes(const QByteArray &bytes)
{
    checkPage(FirefoxSession::currentPage(bytes));

    // The same bytes behind a valid magic, so the LZ4 decoder sees them.
    const QByteArray file = QByteArray("mozLz40", 8) + bytes;
    QByteArray json;
    if (FirefoxSession::decodeMozLz4(file, &json)) {
        check(json.size() <= FirefoxSession::kDecodedCap);
        check(json.size() ==
              static_cast<qsizetype>(qFromLittleEndian<quint32>(file.constData() + 8)));
    }
    checkPage(FirefoxSession::pageOfStore(file));
    checkPage(FirefoxSession::pageOfStore(bytes));
}
