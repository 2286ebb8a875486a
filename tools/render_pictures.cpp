// Build step: renders the program's SVG pictures to PNG at 1x and 2x, so that
// the program shows them at start-up without laying out their text.
// Usage: render_pictures <output-folder> <picture.svg>...

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

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
            const QString name = scale == 1 ? base + QStringLiteral(".png") : base + QStringLiteral("@2x.png");
            if (!image.save(output.filePath(name))) {
                std::fprintf(stderr, "render_pictures: cannot write %s\n", qPrintable(output.filePath(name)));
                return 1;
            }
        }
    }
    return 0;
}
