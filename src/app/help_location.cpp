#include "app/help_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "platform/program_folder.h"

namespace HelpLocation {

namespace {

QString firstFile(const QStringList &candidates)
{
    for (const QString &path : candidates) {
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path);
    }
    return QString();
}

}  // namespace

QString chmFile()
{
    const QString name = QStringLiteral("Velmarin.chm");
    return firstFile({QCoreApplication::applicationDirPath() + u'/' + name,
                      ProgramFolder::file(name)});
}

QString manualIndex()
{
    const QString index = QStringLiteral("/index.html");
    const QString here = QCoreApplication::applicationDirPath() + u'/';
    QStringList candidates{here + QStringLiteral("help") + index,
                           ProgramFolder::file(QStringLiteral("help")) + index};
#ifdef VELMARIN_HELP_INSTALL_DIR
    candidates << here + QStringLiteral(VELMARIN_HELP_INSTALL_DIR) + index;
#endif
#ifdef VELMARIN_HELP_SOURCE_DIR
    candidates << QStringLiteral(VELMARIN_HELP_SOURCE_DIR) + index;
#endif
    return firstFile(candidates);
}

}  // namespace HelpLocation
