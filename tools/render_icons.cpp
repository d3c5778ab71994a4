#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

// Qt's raster engine picks its blending code by the processor's vector
// extensions, so antialiased edges may come out a step or two apart on
// another machine; a change to the drawing moves pixels much further.
constexpr int kRasterTolerance = 3;

// Below 32 pixels the full face blurs, so those sizes come from the simpler
// drawing on a 16-unit grid.
QImage Render(const QString& directory, int pixels)
{
    const QString source = pixels < 32 ? QStringLiteral("/rpn-small.svg") : QStringLiteral("/scalable/rpn.svg");
    QSvgRenderer renderer(directory + source);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return renderer.isValid() ? image.convertToFormat(QImage::Format_ARGB32) : QImage();
}

// The largest difference of one colour channel, or 256 when the sizes differ.
int LargestChannelDifference(const QImage& first, const QImage& second)
{
    if (first.size() != second.size() || first.isNull())
        return 256;
    int largest = 0;
    for (int y = 0; y < first.height(); ++y) {
        for (int x = 0; x < first.width(); ++x) {
            const QRgb a = first.pixel(x, y);
            const QRgb b = second.pixel(x, y);
            for (const int shift : {0, 8, 16, 24})
                largest = std::max(largest, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
        }
    }
    return largest;
}

}  // namespace

// Renders the hicolor PNGs in ICON_DIRECTORY from its SVG drawings, or with
// --compare checks that the committed PNGs still match them (pixel for
// pixel within the raster tolerance: zlib builds may compress differently).
int main(int argc, char** argv)
{
    const bool compare = argc == 3 && std::string_view(argv[1]) == "--compare";
    if (argc != 2 && !compare) {
        std::fprintf(stderr, "usage: render_icons [--compare] ICON_DIRECTORY\n");
        return 2;
    }
    std::vector<char*> arguments{argv[0], const_cast<char*>("-platform"), const_cast<char*>("offscreen")};
    int argumentCount = static_cast<int>(arguments.size());
    QGuiApplication application(argumentCount, arguments.data());
    const QString directory = QString::fromLocal8Bit(argv[argc - 1]);
    bool good = true;
    for (const int pixels : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString png = QStringLiteral("%1/%2x%2/rpn.png").arg(directory).arg(pixels);
        const QImage drawn = Render(directory, pixels);
        const int difference = compare
                                   ? LargestChannelDifference(QImage(png).convertToFormat(QImage::Format_ARGB32), drawn)
                                   : (drawn.save(png, "PNG") ? 0 : 256);
        if (difference > kRasterTolerance) {
            std::fprintf(stderr, "render_icons: %s %s\n", qPrintable(png),
                         compare ? "differs from its SVG" : "cannot be written");
            good = false;
        }
    }
    return good ? 0 : 1;
}
