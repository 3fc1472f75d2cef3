// Arbitrary bytes as a document: every ">" gives one tag, a tag's name is the
// start of its raw text and holds no space, no raw tag text holds a "<" or
// ">", attributes hold no space outside quotes, texts carry no line break
// once decoded, and the streamed nodes are the stored ones.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "html/html_document_parser.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString document = QString::fromUtf8(bytes);

    THTMLParser parser;
    parser.setText(document);
    parser.parse();

    qsizetype tags = 0;
    for (qsizetype i = 0; i < parser.count(); ++i) {
        if (const auto *tag = dynamic_cast<const THTMLTag *>(parser.node(i))) {
            ++tags;
            check(tag->raw().startsWith(tag->name()) && !tag->name().contains(u' '));
            check(!tag->raw().contains(u'<') && !tag->raw().contains(u'>'));
            check(!tag->raw().contains(u'\n') && !tag->raw().contains(u'\r'));
            for (const THTMLParam &param : tag->params()) {
                check(!param.raw().isEmpty() && tag->raw().contains(param.raw()));
                check(!param.raw().contains(u' ') || param.raw().contains(u'"'));
            }
        } else {
            const auto *text = static_cast<const THTMLText *>(parser.node(i));
            check(!text->raw().isEmpty() && !text->text().contains(u'\n'));
            check(text->text().size() <= text->raw().size());
        }
    }
    const qsizetype gts = document.count(u'>');
    check(tags == gts || tags == gts + 1);

    qsizetype streamed = 0;
    parser.parse([&](const THTMLNode &, qsizetype index) {
        check(index == streamed++);
        return true;
    });
    check(streamed == parser.count());
    return 0;
}
