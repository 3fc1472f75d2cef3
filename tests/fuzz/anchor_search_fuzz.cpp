// Arbitrary bytes as a target page, its first line the anchor looked for: the
// search for one anchor agrees with the list of all anchors.

#include "checks/link_scan.h"
#include "fuzz_target.h"
#include "html/page_encoding.h"
#include "html/tag_scanner.h"
#include "platform/text_codec.h"

void fuzzBytes(const QByteArray &bytes)
{
    const qsizetype eol = bytes.indexOf('\n');
    const QString name = QString::fromUtf8(eol < 0 ? QByteArray() : bytes.left(eol));
    const QByteArray page = scannerText(eol < 0 ? bytes : bytes.mid(eol + 1));

    check(TextCodec::isValidUtf8(pageToUtf8(page)));

    THtmlParser2 scanner;
    scanner.setText(page);
    const bool found = documentHasAnchor(scanner, name);
    scanner.setText(page);
    QSet<QString> anchors;
    check(collectAnchors(scanner, &anchors));
    QString wanted = name.startsWith(u'#') ? name.mid(1) : name;
    for (QChar &c : wanted) {
        if (c.unicode() >= 'A' && c.unicode() <= 'Z') c = QChar(c.unicode() + ('a' - 'A'));
    }
    check(found == anchors.contains(wanted));

    scanner.setText(page);
    check(!documentHasAnchor(scanner, name, [] { return true; }));
}
