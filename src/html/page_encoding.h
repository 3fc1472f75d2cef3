#pragma once

#include <QByteArray>

// The encoding of an HTML page, as the link check reads it: the charset a meta
// element declares (charset="..." or a content value with "charset="), else
// the first that fits of ISO-2022-JP (its escape sequences seen), UTF-8,
// EUC-JP (every byte above 0x7F in an EUC-JP sequence) and Shift_JIS.

// The iconv name of the page's encoding ("UTF-8", "ISO-2022-JP", "EUC-JP",
// "CP932", or another declared name in upper case).
QByteArray pageEncoding(const QByteArray &page);

// The page converted to UTF-8, so its links and anchors compare with UTF-8
// file names and with the names of other pages. A declared encoding that iconv
// does not know is ignored; bytes that cannot be converted become U+FFFD.
QByteArray pageToUtf8(const QByteArray &page);

// The iconv name for a declared charset label: the aliases Japanese pages use
// ("x-sjis", "windows-31j", "cp932", "x-euc-jp", "utf8" …) by their common
// name, any other label in upper case.
QByteArray charsetIconvName(const QByteArray &label);
