#include <QImage>
#include <QSaveFile>
#include <cstdio>

// Writes a face picture as the bare scanlines of its 16-bit RGB555 form,
// the format the view keeps the face in. The program reads that at start
// instead of decoding the PNG: no inflating, no filtering, no conversion.
//
//   face_pixels INPUT.png OUTPUT
int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: face_pixels INPUT.png OUTPUT\n");
        return 2;
    }
    const QImage picture = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB555);
    if (picture.isNull()) {
        std::fprintf(stderr, "face_pixels: cannot read %s\n", argv[1]);
        return 1;
    }
    QSaveFile output(QString::fromLocal8Bit(argv[2]));
    if (!output.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "face_pixels: cannot write %s\n", argv[2]);
        return 1;
    }
    const qsizetype rowBytes = picture.width() * 2;
    for (int y = 0; y < picture.height(); ++y) {
        if (output.write(reinterpret_cast<const char*>(picture.constScanLine(y)), rowBytes) != rowBytes) {
            std::fprintf(stderr, "face_pixels: cannot write %s\n", argv[2]);
            return 1;
        }
    }
    return output.commit() ? 0 : 1;
}
