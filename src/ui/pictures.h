#pragma once

#include <QImage>
#include <QString>

namespace velmora {

// One of the program's pictures ("background", "chart_template", "marker",
// "statement", "icon"), drawn from SVG at build time at 1x and 2x; the sharper
// one is taken for screens beyond 1x. The image holds the only copy of its
// pixels; a null image when the picture is missing.
QImage loadPicture(const QString &name, qreal devicePixelRatio);

} // namespace velmora
