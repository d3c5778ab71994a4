#include "app/icons.h"

#include <QImageReader>
#include <QLatin1String>
#include <QPixmap>

#include "app/command_icon_drawing.h"
#include "platform/qt/unpacked_image.h"

namespace rpn {

namespace {

// One size of the program's own icon, the one installed for the desktop, as
// the build unpacked it into the resources (bare ARGB32 scanlines, stored
// uncompressed); the PNG beside it when the build made none. Decoding a PNG
// at start would also have Qt ask every image-format plugin about PNG.
QImage ApplicationIcon(int size)
{
    QImage icon =
        UnpackedImage(QStringLiteral(":/icons/%1/rpn.argb32").arg(size), QSize(size, size), QImage::Format_ARGB32);
    if (!icon.isNull())
        return icon;
    QImageReader reader(QStringLiteral(":/icons/%1/rpn.png").arg(size), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
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
    const QImage image =
        UnpackedImage(QStringLiteral(":/icons/command/%1.argb32").arg(QLatin1String(ResourceName(icon))),
                      QSize(kCommandIconSize, kCommandIconSize), QImage::Format_ARGB32_Premultiplied);
    return QPixmap::fromImage(image.isNull() ? DrawCommandIcon(icon) : image);
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
