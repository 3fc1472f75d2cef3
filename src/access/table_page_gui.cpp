#include "access/table_page_gui.h"

#include <QLabel>
#include <QPushButton>

TablePageWidgets::TablePageWidgets(QPushButton *previous, QPushButton *next, QLabel *position,
                                   std::function<void(const QString &path)> showFile)
    : m_previous(previous), m_next(next), m_position(position), m_showFile(std::move(showFile))
{
}

void TablePageWidgets::connectTo(TableAction &action)
{
    QObject::connect(m_previous, &QPushButton::clicked, m_previous, [&action] { action.previous(); });
    QObject::connect(m_next, &QPushButton::clicked, m_next, [&action] { action.next(); });
}

void TablePageWidgets::setTableButtons(bool previousEnabled, bool nextEnabled)
{
    m_previous->setEnabled(previousEnabled);
    m_next->setEnabled(nextEnabled);
}

void TablePageWidgets::setTablePosition(const QString &text)
{
    m_position->setText(text);
}

void TablePageWidgets::showTableFile(const QString &path)
{
    m_showFile(path);
}
