// The upload actions and the URL dialog's checks of the main window.
#include "app/url_checks.h"

#include <algorithm>

#include "app/main_actions.h"
#include "core/view.h"

namespace {

const char *const kUploadFilters[] = {
    "HTMLファイル(*.html;*.htm)|*.html;*.htm|テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*",
    "CSSファイル(*.css)|*.css|テキストファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*",
};

bool startsWithCi(const QString &text, const char *prefix)
{
    return text.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
}

// A pasted line break (or any other control character) would reach the
// checks as typed and split the history's line in two.
bool holdsControlCharacter(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    });
}

}  // namespace

QString urlDialogRefusal(const QString &text, bool anyCheckTicked)
{
    if (text.isEmpty() || text.toLower() == QLatin1String("http://"))
        return QStringLiteral("URLを指定してください。");
    if (!startsWithCi(text, "http"))
        return QStringLiteral("HTTP以外のプロトコルには対応していません。");
    if (holdsControlCharacter(text))
        return QStringLiteral("URLに改行などの制御文字が含まれています。1行のURLを指定してください。");
    if (!anyCheckTicked)
        return QStringLiteral("実行したいチェックを選択してください。");
    return QString();
}

void MainActions::uploadFileAction(int service)
{
    const QString filter = QString::fromUtf8(kUploadFilters[service == 3 ? 1 : 0]);
    const QString file = m_view.chooseOpenFile(m_folders.startDir(), filter);
    if (file.isEmpty())
        return;
    m_folders.remember(file);
    m_upload.sendToValidator(file, service, false);
}

void MainActions::runUrlChecks(const QString &url, const QVector<bool> &ticked)
{
    if (startsWithCi(url, "ftp") || startsWithCi(url, "wais") || startsWithCi(url, "gopher")) {
        m_view.notice(QStringLiteral("HTTP以外のプロトコルには対応していません。"));
        return;
    }
    const auto count = std::count(ticked.begin(), ticked.end(), true);
    auto on = [&ticked](int box) { return ticked.value(box - 1); };
    ++m_depth;  // command lines handed over meanwhile wait
    m_view.setEnabled(Control::ToolBar1, false);
    if (on(1)) {
        m_view.setEnabled(Control::Button1, false);
        clearFileSelector();
        if (tidyEntry(url, 0))
            runAction([&] { m_batch.showEntryReport(0); });
        m_view.setEnabled(Control::Button1, true);
        m_view.setEnabled(Control::ToolBar1, false);  // the Tidy run enabled it again
    }
    if (on(2))
        checkCss(url);
    if (on(3))
        checkLinks(url);
    if (on(4))
        m_upload.sendToValidator(url, 0, false);
    for (int service = 1; service <= 3; ++service)
        if (on(4 + service))
            m_upload.sendToValidator(url, service, count > 1);
    m_view.setEnabled(Control::ToolBar1, true);
    --m_depth;
    if (m_depth == 0)
        drainPending();
}
