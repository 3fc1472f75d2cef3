#include "access/gray_form.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>

#include "access/gray_image.h"
#include "access/image_file.h"
#include "core/window_fonts_gui.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"

GrayForm::GrayForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GrayForm"));
    setWindowTitle(QStringLiteral("グレイスケール表示"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setFont(WindowFonts::dialogFont());
    setMinimumSize(GrayScale::kDesignedSize);
    resize(GrayScale::kDesignedSize);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    auto *canvas = new QWidget;
    Image1 = new QLabel(canvas);
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox1->setWidget(canvas);
}

void GrayForm::showFile(const QString &fileName, QWidget *parent)
{
    IniFile ini(ProgramFolder::iniPath());
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    const QRect placement = GrayScale::loadPlacement(ini, screenSize);
    GrayForm form(parent);
    form.move(placement.topLeft());
    form.resize(placement.size());
    form.setFileName(fileName);
    form.exec();
    GrayScale::savePlacement(ini, QRect(form.pos(), form.size()));
}

void GrayForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_firstPaint) {
        m_firstPaint = false;
        // After the window is up, so a failure's message box has it behind.
        QTimer::singleShot(0, this, &GrayForm::loadPicture);
    }
}

void GrayForm::loadPicture()
{
    DecodedImage decoded = ImageFile::load(m_fileName);
    if (!decoded.ok()) {
        QMessageBox::critical(this, QStringLiteral("Velmarin"), decoded.error);
        return;
    }
    if (decoded.image.isNull()) return;
    // The picture shows the gray pixels where they are, without a copy.
    m_gray = GrayScale::toGray(std::move(decoded.image));
    m_picture = QImage(m_gray.pixels.data(), m_gray.width, m_gray.height, m_gray.width * 3,
                       QImage::Format_RGB888);
    Image1->setPixmap(QPixmap::fromImage(m_picture));
    Image1->resize(m_picture.size());
    placePicture();
}

void GrayForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    ScrollBox1->setGeometry(rect());
    placePicture();
}

void GrayForm::placePicture()
{
    const QSize window = size();
    const QSize picture = m_picture.size();
    ScrollBox1->widget()->resize(picture.expandedTo(ScrollBox1->viewport()->size()));
    Image1->move(GrayScale::picturePosition(window, picture));
}
