#include "validator_hosts.h"

#include <QUrl>

#include "platform/ini_file.h"
#include "platform/program_folder.h"

namespace ValidatorHosts {

QString defaultHost(int service)
{
    switch (service) {
    case 0:
        return QStringLiteral("http://validator.w3.org");
    case 1:
        return QStringLiteral("http://openlab.ring.gr.jp");
    case 2:
        return QStringLiteral("http://www.htmlhelp.com");
    default:
        return QStringLiteral("http://jigsaw.w3.org");
    }
}

QString section(int service)
{
    static const char *const names[] = {"Markup", "Lint", "WDG", "CSS"};
    return QLatin1String(names[qBound(0, service, kServiceCount - 1)]);
}

QString normalise(const QString &stored)
{
    QString text = stored.trimmed();
    while (text.endsWith(u'/'))
        text.chop(1);
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty() || !url.path().isEmpty() || url.hasQuery() || url.hasFragment() ||
        !url.userInfo().isEmpty())
        return QString();
    return url.toString(QUrl::FullyEncoded);
}

QString host(int service)
{
    const IniFile ini(ProgramFolder::iniPath());
    const QString stored = ini.readString(section(service), QStringLiteral("Host"), QString());
    const QString usable = normalise(stored);
    return usable.isEmpty() ? defaultHost(service) : usable;
}

}  // namespace ValidatorHosts
