#include "tidy/tidy_report_ja.h"

#include <QVector>
#include <algorithm>
#include <array>

#include "tidy/tidy_messages_ja.h"
#include "tidy/tidy_query.h"

namespace {

// One printf conversion of a template: what its value may hold.
enum class Conversion { Text, Number, Hex, Character };

struct Template {
    QStringList literals;                 // one more than conversions
    std::vector<Conversion> conversions;  // in the order they occur
};

// Splits "missing </%s> before %s" into literals and conversions; "%%" is a
// literal percent. nullopt for a conversion we do not know.
std::optional<Template> splitTemplate(const QString &templ)
{
    Template result;
    QString literal;
    const qsizetype n = templ.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = templ.at(i);
        if (c != u'%') {
            literal += c;
            continue;
        }
        if (i + 1 < n && templ.at(i + 1) == u'%') {
            literal += u'%';
            ++i;
            continue;
        }
        // %[n$][flags/width][l|h]conversion
        qsizetype j = i + 1;
        while (j < n && (templ.at(j).isDigit() || templ.at(j) == u'$' || templ.at(j) == u'-' ||
                         templ.at(j) == u'.' || templ.at(j) == u'l' || templ.at(j) == u'h'))
            ++j;
        if (j >= n) return std::nullopt;
        Conversion conversion;
        switch (templ.at(j).unicode()) {
            case 's':
                conversion = Conversion::Text;
                break;
            case 'u':
            case 'd':
            case 'i':
                conversion = Conversion::Number;
                break;
            case 'x':
            case 'X':
                conversion = Conversion::Hex;
                break;
            case 'c':
                conversion = Conversion::Character;
                break;
            default:
                return std::nullopt;
        }
        result.literals << literal;
        literal.clear();
        result.conversions.push_back(conversion);
        i = j;
    }
    result.literals << literal;
    return result;
}

bool fits(Conversion conversion, QStringView value)
{
    switch (conversion) {
        case Conversion::Text:
            return true;
        case Conversion::Character:
            return !value.isEmpty();
        case Conversion::Number: {
            QStringView digits = value.startsWith(u'-') ? value.mid(1) : value;
            if (digits.isEmpty()) return false;
            for (QChar c : digits)
                if (c < u'0' || c > u'9') return false;
            return true;
        }
        case Conversion::Hex:
            if (value.isEmpty()) return false;
            for (QChar c : value)
                if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') ||
                      (c >= u'A' && c <= u'F')))
                    return false;
            return true;
    }
    return false;
}

// One character of text at pos: a surrogate pair counts as one.
qsizetype characterLength(QStringView text, qsizetype pos)
{
    if (pos >= text.size()) return 0;
    if (text.at(pos).isHighSurrogate() && pos + 1 < text.size() &&
        text.at(pos + 1).isLowSurrogate())
        return 2;
    return 1;
}

struct KindWord {
    QLatin1StringView english;
    const char16_t *japanese;
};

// The kind words as the report parser knows them.
const std::array<KindWord, 5> kKindWords{{
    {QLatin1StringView("Warning: "), u"警告: "},
    {QLatin1StringView("Error: "), u"エラー: "},
    {QLatin1StringView("Info: "), u"情報: "},
    {QLatin1StringView("Access: "), u"アクセシビリティ: "},
    {QLatin1StringView("Config: "), u"設定: "},
}};

bool isIdLabel(QStringView text)
{
    if (text.isEmpty() || text.front() < u'A' || text.front() > u'Z') return false;
    for (QChar c : text)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_')) return false;
    return true;
}

TidyAnswerCache<TidyMessageTemplates> s_answers;

// Words Tidy puts into messages as their values ("plain text isn't allowed
// in <head> elements"); a count's word may stand in its plural.
constexpr const char *kValueWordIds[] = {
    "STRING_PLAIN_TEXT",          "STRING_XML_DECLARATION",   "STRING_HTML_PROPRIETARY",
    "STRING_DISCARDING",          "STRING_REPLACING",         "STRING_SPECIFIED",
    "STRING_ERROR_COUNT_WARNING", "STRING_ERROR_COUNT_ERROR",
};

// What Tidy writes after the messages, without an id: its summary, which is
// translated, and its paragraphs about itself, which a Japanese report leaves
// out.
constexpr const char *kSummaryIds[] = {"STRING_ERROR_COUNT", "STRING_NOT_ALL_SHOWN",
                                       "STRING_NO_ERRORS", "STRING_NEEDS_INTERVENTION"};
constexpr const char *kAboutTidyIds[] = {"TEXT_GENERAL_INFO", "TEXT_GENERAL_INFO_PLEA"};

QString withoutTrailingSpace(const QString &line)
{
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1).unicode() <= 0x20) --end;
    return line.left(end);
}

// A template's lines as a report shows them: no blank lines around it, no
// spaces at line ends.
QStringList templateLines(const QString &templ)
{
    QStringList lines;
    for (const QString &line : templ.split(u'\n')) lines << withoutTrailingSpace(line);
    while (!lines.isEmpty() && lines.first().isEmpty()) lines.removeFirst();
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

struct UnlabelledText {
    QStringList lines;
    const TidyMessageJa *japanese = nullptr;  // nullptr: left out
};

QVector<UnlabelledText> unlabelledTexts(const TidyMessageTemplates &templates)
{
    QVector<UnlabelledText> texts;
    auto add = [&](const char *id, bool translated) {
        const auto templ = templates.constFind(QLatin1String(id));
        if (templ == templates.cend()) return;
        UnlabelledText text{templateLines(*templ),
                            translated ? findTidyMessageJa(QString::fromLatin1(id)) : nullptr};
        if (text.lines.isEmpty() || (translated && text.japanese == nullptr)) return;
        texts << text;
    };
    for (const char *id : kSummaryIds) add(id, true);
    for (const char *id : kAboutTidyIds) add(id, false);
    return texts;
}

// How many lines from `at` on are the text; its values when it has any.
qsizetype matchUnlabelled(const QStringList &lines, qsizetype at, const UnlabelledText &text,
                          QStringList *values)
{
    if (text.lines.size() == 1) {
        const std::optional<QStringList> found =
            matchTidyTemplate(text.lines.first(), withoutTrailingSpace(lines.at(at)));
        if (!found) return 0;
        *values = *found;
        return 1;
    }
    if (at + text.lines.size() > lines.size()) return 0;
    for (qsizetype k = 0; k < text.lines.size(); ++k)
        if (withoutTrailingSpace(lines.at(at + k)) != text.lines.at(k)) return 0;
    values->clear();
    return text.lines.size();
}

std::optional<QStringList> matchParts(const Template &parts, QStringView text)
{
    const QStringList &literals = parts.literals;
    const QString &first = literals.first();
    const QString &last = literals.last();
    if (parts.conversions.empty()) {
        if (text == first) return QStringList{};
        return std::nullopt;
    }
    if (text.size() < first.size() + last.size() || !text.startsWith(first) || !text.endsWith(last))
        return std::nullopt;

    QStringList values;
    qsizetype pos = first.size();
    const qsizetype end = text.size() - last.size();
    const std::size_t count = parts.conversions.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Conversion conversion = parts.conversions[i];
        qsizetype valueEnd;
        qsizetype next;
        if (i + 1 == count) {
            valueEnd = end;
            next = end;
        } else if (conversion == Conversion::Character) {
            valueEnd = pos + characterLength(text, pos);
            const QString &literal = literals.at(qsizetype(i) + 1);
            if (!text.mid(valueEnd).startsWith(literal)) return std::nullopt;
            next = valueEnd + literal.size();
        } else {
            // The value ends where the next literal first occurs.
            const QString &literal = literals.at(qsizetype(i) + 1);
            if (literal.isEmpty()) return std::nullopt;
            valueEnd = text.indexOf(literal, pos);
            if (valueEnd < 0) return std::nullopt;
            next = valueEnd + literal.size();
        }
        if (valueEnd > end || next > end) return std::nullopt;
        const QStringView value = text.mid(pos, valueEnd - pos);
        if (!fits(conversion, value) ||
            (conversion == Conversion::Character && characterLength(text, pos) != value.size()))
            return std::nullopt;
        values << value.toString();
        pos = next;
    }
    return values;
}

}  // namespace

TidyMessageTemplates parseTidyMessageTemplates(const QString &xml)
{
    static const QString entryStart = QStringLiteral("<localized_string ");
    static const QString labelStart = QStringLiteral("label=\"");
    static const QString textStart = QStringLiteral("<string class=\"en\">");
    static const QString textEnd = QStringLiteral("</string>");
    TidyMessageTemplates templates;
    qsizetype pos = 0;
    while ((pos = xml.indexOf(entryStart, pos)) >= 0) {
        const qsizetype tagEnd = xml.indexOf(u'>', pos);
        if (tagEnd < 0) break;
        const qsizetype label = xml.indexOf(labelStart, pos);
        const qsizetype text = xml.indexOf(textStart, tagEnd);
        pos = tagEnd + 1;
        if (label < 0 || label > tagEnd || text < 0) continue;
        const qsizetype labelEnd = xml.indexOf(u'"', label + labelStart.size());
        const qsizetype end = xml.indexOf(textEnd, text);
        if (labelEnd < 0 || labelEnd > tagEnd || end < 0) break;
        const QString id = xml.mid(label + labelStart.size(), labelEnd - label - labelStart.size());
        if (isIdLabel(id))
            templates.insert(id, xml.mid(text + textStart.size(), end - text - textStart.size()));
        pos = end + textEnd.size();
    }
    return templates;
}

TidyMessageTemplates queryTidyMessageTemplates(const QString &tidyPath, int timeoutMs)
{
    return s_answers.get(tidyPath, [timeoutMs](const QString &program) {
        const std::optional<QByteArray> output =
            runTidyQuery(program, QStringLiteral("-xml-strings"), timeoutMs, true);
        return output ? parseTidyMessageTemplates(QString::fromUtf8(*output))
                      : TidyMessageTemplates();
    });
}

std::optional<QStringList> matchTidyTemplate(const QString &templ, const QString &text)
{
    const std::optional<Template> parts = splitTemplate(templ);
    if (!parts) return std::nullopt;
    return matchParts(*parts, text);
}

int tidyTemplatePlaceholders(const QString &templ)
{
    const std::optional<Template> parts = splitTemplate(templ);
    return parts ? int(parts->conversions.size()) : -1;
}

int tidyMessageSlots(const QString &japanese)
{
    int highest = 0;
    const qsizetype n = japanese.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (japanese.at(i) != u'{') continue;
        qsizetype j = i + 1;
        int number = 0;
        while (j < n && japanese.at(j).isDigit() && number < 1000)
            number = number * 10 + japanese.at(j++).digitValue();
        if (j > i + 1 && j < n && japanese.at(j) == u'}') highest = std::max(highest, number);
    }
    return highest;
}

QString fillTidyMessage(const QString &japanese, const QStringList &values)
{
    QString result;
    result.reserve(japanese.size());
    const qsizetype n = japanese.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = japanese.at(i);
        if (c == u'{') {
            qsizetype j = i + 1;
            int number = 0;
            while (j < n && japanese.at(j).isDigit() && number < 1000)
                number = number * 10 + japanese.at(j++).digitValue();
            if (j > i + 1 && j < n && japanese.at(j) == u'}' && number >= 1 &&
                number <= values.size()) {
                result += values.at(number - 1);
                i = j;
                continue;
            }
        }
        result += c;
    }
    return result;
}

struct TidyReportTranslator::Prepared {
    // What one id gives: whether it is an id at all, and the pieces to
    // translate its message with when this Tidy and the table both know it.
    struct Message {
        bool known = false;
        std::optional<Template> parts;
        QString japanese;
        int slots = 0;
    };

    explicit Prepared(const TidyMessageTemplates &t) : templates(t)
    {
        // Words Tidy puts in as values; the first id with the word wins, and
        // a count's word may stand in its plural.
        for (const char *id : kValueWordIds) {
            const QString templ = templates.value(QLatin1String(id));
            const TidyMessageJa *entry = findTidyMessageJa(QString::fromLatin1(id));
            if (templ.isEmpty() || entry == nullptr) continue;
            const QString japanese = QString::fromUtf8(entry->text);
            if (!valueWords.contains(templ)) valueWords.insert(templ, japanese);
            if (!valueWords.contains(templ + u's')) valueWords.insert(templ + u's', japanese);
        }
    }

    const Message &message(const QString &id) const
    {
        auto found = messages.constFind(id);
        if (found != messages.cend()) return *found;
        Message m;
        const TidyMessageJa *entry = findTidyMessageJa(id);
        const auto templ = templates.constFind(id);
        m.known = templ != templates.cend() || entry != nullptr;
        if (entry && templ != templates.cend()) {
            m.parts = splitTemplate(*templ);
            m.japanese = QString::fromUtf8(entry->text);
            m.slots = tidyMessageSlots(m.japanese);
        }
        return *messages.insert(id, m);
    }

    QStringList translatedValues(QStringList values) const
    {
        for (QString &value : values) value = valueWords.value(value, value);
        return values;
    }

    TidyMessageTemplates templates;
    QHash<QString, QString> valueWords;
    mutable QHash<QString, Message> messages;
};

TidyReportTranslator::TidyReportTranslator(const TidyMessageTemplates &templates)
    : d(std::make_unique<Prepared>(templates))
{
}

TidyReportTranslator::~TidyReportTranslator() = default;

QString TidyReportTranslator::line(QStringView line) const
{
    QStringView body = line;
    const Prepared::Message *message = nullptr;
    // "... (MISSING_ENDTAG_BEFORE)"
    if (body.endsWith(u')')) {
        const qsizetype open = body.lastIndexOf(QLatin1StringView(" ("));
        const QStringView label =
            open >= 0 ? body.mid(open + 2, body.size() - open - 3) : QStringView();
        // Only an id this Tidy or the table knows: a Tidy that does not
        // append ids keeps a message that happens to end in capitals.
        if (isIdLabel(label)) {
            const Prepared::Message &found = d->message(label.toString());
            if (found.known) {
                message = &found;
                body.truncate(open);
            }
        }
    }

    QStringView location;
    if (body.startsWith(QLatin1StringView("line "))) {
        const qsizetype dash = body.indexOf(QLatin1StringView(" - "));
        if (dash >= 0) {
            location = body.left(dash + 3);
            body = body.mid(dash + 3);
        }
    }

    QString result;
    result.reserve(line.size() + 16);
    result += location;
    for (const KindWord &word : kKindWords) {
        if (body.startsWith(word.english)) {
            result += QStringView(word.japanese);
            body = body.mid(word.english.size());
            break;
        }
    }

    // A template of another Tidy with other placeholders would put the
    // values in the wrong places: such a message stays English.
    if (message && message->parts) {
        const std::optional<QStringList> values = matchParts(*message->parts, body);
        if (values && values->size() == message->slots)
            return result + fillTidyMessage(message->japanese, d->translatedValues(*values));
    }
    result += body;
    return result;
}

QStringList TidyReportTranslator::report(const QStringList &lines) const
{
    const QVector<UnlabelledText> texts = unlabelledTexts(d->templates);
    QStringList translated;
    translated.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size();) {
        qsizetype taken = 0;
        for (const UnlabelledText &text : texts) {
            QStringList values;
            taken = matchUnlabelled(lines, i, text, &values);
            if (taken == 0) continue;
            if (text.japanese != nullptr) {
                const QString japanese = QString::fromUtf8(text.japanese->text);
                if (values.size() == tidyMessageSlots(japanese))
                    translated << fillTidyMessage(japanese, d->translatedValues(values));
                else
                    translated << lines.mid(i, taken);
            }
            break;
        }
        if (taken == 0) {
            // One blank line is enough where a left-out paragraph stood.
            if (!withoutTrailingSpace(lines.at(i)).isEmpty())
                translated << line(lines.at(i));
            else if (!translated.isEmpty() && !translated.last().isEmpty())
                translated << QString();
            taken = 1;
        }
        i += taken;
    }
    while (!translated.isEmpty() && translated.last().isEmpty()) translated.removeLast();
    return translated;
}

QString translateTidyReportLine(const QString &line, const TidyMessageTemplates &templates)
{
    return TidyReportTranslator(templates).line(line);
}

QStringList translateTidyReport(const QStringList &lines, const TidyMessageTemplates &templates)
{
    return TidyReportTranslator(templates).report(lines);
}
