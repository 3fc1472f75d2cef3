#include "report_list_model.h"

QString reportResultText(const QVector<ReportRow> &rows, const QString &lineEnd) {
    QString text;
    for (const ReportRow &row : rows) {
        if (!row.caption.isEmpty()) {
            text += QStringLiteral("行 ") + row.caption;
            if (!row.column.isEmpty())
                text += QStringLiteral(" 位置") + row.column + QStringLiteral(" - ");
        }
        text += row.description + lineEnd;
    }
    return text;
}

ReportListModel::ReportListModel(QObject *parent) : QAbstractTableModel(parent) {}

int ReportListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ReportListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReportListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size()) return {};
    const ReportRow &row = m_rows.at(index.row());
    if (role == KindRole) return static_cast<int>(row.kind);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case LineColumn:
            return row.caption;
        case ColumnColumn:
            return row.column;
        case DescriptionColumn:
            return row.description;
        default:
            return {};
    }
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
        case LineColumn:
            return QStringLiteral("行");
        case ColumnColumn:
            return QStringLiteral("列");
        case DescriptionColumn:
            return QStringLiteral("説明文");
        default:
            return {};
    }
}

void ReportListModel::setRows(QVector<ReportRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    m_message = false;
    endResetModel();
}

void ReportListModel::clear() {
    setRows({});
}

void ReportListModel::showMessageRow(const QString &text) {
    ReportRow row;
    row.description = text;
    setRows({row});
    m_message = true;
}

QString ReportListModel::resultText() const {
    return reportResultText(m_rows, QStringLiteral("\r\n"));
}
