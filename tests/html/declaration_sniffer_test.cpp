// What a page declares: the character-set class of its meta or XML
// declaration and the class of its document type.
#include "html/declaration_sniffer.h"

#include "support/test.h"


using namespace Qt::Literals::StringLiterals;

TEST(DeclarationSniffer, ClassesOfDeclarations)
{
    const struct {
        const char *what;
        QByteArray page;
        QString charset;
        QString docType;
    } cases[] = {
        {"nothing declared", "<html><body>x</body></html>", "", ""},
        {"meta content, any case",
         R"(<meta http-equiv="Content-Type" content="text/html; charset=EUC-JP">)", "euc", ""},
        {"meta charset of today's pages", R"(<meta charset="utf-8">)", "utf", ""},
        {"Shift_JIS and its old alias", R"(<meta content="text/html;charset=x-sjis">)", "shift_jis", ""},
        {"ISO-2022-JP", R"(<META CONTENT="text/html; charset=iso-2022-jp">)", "jis", ""},
        {"another name", R"(<meta content="text/html; charset=iso-8859-1">)", "other", ""},
        {"content without charset", R"(<meta name="x" content="a=b">)", "", ""},
        {"XML declaration", R"(<?xml version="1.0" encoding="Shift_JIS"?>)", "shift_jis", ""},
        {"XML declaration with a space before ?>", R"(<?xml version="1.0" encoding='UTF-8' ?>)", "utf", ""},
        {"meta before an XML declaration wins",
         R"(<meta content="text/html; charset=euc-jp"><?xml encoding="utf-8"?>)", "euc", ""},
        {"HTML 3.2 Final", R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 3.2 Final//EN">)", "", "HTML32"},
        {"HTML 3.2", R"(<!doctype html public "-//W3C//DTD HTML 3.2//EN">)", "", "HTML32"},
        {"HTML 2.0", R"(<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">)", "", "HTML2"},
        {"HTML 4.01 Transitional across lines",
         "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"\n"
         "\"http://www.w3.org/TR/html4/loose.dtd\">",
         "", "html401t"},
        {"HTML 4.01 Strict", R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN">)", "", "html401s"},
        {"HTML 4.01 Frameset", R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Frameset//EN">)", "", "html401f"},
        {"XHTML 1.0 Strict", R"(<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Strict//EN">)", "", "xhtml1s"},
        {"XHTML 1.0 Transitional", R"(<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN">)", "", "xhtml1t"},
        {"XHTML 1.0 Frameset", R"(<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Frameset//EN">)", "", "xhtml1f"},
        {"XHTML 1.1", R"(<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.1//EN">)", "", "xhtml11"},
        {"XHTML Basic", R"(<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML Basic 1.0//EN">)", "", "xhtmlb"},
        {"HTML5", "<!DOCTYPE html>", "", "other"},
        {"nothing after </head> counts",
         R"(<head></head><meta content="text/html; charset=utf-8"><!DOCTYPE html>)", "", ""},
        {"both found",
         "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n"
         "<html><head><meta http-equiv=\"content-type\" content=\"text/html;charset=Shift_JIS\">",
         "shift_jis", "html401s"},
        {"UTF-16 by its byte-order mark",
         QByteArray("\xFF\xFE") +
             QByteArray::fromRawData(reinterpret_cast<const char *>(u"<meta charset=\"utf-8\">"), 44),
         "utf", ""},
        {"binary bytes", QByteArray("\x00\xFF<\x01>\xFE", 6), "", ""},
    };
    for (const auto &c : cases) {
        const DeclaredClasses classes = sniffDeclarations(c.page);
        EXPECT_EQ(classes.charset, c.charset) << c.what;
        EXPECT_EQ(classes.docType, c.docType) << c.what;
    }
}

TEST(DeclarationSniffer, ReadsFiles)
{
    TempHome home;
    home.write(u"page.html"_s, R"(<meta content="text/html; charset=EUC-JP"><!DOCTYPE html>)");
    const DeclaredClasses classes = sniffDeclarationsOfFile(home.file(u"page.html"_s));
    EXPECT_EQ(classes.charset, u"euc"_s);
    EXPECT_EQ(classes.docType, u"other"_s);

    const DeclaredClasses missing = sniffDeclarationsOfFile(home.file(u"missing.html"_s));
    EXPECT_TRUE(missing.charset.isEmpty() && missing.docType.isEmpty());
}
