#include "pictures.h"

namespace velmora {

QPixmap loadPicture(const QString &name, qreal devicePixelRatio)
{
    const bool sharp = devicePixelRatio > 1.0;
    QPixmap pixmap(QStringLiteral(":/pictures/%1%2.png").arg(name, sharp ? QStringLiteral("@2x") : QString()));
    pixmap.setDevicePixelRatio(sharp ? 2.0 : 1.0);
    return pixmap;
}

} // namespace velmora
