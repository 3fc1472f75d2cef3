// Arbitrary bytes as a page: sniffing never fails and gives only the known
// classes, or nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QStringList>

#include "html/declaration_sniffer.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ExactBytes input(data, size);
    const QByteArray &bytes = input.bytes();
    const DeclaredClasses classes = sniffDeclarations(bytes);

    static const QStringList charsets{QString(), QStringLiteral("shift_jis"), QStringLiteral("jis"),
                                      QStringLiteral("euc"), QStringLiteral("utf"),
                                      QStringLiteral("other")};
    static const QStringList docTypes{
        QString(),                   QStringLiteral("HTML2"),    QStringLiteral("HTML32"),
        QStringLiteral("html401t"),  QStringLiteral("html401s"), QStringLiteral("html401f"),
        QStringLiteral("xhtml1s"),   QStringLiteral("xhtml1t"),  QStringLiteral("xhtml1f"),
        QStringLiteral("xhtml11"),   QStringLiteral("xhtmlb"),   QStringLiteral("other")};
    check(charsets.contains(classes.charset));
    check(docTypes.contains(classes.docType));
    return 0;
}
