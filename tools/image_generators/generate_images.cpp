// Draws the program's pictures and icons and writes them into one folder:
//   norvessa-generate-images <folder>
// The same generator built against the same Qt always writes the same bytes.

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <QString>
#include <cstdio>
#include <exception>
#include <functional>
#include <utility>
#include <vector>

#include "tools/image_generators/about_illustration.h"
#include "tools/image_generators/bitmap_file.h"
#include "tools/image_generators/icon_file.h"
#include "tools/image_generators/maker_logo_icon.h"
#include "tools/image_generators/program_icon.h"
#include "tools/image_generators/table_pictures.h"

namespace {

using namespace norvessa::image_generators;

// High enough that the flat colours and thin outlines show no blocks around their edges.
constexpr int kAboutIllustrationQuality = 95;

void writeFile(const QDir& folder, const QString& name, const QByteArray& bytes) {
    const QString path = folder.filePath(name);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    }
    std::printf("%s: %lld bytes\n", qPrintable(path), static_cast<long long>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    // QPainter's text-free drawing needs no display, but Qt's image plugins need an application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: norvessa-generate-images <output folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists()) {
        std::fprintf(stderr, "norvessa-generate-images: no folder %s\n", argv[1]);
        return 1;
    }
    const std::vector<std::pair<QString, std::function<QByteArray()>>> outputs = {
        {"form2_table.bmp", [] { return encodeBitmapFile24(drawForm2TablePicture()); }},
        {"form3_table.bmp", [] { return encodeBitmapFile24(drawForm3TablePicture()); }},
        {"form3.ico", [] { return encodeIconFile(makerLogoIconImages()); }},
        {"form5_image1.jpg",
         [] { return encodeJpegFile(drawAboutIllustration(), kAboutIllustrationQuality); }},
        {"norvessa.ico", [] { return encodeIconFile(programIconImages()); }},
    };
    try {
        for (const auto& [name, encode] : outputs) {
            writeFile(folder, name, encode());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "norvessa-generate-images: %s\n", error.what());
        return 1;
    }
    return 0;
}
