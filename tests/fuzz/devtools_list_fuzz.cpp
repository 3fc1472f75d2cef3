// Arbitrary bytes as a DevTools target list: never a crash, and a page is
// only ever reported with an address.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "integration/devtools_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const BrowserBridge::Page page = DevToolsList::currentPage(json);
    if ((page.status == BrowserBridge::Page::Status::Found) == page.url.isEmpty())
        std::abort();
    return 0;
}
