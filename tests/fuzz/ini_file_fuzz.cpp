// Arbitrary bytes as an INI file: an untouched document writes back every
// line, and a value set reads back exactly, leaving other sections alone.

#include "fuzz_target.h"
#include "platform/ini_document.h"
#include "platform/text_codec.h"

namespace {

// A short piece of the input, so names and values come from the fuzzer too.
QString piece(const QString &text, qsizetype at, qsizetype length)
{
    if (text.isEmpty()) return QString();
    at %= text.size();
    return text.mid(at, length);
}

}  // namespace

void fuzzBytes(const QByteArray &bytes)
{
    const QString text = TextCodec::decode(bytes);
    const IniDocument doc = IniDocument::parse(text);
    check(doc.serialize() == TextCodec::joinCrLf(TextCodec::splitLines(text)));
    check(IniDocument::parse(doc.serialize()).lines() == doc.lines());

    const qsizetype seed = bytes.size();
    const QString section = piece(text, seed / 3, 1 + seed % 7);
    const QString key = piece(text, seed / 2, 1 + seed % 5);
    const QString value = piece(text, seed / 5, seed % 11);
    const QString other = QStringLiteral("\u3042other");

    IniDocument changed = doc;
    const bool hadOther = changed.hasKey(other, other);
    const QString otherValue = changed.value(other, other);
    if (!changed.setValue(section, key, value)) {
        check(!IniDocument::canStore(section, key, value));
        check(changed.lines() == doc.lines());
        return;
    }
    const IniDocument back = IniDocument::parse(changed.serialize());
    check(back.value(section, key, QStringLiteral("\uFFFFmissing")) == value);
    check(back.hasSection(section));
    check(back.hasKey(section, key));
    check(!back.keys(section).isEmpty());
    // One line changed or was added, plus at most a new section header.
    const qsizetype added = back.lines().size() - doc.lines().size();
    check(added >= 0 && added <= 2);
    if (section.compare(other, Qt::CaseInsensitive) != 0) {
        check(back.hasKey(other, other) == hadOther);
        check(back.value(other, other) == otherValue);
    }

    IniDocument removed = back;
    removed.removeKey(section, key);
    check(!removed.hasKey(section, key));
    removed.removeSection(section);
    check(!removed.hasSection(section));
}
