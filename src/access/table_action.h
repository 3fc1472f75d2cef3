#pragma once

#include <QList>
#include <QString>

#include "access/table_linearizer.h"

class FolderMemory;
class View;

// The table view page as the table action sees it: its two buttons, its
// position text and its browser.
class TablePage {
public:
    virtual ~TablePage() = default;
    virtual void setTableButtons(bool previousEnabled, bool nextEnabled) = 0;
    virtual void setTablePosition(const QString &text) = 0;  // "2/5"
    virtual void showTableFile(const QString &path) = 0;
};

// The `Table` action (Ctrl+T) and the stepping through the tables of the
// last file. The list and the shown index live until the next file.
class TableAction {
public:
    TableAction(View &view, FolderMemory &folders, TablePage &page);

    // Shows the table page, asks for an HTML file and shows its first table.
    void run();
    // Linearises the file and shows its first table, or says there is none.
    void open(const QString &file);
    void next() { step(+1); }
    void previous() { step(-1); }

    const QList<TableEntry> &tables() const { return m_tables; }
    int shown() const { return m_shown; }

private:
    void step(int delta);
    void show(int index);

    View &m_view;
    FolderMemory &m_folders;
    TablePage &m_page;
    QList<TableEntry> m_tables;
    int m_shown = 0;
};
