#pragma once

#include <QAbstractTableModel>
#include <QVector>

#include "tidy/report_parser.h"

// The text of a result list as it is saved and copied: one line per row, each
// followed by lineEnd. A row with a line number reads
// "行 <line> 位置<column> - <description>" (the column part only when there is
// a column); a row without one is just its description.
QString reportResultText(const QVector<ReportRow> &rows, const QString &lineEnd);

// The rows of the Tidy result list: line, column and message, plus the kind
// of each row for the window to pick an icon from.
class ReportListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { LineColumn = 0, ColumnColumn = 1, DescriptionColumn = 2, ColumnCount = 3 };
    // The row's ReportKind as int: -1 for no icon, else the icon index.
    static constexpr int KindRole = Qt::UserRole + 1;

    explicit ReportListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Replaces every row in one reset, so a long report costs one repaint.
    void setRows(QVector<ReportRow> rows);
    void clear();
    // The list becomes this one message: no line, no column, no icon.
    void showMessageRow(const QString &text);
    // Whether the list is such a message rather than a report.
    bool holdsMessage() const { return m_message; }

    const QVector<ReportRow> &rows() const { return m_rows; }
    // The save/copy text, lines ending in CR LF; empty for an empty list.
    QString resultText() const;

private:
    QVector<ReportRow> m_rows;
    bool m_message = false;
};
