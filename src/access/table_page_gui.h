#pragma once

#include <functional>

#include "access/table_action.h"

class QLabel;
class QPushButton;

// The table page's widgets for the table action: the buttons step through
// the tables, the label shows the position, the browser the saved page.
class TablePageWidgets : public TablePage {
public:
    // `showFile` loads a file into the page's browser (WB1).
    TablePageWidgets(QPushButton *previous, QPushButton *next, QLabel *position,
                     std::function<void(const QString &path)> showFile);
    // Connects the buttons to the action's stepping.
    void connectTo(TableAction &action);

    void setTableButtons(bool previousEnabled, bool nextEnabled) override;
    void setTablePosition(const QString &text) override;
    void showTableFile(const QString &path) override;

private:
    QPushButton *m_previous;
    QPushButton *m_next;
    QLabel *m_position;
    std::function<void(const QString &path)> m_showFile;
};
