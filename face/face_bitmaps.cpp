#include "face/face_bitmaps.h"

#include <utility>

#include "face/brightness.h"

namespace rpn {

namespace {

QImage InFacePixelFormat(const QImage& picture)
{
    return picture.isNull() ? picture : picture.convertToFormat(kFacePixelFormat);
}

FacePictures InFacePixelFormat(FacePictures pictures)
{
    pictures.normal = InFacePixelFormat(pictures.normal);
    pictures.pressed = InFacePixelFormat(pictures.pressed);
    pictures.normalLarge = InFacePixelFormat(pictures.normalLarge);
    pictures.pressedLarge = InFacePixelFormat(pictures.pressedLarge);
    return pictures;
}

}  // namespace

FaceBitmaps::FaceBitmaps(FacePictures pictures)
    : m_pictures(InFacePixelFormat(std::move(pictures))), m_largeFace(m_pictures.normalLarge), m_face(m_pictures.normal)
{
}

bool FaceBitmaps::SetBrightness(int brightness)
{
    if (m_brightness == brightness)
        return false;
    m_face = m_pictures.normal;
    m_largeFace = m_pictures.normalLarge;
    AdjustBrightness(m_face, brightness);
    AdjustBrightness(m_largeFace, brightness);
    m_brightness = brightness;
    return true;
}

const QImage& FaceBitmaps::PaintedFace(bool large) const
{
    return large ? m_largeFace : m_face;
}

const QImage& FaceBitmaps::PressedFace(bool large) const
{
    return large ? m_pictures.pressedLarge : m_pictures.pressed;
}

bool FaceBitmaps::HasLargeFaces() const
{
    ReadLargePictures();
    return !m_largeFace.isNull();
}

void FaceBitmaps::ReadLargePictures() const
{
    if (!m_pictures.readLarge)
        return;
    const auto [normal, pressed] = m_pictures.readLarge();
    m_pictures.readLarge = nullptr;
    m_pictures.normalLarge = InFacePixelFormat(normal);
    m_pictures.pressedLarge = InFacePixelFormat(pressed);
    m_largeFace = m_pictures.normalLarge;
    AdjustBrightness(m_largeFace, m_brightness.value_or(0));
}

}  // namespace rpn
