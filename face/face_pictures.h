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
    // When set, the field it reads stays empty and the view calls it the
    // first time it needs that picture, so a start decodes only what its
    // first frame shows.
    std::function<QImage()> readPressed;
    std::function<std::pair<QImage, QImage>()> readLarge;
};

// Reads the pictures from the program's resources. A picture that cannot be
// read is replaced by a plain face drawn from the keypad table, so the
// calculator stays usable; a missing large pair is simply not used. Nothing
// is reported.
FacePictures LoadFacePictures();
// The same pictures with only picture 139 read now: the pressed face and the
// large pair are left to their readers. The two faces come from the copies
// the build unpacked into the face's pixel format (the PNGs if those are
// missing), and picture 139 also from its copy in the back buffer's format.
// Those are used where the program's resources hold them, not copied: a
// start neither decodes nor converts a face, nor fills fresh memory with one.
FacePictures LoadFacePicturesLazily();

enum class PlainFaceKind { Normal, Pressed };
QImage PlainFace(PlainFaceKind kind);

}  // namespace rpn
