#include "report_icons_gui.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include "tidy/report_list_model.h"

namespace {

// The accessibility icon: a small blue disc with a white figure.
QIcon accessibilityIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1f, 0x5f, 0xbf));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6.5, 2.5, 3, 3));
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 7), QPointF(12, 7));
    p.drawLine(QPointF(8, 7), QPointF(8, 10));
    p.drawLine(QPointF(8, 10), QPointF(5.5, 13.5));
    p.drawLine(QPointF(8, 10), QPointF(10.5, 13.5));
    return QIcon(pixmap);
}

}  // namespace

ReportIconsModel::ReportIconsModel(QObject *parent) : QIdentityProxyModel(parent) {}

QIcon ReportIconsModel::kindIcon(int kind)
{
    QStyle *style = QApplication::style();
    switch (kind) {
    case 0:
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case 1:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case 2:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case 3: {
        static const QIcon icon = accessibilityIcon();
        return icon;
    }
    default:
        return {};
    }
}

QVariant ReportIconsModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DecorationRole && index.column() == 0) {
        const QIcon icon = kindIcon(
            QIdentityProxyModel::data(index, ReportListModel::KindRole).toInt());
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    return QIdentityProxyModel::data(index, role);
}
