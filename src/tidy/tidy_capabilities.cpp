#include "tidy/tidy_capabilities.h"

#include <QRegularExpression>

#include "tidy/option_catalogue.h"
#include "tidy/tidy_query.h"

namespace {

bool isOptionName(const QString &text)
{
    static const QRegularExpression name(QStringLiteral("^[a-z][a-z0-9-]*$"));
    return name.match(text).hasMatch();
}

// "0 (Tidy Classic), 1 (Priority 1 Checks)" -> "0", "1"; "-" means free text.
QStringList splitValues(const QString &text)
{
    QStringList values;
    const QString trimmed = text.simplified();
    if (trimmed.isEmpty() || trimmed == QStringLiteral("-"))
        return values;
    for (const QString &part : trimmed.split(u',', Qt::SkipEmptyParts)) {
        QString value = part.trimmed();
        const int paren = value.indexOf(u'(');
        if (paren > 0)
            value = value.left(paren).trimmed();
        if (!value.isEmpty())
            values << value;
    }
    return values;
}

TidyAnswerCache<std::optional<TidyCapabilities>> s_answers;

}  // namespace

std::optional<TidyCapabilities> TidyCapabilities::parseHelpConfig(const QString &output)
{
    // Value lists are wrapped at word boundaries, sometimes inside an item's
    // description ("3 (Priority 3" / "Checks)"), so the text of an option is
    // joined first and split into items at the end.
    QHash<QString, QString> valueText;
    TidyCapabilities result;
    const QStringList lines = output.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    bool inTable = false;
    QString current;
    for (const QString &line : lines) {
        if (!inTable) {
            // The rule under the column titles: only "=" and blanks.
            inTable = line.startsWith(QStringLiteral("===")) &&
                      QString(line).remove(u'=').trimmed().isEmpty();
            continue;
        }
        if (line.trimmed().isEmpty()) {
            current.clear();
            continue;
        }
        if (line.at(0).isSpace()) {
            if (!current.isEmpty())
                valueText[current] += u' ' + line.trimmed();
            continue;
        }
        const QStringList fields = line.simplified().split(u' ');
        if (fields.size() < 2 || !isOptionName(fields.at(0))) {
            current.clear();
            continue;
        }
        current = fields.at(0);
        result.m_options.insert(current, Option{fields.at(1), {}});
        valueText.insert(current, fields.mid(2).join(u' '));
    }
    if (result.m_options.isEmpty())
        return std::nullopt;
    for (auto it = result.m_options.begin(); it != result.m_options.end(); ++it)
        it->values = splitValues(valueText.value(it.key()));
    return result;
}

QSet<QString> TidyCapabilities::names() const
{
    QSet<QString> names;
    for (auto it = m_options.cbegin(); it != m_options.cend(); ++it)
        names.insert(it.key());
    return names;
}

std::optional<TidyCapabilities> queryTidyCapabilities(const QString &tidyPath, int timeoutMs)
{
    // An answer that failed is kept too: a program that hangs is not run
    // again at every showing of the dialog, only once it has been replaced.
    return s_answers.get(tidyPath, [timeoutMs](const QString &program) {
        const std::optional<QByteArray> output =
            runTidyQuery(program, QStringLiteral("-help-config"), timeoutMs, false);
        if (!output)
            return std::optional<TidyCapabilities>();
        // Option names and types are ASCII; the descriptions do not matter.
        return TidyCapabilities::parseHelpConfig(QString::fromLocal8Bit(*output));
    });
}

std::optional<QSet<QString>> knownTidyOptions(const QString &tidyPath)
{
    const std::optional<TidyCapabilities> capabilities = queryTidyCapabilities(tidyPath);
    if (!capabilities)
        return std::nullopt;
    return capabilities->names();
}

QStringList catalogueOptionsUnknownTo(const QSet<QString> &known)
{
    QStringList unknown;
    for (const TidyOption &option : tidyOptionCatalogue())
        if (!known.contains(option.name))
            unknown << option.name;
    return unknown;
}
