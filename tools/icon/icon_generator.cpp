#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
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

bool Write(const QString& directory)
{
    QDir(directory).mkpath(QStringLiteral("scalable"));
    QFile svg(SvgPath(directory));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(rpn::IconSvg(rpn::IconDetail::Full).toUtf8()) < 0) {
        std::fprintf(stderr, "icon_generator: cannot write %s\n", qPrintable(svg.fileName()));
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

// Compares what the generator draws now with the committed files: the SVG
// text byte for byte and the PNGs pixel for pixel (their compressed bytes may
// legitimately differ between zlib builds).
bool Compare(const QString& directory)
{
    bool same = true;
    QFile svg(SvgPath(directory));
    if (!svg.open(QIODevice::ReadOnly) || svg.readAll() != rpn::IconSvg(rpn::IconDetail::Full).toUtf8()) {
        std::fprintf(stderr, "icon_generator: %s differs from the generator's SVG\n", qPrintable(svg.fileName()));
        same = false;
    }
    for (const int pixels : rpn::IconPixelSizes()) {
        const QImage committed(PngPath(directory, pixels));
        if (committed.isNull() || committed.convertToFormat(QImage::Format_ARGB32) != rpn::RenderIcon(pixels)) {
            std::fprintf(stderr, "icon_generator: %s differs from the generator's rendering\n",
                         qPrintable(PngPath(directory, pixels)));
            same = false;
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
