#include "upload_options.h"

namespace UploadLists {

const QStringList &markupCharsets()
{
    static const QStringList items{
        QStringLiteral("(detect automatically)"),
        QStringLiteral("utf-8 (Unicode, worldwide)"),
        QStringLiteral("utf-16 (Unicode, worldwide)"),
        QStringLiteral("iso-8859-1 (Western Europe)"),
        QStringLiteral("iso-8859-2 (Central Europe)"),
        QStringLiteral("iso-8859-3 (Southern Europe)"),
        QStringLiteral("iso-8859-4 (Baltic Rim)"),
        QStringLiteral("iso-8859-5 (Cyrillic)"),
        QStringLiteral("iso-8859-6-i (Arabic)"),
        QStringLiteral("iso-8859-7 (Greek)"),
        QStringLiteral("iso-8859-8-i (Hebrew)"),
        QStringLiteral("iso-8859-9 (Turkish)"),
        QStringLiteral("iso-8859-10 (Latin 6)"),
        QStringLiteral("iso-8859-13 (Latin 7)"),
        QStringLiteral("iso-8859-14 (Celtic)"),
        QStringLiteral("iso-8859-15 (Latin 9)"),
        QStringLiteral("us-ascii (basic English)"),
        QStringLiteral("euc-jp (Japanese, Unix)"),
        QStringLiteral("shift_jis (Japanese, Win/Mac)"),
        QStringLiteral("iso-2022-jp (Japanese, email)"),
        QStringLiteral("euc-kr (Korean)"),
        QStringLiteral("gb2312 (Chinese, simplified)"),
        QStringLiteral("gb18030 (Chinese, simplified)"),
        QStringLiteral("big5 (Chinese, traditional)"),
        QStringLiteral("tis-620 (Thai)"),
        QStringLiteral("koi8-r (Russian)"),
        QStringLiteral("koi8-u (Ukrainian)"),
        QStringLiteral("macintosh (MacRoman)"),
        QStringLiteral("windows-1250 (Central Europe)"),
        QStringLiteral("windows-1251 (Cyrillic)"),
        QStringLiteral("windows-1252 (Western Europe)"),
        QStringLiteral("windows-1253 (Greek)"),
        QStringLiteral("windows-1254 (Turkish)"),
        QStringLiteral("windows-1255 (Hebrew)"),
        QStringLiteral("windows-1256 (Arabic)"),
        QStringLiteral("windows-1257 (Baltic Rim)"),
    };
    return items;
}

const QStringList &markupTypes()
{
    static const QStringList items{
        QStringLiteral("(detect automatically)"), QStringLiteral("XHTML 1.1"),
        QStringLiteral("XHTML Basic 1.0"),        QStringLiteral("XHTML 1.0 Strict"),
        QStringLiteral("XHTML 1.0 Transitional"), QStringLiteral("XHTML 1.0 Frameset"),
        QStringLiteral("HTML 4.01 Strict"),       QStringLiteral("HTML 4.01 Transitional"),
        QStringLiteral("HTML 4.01 Frameset"),     QStringLiteral("HTML 3.2"),
        QStringLiteral("HTML 2.0"),
    };
    return items;
}

const QStringList &wdgCharsets()
{
    static const QStringList items{
        QStringLiteral("ISO-8859-1"),   QStringLiteral("ISO-8859-2"),
        QStringLiteral("ISO-8859-3"),   QStringLiteral("ISO-8859-4"),
        QStringLiteral("ISO-8859-5"),   QStringLiteral("ISO-8859-6-e"),
        QStringLiteral("ISO-8859-6-i"), QStringLiteral("ISO-8859-7"),
        QStringLiteral("ISO-8859-8"),   QStringLiteral("ISO-8859-8-e"),
        QStringLiteral("ISO-8859-8-i"), QStringLiteral("ISO-8859-9"),
        QStringLiteral("ISO-8859-10"),  QStringLiteral("ISO-8859-13"),
        QStringLiteral("ISO-8859-14"),  QStringLiteral("ISO-8859-15"),
        QStringLiteral("UTF-8"),        QStringLiteral("ISO-2022-JP"),
        QStringLiteral("EUC-JP"),       QStringLiteral("Shift_JIS"),
        QStringLiteral("GB2312"),       QStringLiteral("Big5"),
        QStringLiteral("EUC-KR"),       QStringLiteral("windows-1250"),
        QStringLiteral("windows-1251"), QStringLiteral("windows-1252"),
        QStringLiteral("windows-1253"), QStringLiteral("windows-1254"),
        QStringLiteral("windows-1255"), QStringLiteral("windows-1256"),
        QStringLiteral("windows-1257"), QStringLiteral("windows-1258"),
        QStringLiteral("KOI8-R"),       QStringLiteral("KOI8-U"),
        QStringLiteral("cp866"),        QStringLiteral("cp874"),
        QStringLiteral("TIS-620"),      QStringLiteral("VISCII"),
        QStringLiteral("VPS"),          QStringLiteral("TCVN-5712"),
    };
    return items;
}

const QStringList &cssWarnings()
{
    static const QStringList items{QStringLiteral("全て出力"), QStringLiteral("般的なものを出力"),
                                   QStringLiteral("重要なものだけ出力"),
                                   QStringLiteral("出力しない")};
    return items;
}

const QStringList &cssProfiles()
{
    static const QStringList items{
        QStringLiteral("No special profile"), QStringLiteral("CSS version 1"),
        QStringLiteral("CSS version 2"),      QStringLiteral("CSS version 3"),
        QStringLiteral("SVG"),                QStringLiteral("SVG basic"),
        QStringLiteral("SVG tiny"),           QStringLiteral("mobileitv"),
        QStringLiteral("ATSC TV profile"),    QStringLiteral("TV profile"),
    };
    return items;
}

const QStringList &cssMedia()
{
    static const QStringList items{
        QStringLiteral("all"),        QStringLiteral("aural"),     QStringLiteral("braille"),
        QStringLiteral("embossed"),   QStringLiteral("handheld"),  QStringLiteral("print"),
        QStringLiteral("projection"), QStringLiteral("screen"),    QStringLiteral("tty"),
        QStringLiteral("tv"),         QStringLiteral("presentation"),
    };
    return items;
}

const QStringList &textBrowsers()
{
    static const QStringList items{QStringLiteral("なし"), QStringLiteral("lynx"),
                                   QStringLiteral("w3m")};
    return items;
}

QString pick(const QStringList &items, const QString &stored, const QString &fallback)
{
    return items.contains(stored) ? stored : fallback;
}

}  // namespace UploadLists

UploadOptions UploadOptions::atCreation()
{
    UploadOptions o;
    o.markupCharset = UploadLists::markupCharsets().first();
    o.markupType = UploadLists::markupTypes().first();
    o.wdgCharset = QStringLiteral("Shift_JIS");
    o.cssWarning = UploadLists::cssWarnings().first();
    o.cssProfile = QStringLiteral("CSS version 2");
    o.cssMedium = QStringLiteral("all");
    return o;
}
