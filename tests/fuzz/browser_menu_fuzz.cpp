// Arbitrary bytes as a browser's --version output, the Exec line of a desktop
// entry and a stored registry number; a program path written reads back.

#include "fuzz_target.h"
#include "integration/browser_menu_opera.h"
#include "integration/desktop_entry.h"
#include "platform/registry_store.h"
#include "platform/text_codec.h"

void fuzzBytes(const QByteArray &bytes)
{
    const QString version = OperaMenu::versionFromOutput(bytes);
    check(!version.isEmpty());
    OperaMenu::versionProblem(version);
    OperaMenu::versionProblem(QString::fromLatin1(bytes));

    const QString text = TextCodec::decode(bytes);
    DesktopEntry::execProgram(text);
    QString path = text;
    path.remove(QChar(0));
    if (!path.isEmpty()) check(DesktopEntry::execProgram(DesktopEntry::text(path)) == path);

    quint32 number = 0;
    if (RegistryStore::parseDword(text, &number))
        check(
            RegistryStore::dwordValue(QString(), number).text.compare(text, Qt::CaseInsensitive) ==
                0 ||
            text.size() < 14);
}
