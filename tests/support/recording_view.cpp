#include "support/recording_view.h"

void RecordingView::showStatus(const QString &text, bool clearLater)
{
    lastStatus = text;
    lastStatusClears = clearLater;
    events << QStringLiteral("status: ") + text;
    if (onStatus)
        onStatus(text);
}

void RecordingView::notice(const QString &text)
{
    notices << text;
    events << QStringLiteral("notice: ") + text;
}

bool RecordingView::ask(const QString &text)
{
    questions << text;
    events << QStringLiteral("ask: ") + text;
    return !answers.isEmpty() && answers.takeFirst();
}

void RecordingView::showError(const QString &text)
{
    errors << text;
    events << QStringLiteral("error: ") + text;
}

void RecordingView::setEnabled(Control control, bool on) { enabled[control] = on; }
void RecordingView::setBusy(bool b) { busy = b; }
void RecordingView::showProgress(int done, int total) { progress << QStringLiteral("%1/%2").arg(done).arg(total); }

void RecordingView::showPage(int index)
{
    page = index;
    events << QStringLiteral("page: %1").arg(index);
}

void RecordingView::bringToFront()
{
    ++broughtToFront;
    events << QStringLiteral("front");
}

void RecordingView::setClipboardText(const QString &text)
{
    clipboard = text;
    events << QStringLiteral("clipboard");
}

void RecordingView::selectFileEntry(int index)
{
    events << QStringLiteral("select: %1").arg(index);
}

QString RecordingView::chooseOpenFile(const QString &startDir, const QString &filter)
{
    lastOpenStartDir = startDir;
    lastFilter = filter;
    return openFileAnswer;
}

QString RecordingView::chooseSaveFile(const QString &startDir, const QString &filter, const QString &)
{
    lastOpenStartDir = startDir;
    lastFilter = filter;
    return saveFileAnswer;
}

QString RecordingView::chooseFolder(const QString &)
{
    return folderAnswer;
}
