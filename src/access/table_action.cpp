#include "access/table_action.h"

#include "core/folder_memory.h"
#include "core/view.h"
#include "platform/atomic_file.h"
#include "platform/program_folder.h"

namespace {

const QString kNoTables = QStringLiteral("HTML中にテーブルがありませんでした");
constexpr int kTablePageIndex = 4;

}  // namespace

TableAction::TableAction(View &view, FolderMemory &folders, TablePage &page)
    : m_view(view), m_folders(folders), m_page(page)
{
}

void TableAction::run()
{
    m_view.showPage(kTablePageIndex);
    const QString file = m_view.chooseOpenFile(
        m_folders.startDir(), QStringLiteral("HTMLファイル (*.htm;*.html)|*.htm;*.html"));
    if (file.isEmpty()) return;
    m_folders.remember(file);
    open(file);
}

void TableAction::open(const QString &file)
{
    m_shown = 0;
    QString error;
    if (!linearizeFile(file, &m_tables, &error)) {
        m_view.showError(error);
        return;
    }
    if (m_tables.isEmpty()) {
        m_page.setTableButtons(false, false);
        m_view.notice(kNoTables);
        return;
    }
    m_page.setTableButtons(false, m_tables.size() > 1);
    show(0);
}

void TableAction::step(int delta)
{
    const int index = m_shown + delta;
    if (index < 0 || index >= m_tables.size()) return;
    m_shown = index;
    m_page.setTableButtons(m_shown > 0, m_shown < m_tables.size() - 1);
    show(m_shown);
}

void TableAction::show(int index)
{
    if (m_tables.isEmpty()) {
        m_page.setTableButtons(false, false);
        m_view.notice(kNoTables);
        return;
    }
    const QString path = ProgramFolder::file(kTablePageName);
    QString error;
    if (!writeFileAtomically(path, tablePageBytes(m_tables.at(index).html), &error)) {
        m_view.showError(error);
        return;
    }
    m_page.showTableFile(path);
    m_page.setTablePosition(QStringLiteral("%1/%2").arg(index + 1).arg(m_tables.size()));
}
