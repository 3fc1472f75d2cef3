#include "window_placement.h"

#include <cmath>

#include "platform/ini_file.h"

namespace WindowPlacement {

int centred(int available, int extent)
{
    return static_cast<int>(std::round((available - extent) / 2.0));
}

QRect load(const IniFile &ini, const QSize &workArea)
{
    const QString section = QStringLiteral("Position");
    const int x = ini.readInt(section, QStringLiteral("X"),
                              centred(workArea.width(), kDesignedSize.width()));
    const int y = ini.readInt(section, QStringLiteral("Y"),
                              centred(workArea.height(), kDesignedSize.height()));
    const int width = ini.readInt(section, QStringLiteral("Width"), kDefaultSize.width());
    const int height = ini.readInt(section, QStringLiteral("Height"), kDefaultSize.height());
    return QRect(x, y, std::max(width, kMinimumSize.width()),
                 std::max(height, kMinimumSize.height()));
}

void save(IniFile &ini, const QRect &frame)
{
    // One replacement of the file, so a kill while closing never leaves half a position.
    const QString section = QStringLiteral("Position");
    ini.writeStrings({{section, QStringLiteral("X"), QString::number(frame.x())},
                      {section, QStringLiteral("Y"), QString::number(frame.y())},
                      {section, QStringLiteral("Width"), QString::number(frame.width())},
                      {section, QStringLiteral("Height"), QString::number(frame.height())}});
}

}  // namespace WindowPlacement
