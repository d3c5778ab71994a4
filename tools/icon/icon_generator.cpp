#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string_view>
#include <vector>

#include "tools/icon/icon_drawing.h"

namespace {

QString PngPath(const QString& directory, int pixels)
{
    return QStringLiteral("%1/%2x%2/rpn.png").arg(directory).arg(pixels);
}

QString SvgPath(const QString& directory)
{
    return directory + QStringLiteral("/scalable/rpn.svg");
}

QString MimeSvgPath(const QString& directory)
{
    return directory + QStringLiteral("/scalable/application-x-rpn-state.svg");
}

bool Write(const QString& directory)
{
    QDir(directory).mkpath(QStringLiteral("scalable"));
    QFile svg(SvgPath(directory));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(rpn::IconSvg(rpn::IconDetail::Full).toUtf8()) < 0) {
        std::fprintf(stderr, "icon_generator: cannot write %s\n", qPrintable(svg.fileName()));
        return false;
    }
    QFile mime(MimeSvgPath(directory));
    if (!mime.open(QIODevice::WriteOnly) || mime.write(rpn::MimeIconSvg().toUtf8()) < 0) {
        std::fprintf(stderr, "icon_generator: cannot write %s\n", qPrintable(mime.fileName()));
        return false;
    }
    for (const int pixels : rpn::IconPixelSizes()) {
        QDir(directory).mkpath(QStringLiteral("%1x%1").arg(pixels));
        if (!rpn::RenderIcon(pixels).save(PngPath(directory, pixels), "PNG")) {
            std::fprintf(stderr, "icon_generator: cannot write %s\n", qPrintable(PngPath(directory, pixels)));
            return false;
        }
    }
    return true;
}

// The largest difference of one colour channel between two pictures of the
// same size, or 256 when their sizes differ.
int LargestChannelDifference(const QImage& first, const QImage& second)
{
    if (first.size() != second.size())
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

// Qt's raster engine picks its blending code by the processor's vector
// extensions, so antialiased edges may come out a step or two apart on
// another machine; a change to the drawing moves pixels much further.
constexpr int kRasterTolerance = 3;

// Compares what the generator draws now with the committed files: the SVG
// text byte for byte and the PNGs pixel for pixel within the raster tolerance
// (their compressed bytes may legitimately differ between zlib builds).
bool Compare(const QString& directory)
{
    bool same = true;
    QFile svg(SvgPath(directory));
    if (!svg.open(QIODevice::ReadOnly) || svg.readAll() != rpn::IconSvg(rpn::IconDetail::Full).toUtf8()) {
        std::fprintf(stderr, "icon_generator: %s differs from the generator's SVG\n", qPrintable(svg.fileName()));
        same = false;
    }
    QFile mime(MimeSvgPath(directory));
    if (!mime.open(QIODevice::ReadOnly) || mime.readAll() != rpn::MimeIconSvg().toUtf8()) {
        std::fprintf(stderr, "icon_generator: %s differs from the generator's SVG\n", qPrintable(mime.fileName()));
        same = false;
    }
    for (const int pixels : rpn::IconPixelSizes()) {
        const QImage committed(PngPath(directory, pixels));
        const int difference =
            committed.isNull()
                ? 256
                : LargestChannelDifference(committed.convertToFormat(QImage::Format_ARGB32), rpn::RenderIcon(pixels));
        if (difference > kRasterTolerance) {
            std::fprintf(stderr, "icon_generator: %s differs from the generator's rendering by up to %d\n",
                         qPrintable(PngPath(directory, pixels)), difference);
            same = false;
        } else if (difference > 0) {
            std::fprintf(stderr, "icon_generator: %s within %d of the generator's rendering\n",
                         qPrintable(PngPath(directory, pixels)), difference);
        }
    }
    return same;
}

}  // namespace

// Writes the icons into OUTPUT_DIRECTORY, or with --compare checks that the
// committed ones there still match the generator.
int main(int argc, char** argv)
{
    const bool compare = argc == 3 && std::string_view(argv[1]) == "--compare";
    if (argc != 2 && !compare) {
        std::fprintf(stderr, "usage: icon_generator [--compare] DIRECTORY\n");
        return 2;
    }
    std::vector<char*> arguments{argv[0], const_cast<char*>("-platform"), const_cast<char*>("offscreen")};
    int argumentCount = static_cast<int>(arguments.size());
    QGuiApplication application(argumentCount, arguments.data());
    const QString directory = QString::fromLocal8Bit(argv[argc - 1]);
    try {
        return (compare ? Compare(directory) : Write(directory)) ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "icon_generator: %s\n", error.what());
        return 1;
    }
}
