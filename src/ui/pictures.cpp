#include "pictures.h"

#include <QResource>
#include <QtEndian>

#include <cstring>

namespace velmora {

namespace {

constexpr quint32 Magic = 0x504d4c56;
constexpr int HeaderBytes = 16;

quint32 headerField(const QByteArray &data, int index)
{
    quint32 value = 0;
    std::memcpy(&value, data.constData() + 4 * index, sizeof value);
    return qFromLittleEndian(value);
}

} // namespace

QImage loadPicture(const QString &name, qreal devicePixelRatio)
{
    const bool sharp = devicePixelRatio > 1.0;
    const QResource resource(QStringLiteral(":/pictures/%1%2.pixels").arg(name, sharp ? QStringLiteral("@2x") : QString()));
    // Uncompressed once, straight into the memory the image then uses.
    auto *data = new QByteArray(resource.uncompressedData());
    const int width = int(data->size() >= HeaderBytes ? headerField(*data, 1) : 0);
    const int height = int(data->size() >= HeaderBytes ? headerField(*data, 2) : 0);
    const auto format = QImage::Format(data->size() >= HeaderBytes ? headerField(*data, 3) : 0);
    if (data->size() < HeaderBytes || headerField(*data, 0) != Magic
        || data->size() != HeaderBytes + qsizetype(width) * height * 4) {
        delete data;
        return QImage();
    }
    QImage image(reinterpret_cast<const uchar *>(data->constData() + HeaderBytes), width, height, width * 4, format,
                 [](void *owned) { delete static_cast<QByteArray *>(owned); }, data);
    image.setDevicePixelRatio(sharp ? 2.0 : 1.0);
    return image;
}

} // namespace velmora
