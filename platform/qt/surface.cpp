#include "platform/qt/surface.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QString>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <deque>

#include "platform/qt/fonts.h"

namespace rpn {

namespace {
constexpr int kFaceWidth = 240;
constexpr int kFaceHeight = 268;

QFont SizedFont(const QString& family, const FontDescription& description)
{
    QFont font(family);
    font.setWeight(static_cast<QFont::Weight>(SubstituteWeight(description.faceName, description.weight)));
    font.setStyleStrategy(QFont::PreferAntialias);
    // The cell is ascent plus descent; find the largest pixel size whose cell
    // still fits the described height. Every size tried is a font loaded, so
    // the search starts where the DejaVu faces the names stand for put it
    // (their cell is about 1.13 times the size) and a step or two corrects it
    // for any other face.
    const auto cell = [&font](int size) {
        font.setPixelSize(size);
        return QFontMetrics(font).height();
    };
    const int height = std::max(description.height, 1);
    constexpr double kTypicalCellPerPixel = 1.13;
    int size = std::clamp(static_cast<int>(height / kTypicalCellPerPixel), 1, height);
    while (size > 1 && cell(size) > height)
        --size;
    while (size < height && cell(size + 1) <= height)
        ++size;
    font.setPixelSize(size);
    return font;
}

}  // namespace

struct SizedFontEntry {
    QString family;
    int height;
    int weight;
    QFont font;
    qreal ascent;
    // Shaping is most of what drawing a text costs, and the display draws
    // the same few texts over and over: the digits one cell at a time, the
    // mode labels, the stack lines until the stack moves.
    QHash<QString, ShapedText> shaped;
};

namespace {

SizedFontEntry& SizedEntryFor(const FontDescription& description)
{
    // Naming the substitute itself spares Qt a fontconfig alias lookup of a
    // face no system has ("Tohoma", "System") at every first use.
    const QString family = QFont::substitute(QString::fromStdWString(description.faceName));
    // Every paint asks for the same three fonts; sizing one takes several
    // metric queries, so each is sized once. The family is part of the key,
    // so a changed substitution is still honoured.
    // Kept past the application's end: a font must not outlive Qt's font
    // cache, which a static destructor could not promise. A deque, so that
    // a surface may keep pointing at an entry while others are added.
    static auto* const sized = new std::deque<SizedFontEntry>;
    for (SizedFontEntry& entry : *sized) {
        if (entry.height == description.height && entry.weight == description.weight && entry.family == family)
            return entry;
    }
    QFont font = SizedFont(family, description);
    const qreal ascent = QFontMetricsF(font).ascent();
    sized->push_back({family, description.height, description.weight, std::move(font), ascent, {}});
    return sized->back();
}

const ShapedText& Shaped(SizedFontEntry& entry, const QString& text)
{
    if (const auto found = entry.shaped.constFind(text); found != entry.shaped.cend())
        return *found;
    // Numbers of a long session would otherwise pile up.
    constexpr qsizetype kMostShapedTexts = 256;
    if (entry.shaped.size() >= kMostShapedTexts)
        entry.shaped.clear();
    // The same shaping as QPainter::drawText: one line, left to right, the
    // baseline at the font's ascent below the top of the cells.
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
    line.setPosition(QPointF(0, entry.ascent - line.ascent()));
    layout.endLayout();
    ShapedText shaped;
    shaped.advance = QFontMetricsF(entry.font).horizontalAdvance(text);
    shaped.runs = layout.glyphRuns();
    return *entry.shaped.insert(text, std::move(shaped));
}

}  // namespace

QFont FontFor(const FontDescription& description)
{
    return SizedEntryFor(description).font;
}

const ShapedText& ShapeText(const FontDescription& description, const std::wstring& text)
{
    return Shaped(SizedEntryFor(description), QString::fromStdWString(text));
}

Surface::Surface(QImage& target, qreal scale, const TextPictures* pictures)
    : m_target(&target), m_scale(scale), m_pictures(pictures)
{
    m_painter = &m_ownPainter.emplace(&target);
    m_painter->scale(scale, scale);
    m_painter->setRenderHint(QPainter::TextAntialiasing, true);
    const bool wholeScale = std::floor(scale) == scale;
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, !wholeScale);
}

Surface::Surface(QPainter& painter, QPointF origin) : m_target(nullptr), m_scale(1.0), m_pictures(nullptr)
{
    m_painter = &painter;
    m_painter->save();
    m_painter->translate(origin);
    m_painter->setRenderHint(QPainter::TextAntialiasing, true);
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
}

Surface::~Surface()
{
    if (!m_ownPainter)
        m_painter->restore();
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
    if (m_target == nullptr || !m_target->valid(deviceX, deviceY))
        return qRgb(0, 0, 0);
    return m_target->pixel(deviceX, deviceY);
}

void Surface::SelectFont(const FontDescription& description)
{
    m_description = description;
    m_font = nullptr;
    m_pictured = m_pictures != nullptr ? m_pictures->Find(description, m_scale) : nullptr;
}

SizedFontEntry& Surface::Font()
{
    if (m_font == nullptr)
        m_font = &SizedEntryFor(*m_description);
    return *m_font;
}

QRect Surface::DeviceClip() const
{
    if (!m_clip)
        return m_target->rect();
    // Pictures are kept for whole scales only, where a face pixel is a
    // square of device pixels.
    const int scale = static_cast<int>(m_scale);
    return {m_clip->x() * scale, m_clip->y() * scale, m_clip->width() * scale, m_clip->height() * scale};
}

void Surface::TextOut(int x, int y, const std::wstring& text)
{
    if (!m_description)
        return;
    const int cellHeight = m_description->height;
    if (m_pictured != nullptr) {
        if (const std::optional<double> advance = m_pictured->Advance(text)) {
            m_painter->fillRect(QRectF(x, y, *advance, cellHeight), m_backgroundColour);
            m_pictured->Draw(*m_target, DeviceClip(), x, y, text, m_textColour.rgb());
            return;
        }
    }
    const ShapedText& shaped = Shaped(Font(), QString::fromStdWString(text));
    m_painter->fillRect(QRectF(x, y, shaped.advance, cellHeight), m_backgroundColour);
    m_painter->setPen(m_textColour);
    for (const QGlyphRun& run : shaped.runs)
        m_painter->drawGlyphRun(QPointF(x, y), run);
}

void Surface::DrawGlyphs(QPointF at, const std::wstring& text)
{
    if (!m_description)
        return;
    m_painter->setPen(m_textColour);
    for (const QGlyphRun& run : Shaped(Font(), QString::fromStdWString(text)).runs)
        m_painter->drawGlyphRun(at, run);
}

void Surface::CopyRectangle(const QImage& picture, const QRect& rectangle)
{
    const qreal pictureScale = picture.width() / qreal(kFaceWidth);
    const QRectF source(rectangle.x() * pictureScale, rectangle.y() * pictureScale, rectangle.width() * pictureScale,
                        rectangle.height() * pictureScale);
    m_painter->drawImage(QRectF(rectangle), picture, source);
}

void Surface::ClipTo(const QRect& rectangle)
{
    m_clip = m_clip ? m_clip->intersected(rectangle) : rectangle;
    m_painter->setClipRect(rectangle, m_painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void Surface::CopyPicture(const QImage& picture)
{
    m_painter->drawImage(QRectF(0, 0, kFaceWidth, kFaceHeight), picture, QRectF(picture.rect()));
}

void Surface::FrameRectangle(const QRect& rectangle, QRgb colour, int width)
{
    const QColor fill = QColor::fromRgb(colour);
    const int x = rectangle.x();
    const int y = rectangle.y();
    const int w = rectangle.width();
    const int h = rectangle.height();
    m_painter->fillRect(QRectF(x, y, w, width), fill);
    m_painter->fillRect(QRectF(x, y + h - width, w, width), fill);
    m_painter->fillRect(QRectF(x, y, width, h), fill);
    m_painter->fillRect(QRectF(x + w - width, y, width, h), fill);
}

}  // namespace rpn
