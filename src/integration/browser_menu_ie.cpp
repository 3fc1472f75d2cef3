#include "integration/browser_menu_ie.h"

#include "integration/menu_entry_prompts.h"
#include "platform/atomic_file.h"
#include "platform/program_folder.h"
#include "platform/registry_store.h"
#include "platform/text_codec.h"

namespace IeMenu {

namespace {

const QString kOpenFailed = QStringLiteral("レジストリキーのオープンに失敗しました。");

// The page's command is a VBScript string; a path with spaces must reach the
// shell as one word, so it goes inside doubled quotes there.
QString commandPath(const QString &programPath)
{
    if (!programPath.contains(u' ') && !programPath.contains(u'"'))
        return programPath;
    QString escaped = programPath;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return QStringLiteral("\"\"") + escaped + QStringLiteral("\"\"");
}

}  // namespace

QString key()
{
    return QStringLiteral(
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Velmarin");
}

QString scriptPagePath()
{
    return ProgramFolder::file(QStringLiteral("VelmarinExe.html"));
}

QByteArray scriptPage(const QString &programPath)
{
    const QStringList lines{
        QStringLiteral("<script language=\"VBScript\">"),
        QStringLiteral("Dim WSH"),
        QStringLiteral("Set WSH = CreateObject(\"WScript.Shell\")"),
        QStringLiteral("WSH.Run \"") + commandPath(programPath) +
            QStringLiteral(" -ie \" + external.menuArguments.document.Url"),
        QStringLiteral("</script>"),
    };
    return TextCodec::encodeLegacy(TextCodec::joinCrLf(lines));
}

std::optional<MenuButtonStates> add(MenuEntryPrompts &prompts, const QString &programPath)
{
    RegistryStore registry;
    if (!registry.createKey(key())) {
        prompts.notice(kOpenFailed + u'\n' + registry.errorString());
        return std::nullopt;
    }
    if (!registry.setValues(key(), {RegistryStore::stringValue(QString(), scriptPagePath()),
                                    RegistryStore::dwordValue(QStringLiteral("Contexts"), 1),
                                    RegistryStore::dwordValue(QStringLiteral("Flags"), 0)})) {
        prompts.notice(registry.errorString());
        return std::nullopt;
    }
    // The entry is in place even when its page cannot be written; the
    // buttons say so, and the message says what is missing.
    QString error;
    if (!writeFileAtomically(scriptPagePath(), scriptPage(programPath), &error))
        prompts.notice(error);
    return MenuButtonStates::present();
}

std::optional<MenuButtonStates> remove(MenuEntryPrompts &prompts)
{
    RegistryStore registry;
    if (!registry.deleteKey(key())) {
        prompts.notice(kOpenFailed + u'\n' + registry.errorString());
        return std::nullopt;
    }
    return MenuButtonStates::absent();
}

}  // namespace IeMenu
