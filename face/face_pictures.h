#pragma once

#include <QImage>
#include <functional>
#include <utility>

namespace rpn {

// The two face pictures: 139 the face as it is, 141 the same face with every
// key lighter, used for the pressed key. Both 240 x 268; the large pair, when
// there is one, holds the same faces at 480 x 536 for dense screens.
struct FacePictures {
    QImage normal;
    QImage pressed;
    QImage normalLarge;
    QImage pressedLarge;
    // When set, the large pair stays empty and the view calls this the first
    // time it draws the face enlarged: decoding the pair would cost a start
    // more than everything else it reads.
    std::function<std::pair<QImage, QImage>()> readLarge;
};

// Reads the pictures from the program's resources: the two faces from the
// copies the build unpacked into the face's pixel format, used where the
// resources hold them rather than copied, so a start neither decodes nor
// converts a face; the large pair is left to its reader. A picture that
// cannot be read, or is not of its size, stays empty (the large pair both or
// neither), and the view then draws what it has. Nothing is reported.
FacePictures LoadFacePictures();

}  // namespace rpn
