#include "about_form.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

QString AboutForm::versionText()
{
    return QStringLiteral("Velmarin Ver ") + QStringLiteral(VELMARIN_VERSION);
}

AboutForm::AboutForm(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(versionText(), this);
    title->setObjectName(QStringLiteral("VersionLabel"));
    QFont big = title->font();
    big.setPixelSize(16);
    big.setBold(true);
    title->setFont(big);
    layout->addWidget(title);
    layout->addWidget(new QLabel(QStringLiteral("Velmarin開発チーム"), this));
    // Links open with the desktop's default handler.
    auto *web = new QLabel(
        QStringLiteral("<a href=\"https://velmarin.example.org/\">https://velmarin.example.org/</a>"),
        this);
    web->setOpenExternalLinks(true);
    layout->addWidget(web);
    auto *mail = new QLabel(
        QStringLiteral("<a href=\"mailto:velmarin@example.org\">velmarin@example.org</a>"), this);
    mail->setOpenExternalLinks(true);
    layout->addWidget(mail);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
