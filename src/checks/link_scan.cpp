#include "link_scan.h"

#include "html/page_encoding.h"
#include "html/tag_scanner.h"

namespace {

QString asciiLower(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() >= 'A' && c.unicode() <= 'Z') c = QChar(c.unicode() + ('a' - 'A'));
    }
    return text;
}

void convertToUtf8(THtmlParser2 &scanner)
{
    scanner.setText(pageToUtf8(scanner.text()));
}

}  // namespace

QStringList extractLinkTargets(THtmlParser2 &scanner)
{
    convertToUtf8(scanner);
    QStringList links;
    while (scanner.next()) {
        const TTag *tag = scanner.currentTag();
        if (tag->params().isEmpty()) continue;
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
            links << QString::fromUtf8(trimControls(value));
        }
    }
    return links;
}

namespace {

// Hands every anchor name of the page, ASCII lower-cased, to `found` until it
// answers true. False when `stop` ended the scan.
bool forEachAnchor(THtmlParser2 &scanner, const std::function<bool()> &stop,
                   const std::function<bool(const QString &)> &found)
{
    convertToUtf8(scanner);
    while (scanner.next()) {
        if (stop && stop()) return false;
        const TTag *tag = scanner.currentTag();
        const bool isA = tag->name().toLower() == "a";
        for (const QByteArray &param : tag->params()) {
            QByteArray value;
            if ((attributeValue(param, "id", &value) ||
                 (isA && attributeValue(param, "name", &value))) &&
                found(asciiLower(QString::fromUtf8(value))))
                return true;
        }
    }
    return true;
}

}  // namespace

bool documentHasAnchor(THtmlParser2 &scanner, QString name, const std::function<bool()> &stop)
{
    if (name.startsWith(u'#')) name.remove(0, 1);
    name = asciiLower(name);
    bool has = false;
    forEachAnchor(scanner, stop, [&](const QString &anchor) { return has = anchor == name; });
    return has;
}

bool collectAnchors(THtmlParser2 &scanner, QSet<QString> *anchors,
                    const std::function<bool()> &stop)
{
    return forEachAnchor(scanner, stop, [anchors](const QString &anchor) {
        anchors->insert(anchor);
        return false;
    });
}
