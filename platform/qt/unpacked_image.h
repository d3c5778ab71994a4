#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace rpn {

// A picture the build unpacked into the program's resources: its bare
// scanlines, stored uncompressed, in `format`. The image reads the resource
// in place (the resources are part of the program and never go away), or a
// copy of it where the data is not aligned as QImage needs. A null image when
// the resource is missing, compressed or not of that size.
QImage UnpackedImage(const QString& path, QSize size, QImage::Format format);

}  // namespace rpn
