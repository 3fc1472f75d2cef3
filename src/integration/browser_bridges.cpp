#include "integration/browser_bridges.h"

#include <QFile>
#include <QUrl>

#include "integration/devtools_endpoint.h"
#include "integration/firefox_profile.h"
#include "integration/firefox_session.h"
#include "platform/ini_file.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"

namespace {

const QString kSection = QStringLiteral("Browser");

struct Target {
    enum class Family { Chromium, Firefox };
    Family family = Family::Firefox;
    int port = 0;             // Chromium
    QString program;          // Firefox
    QString profile;          // Firefox: empty when none is found
    bool profileSet = false;  // the profile was chosen in the settings
};

Target targetOf(int browserIndex)
{
    const IniFile ini(ProgramFolder::iniPath());
    Target target;
    switch (browserIndex) {
    case 0:
        target.family = Target::Family::Chromium;
        target.port = ini.readInt(kSection, QStringLiteral("ChromiumPort"), 9222);
        return target;
    case 2:
        target.family = Target::Family::Chromium;
        target.port = ini.readInt(kSection, QStringLiteral("OperaPort"), 9223);
        return target;
    case 3:
        target.program = QStringLiteral("firefox-esr");
        target.profile = ini.readString(kSection, QStringLiteral("FirefoxEsrProfile"), QString());
        break;
    default:
        target.program = QStringLiteral("firefox");
        target.profile = ini.readString(kSection, QStringLiteral("FirefoxProfile"), QString());
        break;
    }
    target.profileSet = !target.profile.isEmpty();
    if (!target.profileSet)
        target.profile = FirefoxProfile::findDefaultProfile();
    return target;
}

BrowserBridge::Page firefoxPage(const QString &profile)
{
    using Status = BrowserBridge::Page::Status;
    if (!FirefoxProfile::isInUse(profile))
        return {Status::NotRunning, {}};
    QFile store(FirefoxProfile::sessionStorePath(profile));
    if (!store.open(QIODevice::ReadOnly))
        return {Status::Unreachable, {}};
    // A store larger than any that decodes within the cap is not read at all.
    if (store.size() > 2 * FirefoxSession::kDecodedCap)
        return {Status::NoAddress, {}};
    return FirefoxSession::pageOfStore(store.read(2 * FirefoxSession::kDecodedCap));
}

}  // namespace

BrowserBridge::Page DesktopBrowserBridge::currentPage(int browserIndex)
{
    const Target target = targetOf(browserIndex);
    if (target.family == Target::Family::Chromium)
        return DevToolsEndpoint(target.port).currentPage();
    return firefoxPage(target.profile);
}

bool DesktopBrowserBridge::openFile(int browserIndex, const QString &path)
{
    const Target target = targetOf(browserIndex);
    if (target.family == Target::Family::Chromium)
        return DevToolsEndpoint(target.port).openFile(path);
    QStringList arguments;
    if (target.profileSet)
        arguments << QStringLiteral("--profile") << target.profile;
    arguments << QStringLiteral("--new-tab")
              << QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    return m_runner.startDetached(target.program, arguments);
}
