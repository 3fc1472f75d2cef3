#include "access/color_palette_form.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include "access/color_combo_widget.h"
#include "access/colour_contrast.h"
#include "access/palette_placement.h"
#include "core/window_fonts_gui.h"

namespace {

// The window goes with the dialog it was last shown for, so it may be
// deleted with it; the next selector to open it makes a new one.
QPointer<ColorPaletteForm> g_palette;
int g_users = 0;

QIcon swatch(const QColor &colour)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(0, 0, 13, 13);
    return QIcon(pixmap);
}

}  // namespace

PickBtn::PickBtn(const QColor &colour, QWidget *parent) : QToolButton(parent), PickerColor(colour)
{
    setAutoRaise(true);
    setCheckable(true);
    setIcon(swatch(colour));
    setIconSize(QSize(14, 14));
    setToolTip(ColourContrast::hexText(Rgb{std::uint8_t(colour.red()), std::uint8_t(colour.green()),
                                           std::uint8_t(colour.blue())}));
}

ColorPaletteForm *ColorPaletteForm::acquire()
{
    ++g_users;
    return current();
}

void ColorPaletteForm::release()
{
    if (--g_users == 0) delete g_palette.data();
}

ColorPaletteForm *ColorPaletteForm::current()
{
    if (!g_palette && g_users > 0) g_palette = new ColorPaletteForm;
    return g_palette;
}

ColorPaletteForm::ColorPaletteForm() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("ColorPaletteForm"));
    setFont(WindowFonts::dialogFont());
    setFixedSize(ColourPalette::kPaletteSize);
    setAutoFillBackground(true);
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < ColourPalette::kCount; ++i) {
        auto *button = new PickBtn(QColor::fromRgb(ColourPalette::kColours[i]), this);
        button->setObjectName(QStringLiteral("PickBtn%1").arg(i + 1));
        button->setGeometry(ColourPalette::buttonRect(i));
        group->addButton(button);
        connect(button, &QToolButton::clicked, this,
                [this, button] { choose(button->PickerColor); });
        PickBtns.append(button);
    }
    BtnOther = new QToolButton(this);
    BtnOther->setObjectName(QStringLiteral("BtnOther"));
    BtnOther->setAutoRaise(true);
    BtnOther->setText(QStringLiteral("その他(&O)..."));
    BtnOther->setGeometry(88, 144, 75, 25);
    connect(BtnOther, &QToolButton::clicked, this, &ColorPaletteForm::chooseOther);
    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
}

void ColorPaletteForm::popupFor(ColorCombo *combo)
{
    // A window of the selector's dialog, so that a modal dialog lets it take clicks.
    if (parentWidget() != combo->window()) setParent(combo->window(), windowFlags());
    m_owner = combo;
    QPalette p = palette();
    p.setColor(QPalette::Window, combo->DropDnColor);
    setPalette(p);
    const QRect selector(combo->mapToGlobal(QPoint(0, 0)), combo->size());
    const QScreen *screen = combo->screen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    move(ColourPalette::palettePosition(selector, screenSize));
    show();
    raise();
    activateWindow();
}

void ColorPaletteForm::choose(const QColor &colour)
{
    m_lastColor = colour;
    hide();
    if (m_owner) m_owner->setActiveColor(colour);
}

void ColorPaletteForm::chooseOther()
{
    m_dialogOpen = true;
    if (m_owner) ColorDialog1->setCurrentColor(m_owner->ActiveColor());
    const bool chosen = ColorDialog1->exec() == QDialog::Accepted;
    m_dialogOpen = false;
    if (chosen) choose(ColorDialog1->currentColor());
}

void ColorPaletteForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColorPaletteForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        hide();
    else
        QWidget::keyPressEvent(event);
}

void ColorPaletteForm::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A click elsewhere closes the palette, but the colour dialog it opened
    // must not.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && !m_dialogOpen &&
        isVisible())
        hide();
}
