#include "toolbar_icons_gui.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

QIcon glyphIcon(const QString &glyph, const QColor &background)
{
    QIcon icon;
    for (const int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(background.darker(140));
        p.setBrush(background);
        p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 6.0, size / 6.0);
        QFont font;
        font.setFamilies({QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
        font.setBold(true);
        font.setPixelSize(glyph.size() <= 1 ? size * 5 / 8 : (glyph.size() == 2 ? size / 2 : size * 3 / 8));
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, glyph);
        icon.addPixmap(pixmap);
    }
    return icon;
}
