// Writes every image of an icon file as <folder>/<size>x<size>/apps/<name>.png, the layout of the
// desktop's hicolor icon theme. Where the icon holds two images of one size, the one with the
// deeper colour (alpha) wins.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: icon_export ICON.ico OUTPUT_FOLDER NAME\n");
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    QMap<int, QImage> bestBySize;
    do {
        QImage image = reader.read();
        if (image.isNull()) {
            std::fprintf(stderr, "icon_export: cannot read %s: %s\n", argv[1],
                         qPrintable(reader.errorString()));
            return 1;
        }
        const int size = image.width();
        if (!bestBySize.contains(size) ||
            (image.hasAlphaChannel() && !bestBySize[size].hasAlphaChannel())) {
            bestBySize[size] = image;
        }
    } while (reader.jumpToNextImage());

    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (auto entry = bestBySize.cbegin(); entry != bestBySize.cend(); ++entry) {
        const QString appsFolder = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(entry.key());
        const QString file = appsFolder + "/" + name + ".png";
        if (!QDir().mkpath(appsFolder) || !entry.value().save(file, "PNG")) {
            std::fprintf(stderr, "icon_export: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
