// Arbitrary bytes as a page: one tag for each "<" before the last ">", in
// order, and each byte looked at a bounded number of times.

#include "checks/link_scan.h"
#include "fuzz_target.h"
#include "html/tag_scanner.h"

void fuzzBytes(const QByteArray &bytes)
{
    const QByteArray text = scannerText(bytes);
    check(!text.contains('\0'));
    check(text.isEmpty() || text.endsWith("\r\n"));
    check(text.count('\r') == text.count('\n'));

    THtmlParser2 scanner;
    scanner.setText(bytes);
    const qsizetype lastGt = bytes.lastIndexOf('>');
    qsizetype expected = 0;
    for (qsizetype i = 0; i < bytes.size() && i < lastGt; ++i) expected += bytes.at(i) == '<';

    qsizetype tags = 0;
    qsizetype previous = 0;
    while (scanner.next()) {
        ++tags;
        const qsizetype at = scanner.tagStart() - 1;
        const qsizetype length = scanner.tagLength();
        check(at >= previous && scanner.position() == scanner.tagStart());
        previous = at + 1;
        check(bytes.at(at) == '<');
        const bool closed = bytes.at(at + length - 1) == '>';
        check(closed || bytes.at(at + length) == '<');
        const QByteArray inner = bytes.mid(at + 1, length - (closed ? 2 : 1));
        check(!inner.contains('>'));
        const TTag *tag = scanner.currentTag();
        check(tag && inner.startsWith(tag->name()));
        for (const char c : {' ', '\t', '\r', '\n', '<'}) check(!tag->name().contains(c));
        for (const QByteArray &param : tag->params()) {
            check(!param.isEmpty() && inner.contains(param));
            check(static_cast<uchar>(param.front()) > 0x20 &&
                  static_cast<uchar>(param.back()) > 0x20);
        }
    }
    check(tags == expected);
    check(scanner.steps() <= 3 * qMax<qsizetype>(bytes.size(), 1));
    check(scanner.currentTag() == nullptr && !scanner.next());

    scanner.setText(text);
    const QStringList links = extractLinkTargets(scanner);
    scanner.reset();
    documentHasAnchor(scanner, links.value(0, QStringLiteral("top")));
}
