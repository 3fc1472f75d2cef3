#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "access/rgb_image.h"

class FolderMemory;
class IniFile;
class View;

// The grayscale view's rules: the conversion, where the picture sits in the
// window, where the window opens and how the picture is chosen.
namespace GrayScale {

// 0.289 R + 0.586 G + 0.114 B, rounded to the nearest integer with halves
// to even. Computed exactly in thousandths, so a half is a half.
int grayValue(int r, int g, int b);
// R = G = B = gray for every pixel; the same size. Converts in place when
// given the picture to keep (std::move), so a large picture is not doubled.
RgbImage toGray(RgbImage image);

// Centred (halves toward zero) when the picture is narrower and lower than
// the window, else at the top left, from where it scrolls.
QPoint picturePosition(const QSize &window, const QSize &picture);

// [GForm] Left, Top, Width, Height of Velmarin.ini; the defaults centre the
// designed 400 × 300 on the screen and give 500 × 380.
constexpr QSize kDesignedSize{400, 300};
constexpr QSize kDefaultSize{500, 380};
QRect loadPlacement(const IniFile &ini, const QSize &screen);
void savePlacement(IniFile &ini, const QRect &frame);

constexpr const char16_t kFilter[] = u"グラフィックファイル |*.bmp;*.jpg;*.jpeg;*.png";
// The graphics file dialog in the remembered folder; the chosen file's
// folder is remembered. Empty when cancelled.
QString chooseImage(View &view, FolderMemory &folders);

}  // namespace GrayScale
