#include "ui/pictures.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QResource>
#include <QStyle>
#include <QStyleOption>
#include <QtEndian>

#include <array>
#include <cstring>
#include <vector>

namespace velmora {

namespace {

constexpr quint32 Magic = 0x504d4c56;
constexpr int BandCount = 8;
constexpr int HeaderBytes = 20;

struct Band
{
    QImage rows;
    int firstRow = 0;
};

// Field `index` of a band's header; the caller has checked that the header is
// there. (Inlined into a caller, GCC takes the pointer for that of the empty
// QByteArray, one byte long, and warns of reads past it that never happen.)
QT_WARNING_PUSH
QT_WARNING_DISABLE_GCC("-Warray-bounds")
quint32 headerField(const QByteArray &data, int index)
{
    quint32 value = 0;
    std::memcpy(&value, data.constData() + 4 * index, sizeof value);
    return qFromLittleEndian(value);
}
QT_WARNING_POP

QString bandPath(const QString &name, qreal devicePixelRatio, int band)
{
    return QStringLiteral(":/pictures/%1%2.pixels.%3")
        .arg(name, devicePixelRatio > 1.0 ? QStringLiteral("@2x") : QString())
        .arg(band);
}

// One band, uncompressed straight into the memory its image then uses.
Band loadBand(const QString &name, qreal devicePixelRatio, int band)
{
    auto *data = new QByteArray(QResource(bandPath(name, devicePixelRatio, band)).uncompressedData());
    const bool headed = data->size() >= HeaderBytes && headerField(*data, 0) == Magic;
    const int width = headed ? int(headerField(*data, 1)) : 0;
    const int rows = headed ? int(headerField(*data, 2)) : 0;
    if (!headed || rows == 0 || data->size() != HeaderBytes + qsizetype(width) * rows * 4) {
        delete data;
        return {};
    }
    const auto format = QImage::Format(headerField(*data, 3));
    const int firstRow = int(headerField(*data, 4));
    QImage image(reinterpret_cast<const uchar *>(data->constData() + HeaderBytes), width, rows, width * 4, format,
                 [](void *owned) { delete static_cast<QByteArray *>(owned); }, data);
    return {image, firstRow};
}

class PictureIconEngine : public QIconEngine
{
public:
    explicit PictureIconEngine(const QString &name) : m_name(name) {}
    QIconEngine *clone() const override { return new PictureIconEngine(m_name); }
    bool isNull() override { return false; } // without drawing it: the picture is built in

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {pictureSize()}; }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const QSize whole = pictureSize();
        return whole.width() <= size.width() && whole.height() <= size.height()
                   ? whole
                   : whole.scaled(size, Qt::KeepAspectRatio);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QImage picture = loadPicture(m_name, 1.0);
        const QSize fit = actualSize(size, mode, state);
        if (picture.size() != fit)
            picture = picture.scaled(fit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPixmap drawn = QPixmap::fromImage(std::move(picture));
        if (mode == QIcon::Normal)
            return drawn;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, drawn, &option);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

private:
    QSize pictureSize()
    {
        if (!m_size.isValid())
            m_size = loadPicture(m_name, 1.0).size();
        return m_size;
    }

    QString m_name;
    QSize m_size;
};

qreal sharpness(qreal devicePixelRatio)
{
    return devicePixelRatio > 1.0 ? 2.0 : 1.0;
}

} // namespace

QImage loadPicture(const QString &name, qreal devicePixelRatio)
{
    std::vector<Band> bands;
    int height = 0;
    for (int i = 0; i < BandCount; ++i) {
        Band band = loadBand(name, devicePixelRatio, i);
        if (band.rows.isNull())
            continue;
        height = std::max(height, band.firstRow + band.rows.height());
        bands.push_back(std::move(band));
    }
    if (bands.empty())
        return QImage();
    QImage picture(bands.front().rows.width(), height, bands.front().rows.format());
    for (const Band &band : bands)
        for (int y = 0; y < band.rows.height(); ++y)
            std::memcpy(picture.scanLine(band.firstRow + y), band.rows.constScanLine(y), size_t(band.rows.bytesPerLine()));
    picture.setDevicePixelRatio(sharpness(devicePixelRatio));
    return picture;
}

QIcon pictureIcon(const QString &name)
{
    return QIcon(new PictureIconEngine(name));
}

void paintPicture(QPainter &painter, const QString &name, qreal devicePixelRatio, const QRect &region)
{
    // Where each band stands, learnt when it is first painted, so later paints
    // of a small region uncompress only the bands they need.
    static QHash<QString, std::array<QRectF, BandCount>> places;
    const qreal scale = sharpness(devicePixelRatio);
    auto &known = places[bandPath(name, devicePixelRatio, 0)];
    for (int i = 0; i < BandCount; ++i) {
        if (!known[size_t(i)].isNull() && !known[size_t(i)].intersects(region))
            continue;
        Band band = loadBand(name, devicePixelRatio, i);
        if (band.rows.isNull())
            continue;
        band.rows.setDevicePixelRatio(scale);
        const QRectF place(0, band.firstRow / scale, band.rows.width() / scale, band.rows.height() / scale);
        known[size_t(i)] = place;
        if (place.intersects(region))
            painter.drawImage(place.topLeft(), band.rows);
    }
}

} // namespace velmora
