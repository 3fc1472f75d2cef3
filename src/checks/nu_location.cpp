#include "nu_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/ini_file.h"
#include "platform/program_folder.h"

namespace NuLocation {

namespace {

const QString kJarName = QStringLiteral("vnu.jar");

QString configuredJar()
{
    QString path = IniFile(ProgramFolder::iniPath())
                       .readString(QStringLiteral("Nu"), QStringLiteral("Path"), QString())
                       .trimmed();
    if (path.isEmpty())
        return path;
    if (QDir::isRelativePath(path))
        path = ProgramFolder::file(path);
    return QDir::cleanPath(path);
}

QString installedJar()
{
#ifdef VELMARIN_SHARE_INSTALL_DIR
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                           QStringLiteral(VELMARIN_SHARE_INSTALL_DIR) + u'/' + kJarName);
#else
    return QString();
#endif
}

}  // namespace

QString jarPath()
{
    for (const QString &candidate :
         {configuredJar(), QDir::cleanPath(ProgramFolder::file(kJarName)), installedJar()}) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isFile())
            return candidate;
    }
    return QString();
}

QString javaPath()
{
    return QStandardPaths::findExecutable(QStringLiteral("java"));
}

QString missingJarMessage()
{
    QString text = QStringLiteral(
        "Nu Html Checker(vnu.jar)が見つかりません。HTML5チェックには vnu.jar が必要です。\n"
        "vnu.jar を次のどこかに置いてください: ");
    const QString configured = configuredJar();
    if (!configured.isEmpty())
        text += QStringLiteral("Velmarin.ini の [Nu] Path に書かれた場所(%1)、").arg(configured);
    else
        text += QStringLiteral("Velmarin.ini の [Nu] Path に書いた場所、");
    text += QStringLiteral("プログラムフォルダ(%1)").arg(QDir::toNativeSeparators(ProgramFolder::path()));
    const QString installed = installedJar();
    if (!installed.isEmpty())
        text += QStringLiteral("、%1").arg(QFileInfo(installed).absolutePath());
    text += QStringLiteral(
        "。\nvnu.jar は「npm install vnu-jar」で node_modules/vnu-jar/build/dist/vnu.jar "
        "に入ります。");
    return text;
}

QString missingJavaMessage()
{
    return QStringLiteral(
        "Java が見つかりません。HTML5チェック(Nu Html Checker)には Java 17 以降の実行環境が"
        "必要です。\njava を PATH の通ったフォルダに置いてください"
        "(Debian では「apt install openjdk-17-jre-headless」で入ります)。");
}

QStringList arguments(const QString &jar, const QStringList &files)
{
    return QStringList{QStringLiteral("-jar"), jar, QStringLiteral("--format"),
                       QStringLiteral("json"), QStringLiteral("--exit-zero-always")} +
           files;
}

}  // namespace NuLocation
