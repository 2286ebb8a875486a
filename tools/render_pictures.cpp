// Build step: renders the program's SVG pictures at 1x and 2x into raw
// pixels ("<name>.pixels", "<name>@2x.pixels": a header of four 32-bit
// little-endian numbers - magic, width, height, QImage format - then the
// rows), so that the program shows them at start-up without laying out their
// text or decoding an image format. The resource compiler compresses them.
// Usage: render_pictures <output-folder> <picture.svg>...

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>

namespace {

bool writePixels(const QImage &image, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const quint32 header[4] = {qToLittleEndian(quint32(0x504d4c56)), qToLittleEndian(quint32(image.width())),
                               qToLittleEndian(quint32(image.height())), qToLittleEndian(quint32(image.format()))};
    bool ok = file.write(reinterpret_cast<const char *>(header), sizeof header) == qint64(sizeof header);
    for (int y = 0; ok && y < image.height(); ++y)
        ok = file.write(reinterpret_cast<const char *>(image.constScanLine(y)), image.width() * 4) == image.width() * 4;
    return ok && file.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: render_pictures <output-folder> <picture.svg>...\n");
        return 2;
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
            QImage image(renderer.defaultSize() * scale, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
            painter.end();
            // Pictures without transparency paint faster as opaque images.
            if (image.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32_Premultiplied) == image)
                image.convertTo(QImage::Format_RGB32);
            const QString name = scale == 1 ? base + QStringLiteral(".pixels") : base + QStringLiteral("@2x.pixels");
            if (!writePixels(image, output.filePath(name))) {
                std::fprintf(stderr, "render_pictures: cannot write %s\n", qPrintable(output.filePath(name)));
                return 1;
            }
        }
    }
    return 0;
}
