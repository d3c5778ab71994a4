#include "tools/face_drawing.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace rpn {

namespace {

#ifndef RPN_LEGEND_FONT_DIRECTORY
#define RPN_LEGEND_FONT_DIRECTORY "/usr/share/fonts/truetype/dejavu"
#endif

constexpr qreal kKeyRadius = 4.5;
// Legends never run closer than this to a key's sides.
constexpr qreal kLegendMargin = 3.0;
// Where the legends sit on a 33-pixel key, measured from its top: the
// shifted one above the key's centre row, the primary one below it, so the
// centre pixel always shows the plain key colour.
constexpr qreal kShiftedBaseline = 10.5;
constexpr qreal kPrimaryBaseline = 28.0;
constexpr qreal kShiftedPixelSize = 8.0;
// ENTER's legend sits just below the centre of its tall key.
constexpr qreal kEnterBaseline = 45.0;

enum class LegendKind { Digit, Point, Operator, Letter, Word };

struct KeyPalette {
    QRgb face;
    QRgb primaryLegend;
    QRgb shiftedLegend;
};

constexpr QRgb kLightLegend = qRgb(255, 255, 255);
constexpr QRgb kDarkLegend = qRgb(28, 28, 30);
constexpr QRgb kShiftYellow = qRgb(255, 222, 64);
// Yellow vanishes on the light grey of a pressed key; a dark gold still reads.
constexpr QRgb kShiftGold = qRgb(128, 96, 0);

KeyPalette PaletteFor(KeyColour colour, FaceVariant variant)
{
    const bool pressed = variant == FaceVariant::Pressed;
    switch (colour) {
        case KeyColour::Blue:
            return {KeyFaceColour(colour, variant), kLightLegend, pressed ? qRgb(255, 246, 120) : kShiftYellow};
        case KeyColour::Yellow:
            return {KeyFaceColour(colour, variant), kDarkLegend, kDarkLegend};
        case KeyColour::Grey:
            return {KeyFaceColour(colour, variant), pressed ? kDarkLegend : kLightLegend,
                    pressed ? kShiftGold : kShiftYellow};
        case KeyColour::None:
            break;
    }
    return {kBezelColour, kLightLegend, kShiftYellow};
}

QColor Mix(QRgb from, QRgb to, qreal amount)
{
    const auto channel = [amount](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * amount)); };
    return QColor(channel(qRed(from), qRed(to)), channel(qGreen(from), qGreen(to)), channel(qBlue(from), qBlue(to)));
}

// The legends are all set in DejaVu Sans Bold, which stays legible at the
// eight-pixel size of the shifted legends.
QRawFont LoadLegendFont()
{
    const QString path = LegendFontDirectory() + QStringLiteral("/DejaVuSans-Bold.ttf");
    QRawFont font(path, 12.0, QFont::PreferNoHinting);
    if (!font.isValid())
        throw std::runtime_error("cannot read the legend font " + path.toStdString());
    return font;
}

LegendKind KindOf(const QString& legend)
{
    if (legend == QStringLiteral("."))
        return LegendKind::Point;
    if (legend.size() == 1 && legend.at(0).isDigit())
        return LegendKind::Digit;
    if (legend.size() == 1 && legend.at(0).isLetter())
        return LegendKind::Letter;
    if (legend.size() == 1)
        return LegendKind::Operator;
    return LegendKind::Word;
}

qreal PixelSizeFor(LegendKind kind)
{
    switch (kind) {
        case LegendKind::Digit:
            return 14.0;
        case LegendKind::Point:
            return 22.0;
        case LegendKind::Operator:
            return 16.0;
        case LegendKind::Letter:
            return 13.0;
        case LegendKind::Word:
            break;
    }
    return 10.0;
}

// Draws a legend as filled outlines centred on centreX with its baseline at
// baselineY, squeezed sideways when it is wider than maximumWidth. Outlines
// rather than rasterised glyphs keep the pixels free of hinting and
// font-engine settings.
void DrawLegend(QPainter& painter, QRawFont& font, qreal pixelSize, const QString& text, QRgb colour, qreal centreX,
                qreal baselineY, qreal maximumWidth, qreal devicePixelRatio)
{
    font.setPixelSize(pixelSize);
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    const QList<QPointF> advances =
        font.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances | QRawFont::UseDesignMetrics);
    QPainterPath path;
    qreal penX = 0.0;
    for (qsizetype index = 0; index < glyphs.size(); ++index) {
        path.addPath(font.pathForGlyph(glyphs[index]).translated(penX, 0.0));
        penX += advances[index].x();
    }
    // The ink, not the advance, is what has to fit and be centred.
    const QRectF ink = path.boundingRect();
    const qreal squeeze = std::min<qreal>(1.0, maximumWidth / ink.width());
    const qreal left = centreX - ink.width() * squeeze / 2.0;
    const qreal snappedLeft = std::round(left * devicePixelRatio) / devicePixelRatio;

    painter.save();
    painter.translate(snappedLeft, baselineY);
    painter.scale(squeeze, 1.0);
    painter.translate(-ink.left(), 0.0);
    painter.fillPath(path, QColor(colour));
    painter.restore();
}

void DrawBezel(QPainter& painter)
{
    painter.fillRect(QRectF(0, 0, kFaceWidth, kFaceHeight), QColor(kBezelColour));
    // A one-pixel rim, lit from the top left, gives the case an edge.
    painter.fillRect(QRectF(0, 0, kFaceWidth, 1), Mix(kBezelColour, qRgb(255, 255, 255), 0.18));
    painter.fillRect(QRectF(0, 0, 1, kFaceHeight), Mix(kBezelColour, qRgb(255, 255, 255), 0.12));
    painter.fillRect(QRectF(0, kFaceHeight - 1, kFaceWidth, 1), Mix(kBezelColour, qRgb(0, 0, 0), 0.45));
    painter.fillRect(QRectF(kFaceWidth - 1, 0, 1, kFaceHeight), Mix(kBezelColour, qRgb(0, 0, 0), 0.35));
}

void DrawDisplayWindow(QPainter& painter)
{
    const QRectF frame(8, 6, 224, 69);
    // A dark seat around the frame sets it into the case.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Mix(kBezelColour, qRgb(0, 0, 0), 0.5));
    painter.drawRoundedRect(frame.adjusted(-1, -1, 1, 1), 6.0, 6.0);
    painter.setBrush(QColor(kDisplayFrameColour));
    painter.drawRoundedRect(frame, 5.0, 5.0);
    // A soft grey line between the frame and the glass.
    const QRectF area(kDisplayArea);
    painter.setBrush(QColor(190, 196, 196));
    painter.drawRoundedRect(area.adjusted(-1, -1, 1, 1), 3.0, 3.0);
    painter.setBrush(QColor(kDisplayColour));
    painter.drawRoundedRect(area, 2.0, 2.0);
}

void DrawKey(QPainter& painter, QRawFont& font, const KeyInfo& key, FaceVariant variant, qreal devicePixelRatio)
{
    const KeyRectangle rectangle = KeyRect(key.code);
    const QRectF bounds(rectangle.left, rectangle.top, rectangle.right - rectangle.left,
                        rectangle.bottom - rectangle.top);
    const KeyPalette palette = PaletteFor(key.colour, variant);
    const bool pressed = variant == FaceVariant::Pressed;

    painter.setPen(Qt::NoPen);
    painter.setBrush(Mix(palette.face, qRgb(0, 0, 0), 0.72));
    painter.drawRoundedRect(bounds, kKeyRadius, kKeyRadius);
    painter.setBrush(Mix(palette.face, qRgb(0, 0, 0), 0.38));
    painter.drawRoundedRect(bounds.adjusted(1, 1, -1, -1), kKeyRadius - 1, kKeyRadius - 1);

    // The cap: at rest it stands on a three-pixel skirt, pressed it has sunk
    // by one pixel. Its upper part catches the light, the rest is flat.
    const qreal sink = pressed ? 1.0 : 0.0;
    const QRectF cap = bounds.adjusted(2, 1 + sink, -2, -4 + sink);
    QLinearGradient shading(cap.topLeft(), QPointF(cap.left(), cap.top() + 12.0));
    shading.setColorAt(0.0, Mix(palette.face, qRgb(255, 255, 255), pressed ? 0.16 : 0.24));
    shading.setColorAt(1.0, QColor(palette.face));
    painter.setBrush(shading);
    painter.drawRoundedRect(cap, kKeyRadius - 1.5, kKeyRadius - 1.5);

    const qreal centreX = bounds.center().x();
    const qreal maximumWidth = bounds.width() - 2 * kLegendMargin;
    const QString primary = QString::fromUtf8(key.primary.data(), static_cast<qsizetype>(key.primary.size()));
    const QString shifted = QString::fromUtf8(key.shifted.data(), static_cast<qsizetype>(key.shifted.size()));
    if (!shifted.isEmpty())
        DrawLegend(painter, font, kShiftedPixelSize, shifted, palette.shiftedLegend, centreX,
                   bounds.top() + kShiftedBaseline + sink, maximumWidth, devicePixelRatio);
    const qreal primaryBaseline = key.code == kKeyEnter ? kEnterBaseline : kPrimaryBaseline;
    DrawLegend(painter, font, PixelSizeFor(KindOf(primary)), primary, palette.primaryLegend, centreX,
               bounds.top() + primaryBaseline + sink, maximumWidth, devicePixelRatio);
}

}  // namespace

QString LegendFontDirectory()
{
    return QStringLiteral(RPN_LEGEND_FONT_DIRECTORY);
}

QRgb KeyFaceColour(KeyColour colour, FaceVariant variant)
{
    const bool pressed = variant == FaceVariant::Pressed;
    switch (colour) {
        case KeyColour::Blue:
            return pressed ? qRgb(132, 132, 255) : qRgb(45, 45, 255);
        case KeyColour::Yellow:
            return pressed ? qRgb(255, 255, 130) : qRgb(241, 241, 44);
        case KeyColour::Grey:
            return pressed ? qRgb(212, 212, 209) : qRgb(90, 90, 88);
        case KeyColour::None:
            break;
    }
    return kBezelColour;
}

QImage DrawFace(FaceVariant variant, qreal devicePixelRatio)
{
    QRawFont font = LoadLegendFont();
    const auto width = static_cast<int>(std::lround(kFaceWidth * devicePixelRatio));
    const auto height = static_cast<int>(std::lround(kFaceHeight * devicePixelRatio));
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        DrawBezel(painter);
        DrawDisplayWindow(painter);
        for (const KeyInfo& key : kKeyTable)
            if (key.colour != KeyColour::None)
                DrawKey(painter, font, key, variant, devicePixelRatio);
    }
    QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    opaque.setDevicePixelRatio(devicePixelRatio);
    return opaque;
}

QStringList LegendsMissingGlyphs()
{
    QRawFont font = LoadLegendFont();
    QStringList missing;
    for (const KeyInfo& key : kKeyTable) {
        for (const std::string_view legend : {key.primary, key.shifted}) {
            const QString text = QString::fromUtf8(legend.data(), static_cast<qsizetype>(legend.size()));
            for (const char32_t character : text.toUcs4()) {
                if (!font.supportsCharacter(character)) {
                    missing.append(text);
                    break;
                }
            }
        }
    }
    return missing;
}

void WriteFacePictures(const QString& directory)
{
    const QStringList missing = LegendsMissingGlyphs();
    if (!missing.isEmpty())
        throw std::runtime_error("the legend font lacks glyphs for " +
                                 missing.join(QStringLiteral(", ")).toStdString());
    struct Output {
        FaceVariant variant;
        qreal devicePixelRatio;
        const char* fileName;
    };
    constexpr Output kOutputs[] = {
        {FaceVariant::Normal, 1.0, "face_normal.png"},
        {FaceVariant::Pressed, 1.0, "face_pressed.png"},
        {FaceVariant::Normal, 2.0, "face_normal@2x.png"},
        {FaceVariant::Pressed, 2.0, "face_pressed@2x.png"},
    };
    for (const Output& output : kOutputs) {
        const QString path = QDir(directory).filePath(QString::fromLatin1(output.fileName));
        // No alpha channel: the window converts the pictures to 5-5-5 anyway.
        const QImage image = DrawFace(output.variant, output.devicePixelRatio).convertToFormat(QImage::Format_RGB888);
        if (!image.save(path, "PNG"))
            throw std::runtime_error("cannot write " + path.toStdString());
    }
}

}  // namespace rpn
