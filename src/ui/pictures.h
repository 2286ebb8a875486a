#pragma once

#include <QIcon>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace velmora {

// The program's pictures ("background", "chart_template", "marker",
// "statement", "icon"), drawn from SVG at build time at 1x and 2x; the sharper
// one is taken for screens beyond 1x. Each is kept compressed in eight bands
// of rows.

// The whole picture; a null image when it is missing.
QImage loadPicture(const QString &name, qreal devicePixelRatio);

// Paints the bands of the picture that meet `region` (logical pixels) at the
// painter's origin, one band in memory at a time: large pictures are never
// held whole for painting.
void paintPicture(QPainter &painter, const QString &name, qreal devicePixelRatio, const QRect &region);

// An icon of the picture at 1x, drawn only when a size of it is asked for
// (the offscreen platform never asks; X11 asks once for the window's icon).
QIcon pictureIcon(const QString &name);

} // namespace velmora
