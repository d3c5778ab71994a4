#include "platform/surface.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <cmath>
#include <vector>

namespace rpn {

namespace {
constexpr int kFaceWidth = 240;
constexpr int kFaceHeight = 268;

QFont SizedFont(const QString& family, const FontDescription& description)
{
    QFont font(family);
    font.setWeight(static_cast<QFont::Weight>(description.weight));
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

struct SizedFontEntry {
    QString family;
    int height;
    int weight;
    QFont font;
};

}  // namespace

QFont FontFor(const FontDescription& description)
{
    // Naming the substitute itself spares Qt a fontconfig alias lookup of a
    // face no system has ("Tohoma", "System") at every first use.
    const QString family = QFont::substitute(QString::fromStdWString(description.faceName));
    // Every paint asks for the same three fonts; sizing one takes several
    // metric queries, so each is sized once. The family is part of the key,
    // so a changed substitution is still honoured.
    // Kept past the application's end: a font must not outlive Qt's font
    // cache, which a static destructor could not promise.
    static auto* const sized = new std::vector<SizedFontEntry>;
    for (const SizedFontEntry& entry : *sized) {
        if (entry.height == description.height && entry.weight == description.weight && entry.family == family)
            return entry.font;
    }
    sized->push_back({family, description.height, description.weight, SizedFont(family, description)});
    return sized->back().font;
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
    const QString string = QString::fromStdWString(text);
    const QFontMetricsF metrics(m_painter.font(), m_painter.device());
    const QRectF cells(x, y, metrics.horizontalAdvance(string), m_cellHeight);
    m_painter.fillRect(cells, m_backgroundColour);
    m_painter.setPen(m_textColour);
    m_painter.drawText(QPointF(x, y + metrics.ascent()), string);
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
    m_painter.setClipRect(rectangle);
}

void Surface::CopyPicture(const QImage& picture)
{
    m_painter.drawImage(QRectF(0, 0, kFaceWidth, kFaceHeight), picture, QRectF(picture.rect()));
}

}  // namespace rpn
