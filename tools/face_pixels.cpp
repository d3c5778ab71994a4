#include <QImage>
#include <QSaveFile>
#include <cstdio>
#include <cstring>

// Writes a picture as the bare scanlines of the form the program keeps it
// in: a face as 16-bit RGB555, a window icon (--argb32) as 32-bit ARGB.
// The program reads that at start instead of decoding the PNG: no
// inflating, no filtering, no conversion, and no image-format plugin asked
// about PNG.
//
//   face_pixels [--argb32] INPUT.png OUTPUT
int main(int argc, char** argv)
{
    const char* option = argc == 4 ? argv[1] : "";
    const bool argb = std::strcmp(option, "--argb32") == 0;
    if (argc != 3 && !argb) {
        std::fprintf(stderr, "usage: face_pixels [--argb32] INPUT.png OUTPUT\n");
        return 2;
    }
    const char* input = argv[argc - 2];
    const char* outputName = argv[argc - 1];
    QImage picture(QString::fromLocal8Bit(input));
    if (argb)
        picture = picture.convertToFormat(QImage::Format_ARGB32);
    else
        picture = picture.convertToFormat(QImage::Format_RGB555);
    if (picture.isNull()) {
        std::fprintf(stderr, "face_pixels: cannot read %s\n", input);
        return 1;
    }
    QSaveFile output(QString::fromLocal8Bit(outputName));
    if (!output.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "face_pixels: cannot write %s\n", outputName);
        return 1;
    }
    const qsizetype rowBytes = picture.width() * (argb ? 4 : 2);
    for (int y = 0; y < picture.height(); ++y) {
        if (output.write(reinterpret_cast<const char*>(picture.constScanLine(y)), rowBytes) != rowBytes) {
            std::fprintf(stderr, "face_pixels: cannot write %s\n", outputName);
            return 1;
        }
    }
    return output.commit() ? 0 : 1;
}
