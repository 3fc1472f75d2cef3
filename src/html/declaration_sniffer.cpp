#include "html/declaration_sniffer.h"

#include <QFile>
#include <QStringDecoder>

#include "html/html_document_parser.h"

namespace {

// Public identifiers, lower-cased, and their classes; the first match wins.
struct DocTypeRule {
    const char *identifier;
    const char *docType;
};
constexpr DocTypeRule kDocTypes[] = {
    {"-//ietf//dtd html//en", "HTML2"},
    {"-//ietf//dtd html i18n//en", "HTML2"},
    {"-//w3c//dtd html 3.2//en", "HTML32"},
    {"-//w3c//dtd html 3.2 final//en", "HTML32"},
    {"-//w3c//dtd html 4.01 transitional//en", "html401t"},
    {"-//w3c//dtd html 4.01//en", "html401s"},
    {"-//w3c//dtd html 4.01 frameset//en", "html401f"},
    {"-//w3c//dtd xhtml 1.0 strict//en", "xhtml1s"},
    {"-//w3c//dtd xhtml 1.0 transitional//en", "xhtml1t"},
    {"-//w3c//dtd xhtml 1.0 frameset//en", "xhtml1f"},
    {"-//w3c//dtd xhtml 1.1//en", "xhtml11"},
    {"-//w3c//dtd xhtml basic 1.0//en", "xhtmlb"},
};

QString docTypeClass(const QString &rawTag)
{
    const QString lower = rawTag.toLower();
    for (const DocTypeRule &rule : kDocTypes) {
        if (lower.contains(QLatin1String(rule.identifier))) return QLatin1String(rule.docType);
    }
    return QStringLiteral("other");
}

// A declared name without the spaces and quote marks that surround it when a
// value is written with single quotes or spaces around "=".
QString cleanName(QString name)
{
    name = name.trimmed();
    while (!name.isEmpty() && (name.front() == u'"' || name.front() == u'\'')) name.remove(0, 1);
    while (!name.isEmpty() && (name.back() == u'"' || name.back() == u'\'' || name.back() == u'?'))
        name.chop(1);
    return name.trimmed();
}

// The bytes as characters one for one, so the ASCII of the declarations reads
// the same whatever the page's encoding; a page in UTF-16 is read by its
// byte-order mark.
QString declarationText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(QStringConverter::Utf16);
        return decoder(bytes);
    }
    return QString::fromLatin1(bytes);
}

}  // namespace

QString charsetClass(const QString &declaredName)
{
    const QString name = cleanName(declaredName).toLower();
    if (name.isEmpty()) return {};
    if (name == u"shift_jis" || name == u"xsjis" || name == u"x-sjis") return QStringLiteral("shift_jis");
    if (name == u"iso-2022-jp") return QStringLiteral("jis");
    if (name == u"euc-jp") return QStringLiteral("euc");
    if (name == u"utf-8") return QStringLiteral("utf");
    return QStringLiteral("other");
}

DeclaredClasses sniffDeclarations(const QByteArray &bytes)
{
    THTMLParser parser;
    parser.setText(declarationText(bytes));

    bool charsetFound = false;
    bool docTypeFound = false;
    QString declaredName;
    DeclaredClasses classes;
    parser.parse([&](const THTMLNode &node, qsizetype) {
        const auto *tag = dynamic_cast<const THTMLTag *>(&node);
        if (!tag) return true;
        const QString name = tag->name().toLower();
        if (name == u"meta") {
            for (const THTMLParam &param : tag->params()) {
                const QString attribute = param.name().toLower();
                const QString value = param.value().toLower();
                if (attribute == u"content" && value.contains(u"charset")) {
                    const qsizetype eq = value.indexOf(u'=');
                    declaredName = eq < 0 ? QString() : value.mid(eq + 1);
                    charsetFound = true;
                } else if (attribute == u"charset") {
                    declaredName = value;
                    charsetFound = true;
                }
            }
        } else if (name == u"?xml") {
            if (charsetFound) return false;
            for (const THTMLParam &param : tag->params()) {
                if (param.name().toLower() != u"encoding") continue;
                declaredName = param.value().toLower();
                charsetFound = true;
            }
        } else if (name == u"!doctype") {
            classes.docType = docTypeClass(tag->raw());
            docTypeFound = true;
        } else if (name == u"/head") {
            return false;
        }
        return !(charsetFound && docTypeFound);
    });
    if (charsetFound) {
        classes.charsetName = cleanName(declaredName);
        classes.charset = charsetClass(declaredName);
        if (classes.charset.isEmpty()) classes.charset = QStringLiteral("other");
    }
    return classes;
}

DeclaredClasses sniffDeclarationsOfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return sniffDeclarations(file.readAll());
}
