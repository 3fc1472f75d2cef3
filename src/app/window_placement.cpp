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
    const QString section = QStringLiteral("Position");
    ini.writeInt(section, QStringLiteral("X"), frame.x());
    ini.writeInt(section, QStringLiteral("Y"), frame.y());
    ini.writeInt(section, QStringLiteral("Width"), frame.width());
    ini.writeInt(section, QStringLiteral("Height"), frame.height());
}

}  // namespace WindowPlacement
