#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

// A two-column result list (the CSS list: line number and message; the link
// list: link target and state). Rows are plain text pairs.
class MessageListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        QString first;
        QString second;
    };

    MessageListModel(const QString &firstCaption, const QString &secondCaption,
                     QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void setRows(QVector<Row> rows);
    void appendRow(const Row &row);
    // Replaces the second column of one row; a row out of range is ignored.
    void setSecond(int row, const QString &text);
    void clear();
    // The list becomes one row with the text in its last column.
    void showMessageRow(const QString &text);
    // Whether the list is such a message rather than a report.
    bool holdsMessage() const { return m_message; }
    const QVector<Row> &rows() const { return m_rows; }

    // The saved text of the CSS list: "行番号: " and the line number directly
    // followed by the message, or the message alone; CR LF after each row.
    QString cssResultText() const;

private:
    QString m_captions[2];
    QVector<Row> m_rows;
    bool m_message = false;
};
