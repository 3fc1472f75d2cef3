#include "access/dichromacy.h"

#include <cmath>

namespace Dichromacy {

namespace {

struct Axis {
    double cu, cv;  // confusion point
    double bu, bv;  // axis start
    double eu, ev;  // axis end
};

constexpr Axis kAxes[3] = {
    {0.735, 0.265, 0.115807, 0.073581, 0.471899, 0.527051},
    {1.14, -0.14, 0.102776, 0.102864, 0.505845, 0.493211},
    {0.171, -0.003, 0.045391, 0.294976, 0.665764, 0.334011},
};

// The web-safe step index of a channel: FF 0, CC 1, 99 2, 66 3, 33 4, 00 5;
// -1 for other values.
int webSafeStep(std::uint8_t v)
{
    return v % 0x33 == 0 ? 5 - v / 0x33 : -1;
}

std::uint8_t toChannel(double linearValue)
{
    double v = linearValue > 0 ? std::pow(linearValue, 1 / 2.2) : 0.0;
    if (v >= 1) v = 1;
    return std::uint8_t(std::min(std::floor(v * 255 + 0.5), 255.0));
}

}  // namespace

Rgb compute(Rgb c, int kind)
{
    if (kind < 1 || kind > 3) return c;
    const double r = std::pow(c.r / 255.0, 2.2);
    const double g = std::pow(c.g / 255.0, 2.2);
    const double b = std::pow(c.b / 255.0, 2.2);
    const double x = 0.430574 * r + 0.341550 * g + 0.178325 * b;
    const double y = 0.222015 * r + 0.706655 * g + 0.071330 * b;
    const double z = 0.020183 * r + 0.129553 * g + 0.939180 * b;
    const double sum = x + y + z;
    const double u = sum != 0 ? x / sum : 0;
    const double v = sum != 0 ? y / sum : 0;

    const Axis &k = kAxes[kind - 1];
    const double a = (k.ev - k.bv) / (k.eu - k.bu);
    const double ai = k.bv - k.bu * a;
    const double m = u < k.cu ? (k.cv - v) / (k.cu - u) : (v - k.cv) / (u - k.cu);
    const double mi = v - u * m;
    const double du = (ai - mi) / (m - a);
    const double dv = m * du + mi;

    double x2 = x, z2 = z;
    if (dv != 0) {
        x2 = du * y / dv;
        z2 = (1 - du - dv) * y / dv;
    }
    const double y2 = y;
    return Rgb{toChannel(3.063218 * x2 - 1.393325 * y2 - 0.475802 * z2),
               toChannel(-0.969243 * x2 + 1.875966 * y2 + 0.041555 * z2),
               toChannel(0.067871 * x2 - 0.228834 * y2 + 1.069251 * z2)};
}

const Row *tableRow(Rgb c)
{
    const int r = webSafeStep(c.r), g = webSafeStep(c.g), b = webSafeStep(c.b);
    if (r >= 0 && g >= 0 && b >= 0) return &kTable[36 * r + 6 * g + b];
    const std::uint32_t value = rgbValue(c);
    for (int i = kWebSafeRows; i < kTableRows; ++i)
        if (kTable[i].colour == value) return &kTable[i];
    return nullptr;
}

Rgb simulate(Rgb c, int kind)
{
    if (kind < 1 || kind > 3 || c == kBlack) return c;
    if (const Row *row = tableRow(c)) return rgbFromValue(row->seen[kind - 1]);
    return compute(c, kind);
}

}  // namespace Dichromacy
