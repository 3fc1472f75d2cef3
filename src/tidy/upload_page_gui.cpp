#include "tidy/upload_page_gui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox *list(QWidget *parent, const char *name, const QStringList &items)
{
    auto *combo = named(new QComboBox(parent), name);
    combo->setEditable(false);
    combo->addItems(items);
    return combo;
}

QGroupBox *group(QWidget *parent, const QString &title, const char *name)
{
    auto *box = named(new QGroupBox(title, parent), name);
    return box;
}

void select(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text, Qt::MatchExactly);
    combo->setCurrentIndex(index < 0 ? 0 : index);
}

}  // namespace

UploadPage::UploadPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("UploadPanel"));
    using namespace UploadLists;
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(6);

    // Markup Validator
    QGroupBox *markup = group(this, QStringLiteral("Markup Validator"), "GroupBox6");
    auto *markupForm = new QFormLayout(markup);
    markupForm->setContentsMargins(6, 4, 6, 4);
    markupForm->setVerticalSpacing(2);
    M_Charset = list(markup, "M_Charset", markupCharsets());
    M_Charset->setMaxVisibleItems(15);
    M_Type = list(markup, "M_Type", markupTypes());
    // The lists give up width to the Japanese captions of HTML Lint.
    for (QComboBox *combo : {M_Charset, M_Type}) {
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(18);
    }
    markupForm->addRow(QStringLiteral("Charset:"), M_Charset);
    markupForm->addRow(QStringLiteral("Type:"), M_Type);
    auto *markupBoxes = new QGridLayout;
    markupBoxes->setVerticalSpacing(0);
    Show_Source = named(new QCheckBox(QStringLiteral("Show Source"), markup), "Show_Source");
    Show_Parse_Tree = named(new QCheckBox(QStringLiteral("Show Parse Tree"), markup), "Show_Parse_Tree");
    Show_Outline = named(new QCheckBox(QStringLiteral("Show Outline"), markup), "Show_Outline");
    Ex_Attr = named(new QCheckBox(QStringLiteral("...exclude attributes"), markup), "Ex_Attr");
    Vali_Err = named(new QCheckBox(QStringLiteral("Validate error pages"), markup), "Vali_Err");
    Verbose_O = named(new QCheckBox(QStringLiteral("Verbose Output"), markup), "Verbose_O");
    const QList<QCheckBox *> markupChecks{Show_Source, Show_Parse_Tree, Show_Outline,
                                          Ex_Attr,     Vali_Err,        Verbose_O};
    for (int i = 0; i < markupChecks.size(); ++i)
        markupBoxes->addWidget(markupChecks.at(i), i % 3, i / 3);
    markupForm->addRow(markupBoxes);
    grid->addWidget(markup, 0, 0);

    // HTML Lint
    QGroupBox *lint = group(this, QStringLiteral("HTML Lint"), "GroupBox7");
    auto *lintLayout = new QVBoxLayout(lint);
    lintLayout->setContentsMargins(6, 4, 6, 4);
    lintLayout->setSpacing(0);
    Num_View = named(new QCheckBox(QStringLiteral("チェックしたHTMLを行番号付きで表示する。"), lint),
                     "Num_View");
    All_Check = named(new QCheckBox(QStringLiteral("すべてのチェックを有効にする。"), lint), "All_Check");
    NoReligious = named(new QCheckBox(QStringLiteral("宗教的なチェックをすべて無効にする。"), lint),
                        "NoReligious");
    NoAccess = named(
        new QCheckBox(QStringLiteral("WAI Content Accessibility Guidelines に"), lint), "NoAccess");
    auto *noAccessRest = named(new QLabel(QStringLiteral("示されている軽度のチェックを無効にする。"), lint),
                               "Label_NoAccess");
    // The continuation lines up with the caption, not with the box.
    noAccessRest->setIndent(20);
    noAccessRest->setBuddy(NoAccess);
    for (QCheckBox *box : {Num_View, All_Check, NoReligious, NoAccess})
        box->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    for (QWidget *w : {static_cast<QWidget *>(Num_View), static_cast<QWidget *>(All_Check),
                       static_cast<QWidget *>(NoReligious), static_cast<QWidget *>(NoAccess),
                       static_cast<QWidget *>(noAccessRest)})
        lintLayout->addWidget(w);
    QGroupBox *browsers = group(lint, QStringLiteral("テキストベースブラウザでの見え方"), "GroupBox8");
    auto *browserRow = new QHBoxLayout(browsers);
    browserRow->setContentsMargins(6, 2, 6, 2);
    None = named(new QRadioButton(textBrowsers().at(0), browsers), "None");
    Lynx = named(new QRadioButton(textBrowsers().at(1), browsers), "Lynx");
    w3m = named(new QRadioButton(textBrowsers().at(2), browsers), "w3m");
    browserRow->addWidget(None);
    browserRow->addWidget(Lynx);
    browserRow->addWidget(w3m);
    browserRow->addStretch(1);
    lintLayout->addSpacing(4);
    lintLayout->addWidget(browsers);
    lintLayout->addStretch(1);
    grid->addWidget(lint, 0, 1);

    // WDG HTML Validator
    QGroupBox *wdg = group(this, QStringLiteral("WDG HTML Validator"), "GroupBox9");
    auto *wdgForm = new QFormLayout(wdg);
    wdgForm->setContentsMargins(6, 4, 6, 4);
    wdgForm->setVerticalSpacing(2);
    wdgForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    W_Charset = list(wdg, "W_Charset", wdgCharsets());
    W_Charset->setMaxVisibleItems(15);
    wdgForm->addRow(QStringLiteral("Charset:"), W_Charset);
    W_Warning = named(new QCheckBox(QStringLiteral("Include warnings"), wdg), "W_Warning");
    W_Show_Input = named(new QCheckBox(QStringLiteral("Show input"), wdg), "W_Show_Input");
    wdgForm->addRow(W_Warning);
    wdgForm->addRow(W_Show_Input);
    grid->addWidget(wdg, 1, 0);

    // CSS Validator
    QGroupBox *css = group(this, QStringLiteral("CSS Validator"), "GroupBox10");
    auto *cssForm = new QFormLayout(css);
    cssForm->setContentsMargins(6, 4, 6, 4);
    cssForm->setVerticalSpacing(2);
    cssForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    Warning = list(css, "Warning", cssWarnings());
    Profile = list(css, "Profile", cssProfiles());
    Medium = list(css, "Medium", cssMedia());
    cssForm->addRow(QStringLiteral("警告:"), Warning);
    cssForm->addRow(QStringLiteral("Profile"), Profile);
    cssForm->addRow(QStringLiteral("Medium:"), Medium);
    grid->addWidget(css, 1, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(1, 1);

    fill(UploadOptions::atCreation());
}

void UploadPage::fill(const UploadOptions &o)
{
    select(M_Charset, o.markupCharset);
    select(M_Type, o.markupType);
    Show_Source->setChecked(o.showSource);
    Show_Parse_Tree->setChecked(o.showParseTree);
    Show_Outline->setChecked(o.showOutline);
    Ex_Attr->setChecked(o.excludeAttributes);
    Vali_Err->setChecked(o.validateErrorPages);
    Verbose_O->setChecked(o.verbose);
    Num_View->setChecked(o.lintNumView);
    All_Check->setChecked(o.lintAllCheck);
    NoReligious->setChecked(o.lintNoReligious);
    NoAccess->setChecked(o.lintNoAccess);
    (o.lintTextBrowser == 0 ? None : o.lintTextBrowser == 1 ? Lynx : w3m)->setChecked(true);
    select(W_Charset, o.wdgCharset);
    W_Warning->setChecked(o.wdgWarning);
    W_Show_Input->setChecked(o.wdgShowInput);
    select(Warning, o.cssWarning);
    select(Profile, o.cssProfile);
    select(Medium, o.cssMedium);
}

void UploadPage::read(UploadOptions &o) const
{
    o.markupCharset = M_Charset->currentText();
    o.markupType = M_Type->currentText();
    o.showSource = Show_Source->isChecked();
    o.showParseTree = Show_Parse_Tree->isChecked();
    o.showOutline = Show_Outline->isChecked();
    o.excludeAttributes = Ex_Attr->isChecked();
    o.validateErrorPages = Vali_Err->isChecked();
    o.verbose = Verbose_O->isChecked();
    o.lintNumView = Num_View->isChecked();
    o.lintAllCheck = All_Check->isChecked();
    o.lintNoReligious = NoReligious->isChecked();
    o.lintNoAccess = NoAccess->isChecked();
    o.lintTextBrowser = None->isChecked() ? 0 : Lynx->isChecked() ? 1 : 2;
    o.wdgCharset = W_Charset->currentText();
    o.wdgWarning = W_Warning->isChecked();
    o.wdgShowInput = W_Show_Input->isChecked();
    o.cssWarning = Warning->currentText();
    o.cssProfile = Profile->currentText();
    o.cssMedium = Medium->currentText();
}
