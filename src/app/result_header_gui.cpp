#include "app/result_header_gui.h"

#include <QIcon>
#include <QPixmap>
#include <QStyleOptionHeader>

ResultHeader::ResultHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setHighlightSections(false);
}

QSize ResultHeader::sectionSizeFromContents(int logicalIndex) const
{
    if (model() == nullptr)
        return {};
    ensurePolished();
    const QVariant hint = model()->headerData(logicalIndex, orientation(), Qt::SizeHintRole);
    if (hint.isValid())
        return hint.toSize();
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.section = logicalIndex;
    const QVariant font = model()->headerData(logicalIndex, orientation(), Qt::FontRole);
    option.fontMetrics = QFontMetrics(font.canConvert<QFont>() ? font.value<QFont>() : this->font());
    option.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const QVariant decoration = model()->headerData(logicalIndex, orientation(), Qt::DecorationRole);
    option.icon = decoration.value<QIcon>();
    if (option.icon.isNull())
        option.icon = decoration.value<QPixmap>();
    if (isSortIndicatorShown())
        option.sortIndicator = QStyleOptionHeader::SortDown;
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
}
