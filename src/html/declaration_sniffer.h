#pragma once

#include <QByteArray>
#include <QString>

// What a page declares about itself, read from its raw bytes before anything
// is decoded: the character-set class of its meta or XML declaration and the
// class of its document type declaration.
struct DeclaredClasses {
    // "shift_jis", "jis", "euc", "utf" or "other"; empty when not declared.
    QString charset;
    // The declared name itself, as the page writes it ("ISO-8859-1").
    QString charsetName;
    // "HTML2", "HTML32", "html401t", "html401s", "html401f", "xhtml1s",
    // "xhtml1t", "xhtml1f", "xhtml11", "xhtmlb" or "other"; empty when there
    // is no document type declaration.
    QString docType;
};

// The walk ends at "</head>" or once both classes are known.
DeclaredClasses sniffDeclarations(const QByteArray &bytes);
// Empty classes when the file cannot be read.
DeclaredClasses sniffDeclarationsOfFile(const QString &path);

// The class of a declared character-set name ("Shift_JIS" gives "shift_jis").
QString charsetClass(const QString &declaredName);
