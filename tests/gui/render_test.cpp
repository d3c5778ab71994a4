#include "display/render.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include "display/format.h"
#include "testsupport/keystrokes.h"

namespace rpn::test {
namespace {

const QRgb kOutside = qRgb(200, 40, 40);
const QRgb kDisplay = qRgb(180, 240, 232);

// A face that is one colour except for the pixel the display colour is read
// from, so every text box shows up as the display colour.
QImage MarkedFace()
{
    QImage image(240, 268, QImage::Format_RGB32);
    image.fill(kOutside);
    image.setPixel(kDisplayBackgroundX, kDisplayBackgroundY, kDisplay);
    return image;
}

QImage Drawn(const CalcState& state, void (*step)(const CalcState&, Surface&))
{
    QImage image = MarkedFace();
    Surface surface(image);
    step(state, surface);
    return image;
}

bool Boxed(const QImage& image, int x, int y)
{
    return image.pixel(x, y) != kOutside;
}

TEST(RenderFonts, CellsHaveTheDescribedHeightInDejaVuSans)
{
    for (const FontDescription& description : {FontDescription{26, 200, L"Tohoma"}, FontDescription{11, 100, L"System"},
                                               FontDescription{14, 100, L"System"}}) {
        QFont font = FontFor(description);
        const int height = QFontMetrics(font).height();
        EXPECT_LE(height, description.height);
        EXPECT_GE(height, description.height - 2);
        EXPECT_TRUE(QFontInfo(font).family().startsWith("DejaVu Sans")) << QFontInfo(font).family().toStdString();
        // The largest that fits: a pixel more and the cell is too tall.
        font.setPixelSize(font.pixelSize() + 1);
        EXPECT_GT(QFontMetrics(font).height(), description.height) << description.height;
    }
}

// Whether glyph ink lies in the gap between character i's box and the next cell.
bool InkAfterCell(const QImage& image, int index)
{
    const int x = kMainLineX + kMainLineCellWidth * index;
    for (int column = x + 13; column < x + kMainLineCellWidth; ++column)
        for (int row = kMainLineY; row < kMainLineY + 26; ++row)
            if (image.pixel(column, row) != kOutside && qGray(image.pixel(column, row)) < qGray(kDisplay) - 60)
                return true;
    return false;
}

TEST(RenderMainNumber, PointAndSeparatorsStayVisibleBesideTheDigits)
{
    CalcState state = AfterKeys("1 2 3 4 5 . 6 7 ENTER 2 * F 7 2");
    ASSERT_EQ(DrawnMainLine(state), L" 24,691.34");
    const QImage image = Drawn(state, DrawMainNumber);
    EXPECT_TRUE(InkAfterCell(image, 2)) << "separator after the 4";
    EXPECT_TRUE(InkAfterCell(image, 5)) << "point after the 1";
    EXPECT_FALSE(InkAfterCell(image, 3));
    EXPECT_FALSE(InkAfterCell(image, 6));
}

TEST(RenderMainNumber, TheMinusSitsFivePixelsIntoTheSignCell)
{
    const QImage negative = Drawn(AfterKeys("5 CHS ENTER"), DrawMainNumber);
    const QImage positive = Drawn(AfterKeys("5 ENTER"), DrawMainNumber);
    EXPECT_FALSE(Boxed(negative, 29, 20));
    EXPECT_TRUE(Boxed(negative, 34, 20));
    EXPECT_TRUE(Boxed(positive, 29, 20));
    EXPECT_FALSE(Boxed(positive, 27, 20)) << "the line starts at x = 28";
    EXPECT_EQ(positive.pixel(29, 12), kDisplay);
}

TEST(RenderMainNumber, BoxesSpanTheCellHeightFromTheTop)
{
    const QImage image = Drawn(AfterKeys("1 2 3 4"), DrawMainNumber);
    EXPECT_FALSE(Boxed(image, 46, 10));
    EXPECT_TRUE(Boxed(image, 46, 11));
    EXPECT_TRUE(Boxed(image, 46, 36));
    EXPECT_FALSE(Boxed(image, 46, 37));
}

TEST(RenderMainNumber, ErrorTextsAreDrawnCellByCell)
{
    CalcState state = AfterKeys("0 1/x");
    ASSERT_EQ(state.DisplayText.substr(0, 6), L"ERROR:");
    const QImage image = Drawn(state, DrawMainNumber);
    // Eleven cells of 17 pixels from x = 28; the last character box ends
    // inside the twelfth cell's start.
    EXPECT_TRUE(Boxed(image, 28 + 17 * 9 + 2, 20));
    EXPECT_FALSE(Boxed(image, 28 + 17 * 11 + 5, 20));
}

TEST(RenderStackAndModes, LinesAndLabelsAtTheirPlaces)
{
    const CalcState state = AfterKeys("1 ENTER 2 ENTER 3 ENTER");
    const QImage image = Drawn(state, DrawStackAndModes);
    for (const int y : {37, 47, 57}) {
        EXPECT_TRUE(Boxed(image, 93, y + 1)) << y;
        EXPECT_FALSE(Boxed(image, 91, y + 1)) << y;
    }
    EXPECT_TRUE(Boxed(image, 191, 46)) << "angle mode";
    EXPECT_TRUE(Boxed(image, 191, 58)) << "mode label";
    EXPECT_FALSE(Boxed(image, 189, 46));
    // Glyphs are drawn inside the boxes, in grey over the display colour.
    QRgb darkest = kDisplay;
    for (int x = 92; x < 180; ++x)
        for (int y = 37; y < 48; ++y)
            if (Boxed(image, x, y) && qGray(image.pixel(x, y)) < qGray(darkest))
                darkest = image.pixel(x, y);
    EXPECT_LT(qGray(darkest), qGray(kDisplay) - 40);
    EXPECT_LT(qGreen(darkest) - qRed(darkest), qGreen(kDisplay) - qRed(kDisplay)) << "pulled towards grey";
}

// The view repaints only the display band after a key, so nothing the steps
// draw may reach below it, even with the widest texts the state can hold.
TEST(RenderDisplay, StaysAboveTheDisplayStripBottom)
{
    CalcState state = MakeResetState();
    state.RegX = -8.888888888e-288;
    state.RegY = -8.888888888e-288;
    state.RegZ = -7.777777777e+277;
    state.RegT = -6.666666666e-266;
    state.DisplayMode = L"ENG";
    state.DisplayPrecision = 9;
    state.AngleMode = L"GRAD";
    state.FunctionMode = true;
    state.SuperMode = L"HYP";
    UpdateDisplay(state);
    const QImage image = Drawn(state, DrawDisplay);
    for (int y = kDisplayStripBottom; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), kOutside) << x << ", " << y;
    // The band itself was drawn in, down to the lowest stack line.
    EXPECT_TRUE(Boxed(image, 93, 58));
}

TEST(RenderPrefixIndicators, FAndThePendingPrefix)
{
    const QImage none = Drawn(AfterKeys(""), DrawPrefixIndicators);
    EXPECT_FALSE(Boxed(none, 25, 53));
    EXPECT_FALSE(Boxed(none, 46, 53));
    const QImage function = Drawn(AfterKeys("F"), DrawPrefixIndicators);
    EXPECT_TRUE(Boxed(function, 25, 53));
    EXPECT_FALSE(Boxed(function, 46, 53));
    const QImage both = Drawn(AfterKeys("F LSTx F"), DrawPrefixIndicators);
    EXPECT_TRUE(Boxed(both, 25, 53));
    EXPECT_TRUE(Boxed(both, 46, 53));
    const QImage fix = Drawn(AfterKeys("F 7"), DrawPrefixIndicators);
    EXPECT_FALSE(Boxed(fix, 25, 53));
    EXPECT_TRUE(Boxed(fix, 46, 53));
}

TEST(RenderDisplay, AScaledSurfaceDrawsTheSameLayoutLarger)
{
    const CalcState state = AfterKeys("5 CHS ENTER");
    QImage large(480, 536, QImage::Format_RGB32);
    large.fill(kOutside);
    for (int y = 26; y < 28; ++y)
        for (int x = 38; x < 40; ++x)
            large.setPixel(x, y, kDisplay);
    Surface surface(large, 2.0);
    EXPECT_EQ(surface.GetPixel(kDisplayBackgroundX, kDisplayBackgroundY), kDisplay);
    DrawMainNumber(state, surface);
    EXPECT_FALSE(large.pixel(2 * 29, 40) != kOutside);
    EXPECT_TRUE(large.pixel(2 * 34, 40) != kOutside);
}

// What TextOut drew before it kept shaped texts: the cells filled, then the
// text shaped and drawn by QPainter.
QImage DrawnAfresh(const FontDescription& description, const QString& text, qreal scale, QPointF at)
{
    QImage image(static_cast<int>(240 * scale), static_cast<int>(80 * scale), QImage::Format_RGB32);
    image.fill(kOutside);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QFont font = FontFor(description);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &image);
    painter.fillRect(QRectF(at.x(), at.y(), metrics.horizontalAdvance(text), description.height), kDisplay);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
    return image;
}

TEST(RenderText, KeptShapesDrawTheSamePixelsAsShapingAfresh)
{
    const QStringList texts{"0",
                            "7",
                            "-",
                            ".",
                            ",",
                            " ",
                            "SCI 6",
                            "RAD",
                            "GRD",
                            "STO",
                            "HYP",
                            "f",
                            " 1.234500 03",
                            "-0.0000001",
                            "123,456,789.50",
                            "ERROR: NaN"};
    for (const FontDescription& description : {FontDescription{26, 200, L"Tohoma"}, FontDescription{11, 100, L"System"},
                                               FontDescription{14, 100, L"System"}}) {
        for (const qreal scale : {1.0, 2.0, 1.5}) {
            for (const QString& text : texts) {
                // Twice: the second draw is the kept shape.
                for (int round = 0; round < 2; ++round) {
                    QImage image(static_cast<int>(240 * scale), static_cast<int>(80 * scale), QImage::Format_RGB32);
                    image.fill(kOutside);
                    Surface surface(image, scale);
                    surface.SetTextColor(qRgb(0, 0, 0));
                    surface.SetBackgroundColor(kDisplay);
                    surface.SelectFont(description);
                    surface.TextOut(57, 7, text.toStdWString());
                    EXPECT_EQ(image, DrawnAfresh(description, text, scale, QPointF(57, 7)))
                        << "'" << text.toStdString() << "' at " << description.height << " px, scale " << scale;
                }
            }
        }
    }
}

TEST(RenderText, ALongSessionOfNumbersKeepsDrawingEachRightly)
{
    const FontDescription stack{11, 100, L"System"};
    QImage image(240, 80, QImage::Format_RGB32);
    // More distinct texts than are kept, so the first ones are shaped again.
    for (int number = 0; number < 600; ++number) {
        const QString text = QString::number(number * 1.25, 'e', 6);
        image.fill(kOutside);
        Surface surface(image);
        surface.SetTextColor(qRgb(0, 0, 0));
        surface.SetBackgroundColor(kDisplay);
        surface.SelectFont(stack);
        surface.TextOut(57, 7, text.toStdWString());
        if (number % 97 == 0 || number == 599) {
            EXPECT_EQ(image, DrawnAfresh(stack, text, 1.0, QPointF(57, 7))) << text.toStdString();
        }
    }
    image.fill(kOutside);
    Surface surface(image);
    surface.SetTextColor(qRgb(0, 0, 0));
    surface.SetBackgroundColor(kDisplay);
    surface.SelectFont(stack);
    surface.TextOut(57, 7, L"0.000000e+00");
    EXPECT_EQ(image, DrawnAfresh(stack, QStringLiteral("0.000000e+00"), 1.0, QPointF(57, 7)));
}

// A desktop's font settings leave the display as it is. CTest draws it once
// under the system's settings, keeping the pictures where
// RPN_DISPLAY_PICTURES_OUT says, and once more under full hinting and
// subpixel smoothing (desktop_fonts.conf), comparing with the pictures that
// RPN_DISPLAY_PICTURES_IN names.
TEST(RenderDisplay, IsDrawnAlikeWhateverTheDesktopsFontSettings)
{
    const QString keep = qEnvironmentVariable("RPN_DISPLAY_PICTURES_OUT");
    const QString compare = qEnvironmentVariable("RPN_DISPLAY_PICTURES_IN");
    if (keep.isEmpty() == compare.isEmpty())
        GTEST_SKIP() << "run by CTest as DisplayText.* with one of the two set";
    const CalcState state = AfterKeys("1 2 3 4 5 . 6 7 ENTER 2 * F");
    for (const int scale : {1, 2}) {
        QImage image(240 * scale, 268 * scale, QImage::Format_RGB32);
        image.fill(kDisplay);
        Surface surface(image, scale);
        DrawDisplay(state, surface);
        const QString path = (keep.isEmpty() ? compare : keep) + QStringLiteral("-%1.png").arg(scale);
        if (!keep.isEmpty()) {
            ASSERT_TRUE(image.save(path)) << path.toStdString();
            continue;
        }
        const QImage kept(path);
        ASSERT_FALSE(kept.isNull()) << path.toStdString();
        EXPECT_EQ(image, kept.convertToFormat(QImage::Format_RGB32)) << "at scale " << scale;
    }
}

}  // namespace
}  // namespace rpn::test
