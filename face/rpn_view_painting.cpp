#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <cmath>
#include <utility>

#include "display/render.h"
#include "face/rpn_view.h"
#include "keypad/keypad.h"
#include "platform/qt/surface.h"

namespace rpn {

namespace {

// Above this many device pixels per face pixel the large pictures look better.
constexpr qreal kLargePictureScale = 1.25;

// The focus ring lies in the gap around its key, in a colour that none of
// the face's keys or its bezel has.
constexpr int kFocusRingWidth = 2;
constexpr QRgb kFocusRingColour = qRgb(255, 150, 0);

}  // namespace

QRect CRPNView::KeyArea(int code)
{
    const KeyRectangle key = KeyRect(code);
    return {key.left, key.top, key.right - key.left, key.bottom - key.top};
}

QRect CRPNView::FocusRingArea(int code)
{
    return KeyArea(code).adjusted(-kFocusRingWidth, -kFocusRingWidth, kFocusRingWidth, kFocusRingWidth);
}

QImage CRPNView::ComposeBackBuffer() const
{
    QImage image(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
    Compose(image, 1.0);
    return image;
}

void CRPNView::Compose(QImage& target, qreal scale, const QRect& area) const
{
    Surface surface(target, scale);
    const bool large = scale > kLargePictureScale && m_bitmaps.HasLargeFaces();
    if (area != kWholeFace)
        surface.ClipTo(area);
    surface.CopyPicture(m_bitmaps.PaintedFace(large));
    const CalcState& state = m_document.State();
    if (state.KeyCode != 0) {
        const QRect keyArea = KeyArea(state.KeyCode);
        if (keyArea.intersects(area))
            surface.CopyRectangle(m_bitmaps.PressedFace(large), keyArea);
    }
    if (m_focusedKey != 0 && FocusRingArea(m_focusedKey).intersects(area))
        surface.FrameRectangle(FocusRingArea(m_focusedKey), kFocusRingColour, kFocusRingWidth);
    if (area.top() < kDisplayStripBottom)
        DrawDisplay(state, surface);
}

void CRPNView::paintEvent(QPaintEvent* event)
{
    const qreal scale = FaceScale();
    const QPointF origin = FaceOrigin();
    QPainter painter(this);
    // The bezel colour fills whatever the face leaves of an enlarged window.
    if (!QRectF(origin, QSizeF(kFaceWidth, kFaceHeight) * scale).contains(QRectF(rect()))) {
        const QImage& face = m_bitmaps.Face();
        const QRgb bezel = face.isNull() ? qRgb(0, 0, 0) : face.pixel(0, 0);
        painter.fillRect(rect(), QColor::fromRgb(bezel));
    }
    // The face is composed at the screen's resolution, so that text and
    // edges stay sharp rather than blown up from a small picture. What the
    // event asks for, in face pixels: a key changes the display band and the
    // key's rectangle, not the whole face.
    const qreal ratio = devicePixelRatioF();
    const qreal deviceScale = scale * ratio;
    QRect area = QRectF((QPointF(event->rect().topLeft()) - origin) / scale, QSizeF(event->rect().size()) / scale)
                     .toAlignedRect()
                     .intersected(kWholeFace);
    const QSize deviceSize(static_cast<int>(std::ceil(kFaceWidth * deviceScale)),
                           static_cast<int>(std::ceil(kFaceHeight * deviceScale)));
    if (m_backBuffer.size() != deviceSize) {
        m_backBuffer = QImage(deviceSize, QImage::Format_RGB32);
        area = kWholeFace;
    }
    Compose(m_backBuffer, deviceScale, area);
    const QRect deviceArea = QRectF(QPointF(area.topLeft()) * deviceScale, QSizeF(area.size()) * deviceScale)
                                 .toAlignedRect()
                                 .intersected(m_backBuffer.rect());
    // The buffer keeps a ratio of 1: the painter maps its pixels one to one
    // onto the device pixels of the target rectangle.
    painter.drawImage(QRectF(origin + QPointF(deviceArea.topLeft()) / ratio, QSizeF(deviceArea.size()) / ratio),
                      m_backBuffer, QRectF(deviceArea));
    FirstPaintDone();
}

void CRPNView::FirstPaintDone()
{
    // The window's picture goes to the screen once every widget has painted;
    // the next turn of the loop comes after that.
    if (m_firstFrameHook)
        QTimer::singleShot(0, this, std::exchange(m_firstFrameHook, nullptr));
}

}  // namespace rpn
