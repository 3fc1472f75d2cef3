#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

#include <optional>

#include "tidy/option_catalogue.h"

class QLabel;
class QLineEdit;
class QWidget;
class TidyOptionValues;

// The controls of the Tidy options, made from the catalogue: one per option,
// named as the catalogue names it, laid out on the "HTML,XML" and "Other"
// pages of the settings dialog. It moves values between the controls and a
// TidyOptionValues and holds no rules of its own.
class TidyOptionControls {
public:
    TidyOptionControls() = default;
    TidyOptionControls(const TidyOptionControls &) = delete;
    TidyOptionControls &operator=(const TidyOptionControls &) = delete;

    // The pages, owned by the caller. Each is built once.
    QWidget *buildHtmlXmlPage(QWidget *parent);
    QWidget *buildOtherPage(QWidget *parent);

    void fill(const TidyOptionValues &values);
    void read(TidyOptionValues &values) const;

    // Greys the caption of every option that is not in `known` and says so in
    // its hints; the control stays editable and its value is still written.
    // nullopt (the Tidy could not be asked) marks nothing.
    void markUnknown(const std::optional<QSet<QString>> &known);
    bool isMarkedUnknown(const QString &optionName) const;

    // By option name; nullptr for a name that is not in the catalogue.
    QWidget *control(const QString &optionName) const;
    // The "name :" label; nullptr for check boxes.
    QLabel *label(const QString &optionName) const;
    QLineEdit *fpiEdit() const { return m_fpiEdit; }

    static QString unknownHint();

private:
    struct Entry {
        const TidyOption *option = nullptr;
        QWidget *control = nullptr;
        QLabel *label = nullptr;
        bool unknown = false;
    };

    // Creates the control (and its label) of one option under `parent`.
    Entry create(const TidyOption &option, QWidget *parent);
    void setHints(Entry &entry);
    QWidget *buildGroup(OptionGroup group, QWidget *parent);

    QVector<Entry> m_entries;
    QHash<QString, int> m_byName;
    QLineEdit *m_fpiEdit = nullptr;
};
