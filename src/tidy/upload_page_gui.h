#pragma once

#include <QWidget>

#include "core/upload_options.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

// The "UpLoad" page of the settings dialog: what the uploads to the four
// online validators send along. It only moves values between its controls
// and an UploadOptions.
class UploadPage : public QWidget {
    Q_OBJECT
public:
    explicit UploadPage(QWidget *parent = nullptr);

    void fill(const UploadOptions &options);
    void read(UploadOptions &options) const;

    // Markup Validator
    QComboBox *M_Charset = nullptr;
    QComboBox *M_Type = nullptr;
    QCheckBox *Show_Source = nullptr;
    QCheckBox *Show_Parse_Tree = nullptr;
    QCheckBox *Show_Outline = nullptr;
    QCheckBox *Ex_Attr = nullptr;
    QCheckBox *Vali_Err = nullptr;
    QCheckBox *Verbose_O = nullptr;
    // HTML Lint
    QCheckBox *Num_View = nullptr;
    QCheckBox *All_Check = nullptr;
    QCheckBox *NoReligious = nullptr;
    QCheckBox *NoAccess = nullptr;
    QRadioButton *None = nullptr;
    QRadioButton *Lynx = nullptr;
    QRadioButton *w3m = nullptr;
    // WDG HTML Validator
    QComboBox *W_Charset = nullptr;
    QCheckBox *W_Warning = nullptr;
    QCheckBox *W_Show_Input = nullptr;
    // CSS Validator
    QComboBox *Warning = nullptr;
    QComboBox *Profile = nullptr;
    QComboBox *Medium = nullptr;
};
