#include "app/open_url_form.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/url_checks.h"
#include "core/window_fonts_gui.h"
#include "platform/program_folder.h"

TOpenURLForm::TOpenURLForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMinimizeButtonHint),
      m_history(ProgramFolder::urlListPath())
{
    setObjectName(QStringLiteral("OpenURLForm"));
    setWindowTitle(QStringLiteral("URLを入力"));
    setFont(WindowFonts::dialogFont());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("URLを入力してください。"), this));

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMaxVisibleItems(10);
    ComboBox1->setFont(WindowFonts::fixedFont());
    // A long address in the history must not widen the dialog past the
    // screen: the box keeps its own width and the list elides long entries
    // in the middle (what is checked is always the whole text).
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox1->setMinimumContentsLength(60);
    ComboBox1->setMinimumWidth(420);
    ComboBox1->view()->setTextElideMode(Qt::ElideMiddle);
    m_history.load();  // an unreadable history shows empty and is left alone
    ComboBox1->addItems(m_history.entries());
    ComboBox1->setEditText(QString());
    layout->addWidget(ComboBox1);

    auto *group = new QGroupBox(QStringLiteral("実行したいチェック"), this);
    auto *grid = new QGridLayout(group);
    const QStringList captions{QStringLiteral("HTML Tidy"),
                               QStringLiteral("CSS(ローカル)"),
                               QStringLiteral("リンクチェック"),
                               QStringLiteral("W3C Markup Validator"),
                               QStringLiteral("Another HTML Lint"),
                               QStringLiteral("WDG HTML Validator"),
                               QStringLiteral("CSS Validator(オンライン)")};
    for (int i = 0; i < captions.size(); ++i) {
        auto *box = new QCheckBox(captions.at(i), group);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        grid->addWidget(box, i < 3 ? i : i - 3, i < 3 ? 0 : 1);
        CheckBoxes << box;
    }
    layout->addWidget(group);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok, &QPushButton::clicked, this, &TOpenURLForm::okClick);
    connect(cancel, &QPushButton::clicked, this, &TOpenURLForm::cancelClick);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_notice = [this](const QString &text) {
        QMessageBox::information(this, QStringLiteral("Velmarin"), text);
    };
}

TOpenURLForm::~TOpenURLForm() = default;

QVector<bool> TOpenURLForm::tickedChecks() const
{
    QVector<bool> ticked;
    for (const QCheckBox *box : CheckBoxes)
        ticked << box->isChecked();
    return ticked;
}

void TOpenURLForm::okClick()
{
    const QString text = ComboBox1->currentText();
    const QString refusal = urlDialogRefusal(text, tickedChecks().contains(true));
    if (!refusal.isEmpty()) {
        m_canClose = false;
        m_notice(refusal);
        return;
    }
    m_accepted = text;
    m_history.accept(text);
    ComboBox1->clear();
    ComboBox1->addItems(m_history.entries());
    ComboBox1->setEditText(text);
    QString error;
    QString dropped;
    if (!m_history.save(&error, &dropped))
        m_notice(error);  // the checks run all the same
    else if (!dropped.isEmpty())
        m_notice(dropped);
    m_canClose = true;
    accept();
}

void TOpenURLForm::cancelClick()
{
    m_canClose = true;
    QDialog::reject();
}

void TOpenURLForm::reject()
{
    // Escape and the close box: only while closing is allowed.
    if (m_canClose)
        QDialog::reject();
}

void TOpenURLForm::closeEvent(QCloseEvent *event)
{
    if (m_canClose)
        QDialog::closeEvent(event);
    else
        event->ignore();
}
