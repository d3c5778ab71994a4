#pragma once

#include <QImage>

namespace rpn {

// The two face pictures: 139 the face as it is, 141 the same face with every
// key lighter, used for the pressed key. Both 240 x 268; the large pair, when
// there is one, holds the same faces at 480 x 536 for dense screens.
struct FacePictures {
    QImage normal;
    QImage pressed;
    QImage normalLarge;
    QImage pressedLarge;
};

// Reads the pictures from the program's resources. A picture that cannot be
// read is replaced by a plain face drawn from the keypad table, so the
// calculator stays usable; a missing large pair is simply not used. Nothing
// is reported.
FacePictures LoadFacePictures();

enum class PlainFaceKind { Normal, Pressed };
QImage PlainFace(PlainFaceKind kind);

}  // namespace rpn
