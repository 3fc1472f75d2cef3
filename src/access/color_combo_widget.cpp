#include "access/color_combo_widget.h"

#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "access/color_palette_form.h"

ColorCombo::ColorCombo(QWidget *parent) : QComboBox(parent)
{
    setFixedHeight(22);
    addItem(QString());
    DropDnColor = palette().color(QPalette::Button);
    ColorPaletteForm::acquire();
}

ColorCombo::~ColorCombo()
{
    ColorPaletteForm::release();
}

Rgb ColorCombo::activeRgb() const
{
    return Rgb{std::uint8_t(m_active.red()), std::uint8_t(m_active.green()),
               std::uint8_t(m_active.blue())};
}

void ColorCombo::setActiveColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    if (rgb.rgb() == m_active.rgb()) return;
    m_active = QColor(rgb.rgb());
    update();
    Q_EMIT changed();
}

void ColorCombo::setActiveColor(Rgb colour)
{
    setActiveColor(toQColor(colour));
}

void ColorCombo::showPopup()
{
    if (ColorPaletteForm *palette = ColorPaletteForm::current()) palette->popupFor(this);
}

void ColorCombo::hidePopup()
{
    ColorPaletteForm *palette = ColorPaletteForm::current();
    if (palette && palette->owner() == this && !palette->dialogOpen()) palette->hide();
}

void ColorCombo::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.fillRect(field, palette().color(QPalette::Base));
    field.adjust(2, 2, -3, -3);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.setBrush(m_active);
    painter.drawRect(field);
}
