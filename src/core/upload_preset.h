#pragma once

#include <QString>
#include <functional>

struct UploadOptions;

// The declared character set and document type of a local file, as classes:
// "shift_jis", "jis", "euc", "utf", "other" or empty; "xhtml11", "xhtmlb",
// "xhtml1s", "xhtml1t", "xhtml1f", "html401s", "html401t", "html401f",
// "html32", "html2", "other" or empty.
struct DeclarationClasses {
    QString charset;
    QString docType;
};
using DeclarationSniffer = std::function<DeclarationClasses(const QString &file)>;

// The markup validator's charset item for a class ("shift_jis", "jis",
// "euc", "utf"); empty for any other.
QString markupCharsetOfClass(const QString &charsetClass);

// Knows no declarations: every preset leaves the upload choices as they are.
DeclarationClasses noDeclarations(const QString &file);

// Before a local file is uploaded from the command line, the upload choices
// follow the file's own declarations. The character set comes first; when
// it is asked for and unknown, nothing further is preset. Web addresses,
// missing files and empty names preset nothing.
void presetUploadOptions(UploadOptions &options, const QString &file, bool setCharset,
                         bool setDocType, const DeclarationSniffer &sniff);
