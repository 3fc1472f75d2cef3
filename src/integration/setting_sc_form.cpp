#include "integration/setting_sc_form.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "core/window_fonts_gui.h"
#include "integration/hot_key_widget.h"
#include "integration/shortcut.h"

SettingSCForm::SettingSCForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SettingSCForm"));
    setWindowTitle(QStringLiteral("ショートカットキーの設定"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(WindowFonts::dialogFont());
    setFixedSize(412, 60);

    auto *line1 = new QLabel(
        QStringLiteral("Ctrl,Shift,Altの組み合わせと設定したいキーを押してください。"), this);
    auto *line2 = new QLabel(
        QStringLiteral("ShiftキーはCtrlかAltと組み見合わせないと設定できません。"), this);
    line1->setObjectName(QStringLiteral("Label1"));
    line2->setObjectName(QStringLiteral("Label2"));
    auto *keyLabel = new QLabel(QStringLiteral("キー設定　:"), this);
    keyLabel->setObjectName(QStringLiteral("Label3"));
    HotKey1 = new HotKeyEdit(this);
    HotKey1->setObjectName(QStringLiteral("HotKey1"));
    HotKey1->setFixedHeight(20);
    HotKey1->setShortcut(Shortcut::make(Shortcut::VkA, false, false, true));
    keyLabel->setBuddy(HotKey1);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("Button1"));
    OKButton->setDefault(true);
    OKButton->setAutoDefault(false);
    CancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelButton->setObjectName(QStringLiteral("Button2"));
    CancelButton->setAutoDefault(false);
    for (QPushButton *b : {OKButton, CancelButton})
        b->setFixedSize(75, 22);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // The two lines of instructions take the whole width (the Noto fonts are
    // wider than the original's); the field and the buttons share the row
    // below, so everything fits the original 60 pixels.
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(8, 0, 6, 1);
    rows->setSpacing(0);
    rows->addWidget(line1);
    rows->addWidget(line2);
    auto *keyRow = new QHBoxLayout;
    keyRow->setSpacing(4);
    keyRow->addWidget(keyLabel);
    keyRow->addWidget(HotKey1, 1);
    keyRow->addSpacing(6);
    keyRow->addWidget(OKButton);
    keyRow->addWidget(CancelButton);
    rows->addLayout(keyRow);
    HotKey1->setFocus();
}

quint16 SettingSCForm::shortcut() const
{
    return HotKey1->shortcut();
}

void SettingSCForm::setShortcut(quint16 shortcut)
{
    HotKey1->setShortcut(shortcut);
}
