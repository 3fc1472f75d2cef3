#include "tidy/tidy_option_controls_gui.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "tidy/tidy_options.h"

namespace {

// A right-aligned field for a whole number from 0 to a maximum. Only digits
// can be typed; a value out of range is replaced by the nearer bound when
// the focus moves to another control of the dialog, with a beep, and the
// focus comes back so the user sees what happened.
class NumberEdit : public QLineEdit {
public:
    NumberEdit(int maximum, QWidget *parent) : QLineEdit(parent), m_maximum(maximum)
    {
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9]*")), this));
        setFixedWidth(56);
    }

protected:
    void focusOutEvent(QFocusEvent *event) override
    {
        QLineEdit::focusOutEvent(event);
        // Switching to another window or opening a menu is not leaving the field.
        if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
            return;
        bool changed = false;
        const QString clamped = clampNumberText(text(), m_maximum, &changed);
        if (!changed)
            return;
        setText(clamped);
        QApplication::beep();
        // Taking the focus back inside its own focus-out would fight the
        // widget that is receiving it; do it once that has settled.
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                setFocus(Qt::OtherFocusReason);
        });
    }

private:
    int m_maximum;
};

QPalette greyedPalette(const QWidget *widget)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText,
                         palette.color(QPalette::Disabled, QPalette::WindowText));
        palette.setColor(group, QPalette::ButtonText,
                         palette.color(QPalette::Disabled, QPalette::ButtonText));
    }
    return palette;
}

// A check box, or a label above its field; the field keeps its own width.
void addToForm(QFormLayout *form, QWidget *control, QLabel *label)
{
    if (label == nullptr)
        form->addRow(control);
    else
        form->addRow(label, control);
}

}  // namespace

QString TidyOptionControls::unknownHint()
{
    return QStringLiteral("このTidyでは使われません");
}

TidyOptionControls::Entry TidyOptionControls::create(const TidyOption &option, QWidget *parent)
{
    Entry entry;
    entry.option = &option;
    switch (option.kind) {
    case OptionKind::Boolean:
        entry.control = new QCheckBox(option.name, parent);
        break;
    case OptionKind::Number:
        entry.control = new NumberEdit(option.maximum, parent);
        break;
    case OptionKind::Choice:
    case OptionKind::Doctype: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(false);
        combo->addItems(option.choices);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        entry.control = combo;
        break;
    }
    case OptionKind::Text:
        entry.control = new QLineEdit(parent);
        break;
    }
    entry.control->setObjectName(option.control);
    if (option.kind != OptionKind::Boolean) {
        entry.label = new QLabel(optionLabel(option), parent);
        entry.label->setObjectName(option.control + QStringLiteral("_label"));
        entry.label->setBuddy(entry.control);
    }
    if (option.hidden) {
        // Carried and written like any other option, never shown nor focused.
        entry.control->setVisible(false);
        entry.control->setFocusPolicy(Qt::NoFocus);
        if (entry.label)
            entry.label->setVisible(false);
    }
    m_byName.insert(option.name, m_entries.size());
    m_entries.append(entry);
    setHints(m_entries.last());
    return m_entries.last();
}

void TidyOptionControls::setHints(Entry &entry)
{
    const TidyOption &option = *entry.option;
    QString status = option.hint;
    QString tip = shortHint(option);
    if (entry.unknown) {
        status = status.isEmpty() ? unknownHint()
                                  : status + QStringLiteral("（") + unknownHint() + QStringLiteral("）");
        tip = tip.isEmpty() ? unknownHint() : tip + u'\n' + unknownHint();
    }
    entry.control->setStatusTip(status);
    entry.control->setToolTip(tip);
    QWidget *caption = entry.label ? static_cast<QWidget *>(entry.label) : entry.control;
    if (entry.unknown)
        caption->setPalette(greyedPalette(caption));
    else if (caption->testAttribute(Qt::WA_SetPalette))
        caption->setPalette(QPalette());
    if (entry.label)
        entry.label->setToolTip(entry.unknown ? unknownHint() : QString());
}

QWidget *TidyOptionControls::buildHtmlXmlPage(QWidget *parent)
{
    auto *page = new QWidget(parent);
    page->setObjectName(groupContainerName(OptionGroup::HtmlXml));
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(4, 6, 4, 6);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(0);

    QVector<const TidyOption *> boxes;
    QVector<const TidyOption *> hidden;
    for (const TidyOption &option : tidyOptionCatalogue()) {
        if (option.group != OptionGroup::HtmlXml)
            continue;
        if (option.hidden)
            hidden << &option;
        else if (option.kind == OptionKind::Boolean)
            boxes << &option;
    }

    // Three columns of check boxes, filled top to bottom in file order.
    // The check box columns need all the width their longest names ask for
    // ("drop-proprietary-attributes"); the fields take what is left.
    const int perColumn = (boxes.size() + 2) / 3;
    for (int i = 0; i < boxes.size(); ++i) {
        QWidget *box = create(*boxes.at(i), page).control;
        box->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        grid->addWidget(box, i % perColumn, i / perColumn);
    }

    // The right-hand column: the document type first, the fields below.
    auto *right = new QVBoxLayout;
    right->setSpacing(1);
    // The fields are as wide as the column: the labels set its width.
    auto fitColumn = [](QWidget *field) {
        if (auto *combo = qobject_cast<QComboBox *>(field)) {
            combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            combo->setMinimumContentsLength(6);
        }
        field->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    };
    auto addField = [&](const QString &name) {
        const Entry entry = create(*findTidyOption(name), page);
        fitColumn(entry.control);
        right->addWidget(entry.label);
        right->addWidget(entry.control);
        right->addSpacing(3);
    };
    {
        const Entry doctype = create(*findTidyOption(QStringLiteral("doctype")), page);
        fitColumn(doctype.control);
        right->addWidget(doctype.label);
        right->addWidget(doctype.control);
        m_fpiEdit = new QLineEdit(fpiInitialText(), page);
        m_fpiEdit->setObjectName(fpiEditName());
        m_fpiEdit->setStatusTip(fpiEditHint());
        m_fpiEdit->setEnabled(false);
        fitColumn(m_fpiEdit);
        right->addWidget(m_fpiEdit);
        right->addSpacing(3);
    }
    for (const TidyOption &option : tidyOptionCatalogue())
        if (option.group == OptionGroup::HtmlXml && !option.hidden &&
            option.kind != OptionKind::Boolean && option.kind != OptionKind::Doctype)
            addField(option.name);
    right->addStretch(1);
    auto *rightColumn = new QWidget(page);
    rightColumn->setLayout(right);
    right->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    grid->addWidget(rightColumn, 0, 3, perColumn + 1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(perColumn, 1);

    for (const TidyOption *option : hidden)
        create(*option, page);
    return page;
}

QWidget *TidyOptionControls::buildGroup(OptionGroup group, QWidget *parent)
{
    auto *box = new QGroupBox(groupCaption(group), parent);
    box->setObjectName(groupContainerName(group));
    auto *form = new QFormLayout(box);
    form->setContentsMargins(6, 4, 6, 4);
    form->setVerticalSpacing(2);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    for (const TidyOption &option : tidyOptionCatalogue()) {
        if (option.group != group)
            continue;
        const Entry entry = create(option, box);
        if (!option.hidden)
            addToForm(form, entry.control, entry.label);
    }
    return box;
}

QWidget *TidyOptionControls::buildOtherPage(QWidget *parent)
{
    auto *page = new QWidget(parent);
    page->setObjectName(QStringLiteral("OtherOptionPanel"));
    auto *columns = new QHBoxLayout(page);
    columns->setContentsMargins(6, 6, 6, 6);
    // Groups in tab order; a column ends where the next would not fit below it.
    const QVector<OptionGroup> order = otherPageGroupOrder();
    const QVector<int> columnOf{0, 1, 1, 1, 2};
    QVector<QVBoxLayout *> stacks;
    for (int c = 0; c < 3; ++c) {
        stacks << new QVBoxLayout;
        stacks.last()->setSpacing(4);
        columns->addLayout(stacks.last());
    }
    for (int i = 0; i < order.size(); ++i)
        stacks.at(columnOf.value(i, 2))->addWidget(buildGroup(order.at(i), page));
    for (QVBoxLayout *stack : stacks)
        stack->addStretch(1);
    return page;
}

void TidyOptionControls::fill(const TidyOptionValues &values)
{
    for (const Entry &entry : m_entries) {
        const QString &name = entry.option->name;
        switch (entry.option->kind) {
        case OptionKind::Boolean:
            static_cast<QCheckBox *>(entry.control)->setChecked(values.isTicked(name));
            break;
        case OptionKind::Number:
        case OptionKind::Text:
            static_cast<QLineEdit *>(entry.control)->setText(values.text(name));
            break;
        case OptionKind::Choice:
        case OptionKind::Doctype:
            static_cast<QComboBox *>(entry.control)->setCurrentIndex(values.selectedIndex(name));
            break;
        }
    }
    m_fpiEdit->setText(values.fpiText());
    m_fpiEdit->setEnabled(values.fpiEnabled());
}

void TidyOptionControls::read(TidyOptionValues &values) const
{
    for (const Entry &entry : m_entries) {
        const QString &name = entry.option->name;
        switch (entry.option->kind) {
        case OptionKind::Boolean:
            values.setTicked(name, static_cast<QCheckBox *>(entry.control)->isChecked());
            break;
        case OptionKind::Number:
        case OptionKind::Text:
            values.setText(name, static_cast<QLineEdit *>(entry.control)->text());
            break;
        case OptionKind::Choice:
        case OptionKind::Doctype:
            values.selectIndex(name, static_cast<QComboBox *>(entry.control)->currentIndex());
            break;
        }
    }
    // Whether the field is enabled is decided by reading a file, not here.
    values.setFpiText(m_fpiEdit->text());
}

void TidyOptionControls::markUnknown(const std::optional<QSet<QString>> &known)
{
    for (Entry &entry : m_entries) {
        const bool unknown = known.has_value() && !known->contains(entry.option->name);
        if (unknown == entry.unknown)
            continue;
        entry.unknown = unknown;
        setHints(entry);
    }
}

bool TidyOptionControls::isMarkedUnknown(const QString &optionName) const
{
    const int index = m_byName.value(optionName, -1);
    return index >= 0 && m_entries.at(index).unknown;
}

QWidget *TidyOptionControls::control(const QString &optionName) const
{
    const int index = m_byName.value(optionName, -1);
    return index < 0 ? nullptr : m_entries.at(index).control;
}

QLabel *TidyOptionControls::label(const QString &optionName) const
{
    const int index = m_byName.value(optionName, -1);
    return index < 0 ? nullptr : m_entries.at(index).label;
}
