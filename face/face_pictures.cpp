#include "face/face_pictures.h"

#include <QImageReader>
#include <QPainter>
#include <QString>
#include <tuple>

#include "keypad/keypad.h"
#include "platform/qt/unpacked_image.h"

namespace rpn {

namespace {

QColor PlainKeyColour(KeyColour colour, PlainFaceKind kind)
{
    const bool pressed = kind == PlainFaceKind::Pressed;
    switch (colour) {
        case KeyColour::Blue:
            return pressed ? QColor(132, 132, 255) : QColor(45, 45, 255);
        case KeyColour::Yellow:
            return pressed ? QColor(255, 255, 130) : QColor(241, 241, 44);
        case KeyColour::Grey:
            return pressed ? QColor(212, 212, 209) : QColor(90, 90, 88);
        case KeyColour::None:
            break;
    }
    return {};
}

// The pictures are PNG by construction. Naming the format and turning the
// probing off keeps Qt from loading every image-format plugin (and Qt SVG
// behind one of them) to ask each whether it reads PNG.
QImage ReadPng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// A face picture as the build unpacked it, read in place.
QImage ReadUnpackedFace(const QString& path, QImage::Format format = QImage::Format_RGB555)
{
    return UnpackedImage(path, QSize(kFaceWidth, kFaceHeight), format);
}

QImage ReadPicture(const QString& path, PlainFaceKind fallback)
{
    const QImage picture = ReadPng(path);
    if (picture.isNull() || picture.width() != kFaceWidth || picture.height() != kFaceHeight)
        return PlainFace(fallback);
    return picture;
}

}  // namespace

QImage PlainFace(PlainFaceKind kind)
{
    QImage face(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
    face.fill(QColor(60, 60, 62));
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRect(8, 6, 224, 72), Qt::white);
    painter.fillRect(QRect(17, 11, 206, 58), QColor(180, 241, 235));
    QFont legendFont(QStringLiteral("DejaVu Sans"));
    legendFont.setPixelSize(11);
    painter.setFont(legendFont);
    for (const KeyInfo& key : kKeyTable) {
        if (key.colour == KeyColour::None)
            continue;
        const KeyRectangle r = KeyRect(key.code);
        const QRect rectangle(r.left, r.top, r.right - r.left, r.bottom - r.top);
        painter.setPen(Qt::NoPen);
        painter.setBrush(PlainKeyColour(key.colour, kind));
        painter.drawRoundedRect(rectangle, 4, 4);
        painter.setPen(key.colour == KeyColour::Yellow ? Qt::black : Qt::white);
        painter.drawText(rectangle.adjusted(0, 12, 0, 0), Qt::AlignHCenter | Qt::AlignVCenter,
                         QString::fromUtf8(key.primary.data(), static_cast<qsizetype>(key.primary.size())));
        painter.setPen(QColor(241, 241, 44));
        painter.drawText(rectangle.adjusted(0, 1, 0, -18), Qt::AlignHCenter | Qt::AlignTop,
                         QString::fromUtf8(key.shifted.data(), static_cast<qsizetype>(key.shifted.size())));
    }
    return face;
}

namespace {

std::pair<QImage, QImage> ReadLargePictures()
{
    std::pair<QImage, QImage> large{ReadPng(QStringLiteral(":/face139@2x.png")),
                                    ReadPng(QStringLiteral(":/face141@2x.png"))};
    const QSize size(2 * kFaceWidth, 2 * kFaceHeight);
    if (large.first.size() != size || large.second.size() != size)
        return {};
    return large;
}

QImage ReadPressedPicture()
{
    return ReadPicture(QStringLiteral(":/face141.png"), PlainFaceKind::Pressed);
}

// The unpacked copy of a face, or the PNG when the build made none.
QImage ReadFaceQuickly(const QString& unpacked, const QString& png, PlainFaceKind fallback)
{
    const QImage face = ReadUnpackedFace(unpacked);
    return face.isNull() ? ReadPicture(png, fallback) : face;
}

}  // namespace

FacePictures LoadFacePictures()
{
    FacePictures pictures;
    pictures.normal = ReadPicture(QStringLiteral(":/face139.png"), PlainFaceKind::Normal);
    pictures.pressed = ReadPressedPicture();
    std::tie(pictures.normalLarge, pictures.pressedLarge) = ReadLargePictures();
    return pictures;
}

FacePictures LoadFacePicturesLazily()
{
    FacePictures pictures;
    pictures.normal =
        ReadFaceQuickly(QStringLiteral(":/face139.rgb555"), QStringLiteral(":/face139.png"), PlainFaceKind::Normal);
    pictures.pressed =
        ReadFaceQuickly(QStringLiteral(":/face141.rgb555"), QStringLiteral(":/face141.png"), PlainFaceKind::Pressed);
    pictures.readLarge = ReadLargePictures;
    return pictures;
}

}  // namespace rpn
