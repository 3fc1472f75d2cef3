#include "toolbar_icons_gui.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include "core/window_fonts_gui.h"

namespace {

// Draws the icon when a size is first asked for, not at start-up. The text
// is drawn in the window font, already loaded for the captions, and
// thickened with an outline instead of asking for a bold face: a further
// face would cost the start a font lookup and a large font file.
class GlyphIconEngine : public QIconEngine {
public:
    GlyphIconEngine(const QString &glyph, const QColor &background)
        : m_glyph(glyph), m_background(background)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const quint64 key = (quint64(size.width()) << 32) | (quint64(size.height()) << 8) | mode;
        auto found = m_cache.constFind(key);
        if (found != m_cache.constEnd())
            return *found;
        QPixmap pixmap = draw(qMax(1, qMin(size.width(), size.height())));
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        m_cache.insert(key, pixmap);
        return pixmap;
    }

    QIconEngine *clone() const override { return new GlyphIconEngine(m_glyph, m_background); }
    QString key() const override { return QStringLiteral("velmarin-glyph"); }

private:
    QPixmap draw(int size) const
    {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(m_background.darker(140));
        p.setBrush(m_background);
        p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 6.0, size / 6.0);
        QFont font = WindowFonts::dialogFont();
        font.setPixelSize(m_glyph.size() <= 1 ? size * 5 / 8
                                              : (m_glyph.size() == 2 ? size / 2 : size * 3 / 8));
        QPainterPath text;
        text.addText(0, 0, font, m_glyph);
        const QRectF box = text.boundingRect();
        text.translate(QPointF(size / 2.0, size / 2.0) - box.center());
        p.setPen(QPen(Qt::white, size / 40.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::white);
        p.drawPath(text);
        return pixmap;
    }

    QString m_glyph;
    QColor m_background;
    QHash<quint64, QPixmap> m_cache;
};

}  // namespace

QIcon glyphIcon(const QString &glyph, const QColor &background)
{
    return QIcon(new GlyphIconEngine(glyph, background));
}
