#pragma once

#include <QDialog>
#include <QImage>

#include "access/rgb_image.h"

class QLabel;
class QScrollArea;

// "グレイスケール表示": an image file shown in gray, centred when it fits,
// scrolled when it does not.
class GrayForm : public QDialog {
    Q_OBJECT
public:
    explicit GrayForm(QWidget *parent = nullptr);

    // Opens the window for a file where [GForm] of Velmarin.ini says, modally,
    // and stores its placement when it closes.
    static void showFile(const QString &fileName, QWidget *parent);

    void setFileName(const QString &fileName) { m_fileName = fileName; }
    QString fileName() const { return m_fileName; }
    // The picture shown; null while none is.
    QImage picture() const { return m_picture; }

    QScrollArea *ScrollBox1;
    QLabel *Image1;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Decodes, converts and shows the file; a decoding error is shown as the
    // general error and leaves the window empty.
    void loadPicture();
    void placePicture();

    QString m_fileName;
    RgbImage m_gray;
    QImage m_picture;  // over m_gray's pixels
    bool m_firstPaint = true;
};
