#include "cli/console_view.h"

#include <cstdio>

void printError(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

void printOut(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

void ConsoleView::showStatus(const QString &text, bool)
{
    if (!text.isEmpty())
        printError(text);
}

void ConsoleView::notice(const QString &text) { printError(text); }

bool ConsoleView::ask(const QString &text)
{
    printError(text + QStringLiteral(" → いいえ"));
    return false;
}

void ConsoleView::showError(const QString &text)
{
    ++m_errors;
    printError(QStringLiteral("エラー: ") + text);
}
