#pragma once

#include <QColor>
#include <QComboBox>

#include "access/colour_contrast.h"

// A colour selector: a drop-down whose one item is a swatch of the chosen
// colour; opening it shows the shared palette window.
class ColorCombo : public QComboBox {
    Q_OBJECT
public:
    explicit ColorCombo(QWidget *parent = nullptr);
    ~ColorCombo() override;

    QColor ActiveColor() const { return m_active; }
    Rgb activeRgb() const;
    // Raises changed() only when the colour is different.
    void setActiveColor(const QColor &colour);
    void setActiveColor(Rgb colour);

    // The palette's background while this selector has it open.
    QColor DropDnColor;

    void showPopup() override;
    void hidePopup() override;

Q_SIGNALS:
    void changed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_active = Qt::black;
};

inline QColor toQColor(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}
