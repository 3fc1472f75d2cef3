#include "ini_file.h"

#include <QDir>
#include <QFileInfo>

#include "atomic_file.h"
#include "ini_document.h"
#include "text_codec.h"

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";

bool hasNonAscii(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

// A file that already was UTF-8 stays UTF-8 (with its BOM, if it had one):
// another program that reads it, such as a browser's menu file, expects that
// encoding. Everything else is written in CP932 unless CP932 cannot hold it.
QByteArray encodeLike(const QString &text, const QByteArray &oldBytes)
{
    if (oldBytes.startsWith(kUtf8Bom)) return QByteArray(kUtf8Bom) + text.toUtf8();
    if (hasNonAscii(oldBytes) && TextCodec::isValidUtf8(oldBytes)) return text.toUtf8();
    return TextCodec::encodeLegacy(text);
}

int digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

// Delphi's StrToIntDef, which the settings files were written for: optional
// sign, then decimal digits, or "$", "0x" or "x" and hexadecimal digits.
// Hexadecimal covers all 32 bits, so "$FFFFFFFF" is -1.
bool parseInt(const QString &text, int *out)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text.at(i) == u'-' || text.at(i) == u'+')) negative = text.at(i++) == u'-';

    int base = 10;
    if (i < n && text.at(i) == u'$') {
        base = 16;
        i += 1;
    } else if (i + 1 < n && text.at(i) == u'0' && text.at(i + 1).toLower() == u'x') {
        base = 16;
        i += 2;
    } else if (i < n && text.at(i).toLower() == u'x') {
        base = 16;
        i += 1;
    }
    if (i >= n) return false;

    const quint64 limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    quint64 magnitude = 0;
    for (; i < n; ++i) {
        const int digit = digitValue(text.at(i));
        if (digit < 0 || digit >= base) return false;
        magnitude = magnitude * static_cast<quint64>(base) + static_cast<quint64>(digit);
        if (magnitude > limit) return false;
    }
    const qint64 value = base == 16 ? static_cast<qint64>(static_cast<qint32>(magnitude))
                                    : static_cast<qint64>(magnitude);
    *out = static_cast<int>(negative ? -value : value);
    return true;
}

}  // namespace

IniFile::IniFile(const QString &path) : m_path(path) {}

bool IniFile::exists() const
{
    return QFileInfo(m_path).isFile();
}

bool IniFile::load(IniDocument *doc, QByteArray *bytes) const
{
    m_error.clear();
    *doc = IniDocument();
    bytes->clear();
    if (!QFileInfo::exists(m_path)) return true;
    bool ok = false;
    *bytes = readWholeFile(m_path, &ok);
    if (!ok) {
        m_error = QStringLiteral("ファイル「%1」を読み込めません。")
                      .arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    *doc = IniDocument::parse(TextCodec::decode(*bytes));
    return true;
}

bool IniFile::save(const IniDocument &doc, const QByteArray &oldBytes)
{
    const QByteArray bytes = encodeLike(doc.serialize(), oldBytes);
    if (bytes == oldBytes && exists()) return true;
    return writeFileAtomically(m_path, bytes, &m_error);
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    IniDocument doc;
    QByteArray bytes;
    load(&doc, &bytes);
    return doc.value(section, key, defaultValue);
}

int IniFile::readInt(const QString &section, const QString &key, int defaultValue) const
{
    int value = defaultValue;
    return parseInt(readString(section, key, QString()), &value) ? value : defaultValue;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    IniDocument doc;
    QByteArray bytes;
    load(&doc, &bytes);
    return doc.hasKey(section, key);
}

bool IniFile::hasSection(const QString &section) const
{
    IniDocument doc;
    QByteArray bytes;
    load(&doc, &bytes);
    return doc.hasSection(section);
}

QStringList IniFile::keys(const QString &section) const
{
    IniDocument doc;
    QByteArray bytes;
    load(&doc, &bytes);
    return doc.keys(section);
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    return writeStrings({{section, key, value}});
}

bool IniFile::writeStrings(const QVector<IniValue> &values)
{
    IniDocument doc;
    QByteArray bytes;
    // A file we cannot read is never overwritten: its other values would be lost.
    if (!load(&doc, &bytes)) return false;
    for (const IniValue &v : values) {
        if (!doc.setValue(v.section, v.key, v.value)) {
            m_error = QStringLiteral(
                          "ファイル「%1」に [%2] %3 を書き込めません。"
                          "名前が空か、キー名に「=」があるか、改行を含んでいます。")
                          .arg(QDir::toNativeSeparators(m_path), v.section, v.key);
            return false;
        }
    }
    return save(doc, bytes);
}

bool IniFile::writeInt(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::removeKey(const QString &section, const QString &key)
{
    IniDocument doc;
    QByteArray bytes;
    if (!load(&doc, &bytes)) return false;
    return !doc.removeKey(section, key) || save(doc, bytes);
}

bool IniFile::removeSection(const QString &section)
{
    IniDocument doc;
    QByteArray bytes;
    if (!load(&doc, &bytes)) return false;
    return !doc.removeSection(section) || save(doc, bytes);
}
