#include "about_form.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

#include "app/help_location.h"
#include "tidy/tidy_query.h"

namespace {

// No licence has been chosen for Velmarin yet; the box says so rather than
// naming one.
const char16_t kLicence[] = u"ライセンス: 未定(配布条件はまだ定められていません)";

}  // namespace

QString AboutForm::versionText()
{
    return QStringLiteral("Velmarin Ver ") + QStringLiteral(VELMARIN_VERSION);
}

QStringList AboutForm::infoLines(const QString &tidyPath)
{
    const QString notFound = QStringLiteral("見つかりません");
    const QString manual = HelpLocation::manualIndex();
    QString tidy = notFound;
    if (!tidyPath.isEmpty() && QFileInfo(tidyPath).isFile()) {
        const QString version = queryTidyVersion(tidyPath);
        tidy = version.isEmpty() ? tidyPath : tidyPath + QStringLiteral(" (") + version + u')';
    }
    return {QString::fromUtf16(kLicence),
            QStringLiteral("ヘルプ: ") + (manual.isEmpty() ? notFound : manual),
            QStringLiteral("HTML Tidy: ") + tidy};
}

AboutForm::AboutForm(const QString &tidyPath, QWidget *parent) : QDialog(parent)
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
    for (const QString &line : infoLines(tidyPath)) {
        auto *label = new QLabel(line, this);
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);  // paths to copy
        layout->addWidget(label);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
