#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <QStringList>

// Reading and writing the text files whose format is fixed as Shift_JIS.
// Files are read as UTF-8 when they are valid UTF-8 (a BOM is dropped) and as
// CP932 otherwise; they are written in CP932 unless a character cannot be
// held there, in which case the whole file is written in UTF-8 so nothing is
// lost.
namespace TextCodec {

// Decodes bytes of unknown origin: UTF-8 when valid, else CP932. Never fails:
// bytes CP932 cannot map become U+FFFD.
QString decode(const QByteArray &bytes);
// The choice decode makes: UTF-8 when the bytes start with a byte-order mark
// or are valid UTF-8. Pieces of one file are decoded by the whole's choice
// with decode(piece, readsAsUtf8(whole)); a leading mark is dropped.
bool readsAsUtf8(const QByteArray &bytes);
QString decode(const QByteArray &bytes, bool utf8);

// True when the bytes are valid UTF-8 (ASCII included).
bool isValidUtf8(const QByteArray &bytes);

// CP932 conversion. Returns false (and leaves out unmappable characters) when
// some character of the text has no CP932 form.
bool toCp932(const QString &text, QByteArray *out);
QString fromCp932(const QByteArray &bytes);

// Decodes bytes in the encoding iconv knows by `name` (bytes it cannot map
// become U+FFFD). False when iconv does not know the name.
bool decodeAs(const QByteArray &bytes, const QByteArray &name, QString *out);

// CP932 when every character fits and the bytes read back as the same
// text, else UTF-8.
QByteArray encodeLegacy(const QString &text);

// Splits on CR LF, CR or LF. A final line break does not give an empty last line.
QStringList splitLines(const QString &text);
// Calls `line` for each line of splitLines(text), in order, without copying.
void forEachLine(QStringView text, const std::function<void(QStringView)> &line);

// Joins lines, each followed by CR LF.
QString joinCrLf(const QStringList &lines);

}  // namespace TextCodec
