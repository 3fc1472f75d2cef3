// Arbitrary bytes as a page: sniffing never fails and gives only the known
// classes, or nothing.

#include <QStringList>

#include "fuzz_target.h"
#include "html/declaration_sniffer.h"

void fuzzBytes(const QByteArray &bytes)
{
    const DeclaredClasses classes = sniffDeclarations(bytes);

    static const QStringList charsets{QString(),
                                      QStringLiteral("shift_jis"),
                                      QStringLiteral("jis"),
                                      QStringLiteral("euc"),
                                      QStringLiteral("utf"),
                                      QStringLiteral("other")};
    static const QStringList docTypes{QString(),
                                      QStringLiteral("HTML2"),
                                      QStringLiteral("HTML32"),
                                      QStringLiteral("html401t"),
                                      QStringLiteral("html401s"),
                                      QStringLiteral("html401f"),
                                      QStringLiteral("xhtml1s"),
                                      QStringLiteral("xhtml1t"),
                                      QStringLiteral("xhtml1f"),
                                      QStringLiteral("xhtml11"),
                                      QStringLiteral("xhtmlb"),
                                      QStringLiteral("other")};
    check(charsets.contains(classes.charset));
    check(docTypes.contains(classes.docType));
}
