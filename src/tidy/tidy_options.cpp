#include "tidy/tidy_options.h"

namespace {

const QString kTrue = QStringLiteral("true");
const QString kFalse = QStringLiteral("false");

// Letters are folded in ASCII only: the file's keywords are ASCII, and a
// Unicode fold would let look-alikes such as the Kelvin sign match "k".
QString asciiLower(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return out;
}

QString asciiUpper(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    }
    return out;
}

// Removes spaces and control characters (everything up to U+0020) at both
// ends. Unlike QString::trimmed it keeps the ideographic space U+3000, which
// may belong to a Japanese value.
QString trimControls(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

QString oneLine(const QString &text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    out.replace(u'\r', u' ');
    out.replace(u'\n', u' ');
    return out;
}

bool isBooleanTrue(const QString &value)
{
    // Case matters here: "TRUE" reads as false, as Tidy's own files never
    // write it that way.
    static const QStringList yes = {QStringLiteral("y"), QStringLiteral("yes"),
                                    QStringLiteral("t"), kTrue, QStringLiteral("1")};
    return yes.contains(value);
}

// The item a read value selects in a choice list.
QString matchChoice(const TidyOption &option, const QString &value)
{
    switch (option.match) {
    case ChoiceMatch::Exact:
        break;
    case ChoiceMatch::LowerCase:
        if (option.choices.contains(asciiLower(value)))
            return asciiLower(value);
        return option.fallback;
    case ChoiceMatch::UpperCase:
        if (option.choices.contains(asciiUpper(value)))
            return asciiUpper(value);
        return option.fallback;
    case ChoiceMatch::AutoBoolean: {
        static const QStringList yes = {QStringLiteral("true"), QStringLiteral("t"),
                                        QStringLiteral("yes"), QStringLiteral("y"),
                                        QStringLiteral("1")};
        static const QStringList no = {QStringLiteral("false"), QStringLiteral("f"),
                                       QStringLiteral("no"), QStringLiteral("n"),
                                       QStringLiteral("0")};
        const QString lower = asciiLower(value);
        if (yes.contains(lower))
            return kTrue;
        if (no.contains(lower))
            return kFalse;
        return option.fallback;  // "auto" and everything else
    }
    }
    return option.choices.contains(value) ? value : option.fallback;
}

void loadDoctype(const QString &value, TidyOptionValues &values)
{
    const QString doctype = QStringLiteral("doctype");
    const TidyOption *option = findTidyOption(doctype);
    const int keyword = option->choices.indexOf(asciiLower(value));
    if (keyword >= 0 && keyword < kDoctypeUserFpiIndex) {
        values.selectIndex(doctype, keyword);
        values.setFpiEnabled(false);
        return;
    }
    values.selectIndex(doctype, kDoctypeUserFpiIndex);
    values.setFpiEnabled(true);
    values.setFpiText(value);
}

// A key that names no number, list or text option is a check box's caption.
// The dialog looks for it group by group in a fixed order; option names are
// unique, so the first group holding it is the only one.
const TidyOption *findCheckBox(const QString &key)
{
    const QVector<TidyOption> &catalogue = tidyOptionCatalogue();
    for (OptionGroup group : checkBoxSearchOrder()) {
        for (const TidyOption &option : catalogue) {
            if (option.group == group && option.kind == OptionKind::Boolean && option.name == key)
                return &option;
        }
    }
    return nullptr;
}

void loadLine(const QString &line, TidyOptionValues &values)
{
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0)
        return;
    const QString key = asciiLower(trimControls(line.left(colon)));
    const QString value = trimControls(line.mid(colon + 1));

    const TidyOption *option = findTidyOption(key);
    if (!option)
        return;
    switch (option->kind) {
    case OptionKind::Number:
        values.setText(key, !value.isEmpty() && isAllDigits(value) ? value : option->fallback);
        return;
    case OptionKind::Text:
        values.setText(key, value);
        return;
    case OptionKind::Choice:
        values.select(key, matchChoice(*option, value));
        return;
    case OptionKind::Doctype:
        loadDoctype(value, values);
        return;
    case OptionKind::Boolean:
        if (const TidyOption *box = findCheckBox(key))
            values.setTicked(box->name, isBooleanTrue(value));
        return;
    }
}

}  // namespace

TidyOptionValues::TidyOptionValues() : m_fpiText(fpiInitialText())
{
    const QVector<TidyOption> &catalogue = tidyOptionCatalogue();
    m_values.reserve(catalogue.size());
    for (const TidyOption &option : catalogue)
        m_values.append(option.atCreation);
}

TidyOptionValues TidyOptionValues::atCreation() { return TidyOptionValues(); }

void TidyOptionValues::applyFirstStartValues()
{
    const QVector<TidyOption> &catalogue = tidyOptionCatalogue();
    for (int i = 0; i < catalogue.size(); ++i) {
        const TidyOption &option = catalogue.at(i);
        if (option.kind == OptionKind::Number || option.kind == OptionKind::Choice ||
            option.kind == OptionKind::Doctype)
            m_values[i] = option.initial;
    }
}

bool TidyOptionValues::isTicked(const QString &name) const
{
    const TidyOption *option = findTidyOption(name);
    return option && option->kind == OptionKind::Boolean &&
           m_values.at(tidyOptionIndex(name)) == kTrue;
}

void TidyOptionValues::setTicked(const QString &name, bool ticked)
{
    const TidyOption *option = findTidyOption(name);
    if (option && option->kind == OptionKind::Boolean)
        m_values[tidyOptionIndex(name)] = ticked ? kTrue : kFalse;
}

QString TidyOptionValues::text(const QString &name) const
{
    const int index = tidyOptionIndex(name);
    return index < 0 ? QString() : m_values.at(index);
}

void TidyOptionValues::setText(const QString &name, const QString &text)
{
    const TidyOption *option = findTidyOption(name);
    if (option && (option->kind == OptionKind::Number || option->kind == OptionKind::Text))
        m_values[tidyOptionIndex(name)] = oneLine(text);
}

int TidyOptionValues::selectedIndex(const QString &name) const
{
    const TidyOption *option = findTidyOption(name);
    return option ? option->choices.indexOf(m_values.at(tidyOptionIndex(name))) : -1;
}

bool TidyOptionValues::select(const QString &name, const QString &item)
{
    const TidyOption *option = findTidyOption(name);
    return option && selectIndex(name, option->choices.indexOf(item));
}

bool TidyOptionValues::selectIndex(const QString &name, int index)
{
    const TidyOption *option = findTidyOption(name);
    if (!option || index < 0 || index >= option->choices.size())
        return false;
    m_values[tidyOptionIndex(name)] = option->choices.at(index);
    return true;
}

void TidyOptionValues::setFpiText(const QString &text) { m_fpiText = oneLine(text); }

bool TidyOptionValues::operator==(const TidyOptionValues &other) const
{
    return m_values == other.m_values && m_fpiText == other.m_fpiText &&
           m_fpiEnabled == other.m_fpiEnabled;
}

QStringList writeTidyOptions(const TidyOptionValues &values)
{
    QStringList lines;
    for (const TidyOption &option : tidyOptionCatalogue()) {
        QString value = values.text(option.name);
        if (option.kind == OptionKind::Text && value.isEmpty())
            continue;
        // The sixth doctype item stands for the identifier typed into the
        // free field, whatever that holds (also its initial prompt).
        if (option.kind == OptionKind::Doctype &&
            values.selectedIndex(option.name) == kDoctypeUserFpiIndex)
            value = values.fpiText();
        lines.append(option.name + u':' + value);
    }
    return lines;
}

void loadTidyOptions(const QStringList &lines, TidyOptionValues &values)
{
    for (const QString &line : lines)
        loadLine(line, values);
}

bool isAllDigits(const QString &text)
{
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

QString clampNumberText(const QString &text, int maximum, bool *changed)
{
    if (changed)
        *changed = false;
    const bool negative = text.startsWith(u'-');
    const QString digits = negative ? text.mid(1) : text;
    if (digits.isEmpty() || !isAllDigits(digits))
        return text;
    // Compare without converting, so a run of digits of any length cannot
    // overflow: strip leading zeros, then longer means larger.
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits.at(first) == u'0')
        ++first;
    const QString significant = digits.mid(first);
    const QString bound = QString::number(maximum);
    QString result = text;
    if (negative && significant != QStringLiteral("0"))
        result = QStringLiteral("0");
    else if (!negative && (significant.size() > bound.size() ||
                           (significant.size() == bound.size() && significant > bound)))
        result = bound;
    if (changed)
        *changed = result != text;
    return result;
}
