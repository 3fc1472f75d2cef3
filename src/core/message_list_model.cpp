#include "message_list_model.h"

MessageListModel::MessageListModel(const QString &firstCaption, const QString &secondCaption,
                                   QObject *parent)
    : QAbstractTableModel(parent), m_captions{firstCaption, secondCaption}
{
}

int MessageListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int MessageListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant MessageListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || role != Qt::DisplayRole)
        return {};
    const Row &row = m_rows.at(index.row());
    return index.column() == 0 ? row.first : row.second;
}

QVariant MessageListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 1)
        return {};
    return m_captions[section];
}

void MessageListModel::setRows(QVector<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_message = false;
    endResetModel();
}

void MessageListModel::appendRow(const Row &row)
{
    const int at = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), at, at);
    m_message = false;
    m_rows.append(row);
    endInsertRows();
}

void MessageListModel::setSecond(int row, const QString &text)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row].second = text;
    const QModelIndex cell = index(row, 1);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
}

void MessageListModel::clear()
{
    setRows({});
}

void MessageListModel::showMessageRow(const QString &text)
{
    setRows({Row{QString(), text}});
    m_message = true;
}

QString MessageListModel::cssResultText() const
{
    QString text;
    for (const Row &row : m_rows) {
        if (!row.first.isEmpty())
            text += QStringLiteral("行番号: ") + row.first + row.second;
        else
            text += row.second;
        text += QStringLiteral("\r\n");
    }
    return text;
}
