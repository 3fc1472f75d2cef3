#include "registry_store.h"

#include <QDir>
#include <QFileInfo>
#include <QVector>

#include "atomic_file.h"
#include "ini_document.h"
#include "program_folder.h"
#include "text_codec.h"

namespace {

const QString kDword = QStringLiteral("dword:");

QString valueKey(const QString &name)
{
    return name.isEmpty() ? QStringLiteral("@") : name;
}

bool canBeKey(const QString &key)
{
    return !key.trimmed().isEmpty() && !key.contains(u']') && !key.contains(u'\n') &&
           !key.contains(u'\r');
}

struct Loaded {
    IniDocument doc;
    QByteArray bytes;
    bool ok = true;
};

Loaded load(const QString &path)
{
    Loaded l;
    if (!QFileInfo::exists(path)) return l;
    l.bytes = readWholeFile(path, &l.ok);
    l.doc = IniDocument::parse(TextCodec::decode(l.bytes));
    return l;
}

// The names of every section header, in file order.
QStringList sectionNames(const IniDocument &doc)
{
    QStringList names;
    for (const QString &line : doc.lines()) {
        const QString t = line.trimmed();
        if (t.startsWith(u'[') && t.lastIndexOf(u']') > 0)
            names << t.mid(1, t.lastIndexOf(u']') - 1);
    }
    return names;
}

}  // namespace

RegistryStore::RegistryStore() : m_path(ProgramFolder::file(QStringLiteral("Registry.ini"))) {}

RegistryStore::RegistryStore(const QString &path) : m_path(path) {}

bool RegistryStore::keyExists(const QString &key) const
{
    return load(m_path).doc.hasSection(key);
}

bool RegistryStore::createKey(const QString &key)
{
    return setValues(key, {});
}

bool RegistryStore::deleteKey(const QString &key)
{
    m_error.clear();
    Loaded l = load(m_path);
    if (!l.ok) {
        m_error = QStringLiteral("ファイル「%1」を読み込めません。").arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    bool changed = false;
    const QString below = key + u'\\';
    for (const QString &name : sectionNames(l.doc)) {
        if (name.trimmed().compare(key, Qt::CaseInsensitive) == 0 ||
            name.trimmed().startsWith(below, Qt::CaseInsensitive))
            changed = l.doc.removeSection(name.trimmed()) || changed;
    }
    if (!changed) return true;
    return writeFileAtomically(m_path, TextCodec::encodeLegacy(l.doc.serialize()), &m_error);
}

bool RegistryStore::readString(const QString &key, const QString &name, QString *value) const
{
    const IniDocument doc = load(m_path).doc;
    if (!doc.hasKey(key, valueKey(name))) return false;
    const QString text = doc.value(key, valueKey(name));
    if (text.startsWith(kDword, Qt::CaseInsensitive)) return false;
    *value = text;
    return true;
}

bool RegistryStore::readDword(const QString &key, const QString &name, quint32 *value) const
{
    const IniDocument doc = load(m_path).doc;
    return doc.hasKey(key, valueKey(name)) && parseDword(doc.value(key, valueKey(name)), value);
}

RegistryStore::Value RegistryStore::stringValue(const QString &name, const QString &text)
{
    return Value{name, text};
}

RegistryStore::Value RegistryStore::dwordValue(const QString &name, quint32 number)
{
    return Value{name, kDword + QStringLiteral("%1").arg(number, 8, 16, QLatin1Char('0'))};
}

bool RegistryStore::setValues(const QString &key, const QVector<Value> &values)
{
    m_error.clear();
    Loaded l = load(m_path);
    if (!l.ok) {
        m_error = QStringLiteral("ファイル「%1」を読み込めません。").arg(QDir::toNativeSeparators(m_path));
        return false;
    }
    if (!canBeKey(key)) {
        m_error = QStringLiteral("レジストリキー「%1」は作成できません。").arg(key);
        return false;
    }
    IniDocument doc = l.doc;
    if (!doc.hasSection(key))
        doc = IniDocument::parse(doc.serialize() + u'[' + key + QStringLiteral("]\r\n"));
    for (const Value &v : values) {
        if (!doc.setValue(key, valueKey(v.name), v.text)) {
            m_error = QStringLiteral("レジストリキー「%1」の値「%2」は書き込めません。").arg(key, v.name);
            return false;
        }
    }
    const QByteArray bytes = TextCodec::encodeLegacy(doc.serialize());
    if (bytes == l.bytes && QFileInfo::exists(m_path)) return true;
    return writeFileAtomically(m_path, bytes, &m_error);
}

bool RegistryStore::parseDword(const QString &text, quint32 *value)
{
    if (!text.startsWith(kDword, Qt::CaseInsensitive)) return false;
    const QString digits = text.mid(kDword.size());
    if (digits.isEmpty() || digits.size() > 8) return false;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')))
            return false;
    }
    *value = digits.toUInt(nullptr, 16);
    return true;
}
