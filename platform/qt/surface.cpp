#include "platform/qt/surface.h"

#include <QFontMetricsF>
#include <QString>
#include <cmath>

#include "platform/qt/fonts.h"

namespace rpn {

namespace {
constexpr int kFaceWidth = 240;
constexpr int kFaceHeight = 268;
}  // namespace

QFont FontFor(const FontDescription& description)
{
    // Naming the substitute itself spares Qt a fontconfig alias lookup of a
    // face no system has ("Tohoma", "System").
    QFont font(QFont::substitute(QString::fromStdWString(description.faceName)));
    font.setPixelSize(PixelSizeForCell(description.height));
    font.setWeight(static_cast<QFont::Weight>(SubstituteWeight(description.faceName, description.weight)));
    // The desktop's font settings would otherwise change the display's
    // glyphs: full hinting moves their stems to whole pixels, and subpixel
    // smoothing colours their edges. Vertical hinting alone keeps each
    // glyph's shape and width at every scale.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(static_cast<QFont::StyleStrategy>(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return font;
}

Surface::Surface(QImage& target, qreal scale) : m_target(target), m_scale(scale), m_painter(&target)
{
    m_painter.scale(scale, scale);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    const bool wholeScale = std::floor(scale) == scale;
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, !wholeScale);
}

void Surface::SetTextColor(QRgb colour)
{
    m_textColour = QColor::fromRgb(colour);
}

void Surface::SetBackgroundColor(QRgb colour)
{
    m_backgroundColour = QColor::fromRgb(colour);
}

QRgb Surface::GetPixel(int x, int y) const
{
    const int deviceX = static_cast<int>(std::floor((x + 0.5) * m_scale));
    const int deviceY = static_cast<int>(std::floor((y + 0.5) * m_scale));
    if (!m_target.valid(deviceX, deviceY))
        return qRgb(0, 0, 0);
    return m_target.pixel(deviceX, deviceY);
}

void Surface::SelectFont(const FontDescription& description)
{
    m_painter.setFont(FontFor(description));
    m_cellHeight = description.height;
}

void Surface::TextOut(int x, int y, const std::wstring& text)
{
    if (m_cellHeight == 0)
        return;
    // The font is opened by its first text, so a paint that shows no
    // prefix never opens the prefix's.
    const QFontMetricsF metrics(m_painter.font());
    const QString shown = QString::fromStdWString(text);
    m_painter.fillRect(QRectF(x, y, metrics.horizontalAdvance(shown), m_cellHeight), m_backgroundColour);
    m_painter.setPen(m_textColour);
    m_painter.drawText(QPointF(x, y + metrics.ascent()), shown);
}

void Surface::CopyRectangle(const QImage& picture, const QRect& rectangle)
{
    const qreal pictureScale = picture.width() / qreal(kFaceWidth);
    const QRectF source(rectangle.x() * pictureScale, rectangle.y() * pictureScale, rectangle.width() * pictureScale,
                        rectangle.height() * pictureScale);
    m_painter.drawImage(QRectF(rectangle), picture, source);
}

void Surface::ClipTo(const QRect& rectangle)
{
    m_painter.setClipRect(rectangle, m_painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void Surface::CopyPicture(const QImage& picture)
{
    m_painter.drawImage(QRectF(0, 0, kFaceWidth, kFaceHeight), picture, QRectF(picture.rect()));
}

void Surface::FrameRectangle(const QRect& rectangle, QRgb colour, int width)
{
    const QColor fill = QColor::fromRgb(colour);
    const int x = rectangle.x();
    const int y = rectangle.y();
    const int w = rectangle.width();
    const int h = rectangle.height();
    m_painter.fillRect(QRectF(x, y, w, width), fill);
    m_painter.fillRect(QRectF(x, y + h - width, w, width), fill);
    m_painter.fillRect(QRectF(x, y, width, h), fill);
    m_painter.fillRect(QRectF(x + w - width, y, width, h), fill);
}

}  // namespace rpn
