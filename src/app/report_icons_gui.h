#pragma once

#include <QIcon>
#include <QIdentityProxyModel>

// Puts the icon of each row's kind (warning, error, information,
// accessibility) into the first column of the Tidy result list.
class ReportIconsModel : public QIdentityProxyModel {
    Q_OBJECT
public:
    explicit ReportIconsModel(QObject *parent = nullptr);
    QVariant data(const QModelIndex &index, int role) const override;

    static QIcon kindIcon(int kind);
};
