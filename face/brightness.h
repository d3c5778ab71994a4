#pragma once

#include <QImage>

namespace rpn {

// The face's own pixel layout: three 5-bit channels, bit 15 clear.
inline constexpr QImage::Format kFacePixelFormat = QImage::Format_RGB555;

// Lightens (b > 0) or darkens (b < 0) every pixel of a face picture in
// place: each 5-bit channel moves by trunc(|b| * 31 / 8), held within 0..31.
// The picture is converted to the face's pixel layout first if it is not in
// it. Values beyond -4..4 come only from an edited store; they saturate.
void AdjustBrightness(QImage& picture, int brightness);

}  // namespace rpn
