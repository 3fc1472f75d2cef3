#include "access/gray_image.h"

#include "core/folder_memory.h"
#include "core/view.h"
#include "platform/ini_file.h"

namespace GrayScale {

int grayValue(int r, int g, int b)
{
    const int thousandths = 289 * r + 586 * g + 114 * b;
    int gray = thousandths / 1000;
    const int rest = thousandths % 1000;
    if (rest > 500 || (rest == 500 && gray % 2 == 1)) ++gray;
    return std::min(gray, 255);
}

RgbImage toGray(RgbImage image)
{
    std::vector<std::uint8_t> &p = image.pixels;
    for (std::size_t i = 0; i + 2 < p.size(); i += 3)
        p[i] = p[i + 1] = p[i + 2] = std::uint8_t(grayValue(p[i], p[i + 1], p[i + 2]));
    return image;
}

QPoint picturePosition(const QSize &window, const QSize &picture)
{
    if (picture.width() < window.width() && picture.height() < window.height())
        return QPoint((window.width() - picture.width()) / 2,
                      (window.height() - picture.height()) / 2);
    return QPoint(0, 0);
}

namespace {
const QString kSection = QStringLiteral("GForm");
}

QRect loadPlacement(const IniFile &ini, const QSize &screen)
{
    return QRect(
        ini.readInt(kSection, QStringLiteral("Left"), (screen.width() - kDesignedSize.width()) / 2),
        ini.readInt(kSection, QStringLiteral("Top"),
                    (screen.height() - kDesignedSize.height()) / 2),
        ini.readInt(kSection, QStringLiteral("Width"), kDefaultSize.width()),
        ini.readInt(kSection, QStringLiteral("Height"), kDefaultSize.height()));
}

void savePlacement(IniFile &ini, const QRect &frame)
{
    ini.writeStrings({{kSection, QStringLiteral("Left"), QString::number(frame.x())},
                      {kSection, QStringLiteral("Top"), QString::number(frame.y())},
                      {kSection, QStringLiteral("Width"), QString::number(frame.width())},
                      {kSection, QStringLiteral("Height"), QString::number(frame.height())}});
}

QString chooseImage(View &view, FolderMemory &folders)
{
    const QString file = view.chooseOpenFile(folders.startDir(), QString::fromUtf16(kFilter));
    if (!file.isEmpty()) folders.remember(file);
    return file;
}

}  // namespace GrayScale
