#include "css_check.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QScopeGuard>
#include <algorithm>

#include "core/folder_memory.h"
#include "core/view.h"
#include "platform/atomic_file.h"
#include "platform/process_runner.h"
#include "platform/program_folder.h"
#include "platform/text_codec.h"
#include "tidy/tidy_run.h"

const QString CssCheck::kValidatorClass = QStringLiteral("org.w3c.css.css.StyleSheetCom");
const QString CssCheck::kCurrentJarClass = QStringLiteral("org.w3c.css.css.CssValidator");
const QString CssCheck::kJarName = QStringLiteral("css-validator.jar");

namespace {

const QString kMissing = QStringLiteral("指定されたファイルが見つかりません。");
const QString kFilter = QStringLiteral(
    "CSSファイル (*.css)|*.css|テキストファイル (*.txt)|*.txt|全てのファイル|*.*");

// The class path: the jar in the program folder ahead of the user's own.
QStringList classPathArguments()
{
    const QString jar = ProgramFolder::file(CssCheck::kJarName);
    if (!QFileInfo(jar).isFile())
        return {};
    QString path = jar;
    const QString user = QProcessEnvironment::systemEnvironment().value(QStringLiteral("CLASSPATH"));
    if (!user.isEmpty())
        path += u':' + user;
    return {QStringLiteral("-cp"), path};
}

// Java's own complaint when the class is not on the class path.
bool classWasMissing(const QString &className)
{
    if (QFileInfo(CssCheck::outPath()).size() > 0)
        return false;
    const QString err = TextCodec::decode(readWholeFile(CssCheck::errPath()));
    return err.contains(className) &&
           (err.contains(QLatin1String("Could not find or load main class")) ||
            err.contains(QLatin1String("ClassNotFoundException")));
}

// Where the validator was looked for and what to put there, in place of
// Java's own English lines.
QString noValidatorText()
{
    const QString user = QProcessEnvironment::systemEnvironment().value(QStringLiteral("CLASSPATH"));
    return QStringLiteral("CSSバリデータが見つかりませんでした。探した場所: プログラムフォルダの%1、"
                          "環境変数CLASSPATH(%2)。CSSバリデータのjarファイルを「%1」として"
                          "置いてください。")
        .arg(ProgramFolder::file(CssCheck::kJarName),
             user.isEmpty() ? QStringLiteral("設定なし") : user);
}

QStringList fileLines(const QString &path)
{
    return TextCodec::splitLines(TextCodec::decode(readWholeFile(path)));
}

}  // namespace

CssCheck::CssCheck(View &view, MessageListModel &list, ProcessRunner &runner,
                   FolderMemory &folders)
    : m_view(view), m_list(list), m_runner(runner), m_folders(folders)
{
}

QString CssCheck::outPath() { return ProgramFolder::workDir() + QStringLiteral("css_out.txt"); }
QString CssCheck::errPath() { return ProgramFolder::workDir() + QStringLiteral("css_err.txt"); }

void CssCheck::cssExecute()
{
    const QString file = m_view.chooseOpenFile(m_folders.startDir(), kFilter);
    if (file.isEmpty())
        return;
    m_folders.remember(file);
    check(file, false);
}

void CssCheck::fileDrop(const QStringList &files)
{
    if (!files.isEmpty())
        check(files.first(), false);
}

void CssCheck::checkCssTarget(const QString &target)
{
    m_lastChecked = false;
    switch (classifyDocument(target)) {
    case DocumentKind::Local:
        if (!QFileInfo::exists(target)) {
            m_view.showPage(1);
            m_list.showMessageRow(kMissing + target);
            return;
        }
        m_folders.remember(target);
        check(target, false);
        return;
    case DocumentKind::Http:
        check(target, true);
        return;
    case DocumentKind::OtherProtocol:
        m_view.showPage(1);
        m_list.showMessageRow(QStringLiteral("HTTP以外のプロトコルには対応していません。\r\n") +
                              target);
        return;
    }
}

void CssCheck::check(const QString &target, bool isUrl)
{
    m_view.setEnabled(Control::ToolBar1, false);
    m_view.setEnabled(Control::Button2, false);
    const auto enableAtEnd = qScopeGuard([this] {
        m_view.showPage(1);
        m_view.setEnabled(Control::ToolBar1, true);
        m_view.setEnabled(Control::Button2, true);
    });
    if (runCssValidator(target, isUrl))
        loadCssReport();
}

bool CssCheck::runCssValidator(const QString &target, bool isUrl)
{
    m_view.bringToFront();
    m_view.setBusy(true);
    const auto idleAtEnd = qScopeGuard([this] { m_view.setBusy(false); });
    m_lastChecked = false;

    if (!isUrl && !QFileInfo::exists(target)) {
        m_list.showMessageRow(kMissing);
        return false;
    }
    TidyRun::deleteWorkFiles(QStringLiteral("css_*.txt"));

    // Today's jars name the command-line class differently; the same
    // argument works with both.
    const QStringList classPath = classPathArguments();
    bool found = false;
    for (const QString &className : {kValidatorClass, kCurrentJarClass}) {
        const QStringList arguments = classPath + QStringList{className, target};
        const ProcessRunner::Result result =
            m_runner.runToFiles(QStringLiteral("java"), arguments, outPath(), errPath());
        if (!result.started)
            throw FunctionFailure{
                QStringLiteral("java ") + className + QStringLiteral(" \"") + target + u'"',
                result.errorText};
        if (!classWasMissing(className)) {
            found = true;
            m_lastChecked = !result.crashed &&
                            (result.exitCode == 0 || QFileInfo(outPath()).size() > 0);
            break;
        }
    }
    if (!found) {
        m_list.showMessageRow(noValidatorText());
        return false;
    }
    return true;
}

namespace {

// The number of bytes a character takes in the line's Shift_JIS form; one
// without a CP932 form counts as the "?" per UTF-16 unit that the conversion
// writes in its place.
int cp932Width(QStringView character)
{
    if (character.size() == 1 && character.front().unicode() < 0x80)
        return 1;
    QByteArray bytes;
    TextCodec::toCp932(character.toString(), &bytes);
    return int(bytes.size());
}

}  // namespace

MessageListModel::Row CssCheck::reportRow(const QString &line)
{
    if (!line.startsWith(QStringLiteral("行番号")))
        return {QString(), line};
    // The positions come from the line's Shift_JIS bytes, as the validator's
    // layout counts them, but the cells are cut from the line itself, so no
    // character becomes "?" and none is cut in half: a character belongs to
    // the cell in which its first byte lies.
    //
    // Byte positions are counted from 1: p is the first space at or after
    // byte 8, q the first one after p. Column 1 is bytes 8 to p + 2 (p - 5
    // bytes), column 2 runs from q to the end. Only the beginning of the line
    // up to there is measured.
    QVector<qsizetype> firstByte;  // per character measured: its first byte, from 1
    QVector<qsizetype> index;      // per character measured: its index in line
    qsizetype p = 0;
    qsizetype q = 0;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < line.size();) {
        if (q > 0 && firstByte.last() > p + 2)
            break;
        const bool pair = line.at(i).isHighSurrogate() && i + 1 < line.size() &&
                          line.at(i + 1).isLowSurrogate();
        const QStringView character = QStringView(line).mid(i, pair ? 2 : 1);
        firstByte.append(bytes + 1);
        index.append(i);
        if (character == u" " && p == 0 && bytes + 1 >= 8)
            p = bytes + 1;
        else if (character == u" " && p > 0 && q == 0)
            q = bytes + 1;
        bytes += cp932Width(character);
        i += character.size();
    }
    if (p == 0)
        return {QString(), line};

    // The index in line of the first character that begins at or after byte.
    const auto at = [&](qsizetype byte) {
        const auto it = std::lower_bound(firstByte.cbegin(), firstByte.cend(), byte);
        return it == firstByte.cend() ? line.size() : index.at(it - firstByte.cbegin());
    };
    const qsizetype numberStart = at(8);
    const QString number = line.mid(numberStart, at(p + 3) - numberStart);
    const QString rest = q > 0 ? line.mid(at(q)) : QString();
    return {number, rest};
}

void CssCheck::loadCssReport()
{
    const QFileInfo out(outPath());
    if (!out.exists()) {
        m_view.showStatus(QStringLiteral("出力はありませんでした。"), true);
        return;
    }
    if (out.size() == 0) {
        if (QFileInfo(errPath()).size() > 0) {
            QVector<MessageListModel::Row> rows;
            for (const QString &line : fileLines(errPath()))
                rows.append({QString(), line});
            m_list.setRows(rows);
        }
    } else {
        QVector<MessageListModel::Row> rows;
        for (const QString &line : fileLines(outPath()))
            rows.append(reportRow(line));
        m_list.setRows(rows);
    }
    m_view.showStatus(QStringLiteral("CSSチェックが終了しました。"), true);
}
