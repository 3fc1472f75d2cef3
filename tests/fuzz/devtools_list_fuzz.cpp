// Arbitrary bytes as a DevTools target list: never a crash, and a page is
// only ever reported with an address.

#include "fuzz_target.h"
#include "integration/devtools_list.h"

void fuzzBytes(const QByteArray &json)
{
    const BrowserBridge::Page page = DevToolsList::currentPage(json);
    check((page.status == BrowserBridge::Page::Status::Found) != page.url.isEmpty());
}
