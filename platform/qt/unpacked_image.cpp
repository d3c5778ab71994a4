#include "platform/qt/unpacked_image.h"

#include <QResource>
#include <cstring>

namespace rpn {

QImage UnpackedImage(const QString& path, QSize size, QImage::Format format)
{
    // RGB555 counts 15 bits of a pixel; its scanlines hold 16.
    const int bytesPerPixel = (QImage::toPixelFormat(format).bitsPerPixel() + 7) / 8;
    const qsizetype rowBytes = qsizetype{size.width()} * bytesPerPixel;
    const QResource resource(path);
    if (size.isEmpty() || !resource.isValid() ||
        resource.compressionAlgorithm() != QResource::Compression::NoCompression ||
        resource.size() != rowBytes * size.height())
        return {};
    if (reinterpret_cast<quintptr>(resource.data()) % alignof(quint32) == 0)
        return QImage(resource.data(), size.width(), size.height(), rowBytes, format);
    QImage copy(size, format);
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(copy.scanLine(y), resource.data() + y * rowBytes, static_cast<std::size_t>(rowBytes));
    return copy;
}

}  // namespace rpn
