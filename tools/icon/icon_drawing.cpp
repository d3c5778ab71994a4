#include "tools/icon/icon_drawing.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>
#include <array>
#include <stdexcept>

namespace rpn {

namespace {

constexpr const char* kBodyTop = "#565c65";
constexpr const char* kBodyBottom = "#2a2d32";
constexpr const char* kDisplay = "#b4f1eb";
constexpr const char* kDigitInk = "#1f3f3c";
constexpr const char* kGreyKey = "#6b717a";
constexpr const char* kBlueKey = "#3f7fd6";
constexpr const char* kYellowKey = "#f0c02a";

struct Key {
    int column;
    int row;
    int rows;
    const char* colour;
};

// A calculator keypad in miniature: the yellow shift key, blue digits and a
// tall ENTER, so the icon reads as this calculator rather than any other.
constexpr std::array<Key, 11> kFullKeys{{
    {0, 0, 1, kYellowKey},
    {1, 0, 1, kGreyKey},
    {2, 0, 1, kGreyKey},
    {3, 0, 1, kGreyKey},
    {0, 1, 1, kBlueKey},
    {1, 1, 1, kBlueKey},
    {2, 1, 1, kBlueKey},
    {3, 1, 2, kGreyKey},
    {0, 2, 1, kBlueKey},
    {1, 2, 1, kBlueKey},
    {2, 2, 1, kBlueKey},
}};

constexpr std::array<Key, 6> kSmallKeys{{
    {0, 0, 1, kYellowKey},
    {1, 0, 1, kGreyKey},
    {2, 0, 1, kGreyKey},
    {0, 1, 1, kBlueKey},
    {1, 1, 1, kBlueKey},
    {2, 1, 1, kGreyKey},
}};

// Seven-segment digits drawn as rectangles, so rendering needs no font and
// gives the same pixels on every machine.
enum Segment : unsigned { kA = 1, kB = 2, kC = 4, kD = 8, kE = 16, kF = 32, kG = 64 };
constexpr std::array<unsigned, 10> kDigitSegments{{
    kA | kB | kC | kD | kE | kF,
    kB | kC,
    kA | kB | kG | kE | kD,
    kA | kB | kG | kC | kD,
    kF | kG | kB | kC,
    kA | kF | kG | kC | kD,
    kA | kF | kG | kE | kC | kD,
    kA | kB | kC,
    kA | kB | kC | kD | kE | kF | kG,
    kA | kB | kC | kD | kF | kG,
}};

void WriteDigit(QTextStream& out, int digit, int left, int top, int width, int height, int stroke)
{
    const int middle = top + (height - stroke) / 2;
    const int bottom = top + height - stroke;
    const int right = left + width - stroke;
    const int half = (height + stroke) / 2;
    struct Bar {
        unsigned segment;
        int x, y, w, h;
    };
    const std::array<Bar, 7> bars{{
        {kA, left, top, width, stroke},
        {kB, right, top, stroke, half},
        {kC, right, middle, stroke, half},
        {kD, left, bottom, width, stroke},
        {kE, left, middle, stroke, half},
        {kF, left, top, stroke, half},
        {kG, left, middle, width, stroke},
    }};
    const unsigned lit = kDigitSegments[static_cast<std::size_t>(digit)];
    for (const Bar& bar : bars) {
        if ((lit & bar.segment) != 0)
            out << "    <rect x=\"" << bar.x << "\" y=\"" << bar.y << "\" width=\"" << bar.w << "\" height=\"" << bar.h
                << "\"/>\n";
    }
}

QString FullSvg()
{
    QString text;
    QTextStream out(&text);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
           "  <defs>\n"
           "    <linearGradient id=\"body\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
        << "      <stop offset=\"0\" stop-color=\"" << kBodyTop << "\"/>\n"
        << "      <stop offset=\"1\" stop-color=\"" << kBodyBottom << "\"/>\n"
        << "    </linearGradient>\n"
           "    <linearGradient id=\"shine\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
           "      <stop offset=\"0\" stop-color=\"#ffffff\" stop-opacity=\"0.35\"/>\n"
           "      <stop offset=\"1\" stop-color=\"#ffffff\" stop-opacity=\"0\"/>\n"
           "    </linearGradient>\n"
           "  </defs>\n"
           "  <rect x=\"30\" y=\"10\" width=\"196\" height=\"236\" rx=\"26\" fill=\"url(#body)\" stroke=\"#1b1d20\" "
           "stroke-width=\"4\"/>\n"
        << "  <rect x=\"48\" y=\"28\" width=\"160\" height=\"60\" rx=\"8\" fill=\"" << kDisplay
        << "\" stroke=\"#ffffff\" stroke-width=\"4\"/>\n"
        << "  <g fill=\"" << kDigitInk << "\">\n";
    WriteDigit(out, 4, 136, 38, 24, 40, 6);
    WriteDigit(out, 2, 170, 38, 24, 40, 6);
    out << "  </g>\n";
    for (const Key& key : kFullKeys) {
        const int x = 48 + key.column * 42;
        const int y = 102 + key.row * 46;
        const int height = 34 + (key.rows - 1) * 46;
        out << "  <rect x=\"" << x << "\" y=\"" << y << "\" width=\"34\" height=\"" << height << "\" rx=\"7\" fill=\""
            << key.colour << "\" stroke=\"#16181b\" stroke-width=\"2\"/>\n"
            << "  <rect x=\"" << x + 3 << "\" y=\"" << y + 3 << "\" width=\"28\" height=\"12\" rx=\"5\" "
            << "fill=\"url(#shine)\"/>\n";
    }
    out << "</svg>\n";
    return text;
}

QString SmallSvg()
{
    QString text;
    QTextStream out(&text);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" viewBox=\"0 0 16 16\">\n"
        << "  <rect x=\"2\" y=\"1\" width=\"12\" height=\"14\" rx=\"1.5\" fill=\"" << kBodyBottom << "\"/>\n"
        << "  <rect x=\"3\" y=\"2\" width=\"10\" height=\"4\" fill=\"" << kDisplay << "\"/>\n"
        << "  <rect x=\"8\" y=\"3\" width=\"4\" height=\"2\" fill=\"" << kDigitInk << "\"/>\n";
    for (const Key& key : kSmallKeys) {
        out << "  <rect x=\"" << 3 + key.column * 4 << "\" y=\"" << 8 + key.row * 3
            << "\" width=\"2\" height=\"2\" fill=\"" << key.colour << "\"/>\n";
    }
    out << "</svg>\n";
    return text;
}

}  // namespace

QString MimeIconSvg()
{
    // A page with a folded corner carrying the calculator's display and keys,
    // so a state file is told apart from the program at a glance.
    QString text;
    QTextStream out(&text);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"
           "  <path d=\"M12 4 H40 L54 18 V60 H12 Z\" fill=\"#f6f6f4\" stroke=\"#8a8f96\" stroke-width=\"2\" "
           "stroke-linejoin=\"round\"/>\n"
           "  <path d=\"M40 4 V18 H54\" fill=\"#d9dbde\" stroke=\"#8a8f96\" stroke-width=\"2\" "
           "stroke-linejoin=\"round\"/>\n"
        << "  <rect x=\"19\" y=\"24\" width=\"28\" height=\"31\" rx=\"3\" fill=\"" << kBodyBottom << "\"/>\n"
        << "  <rect x=\"22\" y=\"27\" width=\"22\" height=\"8\" rx=\"1\" fill=\"" << kDisplay << "\"/>\n"
        << "  <rect x=\"34\" y=\"29\" width=\"8\" height=\"4\" fill=\"" << kDigitInk << "\"/>\n";
    for (const Key& key : kSmallKeys) {
        out << "  <rect x=\"" << 22 + key.column * 8 << "\" y=\"" << 39 + key.row * 8
            << "\" width=\"6\" height=\"6\" rx=\"1\" fill=\"" << key.colour << "\"/>\n";
    }
    out << "</svg>\n";
    return text;
}

const std::vector<int>& IconPixelSizes()
{
    static const std::vector<int> sizes{16, 22, 24, 32, 48, 64, 128, 256};
    return sizes;
}

QString IconSvg(IconDetail detail)
{
    return detail == IconDetail::Full ? FullSvg() : SmallSvg();
}

IconDetail DetailForSize(int pixels)
{
    return pixels < 32 ? IconDetail::Small : IconDetail::Full;
}

QImage RenderIcon(int pixels)
{
    QSvgRenderer renderer(IconSvg(DetailForSize(pixels)).toUtf8());
    if (!renderer.isValid())
        throw std::runtime_error("the icon's SVG does not parse");
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace rpn
