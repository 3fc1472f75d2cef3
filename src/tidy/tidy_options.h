#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "tidy/option_catalogue.h"

// The value of every Tidy option exactly as its control in the settings
// dialog holds it. The dialog edits one of these; the configuration file is a
// snapshot of it.
class TidyOptionValues {
public:
    // The state of the controls when the dialog is created: the first-start
    // values, except for the three encodings (see the catalogue).
    TidyOptionValues();
    static TidyOptionValues atCreation();

    // What a start without a configuration file sets before writing one: every
    // list and number option to its first-start value. Check boxes and text
    // fields keep their values.
    void applyFirstStartValues();

    // Boolean options: the check box. Unknown names and other kinds read false
    // and ignore writes.
    bool isTicked(const QString &name) const;
    void setTicked(const QString &name, bool ticked);

    // Number and text options: the field's text. Choice and doctype options:
    // the selected item's text. Line breaks cannot be held by a one-line
    // field; setText turns them into spaces.
    QString text(const QString &name) const;
    void setText(const QString &name, const QString &text);

    // Choice and doctype options. select() leaves the value alone and returns
    // false when the item is not in the list.
    int selectedIndex(const QString &name) const;
    bool select(const QString &name, const QString &item);
    bool selectIndex(const QString &name, int index);

    // The free doctype identifier field; written instead of the item text
    // when "user specified fpi (string)" is selected.
    QString fpiText() const { return m_fpiText; }
    void setFpiText(const QString &text);
    bool fpiEnabled() const { return m_fpiEnabled; }
    void setFpiEnabled(bool enabled) { m_fpiEnabled = enabled; }

    bool operator==(const TidyOptionValues &other) const;
    bool operator!=(const TidyOptionValues &other) const { return !(*this == other); }

private:
    // By catalogue position: "true"/"false", the field's text, or the
    // selected item's text (always one of the items).
    QVector<QString> m_values;
    QString m_fpiText;
    bool m_fpiEnabled = false;
};

// The lines of the configuration file, in catalogue order, without line ends.
QStringList writeTidyOptions(const TidyOptionValues &values);

// Applies the lines of a configuration file. Options the lines do not mention
// keep their values; later lines win; what cannot be understood is dropped.
void loadTidyOptions(const QStringList &lines, TidyOptionValues &values);

// True when every character is one of "0" to "9"; the empty text counts as true.
bool isAllDigits(const QString &text);

// The rule of a number field losing the focus: a value outside 0..maximum is
// replaced by the nearer bound and *changed is set (the dialog then beeps and
// keeps the focus). Text that is not a number is returned unchanged.
QString clampNumberText(const QString &text, int maximum, bool *changed = nullptr);
