#pragma once

#include <QPoint>
#include <QRect>
#include <QtMath>

// Window geometry is laid out in twips: 15 twips a pixel at 96 dpi. Qt's
// logical pixels keep the layout crisp on high-dpi screens.
namespace velmora::twips {

constexpr double PerPixel = 15.0;

inline int toPixels(double twips) { return qRound(twips / PerPixel); }
inline double fromPixels(double pixels) { return pixels * PerPixel; }
inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace velmora::twips
