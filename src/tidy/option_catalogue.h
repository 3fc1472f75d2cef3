#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The Tidy options this program knows. One table drives the configuration
// file writer, its reader and the settings dialog, so the three cannot drift
// apart.

enum class OptionKind {
    Boolean,  // check box captioned with the option name
    Number,   // right-aligned integer field, 0 up to TidyOption::maximum
    Choice,   // drop-down list without free typing
    Text,     // one-line edit box; written only when not empty
    Doctype,  // drop-down list plus the free identifier field
};

// Containers, in the order their lines appear in the configuration file.
enum class OptionGroup {
    HtmlXml,
    PrettyPrint,
    Diagnostics,
    Encoding,
    Miscellaneous,
    Accessibility,
};

// How a choice value read from the file is matched against the items.
enum class ChoiceMatch {
    Exact,        // the value as it stands
    LowerCase,    // the value with ASCII letters lower-cased
    UpperCase,    // the value with ASCII letters upper-cased
    AutoBoolean,  // "auto"; "true", "t", "yes", "y", "1"; "false", "f", "no", "n", "0"
};

struct TidyOption {
    QString name;              // Tidy's own name, as written in the file
    OptionKind kind;
    OptionGroup group;
    QStringList choices;       // Choice and Doctype: the items in list order
    QString initial;           // value on a first start ("true"/"false", digits, item text)
    QString atCreation;        // value when the dialog is created; initial but for the encodings
    QString fallback;          // Number, Choice: what an unusable value read from the file gives
    ChoiceMatch match;         // Choice: how a read value is compared with the items
    int maximum;               // Number: largest value the field accepts
    QString control;           // name of the control in the settings dialog
    QString hint;              // long hint shown in the status bar; empty when the option has none
    bool hintHasBar;           // true: no tool tip; false: the hint is the tool tip too
    bool hidden;               // present and written, but never shown nor focused
};

// All options, in file order.
const QVector<TidyOption> &tidyOptionCatalogue();

// Position in the catalogue, or -1. Names are compared exactly.
int tidyOptionIndex(const QString &name);
const TidyOption *findTidyOption(const QString &name);

// "HTML,XML", "Pretty Print Options", "Diagnostics Options", ...
QString groupCaption(OptionGroup group);
// Name of the dialog's container: "HTMLOptionPanel", "GroupBox2", ...
QString groupContainerName(OptionGroup group);

// Order of the groups on the dialog's "Other" page, which differs from file order.
QVector<OptionGroup> otherPageGroupOrder();
// Order in which the reader looks for a check box named by a key.
QVector<OptionGroup> checkBoxSearchOrder();

// The values of char-encoding, input-encoding and output-encoding, indices 0 to 13.
QStringList tidyEncodingList();

// The label beside a control that is not a check box: the name, a space and a colon.
QString optionLabel(const TidyOption &option);
// The tool tip part of the hint: empty when the hint has a bar.
QString shortHint(const TidyOption &option);

// The free identifier field of the doctype option.
QString fpiEditName();
QString fpiEditHint();
QString fpiInitialText();
// Index of "user specified fpi (string)" in the doctype list.
constexpr int kDoctypeUserFpiIndex = 5;
