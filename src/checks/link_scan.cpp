#include "link_scan.h"

#include "html/tag_scanner.h"
#include "platform/text_codec.h"

namespace {

QString decoder(bool utf8, const QByteArray &bytes)
{
    return utf8 ? QString::fromUtf8(bytes) : TextCodec::fromCp932(bytes);
}

QString asciiLower(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() >= 'A' && c.unicode() <= 'Z') c = QChar(c.unicode() + ('a' - 'A'));
    }
    return text;
}

// The value of an attribute string "name=value" whose name (before the first
// "=", case-blind, untrimmed) is `wanted`; one double quote is taken off each
// end, single quotes stay.
bool attributeValue(const QByteArray &param, const QByteArray &wanted, QByteArray *value)
{
    const qsizetype equals = param.indexOf('=');
    if (equals < 0 || param.left(equals).toLower() != wanted) return false;
    *value = param.mid(equals + 1);
    if (value->startsWith('"')) value->remove(0, 1);
    if (value->endsWith('"')) value->chop(1);
    return true;
}

}  // namespace

QStringList extractLinkTargets(THtmlParser2 &scanner)
{
    const bool utf8 = TextCodec::isValidUtf8(scanner.text());
    QStringList links;
    while (scanner.next()) {
        const TTag *tag = scanner.currentTag();
        if (!tag || tag->params().isEmpty()) continue;
        const QByteArray element = tag->name().toLower();
        QByteArray wanted;
        if (element == "a" || element == "link")
            wanted = "href";
        else if (element == "img")
            wanted = "src";
        else
            continue;
        for (const QByteArray &param : tag->params()) {
            QByteArray value;
            if (!attributeValue(param, wanted, &value)) continue;
            if (value.left(7).toLower() == "mailto:") continue;
            value.replace("\r\n", "");
            links << decoder(utf8, trimControls(value));
        }
    }
    return links;
}

bool documentHasAnchor(THtmlParser2 &scanner, QString name, const std::function<bool()> &stop)
{
    if (name.startsWith(u'#')) name.remove(0, 1);
    name = asciiLower(name);
    const bool utf8 = TextCodec::isValidUtf8(scanner.text());
    while (scanner.next()) {
        if (stop && stop()) return false;
        const TTag *tag = scanner.currentTag();
        if (!tag || tag->params().isEmpty()) continue;
        // An a element is named by name, every other element by id.
        const QByteArray wanted = tag->name().toLower() == "a" ? "name" : "id";
        for (const QByteArray &param : tag->params()) {
            QByteArray value;
            if (!attributeValue(param, wanted, &value)) continue;
            if (asciiLower(decoder(utf8, value)) == name) return true;
        }
    }
    return false;
}
