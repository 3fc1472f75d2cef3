#include "access/color_chk_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "access/color_combo_widget.h"
#include "access/contrast_rows.h"
#include "access/palette_placement.h"
#include "access/portal_colour_picker_gui.h"
#include "core/window_fonts_gui.h"

using namespace ColourContrast;

namespace {

constexpr int kWidth = 300;
constexpr int kRowTop = 172;
constexpr int kRowHeight = 60;

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &at)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(at);
    return l;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &at)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(at);
    return b;
}

}  // namespace

ColorChkForm::ColorChkForm(QWidget *mainWindow, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("ColorChkForm"));
    setWindowTitle(QStringLiteral("カラーチェック"));
    setFont(WindowFonts::dialogFont());

    Label1 = label(this, QStringLiteral("Label1"), QStringLiteral("前景色:"), {8, 6, 137, 16});
    Label2 = label(this, QStringLiteral("Label2"), QStringLiteral("背景色:"), {156, 6, 137, 16});
    ColorCombo1 = new ColorCombo(this);
    ColorCombo1->setObjectName(QStringLiteral("ColorCombo1"));
    ColorCombo1->setGeometry(8, 24, 137, 22);
    ColorCombo2 = new ColorCombo(this);
    ColorCombo2->setObjectName(QStringLiteral("ColorCombo2"));
    ColorCombo2->setGeometry(156, 24, 137, 22);
    ColorCombo2->setActiveColor(kWhite);

    const QString pickHint =
        QStringLiteral("このボタンを押した後、最初にクリックされた場所の色を取得します。");
    Button3 = button(this, QStringLiteral("Button3"), QStringLiteral("クリック位置の色"),
                     {8, 50, 137, 25});
    Button4 = button(this, QStringLiteral("Button4"), QStringLiteral("クリック位置の色"),
                     {156, 50, 137, 25});
    Button3->setToolTip(pickHint);
    Button4->setToolTip(pickHint);

    label(this, QStringLiteral("HexLabel1"), QStringLiteral("16進数　:"), {8, 83, 60, 16});
    label(this, QStringLiteral("HexLabel2"), QStringLiteral("16進数　:"), {156, 83, 60, 16});
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(70, 80, 75, 22);
    Edit1->setMaxLength(7);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(218, 80, 75, 22);
    Edit2->setMaxLength(7);

    CheckBox1 = new QCheckBox(QStringLiteral("メインウィンドウを最小化"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setToolTip(
        QStringLiteral("クリック位置の色を取得する際にメインウィンドウを最小するかどうか"));
    CheckBox1->setGeometry(8, 108, 170, 20);
    Button2 = button(this, QStringLiteral("Button2"), QStringLiteral("指定値で計算"),
                     {188, 106, 105, 25});

    Label7 = label(this, QStringLiteral("Label7"), QStringLiteral("RGB値 :"), {8, 136, 285, 16});
    Label8 = label(this, QStringLiteral("Label8"), QString(), {8, 152, 285, 16});

    static const char16_t *const titles[4] = {u"一般的な色覚:", u"第一色盲:", u"第二色盲:",
                                              u"第三色盲:"};
    QFont resultFont = font();
    resultFont.setPixelSize(16);
    resultFont.setBold(true);
    for (int i = 0; i < 4; ++i) {
        const int top = kRowTop + i * kRowHeight;
        RowTitles[i] = label(this, QStringLiteral("Label%1").arg(3 + i),
                             QString::fromUtf16(titles[i]), {8, top, 285, 16});
        Results[i] =
            label(this, QStringLiteral("Label%1").arg(11 + i), QString(), {1, top + 16, 297, 25});
        Results[i]->setFont(resultFont);
        Results[i]->setAlignment(Qt::AlignCenter);
        Results[i]->setAutoFillBackground(true);
        Ratios[i] =
            label(this, QStringLiteral("Ratio%1").arg(i + 1), QString(), {8, top + 42, 285, 16});
        Ratios[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    const int below = kRowTop + 4 * kRowHeight;
    Label9 =
        label(this, QStringLiteral("Label9"),
              QStringLiteral("明度差は最低でも125以上必要です。最大255"), {8, below + 2, 285, 16});
    Label10 =
        label(this, QStringLiteral("Label10"),
              QStringLiteral("色の差は最低でも500以上必要です。最大765"), {8, below + 18, 285, 16});
    Button1 = button(this, QStringLiteral("Button1"), QStringLiteral("クリップボードへ"),
                     {8, below + 40, 120, 25});
    BitBtn1 = button(this, QStringLiteral("BitBtn1"), QStringLiteral("閉じる"),
                     {213, below + 40, 80, 25});
    setFixedSize(kWidth, below + 73);

    connect(ColorCombo1, &ColorCombo::changed, this, &ColorChkForm::recalculate);
    connect(ColorCombo2, &ColorCombo::changed, this, &ColorChkForm::recalculate);
    connect(Button2, &QPushButton::clicked, this, &ColorChkForm::applyEdits);
    connect(Button1, &QPushButton::clicked, this, &ColorChkForm::copyToClipboard);
    connect(Button3, &QPushButton::clicked, this, [this] { startPick(Button3); });
    connect(Button4, &QPushButton::clicked, this, [this] { startPick(Button4); });
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
    recalculate();
}

ColorChkForm::~ColorChkForm()
{
    if (m_picking) releaseMouse();
}

void ColorChkForm::recalculate()
{
    const Rgb foreground = ColorCombo1->activeRgb();
    const Rgb background = ColorCombo2->activeRgb();
    Edit1->setText(hexText(foreground));
    Edit2->setText(hexText(background));
    showRows(foreground, background);
}

void ColorChkForm::showRows(Rgb foreground, Rgb background)
{
    Label8->setText(rgbText(foreground, background));
    const auto rows = contrastRows(foreground, background);
    for (int i = 0; i < 4; ++i) {
        QPalette p = Results[i]->palette();
        p.setColor(QPalette::Window, toQColor(rows[i].background));
        p.setColor(QPalette::WindowText, toQColor(rows[i].foreground));
        Results[i]->setPalette(p);
        Results[i]->setText(rows[i].result);
        Ratios[i]->setText(rows[i].ratio);
    }
}

void ColorChkForm::applyEdits()
{
    const QString foregroundText = Edit1->text();
    const QString backgroundText = Edit2->text();
    const auto refuse = [this](QLineEdit *edit) {
        QMessageBox::information(this, windowTitle(), QString::fromUtf16(kInvalidHex));
        edit->setFocus();
        edit->selectAll();
    };
    const std::optional<Rgb> foreground = parseHex(foregroundText);
    if (!foreground) return refuse(Edit1);
    ColorCombo1->setActiveColor(*foreground);
    const std::optional<Rgb> background = parseHex(backgroundText);
    if (!background) {
        // Applying the foreground rewrote both edits; the user's text comes back to be corrected.
        Edit2->setText(backgroundText);
        return refuse(Edit2);
    }
    ColorCombo2->setActiveColor(*background);
    // The edits hold the colours' own texts even when nothing changed.
    recalculate();
}

void ColorChkForm::copyToClipboard()
{
    const QString text = cssText(ColorCombo1->activeRgb(), ColorCombo2->activeRgb());
    QGuiApplication::clipboard()->setText(text);
    QMessageBox::information(this, windowTitle(),
                             QString::fromUtf16(kCopied) + QStringLiteral("\r\n") + text);
}

void ColorChkForm::startPick(QPushButton *button)
{
    if (m_picking) return;
    m_picking = button;
    button->setEnabled(false);
    if (CheckBox1->isChecked() && m_mainWindow) m_mainWindow->showMinimized();
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        grabMouse(Qt::CrossCursor);
        return;
    }
    if (!m_portal) {
        m_portal = new PortalColourPicker(QDBusConnection::sessionBus(), this);
        connect(m_portal, &PortalColourPicker::picked, this, [this](const QColor &colour) {
            QPushButton *picking = m_picking;
            if (!picking) return;  // closed meanwhile
            endPick();
            (picking == Button3 ? ColorCombo1 : ColorCombo2)->setActiveColor(colour);
        });
        connect(m_portal, &PortalColourPicker::cancelled, this, [this] {
            if (m_picking) endPick();
        });
        connect(m_portal, &PortalColourPicker::failed, this, [this](const QString &message) {
            if (!m_picking) return;
            endPick();
            QMessageBox::warning(this, windowTitle(), message);
        });
    }
    m_portal->start();
}

std::optional<Rgb> ColorChkForm::readPixel(const QPoint &global, QString *failure) const
{
    QScreen *screen = QGuiApplication::screenAt(global);
    if (!screen) {
        *failure = QString::fromUtf16(kNoWindow);
        return std::nullopt;
    }
    const QPoint local = global - screen->geometry().topLeft();
    const QPixmap pixmap = screen->grabWindow(0, local.x(), local.y(), 1, 1);
    if (pixmap.isNull()) {
        *failure = QString::fromUtf16(kNoDeviceContext);
        return std::nullopt;
    }
    const QImage image = pixmap.toImage();
    if (image.width() < 1 || image.height() < 1) {
        *failure = QString::fromUtf16(kPixelFailed);
        return std::nullopt;
    }
    const QColor c = image.pixelColor(0, 0);
    return Rgb{std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
}

void ColorChkForm::mousePressEvent(QMouseEvent *event)
{
    // Outside a pick a press on the window is an ordinary click.
    if (!m_picking || (m_portal && m_portal->isRunning())) {
        QDialog::mousePressEvent(event);
        return;
    }
    QString failure;
    const std::optional<Rgb> colour = readPixel(event->globalPosition().toPoint(), &failure);
    QPushButton *picking = m_picking;
    endPick();
    if (!colour) {
        QMessageBox::warning(this, windowTitle(), failure);
        return;
    }
    (picking == Button3 ? ColorCombo1 : ColorCombo2)->setActiveColor(*colour);
}

void ColorChkForm::endPick()
{
    releaseMouse();
    m_picking = nullptr;
    if (m_mainWindow) {
        if (CheckBox1->isChecked())
            m_mainWindow->showNormal();
        else
            m_mainWindow->raise();
    }
    raise();
    activateWindow();
    Button3->setEnabled(true);
    Button4->setEnabled(true);
}

void ColorChkForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (const QScreen *s = screen())
        move(ColourPalette::centred(s->geometry().size(), frameGeometry().size()));
}

void ColorChkForm::done(int result)
{
    if (m_portal) m_portal->cancel();
    if (m_picking) {
        releaseMouse();
        m_picking = nullptr;
        Button3->setEnabled(true);
        Button4->setEnabled(true);
    }
    QDialog::done(result);
}
