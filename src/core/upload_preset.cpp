#include "upload_preset.h"

#include <QFileInfo>

#include "core/document_kind.h"
#include "core/upload_options.h"

namespace {

struct CharsetItems {
    const char *charsetClass;
    int markupItem;
    int wdgItem;
};
constexpr CharsetItems kCharsets[] = {
    {"shift_jis", 18, 19},
    {"jis", 19, 17},
    {"euc", 17, 18},
    {"utf", 1, 16},
};

constexpr const char *kDocTypes[] = {"xhtml11",  "xhtmlb",   "xhtml1s",  "xhtml1t", "xhtml1f",
                                     "html401s", "html401t", "html401f", "html32",  "html2"};

// A name that begins like an address but names an existing file is that file.
bool isWebOrMissing(const QString &file)
{
    return file.isEmpty() || classifyDocument(file) != DocumentKind::Local ||
           !QFileInfo::exists(file);
}

}  // namespace

DeclarationClasses noDeclarations(const QString &) { return {}; }

QString markupCharsetOfClass(const QString &charsetClass)
{
    for (const CharsetItems &items : kCharsets)
        if (charsetClass == QLatin1String(items.charsetClass))
            return UploadLists::markupCharsets().value(items.markupItem);
    return QString();
}

void presetUploadOptions(UploadOptions &options, const QString &file, bool setCharset,
                         bool setDocType, const DeclarationSniffer &sniff)
{
    if (isWebOrMissing(file))
        return;
    const DeclarationClasses found = sniff(file);
    if (setCharset) {
        const CharsetItems *match = nullptr;
        for (const CharsetItems &items : kCharsets)
            if (found.charset == QLatin1String(items.charsetClass))
                match = &items;
        if (match == nullptr)
            return;  // empty, "other" or unknown: nothing more is preset
        options.markupCharset = UploadLists::markupCharsets().value(match->markupItem);
        options.wdgCharset = UploadLists::wdgCharsets().value(match->wdgItem);
    }
    if (setDocType) {
        int item = 0;
        const QString docType = found.docType.toLower();
        for (int i = 0; i < int(std::size(kDocTypes)); ++i)
            if (docType == QLatin1String(kDocTypes[i]))
                item = i + 1;
        options.markupType = UploadLists::markupTypes().value(item);
    }
}
