#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <string>

#include "platform/font_description.h"

namespace rpn {

// Drawing on the back buffer in face coordinates (240 x 268, origin top
// left). The view makes one for each paint over its own image and drops it
// when the paint ends; the surface paints into the image it was given and
// owns nothing else. With a scale above 1 the same drawing lands on an image
// that many times larger, for a crisp face on a dense or enlarged screen.
// Nothing here fails: text in a font that is not installed comes out in the
// platform's fallback font, and a picture smaller than the rectangle copies
// what it has.
class Surface {
public:
    struct Font;

    explicit Surface(QImage& target, qreal scale = 1.0);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    void SetTextColor(QRgb colour);
    void SetBackgroundColor(QRgb colour);
    // The colour already drawn at a face point.
    QRgb GetPixel(int x, int y) const;
    void SelectFont(const FontDescription& description);
    // Opaque text: the character cells, from (x, y) down by the font's cell
    // height, are filled with the background colour, then the glyphs drawn.
    // Nothing is drawn before a font is selected.
    void TextOut(int x, int y, const std::wstring& text);
    // The same rectangle of a picture of the face, copied unchanged. The
    // picture may hold the face at a multiple of its size (a 480 x 536
    // picture for a dense screen); the rectangle is in face pixels.
    void CopyRectangle(const QImage& picture, const QRect& rectangle);
    void CopyPicture(const QImage& picture);
    // An outline `width` face pixels wide along the inside of a rectangle.
    void FrameRectangle(const QRect& rectangle, QRgb colour, int width);
    // Limits all further drawing to a rectangle in face pixels, within any
    // limit set before.
    void ClipTo(const QRect& rectangle);

private:
    QImage& m_target;
    qreal m_scale;
    QPainter m_painter;
    QColor m_textColour{Qt::black};
    QColor m_backgroundColour{Qt::white};
    Font* m_font = nullptr;
};

// The font a description stands for, sized so that its character cell is
// the described height in face pixels, and drawn alike on every desktop.
QFont FontFor(const FontDescription& description);

}  // namespace rpn
