#include "forwarded_command_line.h"

namespace ForwardedCommandLine {

QString encode(const QStringList &arguments)
{
    QStringList quoted;
    quoted.reserve(arguments.size());
    for (QString a : arguments) {
        a.replace(u'"', QStringLiteral("\"\""));
        quoted << u'"' + a + u'"';
    }
    return quoted.join(u',');
}

std::optional<QStringList> decode(const QString &text)
{
    QStringList items;
    if (text.isEmpty())
        return items;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (true) {
        QString item;
        if (i < n && text.at(i) == u'"') {
            ++i;
            bool closed = false;
            while (i < n) {
                if (text.at(i) == u'"') {
                    if (i + 1 < n && text.at(i + 1) == u'"') {
                        item += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                item += text.at(i++);
            }
            if (!closed || (i < n && text.at(i) != u','))
                return std::nullopt;
        } else {
            while (i < n && text.at(i) != u',') {
                if (text.at(i) == u'"')
                    return std::nullopt;
                item += text.at(i++);
            }
        }
        items << item;
        if (i >= n)
            break;
        ++i;  // the comma
    }
    return items;
}

bool raisesRunningInstance(const QStringList &arguments)
{
    bool ie = false, op = false, css = false, link = false, tidy = false;
    for (const QString &argument : arguments) {
        const QString a = argument.toLower();
        auto is = [&a](const char *name) {
            return a == QLatin1Char('-') + QLatin1String(name) ||
                   a == QLatin1Char('/') + QLatin1String(name);
        };
        if (is("ie")) {
            ie = true;
        } else if (is("op")) {
            op = true;
        } else if (is("css")) {
            css = true;
        } else if (is("link")) {
            link = true;
        } else if (is("tidy")) {
            tidy = true;
        } else if (is("all")) {
            tidy = link = css = true;
        } else {
            return (css || link) && !ie && !op && !tidy;
        }
    }
    return false;  // only switches
}

}  // namespace ForwardedCommandLine
