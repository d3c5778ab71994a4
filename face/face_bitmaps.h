#pragma once

#include <QImage>
#include <optional>

#include "face/face_pictures.h"

namespace rpn {

// The face pictures as the view paints them: picture 139 at the brightness
// set, picture 141 for the pressed key, and the large pair for dense or
// enlarged screens. The large pair, which a start does not read, is read the
// first time it is asked for; that cache is the only thing the const readers
// change, so the view can compose from a const face.
class FaceBitmaps {
public:
    explicit FaceBitmaps(FacePictures pictures);

    // Rebuilds the faces at a brightness step. False when they already carry
    // it: rebuilding would give the same pixels.
    bool SetBrightness(int brightness);

    // Picture 139 at the brightness set, in the face's pixel format.
    const QImage& Face() const { return m_face; }
    // What a paint copies as the whole face: picture 139 at the brightness
    // set, or its large version. Painting widens its pixels as it copies
    // them, as it does the pressed key's: a copy in the window's format
    // would be a quarter megabyte more to read or fill at start.
    const QImage& PaintedFace(bool large) const;
    // Picture 141, or its large version; the pressed key is copied from it.
    const QImage& PressedFace(bool large) const;
    // Whether there is a large pair to draw from (reads it when not yet read).
    bool HasLargeFaces() const;

private:
    void ReadLargePictures() const;

    // The pictures as given; the reader fills in the large pair on first
    // need, hence mutable, as is the large face made from it at the
    // brightness set.
    mutable FacePictures m_pictures;
    mutable QImage m_largeFace;
    QImage m_face;
    std::optional<int> m_brightness;
};

}  // namespace rpn
