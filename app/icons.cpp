#include "app/icons.h"

#include <QImageReader>
#include <QLatin1String>
#include <QPixmap>
#include <QResource>
#include <cstring>

#include "app/command_icon_drawing.h"

namespace rpn {

namespace {

// One size of the program's own icon, the one installed for the desktop, as
// the build unpacked it into the resources (bare ARGB32 scanlines, stored
// uncompressed); the PNG beside it when the build made none. Decoding a PNG
// at start would also have Qt ask every image-format plugin about PNG.
QImage ApplicationIcon(int size)
{
    const qsizetype rowBytes = qsizetype{4} * size;
    const QResource resource(QStringLiteral(":/icons/%1/rpn.argb32").arg(size));
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::Compression::NoCompression ||
        resource.size() != rowBytes * size) {
        QImageReader reader(QStringLiteral(":/icons/%1/rpn.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        return reader.read();
    }
    QImage icon(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y)
        std::memcpy(icon.scanLine(y), resource.data() + y * rowBytes, static_cast<std::size_t>(rowBytes));
    return icon;
}

const char* ResourceName(CommandIcon icon)
{
    switch (icon) {
        case CommandIcon::Cut:
            return "cut";
        case CommandIcon::Copy:
            return "copy";
        case CommandIcon::Paste:
            return "paste";
        case CommandIcon::About:
            return "about";
        case CommandIcon::Application:
            break;
    }
    return "";
}

// The command's picture as the build drew it into the resources (bare
// premultiplied ARGB32 scanlines, uncompressed); drawn now if the build made
// none.
QPixmap Drawn(CommandIcon icon)
{
    const qsizetype rowBytes = qsizetype{4} * kCommandIconSize;
    const QResource resource(QStringLiteral(":/icons/command/%1.argb32").arg(QLatin1String(ResourceName(icon))));
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::Compression::NoCompression ||
        resource.size() != rowBytes * kCommandIconSize)
        return QPixmap::fromImage(DrawCommandIcon(icon));
    QImage image(kCommandIconSize, kCommandIconSize, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < kCommandIconSize; ++y)
        std::memcpy(image.scanLine(y), resource.data() + y * rowBytes, static_cast<std::size_t>(rowBytes));
    return QPixmap::fromImage(image);
}

QString ThemeName(CommandIcon icon)
{
    switch (icon) {
        case CommandIcon::Cut:
            return QStringLiteral("edit-cut");
        case CommandIcon::Copy:
            return QStringLiteral("edit-copy");
        case CommandIcon::Paste:
            return QStringLiteral("edit-paste");
        case CommandIcon::About:
            return QStringLiteral("help-about");
        case CommandIcon::Application:
            break;
    }
    return {};
}

}  // namespace

QIcon IconFor(CommandIcon icon)
{
    if (icon == CommandIcon::Application) {
        QIcon application;
        for (const int size : {16, 32, 48})
            application.addPixmap(QPixmap::fromImage(ApplicationIcon(size)));
        return application;
    }
    // With no icon theme chosen, Qt looks in "hicolor", which by convention
    // holds application icons only: asking it for edit-cut loads Qt's SVG
    // icon engine and parses the theme's index, about 3 ms of every start
    // spent on finding nothing.
    const QString theme = QIcon::themeName();
    const QString name = ThemeName(icon);
    if (!theme.isEmpty() && theme != QLatin1String("hicolor") && QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return QIcon(Drawn(icon));
}

}  // namespace rpn
