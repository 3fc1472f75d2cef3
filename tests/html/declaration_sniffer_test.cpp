// What a page declares: the character-set class of its meta or XML
// declaration and the class of its document type.
#include "html/declaration_sniffer.h"

#include "support/test.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QString classesOf(const DeclaredClasses &classes)
{
    return classes.charset + u'|' + classes.docType;
}

QString classesOf(const QByteArray &page)
{
    return classesOf(sniffDeclarations(page));
}

}  // namespace

TEST(DeclarationSniffer, ClassesOfDeclarations)
{
    const QStringList pages =
        QString::fromUtf8(readWholeFile(testDataPath(u"html_declarations.txt"_s)))
            .split(u"\n== "_s);
    ASSERT_EQ(pages.size(), 1 + 24);
    for (const QString &page : pages.mid(1)) {
        QStringList lines = page.trimmed().split(u'\n');
        const QString what = lines.takeFirst(), expected = lines.takeLast();
        EXPECT_EQ(u"=> "_s + classesOf(lines.join(u'\n').toUtf8()), expected) << what.toStdString();
    }
    const QByteArray utf16 =
        QByteArray::fromRawData(reinterpret_cast<const char *>(u"<meta charset=\"utf-8\">"), 44);
    EXPECT_EQ(classesOf("\xFF\xFE" + utf16), u"utf|"_s);
    EXPECT_EQ(classesOf(QByteArray("\x00\xFF<\x01>\xFE", 6)), u"|"_s);  // binary bytes
}

TEST(DeclarationSniffer, ReadsFiles)
{
    TempHome home;
    home.write(u"page.html"_s, R"(<meta content="text/html; charset=EUC-JP"><!DOCTYPE html>)");
    EXPECT_EQ(classesOf(sniffDeclarationsOfFile(home.file(u"page.html"_s))), u"euc|other"_s);
    EXPECT_EQ(classesOf(sniffDeclarationsOfFile(home.file(u"missing.html"_s))), u"|"_s);
}
