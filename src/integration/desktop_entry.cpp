#include "integration/desktop_entry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "desktop_entry_text.h"
#include "integration/menu_entry_prompts.h"
#include "platform/atomic_file.h"
#include "platform/text_codec.h"

namespace DesktopEntry {

namespace {

const QString kExec = QStringLiteral("Exec=");

// Characters that make an Exec argument need quotes.
bool needsQuotes(const QString &arg)
{
    for (const QChar c : arg) {
        if (c.isSpace() || QStringLiteral("\"'\\><~|&;$*?#()`").contains(c)) return true;
    }
    return false;
}

// One argument of an Exec line, as it is written into the file: quoted when
// needed, then with the backslashes of the value itself doubled.
QString execArgument(const QString &arg)
{
    QString a = arg;
    a.replace(u'%', QStringLiteral("%%"));
    if (needsQuotes(a)) {
        QString quoted;
        for (const QChar c : a) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
            quoted += c;
        }
        a = u'"' + quoted + u'"';
    }
    QString value;
    for (const QChar c : a) {
        if (c == u'\\') value += QStringLiteral("\\\\");
        else if (c == u'\n') value += QStringLiteral("\\n");
        else if (c == u'\r') value += QStringLiteral("\\r");
        else if (c == u'\t') value += QStringLiteral("\\t");
        else value += c;
    }
    return value;
}

// The value-level escapes of a desktop entry (\s \n \t \r \\).
QString unescapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar n = value.at(++i);
        if (n == u's') out += u' ';
        else if (n == u'n') out += u'\n';
        else if (n == u't') out += u'\t';
        else if (n == u'r') out += u'\r';
        else out += n;
    }
    return out;
}

// Asks the desktop to read the applications folder again; without the tool
// the desktop finds the change on its own, later.
void refreshDatabase(const QString &folder)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (tool.isEmpty()) return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(tool, {folder});
    if (process.waitForStarted() && !process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
    }
}

}  // namespace

QString applicationsFolder()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/applications"));
}

QString entryPath()
{
    return applicationsFolder() + QStringLiteral("/velmarin.desktop");
}

QString text(const QString &programPath)
{
    QStringList lines = TextCodec::splitLines(QString::fromUtf8(kInstalledDesktopEntry));
    for (QString &line : lines) {
        if (line.startsWith(kExec))
            line = kExec + execArgument(programPath) + QStringLiteral(" %F");
    }
    return lines.join(u'\n') + u'\n';
}

QString execProgram(const QString &entryText)
{
    QString exec;
    bool inMain = false;
    for (const QString &line : TextCodec::splitLines(entryText)) {
        if (line.startsWith(u'[')) {
            inMain = line.trimmed() == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (inMain && line.startsWith(QStringLiteral("Exec"))) {
            const qsizetype eq = line.indexOf(u'=');
            if (eq > 0 && line.left(eq).trimmed() == QLatin1String("Exec")) {
                exec = unescapeValue(line.mid(eq + 1).trimmed());
                break;
            }
        }
    }
    QString program;
    if (exec.startsWith(u'"')) {
        for (qsizetype i = 1; i < exec.size(); ++i) {
            const QChar c = exec.at(i);
            if (c == u'"') break;
            if (c == u'\\' && i + 1 < exec.size()) {
                program += exec.at(++i);
                continue;
            }
            program += c;
        }
    } else {
        program = exec.section(u' ', 0, 0);
    }
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

MenuButtonStates buttonStates(const QString &programPath)
{
    bool ok = false;
    const QByteArray bytes = readWholeFile(entryPath(), &ok);
    if (!ok) return MenuButtonStates::absent();
    return execProgram(QString::fromUtf8(bytes)) == programPath ? MenuButtonStates::present()
                                                               : MenuButtonStates::unchanged();
}

std::optional<MenuButtonStates> add(MenuEntryPrompts &prompts, const QString &programPath)
{
    const QString folder = applicationsFolder();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir() || !QFileInfo(folder).isWritable()) {
        prompts.notice(QStringLiteral("フォルダ「%1」に書き込めないため、デスクトップのメニューに"
                                      "組み込めませんでした。")
                           .arg(QDir::toNativeSeparators(folder)));
        return std::nullopt;
    }
    QString error;
    if (!writeFileAtomically(entryPath(), text(programPath).toUtf8(), &error)) {
        prompts.notice(error);
        return std::nullopt;
    }
    refreshDatabase(folder);
    return MenuButtonStates::present();
}

std::optional<MenuButtonStates> remove(MenuEntryPrompts &prompts)
{
    const QString path = entryPath();
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        QFile file(path);
        if (!file.remove()) {
            prompts.notice(QStringLiteral("ファイル「%1」を削除できません。%2")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
            return std::nullopt;
        }
        refreshDatabase(applicationsFolder());
    }
    return MenuButtonStates::absent();
}

}  // namespace DesktopEntry
