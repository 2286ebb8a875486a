// Build step: renders the program's SVG pictures at 1x and 2x into raw
// pixels, so that the program shows them at start-up without laying out their
// text or decoding an image format. Each picture is cut into eight bands of
// rows ("<name>.pixels.0" .. ".7", "<name>@2x.pixels.0" ...), so a window
// can paint the part it needs without holding the whole picture. A band is a
// header of five 32-bit little-endian numbers - magic, width, rows, QImage
// format, first row - then its rows. The resource compiler compresses them.
// Usage: render_pictures <output-folder> <picture.svg>...
//        render_pictures --ico <file.ico> <icon.svg>   (the Windows program icon)

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int BandCount = 8;

bool writeBand(const QImage &image, int firstRow, int rows, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const quint32 header[5] = {qToLittleEndian(quint32(0x504d4c56)), qToLittleEndian(quint32(image.width())),
                               qToLittleEndian(quint32(rows)), qToLittleEndian(quint32(image.format())),
                               qToLittleEndian(quint32(firstRow))};
    bool ok = file.write(reinterpret_cast<const char *>(header), sizeof header) == qint64(sizeof header);
    for (int y = firstRow; ok && y < firstRow + rows; ++y)
        ok = file.write(reinterpret_cast<const char *>(image.constScanLine(y)), image.width() * 4) == image.width() * 4;
    return ok && file.flush();
}

// Bands of whole logical rows: at 2x each band starts on an even row.
bool writeBands(const QImage &image, int scale, const QString &path)
{
    const int logicalRows = (image.height() / scale + BandCount - 1) / BandCount;
    const int rowsPerBand = logicalRows * scale;
    for (int band = 0; band < BandCount; ++band) {
        const int first = std::min(band * rowsPerBand, image.height());
        const int rows = std::min(rowsPerBand, image.height() - first);
        if (!writeBand(image, first, rows, path + QLatin1Char('.') + QString::number(band)))
            return false;
    }
    return true;
}

QImage render(QSvgRenderer &renderer, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    return image;
}

// An icon file of PNG images (read by Windows since Vista): a directory of
// 16-byte entries, then the images.
bool writeIcon(QSvgRenderer &renderer, const QString &path)
{
    const int sizes[] = {16, 24, 32, 48, 64, 256};
    QList<QByteArray> images;
    for (int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!render(renderer, QSize(size, size)).save(&buffer, "PNG"))
            return false;
        images << png;
    }
    QByteArray out;
    const auto put16 = [&](quint16 v) { out.append(char(v & 0xff)).append(char(v >> 8)); };
    const auto put32 = [&](quint32 v) { put16(quint16(v & 0xffff)), put16(quint16(v >> 16)); };
    put16(0), put16(1), put16(quint16(images.size()));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (int i = 0; i < images.size(); ++i) {
        const int size = sizes[i];
        out.append(char(size == 256 ? 0 : size)).append(char(size == 256 ? 0 : size)).append('\0').append('\0');
        put16(1), put16(32), put32(quint32(images[i].size())), put32(offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray &png : images)
        out += png;
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: render_pictures <output-folder> <picture.svg>...\n");
        return 2;
    }
    if (QByteArrayView(argv[1]) == "--ico" && argc == 4) {
        QSvgRenderer renderer(QString::fromLocal8Bit(argv[3]));
        return renderer.isValid() && writeIcon(renderer, QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const QString source = QString::fromLocal8Bit(argv[i]);
        QSvgRenderer renderer(source);
        if (!renderer.isValid()) {
            std::fprintf(stderr, "render_pictures: cannot read %s\n", argv[i]);
            return 1;
        }
        const QString base = QFileInfo(source).completeBaseName();
        for (int scale : {1, 2}) {
            QImage image = render(renderer, renderer.defaultSize() * scale);
            // Pictures without transparency paint faster as opaque images.
            if (image.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32_Premultiplied) == image)
                image.convertTo(QImage::Format_RGB32);
            const QString name = scale == 1 ? base + QStringLiteral(".pixels") : base + QStringLiteral("@2x.pixels");
            if (!writeBands(image, scale, output.filePath(name))) {
                std::fprintf(stderr, "render_pictures: cannot write %s\n", qPrintable(output.filePath(name)));
                return 1;
            }
        }
    }
    return 0;
}
