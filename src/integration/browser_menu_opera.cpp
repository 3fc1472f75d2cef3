#include "integration/browser_menu_opera.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "integration/menu_entry_prompts.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"

namespace OperaMenu {

namespace {

const QString kSection = QStringLiteral("Document Popup Menu");
const QString kKey = QStringLiteral("Item, Velmarin");
const QString kOpera = QStringLiteral("Opera");
const QString kMenuFileMissing =
    QStringLiteral("設定に必要なファイル「standard_menu.ini」がありません。\n"
                   "他の場所にある場合は指定してください。");
const QString kMenuFileFilter = QStringLiteral("standard_menu.ini (standard_menu.ini)");

// More than any version text; a program that prints on is not Opera.
constexpr qint64 kOutputLimit = 64 * 1024;
constexpr int kVersionWaitMs = 10000;

IniFile settingsFile()
{
    return IniFile(ProgramFolder::iniPath());
}

// Delphi's StrToInt on decimal text: optional sign, digits, nothing else.
bool parseInteger(const QString &text, int *out)
{
    static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
    if (!integer.match(text).hasMatch()) return false;
    bool ok = false;
    *out = text.toInt(&ok, 10);
    return ok;
}

const QString kOperaFilter = QStringLiteral("Opera (opera opera.exe Opera.exe)");

// The Opera executable: the one used before, else `opera` on the search
// path (where the desktop keeps what Windows registers under App Paths),
// else the user's choice. A link on the path is followed to the program,
// beside which its defaults/ folder lies.
QString findOpera(MenuEntryPrompts &prompts)
{
    const QString remembered = settingsFile().readString(kOpera, QStringLiteral("Path"), QString());
    if (!remembered.isEmpty() && QFileInfo(remembered).isFile()) return remembered;
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("opera"));
    if (!onPath.isEmpty()) {
        const QString program = QFileInfo(onPath).canonicalFilePath();
        return program.isEmpty() ? onPath : program;
    }
    prompts.notice(QStringLiteral("Opera.exeを見つけることができませんでした。場所を指定してください。"));
    return prompts.chooseFile(kOperaFilter);
}

// An Opera whose version allows the entry: each refusal is shown and
// another Opera may be chosen, until one is accepted or the user cancels.
QString acceptedOpera(MenuEntryPrompts &prompts)
{
    QString opera = findOpera(prompts);
    while (!opera.isEmpty()) {
        const QString problem = versionProblem(productVersion(opera));
        if (problem.isEmpty()) return opera;
        prompts.notice(problem);
        opera = prompts.chooseFile(kOperaFilter);
    }
    return QString();
}

}  // namespace

QString entryValue(const QString &programPath)
{
    return QStringLiteral("Execute program, \"%1\", \"/op %u\"").arg(programPath);
}

QString menuFileBeside(const QString &operaPath)
{
    return QFileInfo(operaPath).absolutePath() + QStringLiteral("/defaults/standard_menu.ini");
}

QString productVersion(const QString &executable)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(executable, {QStringLiteral("--version")}, QIODevice::ReadOnly);
    if (!process.waitForStarted()) return QString();
    process.closeWriteChannel();
    QByteArray output;
    while (output.size() < kOutputLimit && process.state() != QProcess::NotRunning) {
        if (!process.waitForReadyRead(kVersionWaitMs)) break;
        output += process.read(kOutputLimit - output.size());
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    if (output.size() < kOutputLimit) output += process.read(kOutputLimit - output.size());
    if (process.exitStatus() == QProcess::CrashExit && output.isEmpty()) return QString();
    return versionFromOutput(output);
}

QString versionFromOutput(const QByteArray &output)
{
    static const QRegularExpression number(QStringLiteral("[0-9]+(?:\\.[0-9]+)*"));
    const QRegularExpressionMatch m =
        number.match(QString::fromLatin1(output.left(kOutputLimit)));
    return m.hasMatch() ? m.captured() : QStringLiteral("UnKnown");
}

QString versionProblem(const QString &version)
{
    if (version == QLatin1String("UnKnown"))
        return QStringLiteral("Operaのバージョン取得に失敗しました。もう一度組み込みを行ってみてください。");
    const qsizetype dot = version.indexOf(u'.');
    const QString major = dot < 0 ? QString() : version.left(dot);
    int number = 0;
    if (!parseInteger(major, &number))
        return QStringLiteral("'%1' is not a valid integer value").arg(major);
    if (number < 7)
        return QStringLiteral("組み込むにはOpera7以上が必要です。Opera Ver: ") + version;
    return QString();
}

bool isRunning(const QString &executable)
{
    const QString target = QFileInfo(executable).canonicalFilePath();
    if (target.isEmpty()) return false;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &pid : pids) {
        if (pid.isEmpty() || !pid.at(0).isDigit()) continue;
        const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
        if (exe == target) return true;
    }
    return false;
}

QString rememberedMenuFile()
{
    return settingsFile().readString(kOpera, QStringLiteral("OptionFile"), QString());
}

std::optional<MenuButtonStates> add(MenuEntryPrompts &prompts, const QString &programPath)
{
    // Only an accepted Opera is remembered: a refused one would be tried
    // again at every addition.
    const QString opera = acceptedOpera(prompts);
    if (opera.isEmpty()) return std::nullopt;

    IniFile settings = settingsFile();
    if (!settings.writeString(kOpera, QStringLiteral("Path"), opera)) {
        prompts.notice(settings.errorString());
        return std::nullopt;
    }
    QString menuFile = menuFileBeside(opera);
    if (!QFileInfo(menuFile).isFile()) {
        prompts.notice(kMenuFileMissing);
        menuFile = prompts.chooseFile(kMenuFileFilter);
        if (menuFile.isEmpty()) return std::nullopt;
    }
    if (!QFileInfo(menuFile).isFile()) return std::nullopt;

    IniFile menu(menuFile);
    if (!menu.writeString(kSection, kKey, entryValue(programPath))) {
        prompts.notice(menu.errorString());
        return std::nullopt;
    }
    if (!settings.writeString(kOpera, QStringLiteral("OptionFile"), menuFile))
        prompts.notice(settings.errorString());

    if (isRunning(opera))
        prompts.notice(QStringLiteral(
            "Operaが起動しているので、組み込みを有効にするために一度Operaを再起動してください。"));
    else
        prompts.notice(QStringLiteral("Operaの右クリックメニューに組みこみました。"));
    return MenuButtonStates::present();
}

std::optional<MenuButtonStates> remove(MenuEntryPrompts &prompts)
{
    IniFile settings = settingsFile();
    QString menuFile = rememberedMenuFile();
    const QString opera = settings.readString(kOpera, QStringLiteral("Path"), QString());
    if (menuFile.isEmpty() && !opera.isEmpty()) menuFile = menuFileBeside(opera);
    if (menuFile.isEmpty()) {
        prompts.notice(kMenuFileMissing);
        menuFile = prompts.chooseFile(kMenuFileFilter);
        if (menuFile.isEmpty()) return std::nullopt;
        if (!settings.writeString(kOpera, QStringLiteral("OptionFile"), menuFile))
            prompts.notice(settings.errorString());
    }
    if (!QFileInfo(menuFile).isFile()) return std::nullopt;

    IniFile menu(menuFile);
    if (!menu.removeKey(kSection, kKey)) {
        prompts.notice(menu.errorString());
        return std::nullopt;
    }
    prompts.notice(QStringLiteral("組み込みを解除しました。"));
    return MenuButtonStates::absent();
}

}  // namespace OperaMenu
