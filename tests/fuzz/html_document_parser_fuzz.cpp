// Arbitrary bytes as a document: tags and texts cover it in order, and the
// streamed nodes are the stored ones.

#include "fuzz_target.h"
#include "html/html_document_parser.h"

void fuzzBytes(const QByteArray &bytes)
{
    const QString document = QString::fromUtf8(bytes);

    THTMLParser parser;
    parser.setText(document);
    parser.parse();

    qsizetype covered = 0;
    for (qsizetype i = 0; i < parser.count(); ++i) {
        if (const auto *tag = dynamic_cast<const THTMLTag *>(parser.node(i))) {
            check(tag->raw().startsWith(tag->name()) || tag->selfClosing());
            for (const QChar c : tag->name())
                check(c != u' ' && c != u'\t' && c != u'\n' && c != u'\r');
            for (const THTMLParam &param : tag->params())
                check(!param.raw().isEmpty() && tag->raw().contains(param.raw()));
            covered += tag->raw().size() + 2;
        } else {
            const auto *text = static_cast<const THTMLText *>(parser.node(i));
            check(!text->raw().isEmpty());
            if (!text->isRawText()) check(!text->text().contains(u'\n'));
            covered += text->raw().size();
        }
    }
    // Line ends become LF, and the last tag may lack its ">".
    QString lf = document;
    lf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    check(covered == lf.size() || covered == lf.size() + 1);

    qsizetype streamed = 0;
    parser.parse([&](const THTMLNode &, qsizetype index) {
        check(index == streamed++);
        return true;
    });
    check(streamed == parser.count());
}
