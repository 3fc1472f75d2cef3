#pragma once

#include <QColor>
#include <QColorDialog>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

class ColorCombo;

// One colour of the palette: a flat 20 × 20 button with a 14 × 14 swatch,
// its hint the colour's hexadecimal text.
class PickBtn : public QToolButton {
    Q_OBJECT
public:
    PickBtn(const QColor &colour, QWidget *parent);
    QColor PickerColor;
};

// The palette a colour selector drops down: 56 colours and "その他(O)..."
// for the desktop's colour dialog. One window serves every selector.
class ColorPaletteForm : public QWidget {
    Q_OBJECT
public:
    // The shared window, made with the first selector and released with the last.
    static ColorPaletteForm *acquire();
    static void release();
    static ColorPaletteForm *current();

    // Shows the palette for `combo` below it (or where it fits).
    void popupFor(ColorCombo *combo);
    ColorCombo *owner() const { return m_owner; }
    QColor lastColor() const { return m_lastColor; }
    bool dialogOpen() const { return m_dialogOpen; }

    QList<PickBtn *> PickBtns;
    QToolButton *BtnOther = nullptr;
    QColorDialog *ColorDialog1 = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    explicit ColorPaletteForm();
    void choose(const QColor &colour);
    void chooseOther();

    QPointer<ColorCombo> m_owner;
    QColor m_lastColor;
    bool m_dialogOpen = false;
};
