#pragma once

#include <QRect>
#include <QSize>

class IniFile;

// Where the main window opens: [Position] of Velmarin.ini, or centred on the
// work area for the designed size when the keys are absent.
namespace WindowPlacement {

constexpr QSize kDesignedSize{623, 480};
constexpr QSize kMinimumSize{385, 385};
constexpr QSize kDefaultSize{370, 480};

// x, y, width, height as the window applies them in that order (the minimum
// size raises a smaller width or height).
QRect load(const IniFile &ini, const QSize &workArea);
void save(IniFile &ini, const QRect &frame);

// Halves round away from zero, as the settings file has always done.
int centred(int available, int extent);

}  // namespace WindowPlacement
