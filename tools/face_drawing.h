#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include "keypad/keypad.h"

namespace rpn {

// Picture 139 shows the keys at rest, picture 141 every key lighter (the
// pressed look); the bezel and the display window are the same in both.
enum class FaceVariant { Normal, Pressed };

// Colours the window code depends on: it reads the display background back
// from the picture, and the brightness arithmetic runs over all of them.
inline constexpr QRgb kBezelColour = qRgb(44, 44, 47);
inline constexpr QRgb kDisplayColour = qRgb(180, 241, 235);
inline constexpr QRgb kDisplayFrameColour = qRgb(255, 255, 255);

// The flat area inside the white frame where the display strip is drawn
// (corners rounded by a pixel or so).
inline constexpr QRect kDisplayArea{17, 11, 207, 58};

// The flat face colour of a key; the bevel and the legends lie around it.
QRgb KeyFaceColour(KeyColour colour, FaceVariant variant);

// Draws one face picture at kFaceWidth x kFaceHeight logical pixels; with a
// device pixel ratio of 2 the image has twice as many pixels each way. The
// legends come from the DejaVu Sans Bold file itself, so the result does not
// depend on fontconfig. Throws std::runtime_error when a font cannot be read.
QImage DrawFace(FaceVariant variant, qreal devicePixelRatio);

// The legends of kKeyTable with a character the legend fonts cannot draw;
// empty when every legend is complete. Throws like DrawFace.
QStringList LegendsMissingGlyphs();

// Writes face_normal.png and face_pressed.png (1x) and their @2x versions
// into directory, which must exist. Throws std::runtime_error on failure.
void WriteFacePictures(const QString& directory);

// The directory the DejaVu Sans Bold file is read from.
QString LegendFontDirectory();

}  // namespace rpn
