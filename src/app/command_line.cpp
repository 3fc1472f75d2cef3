#include "command_line.h"

#include <QDir>
#include <QFileInfo>

#include "core/document_kind.h"

namespace {

bool startsWithCaseBlind(const QString &text, const QString &prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

// An address by its beginning alone: for names already known to be no file.
bool looksLikeAddress(const QString &text)
{
    return classifyDocument(text, false) != DocumentKind::Local;
}

// A word after a slash ("/ie"): the other form of a switch. Absolute paths
// begin with a slash as well, so only a slash and a plain word is taken for one.
bool slashSwitchForm(const QString &argument)
{
    if (argument.size() < 2 || !argument.startsWith(u'/'))
        return false;
    for (const QChar c : argument.mid(1))
        if (!c.isLetterOrNumber() || c.unicode() > 0x7f)
            return false;
    return true;
}

struct Switches {
    bool ie = false, op = false, css = false, link = false, tidy = false;
    bool w3c = false, lint = false, wdg = false, cssu = false;

    // Applies a switch; false when the argument is no switch or the switch
    // is refused by the ones already set.
    bool apply(const QString &argument)
    {
        if (!argument.startsWith(u'-') && !slashSwitchForm(argument))
            return false;
        const QString name = argument.mid(1).toLower();
        const bool browser = ie || op;
        const bool checks = tidy || css || link;
        if (name == QLatin1String("ie") && !checks)
            return ie = true;
        if (name == QLatin1String("op") && !checks)
            return op = true;
        if (name == QLatin1String("css") && !browser)
            return css = true;
        if (name == QLatin1String("link") && !browser)
            return link = true;
        if (name == QLatin1String("tidy") && !browser)
            return tidy = true;
        if (name == QLatin1String("all") && !browser)
            return tidy = link = css = true;
        if (name == QLatin1String("w3c"))
            return w3c = true;
        if (name == QLatin1String("lint"))
            return lint = true;
        if (name == QLatin1String("wdg"))
            return wdg = true;
        if (name == QLatin1String("cssu"))
            return cssu = true;
        return false;
    }

    bool none() const { return !(ie || op || css || link || tidy || w3c || lint || wdg || cssu); }
    int uploads() const { return int(w3c) + int(lint) + int(wdg) + int(cssu); }
};

bool switchForm(const QString &argument)
{
    return argument.startsWith(u'-') || slashSwitchForm(argument);
}

class Interpreter {
public:
    explicit Interpreter(CommandLineActions &actions) : m_actions(actions) {}

    void argument(const QString &argument)
    {
        // A refused or unknown switch is ignored.
        if (m_switches.apply(argument) || switchForm(argument))
            return;
        if (kind(argument) == DocumentKind::OtherProtocol) {
            m_actions.refused(argument);
            return;
        }
        QString target;
        if (!resolve(argument, &target))
            return;  // the switches wait for the rest of the path
        run(target);
        m_switches = Switches();
    }

    void finish()
    {
        if (!m_pending.isEmpty())
            m_actions.unresolved(m_pending);
        const int entries = m_actions.fileSelectorCount();
        if (entries == 1) {
            m_actions.clearFileSelector();
            m_actions.showEntryReport(0);
        } else if (entries >= 2) {
            m_actions.showEntryReport(0);
        }
    }

private:
    // A file that exists is a file, whatever its name begins with.
    DocumentKind kind(const QString &argument) const
    {
        return classifyDocument(argument, m_actions.fileExists(argument));
    }

    // The target of a document argument: a web address as it is, an existing
    // file, or the pending pieces of a path once they name one.
    bool resolve(const QString &argument, QString *target)
    {
        if (kind(argument) == DocumentKind::Http) {
            *target = argument;
            return true;
        }
        const QString path = existingPath(argument);
        if (!path.isEmpty()) {
            *target = path;
            return true;
        }
        if (!m_pending.isEmpty())
            m_pending += u' ';
        m_pending += argument;
        const QString joined = existingPath(m_pending);
        if (joined.isEmpty())
            return false;
        m_pending.clear();
        *target = joined;
        return true;
    }

    QString existingPath(const QString &argument) const
    {
        for (const QString &path : fileUrlPathCandidates(argument))
            if (m_actions.fileExists(path))
                return path;
        return {};
    }

    void run(const QString &target)
    {
        using A = CommandLineActions;
        const Switches &s = m_switches;
        const bool local = kind(target) == DocumentKind::Local;
        const bool separate = s.uploads() > 1;
        if (s.w3c) {
            if (local)
                m_actions.presetUploadOptions(target, true, false);
            m_actions.sendToValidator(A::MarkupValidator, target, false);
        }
        if (s.cssu) {
            if (local)
                m_actions.presetUploadOptions(target, true, true);
            m_actions.sendToValidator(A::CssValidator, target, separate);
        }
        if (s.lint)
            m_actions.sendToValidator(A::HtmlLint, target, separate);
        if (s.wdg) {
            if (local)
                m_actions.presetUploadOptions(target, true, false);
            m_actions.sendToValidator(A::WdgValidator, target, separate);
        }
        if (s.ie)
            browserRun(target, kInternetExplorer);
        if (s.op)
            browserRun(target, kOpera);
        if (s.css)
            m_actions.checkCss(target);
        if (s.link)
            m_actions.checkLinks(target);
        if (s.tidy || s.none())
            entryRun(target);
    }

    void browserRun(const QString &target, int browser)
    {
        if (m_actions.showsInBrowser())
            m_actions.tidyInBrowser(target, browser);
        else
            entryRun(target);
    }

    // Only entries that started are numbered, so selector entry N and the
    // working files numbered N always belong to the same document.
    void entryRun(const QString &target)
    {
        if (!m_selectorCleared) {
            m_actions.clearFileSelector();
            m_selectorCleared = true;
        }
        if (m_actions.tidyEntry(target, m_entry))
            ++m_entry;
    }

    CommandLineActions &m_actions;
    Switches m_switches;
    QString m_pending;
    int m_entry = 0;
    bool m_selectorCleared = false;
};

}  // namespace

void processCommandLine(const QStringList &arguments, CommandLineActions &actions)
{
    Interpreter interpreter(actions);
    for (const QString &argument : arguments)
        interpreter.argument(argument);
    interpreter.finish();
}

bool isCommandLineSwitch(const QString &argument)
{
    return switchForm(argument) && Switches().apply(argument);
}

QStringList absoluteDocuments(const QStringList &arguments, const QString &folder,
                              bool onlyDocuments)
{
    const QDir base(folder);
    auto isFile = [&base](const QString &name) {
        return QFileInfo(base.absoluteFilePath(name)).isFile();
    };
    auto keptAsItIs = [&](const QString &argument) {
        return argument.isEmpty() || (!onlyDocuments && switchForm(argument)) ||
               startsWithCaseBlind(argument, QStringLiteral("file:")) ||
               (!isFile(argument) && looksLikeAddress(argument));
    };
    QStringList out;
    out.reserve(arguments.size());
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (keptAsItIs(argument)) {
            out << argument;
            continue;
        }
        // A path, perhaps in pieces that a caller passed unquoted: joined
        // here, since only here are the later pieces known to belong to it.
        QString path = argument;
        if (!isFile(path)) {
            QString joined = argument;
            for (qsizetype k = i + 1; k < arguments.size(); ++k) {
                if (!onlyDocuments && switchForm(arguments.at(k)))
                    break;
                joined += u' ' + arguments.at(k);
                if (isFile(joined)) {
                    path = joined;
                    i = k;
                    break;
                }
            }
        }
        out << (QDir::isAbsolutePath(path) ? path : QDir::cleanPath(base.absoluteFilePath(path)));
    }
    return out;
}
