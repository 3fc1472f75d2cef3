// Arbitrary bytes as a DevTools target list: a page only ever with an address.

#include "fuzz_target.h"
#include "integration/devtools_list.h"

void fuzzBytes(const QByteArray &json)
{
    const BrowserBridge::Page page = DevToolsList::currentPage(json);
    check((page.status == BrowserBridge::Page::Status::Found) != page.url.isEmpty());
}
