#pragma once

#include <QDialog>
#include <optional>

#include "access/colour_contrast.h"

class ColorCombo;
class PortalColourPicker;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "カラーチェック": brightness and colour difference of a text colour on a
// background colour, as seen with normal colour vision and with three kinds
// of dichromacy, each row painted in its colours, with the WCAG contrast
// ratio of the row below it.
class ColorChkForm : public QDialog {
    Q_OBJECT
public:
    // `mainWindow` is minimised while a colour is picked when CheckBox1 asks for it.
    explicit ColorChkForm(QWidget *mainWindow = nullptr, QWidget *parent = nullptr);
    ~ColorChkForm() override;

    bool isPicking() const { return m_picking != nullptr; }

    QLabel *Label1, *Label2, *Label7, *Label8, *Label9, *Label10;
    QLabel *RowTitles[4];  // Label3 … Label6
    QLabel *Results[4];    // Label11 … Label14
    QLabel *Ratios[4];
    ColorCombo *ColorCombo1, *ColorCombo2;
    QPushButton *Button1, *Button2, *Button3, *Button4, *BitBtn1;
    QLineEdit *Edit1, *Edit2;
    QCheckBox *CheckBox1;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void done(int result) override;

private:
    void recalculate();
    void showRows(Rgb foreground, Rgb background);
    void applyEdits();
    void copyToClipboard();
    void startPick(QPushButton *button);
    // The colour of the screen pixel at a global position, or a message.
    std::optional<Rgb> readPixel(const QPoint &global, QString *failure) const;
    void endPick();

    // Wayland: the desktop portal picks; elsewhere the pointer is grabbed.
    PortalColourPicker *m_portal = nullptr;
    QWidget *m_mainWindow;
    QPushButton *m_picking = nullptr;
};
