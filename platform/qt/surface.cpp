#include "platform/qt/surface.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPainterPath>
#include <QString>
#include <QTextLayout>
#include <cmath>
#include <deque>

#include "platform/qt/fonts.h"

namespace rpn {

namespace {
constexpr int kFaceWidth = 240;
constexpr int kFaceHeight = 268;

// A text laid out as drawText lays it out: the glyphs, placed from the top
// left of its cells, and the width of the cells.
struct ShapedText {
    qreal advance = 0;
    QList<QGlyphRun> runs;
};

}  // namespace

// A display font and the texts shaped in it. Shaping is most of what drawing
// a text costs, and the display draws the same few texts at every key: the
// digits one cell at a time, the mode labels, the stack lines until the
// stack moves.
struct Surface::Font {
    FontDescription description;
    QFont font;
    QHash<QString, ShapedText> shaped;
};

namespace {

Surface::Font& FontEntry(const FontDescription& description)
{
    // Kept past the application's end: a font must not outlive Qt's font
    // cache, which a static destructor could not promise. A deque, so that a
    // surface may keep pointing at an entry while others are added.
    static auto* const fonts = new std::deque<Surface::Font>;
    for (Surface::Font& entry : *fonts)
        if (entry.description.height == description.height && entry.description.weight == description.weight &&
            entry.description.faceName == description.faceName)
            return entry;
    return fonts->emplace_back(Surface::Font{description, FontFor(description), {}});
}

// The first text shaped opens the font, so a paint that shows no prefix
// never opens the prefix's.
const ShapedText& Shaped(Surface::Font& entry, const QString& text)
{
    if (const auto found = entry.shaped.constFind(text); found != entry.shaped.cend())
        return *found;
    // Numbers of a long session would otherwise pile up.
    constexpr qsizetype kMostShapedTexts = 256;
    if (entry.shaped.size() >= kMostShapedTexts)
        entry.shaped.clear();
    // One line, left to right, the baseline at the font's ascent below the
    // top of the cells.
    const QFontMetricsF metrics(entry.font);
    QTextLayout layout(text, entry.font);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    // Wider than any text the face can show, well inside Qt's fixed point.
    constexpr qreal kLineWidth = 1e6;
    line.setLineWidth(kLineWidth);
    line.setPosition(QPointF(0, metrics.ascent() - line.ascent()));
    layout.endLayout();
    return *entry.shaped.insert(text, {metrics.horizontalAdvance(text), layout.glyphRuns()});
}

}  // namespace

QFont FontFor(const FontDescription& description)
{
    // Naming the substitute itself spares Qt a fontconfig alias lookup of a
    // face no system has ("Tohoma", "System").
    QFont font(QFont::substitute(QString::fromStdWString(description.faceName)));
    font.setPixelSize(PixelSizeForCell(description.height));
    font.setWeight(static_cast<QFont::Weight>(SubstituteWeight(description.faceName, description.weight)));
    // The desktop's font settings (its hinting style, subpixel smoothing)
    // would otherwise change the display's glyphs from one desktop to the
    // next. Fixed, they draw the same pixels everywhere: hinted vertically
    // only, smoothed in grey.
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
    m_font = &FontEntry(description);
}

void Surface::TextOut(int x, int y, const std::wstring& text)
{
    if (m_font == nullptr)
        return;
    const ShapedText& shaped = Shaped(*m_font, QString::fromStdWString(text));
    m_painter.fillRect(QRectF(x, y, shaped.advance, m_font->description.height), m_backgroundColour);
    m_painter.setPen(m_textColour);
    for (const QGlyphRun& run : shaped.runs)
        m_painter.drawGlyphRun(QPointF(x, y), run);
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
    // The inner rectangle cuts the hole: a path fills by the odd-even rule.
    QPainterPath frame;
    frame.addRect(rectangle);
    frame.addRect(rectangle.adjusted(width, width, -width, -width));
    m_painter.fillPath(frame, QColor::fromRgb(colour));
}

}  // namespace rpn
