#include "face/face_pictures.h"

#include <QImageReader>
#include <QString>

#include "keypad/keypad.h"
#include "platform/qt/unpacked_image.h"

namespace rpn {

namespace {

constexpr QSize kFaceSize{kFaceWidth, kFaceHeight};

// The pictures are PNG by construction. Naming the format and turning the
// probing off keeps Qt from loading every image-format plugin (and Qt SVG
// behind one of them) to ask each whether it reads PNG.
QImage ReadPng(const QString& path, QSize size)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    const QImage picture = reader.read();
    return picture.size() == size ? picture : QImage();
}

std::pair<QImage, QImage> ReadLargePictures()
{
    std::pair<QImage, QImage> large{ReadPng(QStringLiteral(":/face139@2x.png"), kFaceSize * 2),
                                    ReadPng(QStringLiteral(":/face141@2x.png"), kFaceSize * 2)};
    if (large.first.isNull() || large.second.isNull())
        return {};
    return large;
}

}  // namespace

FacePictures LoadFacePictures()
{
    FacePictures pictures;
    pictures.normal = UnpackedImage(QStringLiteral(":/face139.rgb555"), kFaceSize, QImage::Format_RGB555);
    pictures.pressed = UnpackedImage(QStringLiteral(":/face141.rgb555"), kFaceSize, QImage::Format_RGB555);
    pictures.readLarge = ReadLargePictures;
    return pictures;
}

}  // namespace rpn
