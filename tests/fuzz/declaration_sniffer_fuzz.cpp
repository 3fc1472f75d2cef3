// Arbitrary bytes as a page: only the known classes, or nothing.

#include "fuzz_target.h"
#include "html/declaration_sniffer.h"

void fuzzBytes(const QByteArray &bytes)
{
    const DeclaredClasses classes = sniffDeclarations(bytes);

    static const QStringList charsets{"", "shift_jis", "jis", "euc", "utf", "other"};
    static const QStringList docTypes{"",         "HTML2",    "HTML32",  "html401t",
                                      "html401s", "html401f", "xhtml1s", "xhtml1t",
                                      "xhtml1f",  "xhtml11",  "xhtmlb",  "other"};
    check(charsets.contains(classes.charset));
    check(docTypes.contains(classes.docType));
}
