#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// What the configured Tidy executable knows about its own options. Tidy's
// option set has changed over the years (5.x dropped split, slide-style,
// drop-font-tags and hide-endtags and turned fix-bad-comments into an
// auto/yes/no choice), so the settings dialog asks the Tidy in use instead
// of assuming one version.
class TidyCapabilities {
public:
    struct Option {
        QString type;        // "Boolean", "Enum", "Integer", "String", ...
        QStringList values;  // allowable values as Tidy lists them, descriptions dropped
    };

    // Reads the option table that `tidy -help-config` prints: a header, a
    // rule of "=" and then one option per line, long value lists continued
    // on indented lines. Lines that do not look like an option are skipped.
    // nullopt when the text holds no such table, or one without options.
    static std::optional<TidyCapabilities> parseHelpConfig(const QString &output);

    bool knows(const QString &option) const { return m_options.contains(option); }
    // Default-constructed for an option this Tidy does not know.
    Option option(const QString &name) const { return m_options.value(name); }
    QSet<QString> names() const;

private:
    QHash<QString, Option> m_options;
};

// Runs `<tidyPath> -help-config` (no shell, standard input closed) and reads
// its table. The answer is kept per path, size and modification time, so
// asking again is cheap until the executable is replaced. nullopt when the
// path names no file, the program cannot be started, does not finish within
// timeoutMs or prints no option table: callers then mark nothing.
std::optional<TidyCapabilities> queryTidyCapabilities(const QString &tidyPath,
                                                      int timeoutMs = 3000);

// The option names alone.
std::optional<QSet<QString>> knownTidyOptions(const QString &tidyPath);

// Options of our catalogue that the given Tidy does not know, in catalogue
// order. They are still written to the configuration file; Tidy skips them.
QStringList catalogueOptionsUnknownTo(const QSet<QString> &known);
