#pragma once

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QRect>
#include <optional>
#include <string>

#include "platform/font_description.h"
#include "platform/qt/text_pictures.h"

namespace rpn {

struct SizedFontEntry;

// Drawing on the back buffer in face coordinates (240 x 268, origin top
// left). The view makes one for each paint over its own image and drops it
// when the paint ends; the surface paints into the image it was given and
// owns nothing else. With a scale above 1 the same drawing lands on an image
// that many times larger, for a crisp face on a dense or enlarged screen.
// Nothing here fails: text in a font that is not installed comes out in the
// platform's fallback font, and a picture smaller than the rectangle copies
// what it has. Given the build's glyph pictures, a text they hold is drawn
// from them, with the same pixels, and its font is never loaded.
class Surface {
public:
    explicit Surface(QImage& target, qreal scale = 1.0, const TextPictures* pictures = nullptr);
    // Straight onto whatever a painter is painting (a window), the face's
    // top left at `origin`, one device pixel per face pixel. There is no
    // picture to read back, so GetPixel reads black, and texts come from
    // the fonts; the painter is left as it was found.
    Surface(QPainter& painter, QPointF origin);
    ~Surface();
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
    // The glyphs alone, as TextOut places them, at a point that may fall
    // between pixels; always from the font. The glyph pictures are drawn
    // with this.
    void DrawGlyphs(QPointF at, const std::wstring& text);
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

    qreal Scale() const { return m_scale; }

private:
    SizedFontEntry& Font();
    QRect DeviceClip() const;

    QImage* m_target;
    qreal m_scale;
    std::optional<QPainter> m_ownPainter;
    QPainter* m_painter = nullptr;
    QColor m_textColour{Qt::black};
    QColor m_backgroundColour{Qt::white};
    const TextPictures* m_pictures;
    // The font selected, sized only when a text needs it.
    std::optional<FontDescription> m_description;
    SizedFontEntry* m_font = nullptr;
    const TextPictures::Font* m_pictured = nullptr;
    std::optional<QRect> m_clip;
};

// A text laid out in a font as TextOut lays it out: the glyphs, placed from
// the top left of its cells, and the width of the cells.
struct ShapedText {
    qreal advance = 0;
    QList<QGlyphRun> runs;
};
// The reference holds until the next text is shaped.
const ShapedText& ShapeText(const FontDescription& description, const std::wstring& text);

// The font a description stands for, sized so that its character cell is
// the described height in face pixels.
QFont FontFor(const FontDescription& description);

}  // namespace rpn
