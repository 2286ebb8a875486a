#pragma once

#include <QPixmap>
#include <QString>

namespace velmora {

// A picture of the program's resources (":/background.svg" ...) rendered at
// the given size in logical pixels, sharp at the screen's device pixel ratio.
QPixmap renderPicture(const QString &resource, QSize logicalSize, qreal devicePixelRatio);

} // namespace velmora
